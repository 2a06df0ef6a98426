// The about box: the game's name and version (the project's), and what the game is.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QTextEdit;

namespace kazoomba::ui {

class Graphics;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const QImage& icon, QWidget* parent = nullptr, const QString& product = QStringLiteral("Kazoomba"),
                      const QString& version = QStringLiteral("v" KAZOOMBA_VERSION));

    static const QString& Description();
    // 12 points, or 8 when the trimmed title is longer than 20 characters.
    static double TitlePoints(const QString& title);

public slots:
    // The "&Program" button: the description again, whatever the player typed over it.
    void ShowDescription();

private:
    QLabel* title_ = nullptr;
    QTextEdit* text_ = nullptr;
};

// The Help menu's "About": shows the box modally with the main window's icon and discards it when it closes.
void ShowAbout(const Graphics& graphics, QWidget* parent);

}  // namespace kazoomba::ui
