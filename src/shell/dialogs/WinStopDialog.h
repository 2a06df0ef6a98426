// The "Win Stop Value" dialog, shown as auto spin is switched on: from what win on auto spin should pause.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace kazoomba::ui {

class WinStopDialog : public QDialog {
    Q_OBJECT
public:
    explicit WinStopDialog(QWidget* parent = nullptr);

    // The entry's text as the player left it; the game reads the number from it.
    QString value() const;
    static const QString& ExplanationText();

    // Escape presses OK: the dialog has no other way out, and OK keeps what was typed.
    void reject() override;

private:
    QLineEdit* entry_ = nullptr;
};

// Shows a fresh dialog modally, centred on the screen, and returns the entry's text once OK is pressed.
QString AskWinStopValue(QWidget* parent);

}  // namespace kazoomba::ui
