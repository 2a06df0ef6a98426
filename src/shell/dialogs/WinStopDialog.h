// The "Win Stop Value" dialog, shown as auto spin is switched on: from what win on auto spin should pause.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

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

// Opens a fresh dialog, centred on the screen; `answer` gets the entry's text once OK is pressed.
void AskWinStopValue(QWidget* parent, std::function<void(const QString&)> answer);

}  // namespace kazoomba::ui
