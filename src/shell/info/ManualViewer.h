// The game's own help viewer: the HTML manual in a window of its own that leaves the game playable. A
// screen reader meets a window named by the page shown, the page as a document it reads line by line,
// and each new page a link or a button leads to read out as it comes.
#pragma once

#include <QUrl>
#include <QMainWindow>

class QPushButton;
class QTextBrowser;

namespace kazoomba::ui {

class ManualViewer : public QMainWindow {
    Q_OBJECT
public:
    explicit ManualViewer(QWidget* parent = nullptr);

    // The manual's contents page.
    static QUrl ContentsUrl();

    QTextBrowser* browser() const { return browser_; }

public slots:
    void ShowContents();

private:
    void ShowNewPage();
    void UpdateTitle();

    QTextBrowser* browser_ = nullptr;
    QPushButton* contents_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
};

// The Help menu's "Manual" and the F1 key: opens the manual at its contents page. One viewer serves the
// whole run; asking again brings it forward. It is not modal, so the game goes on beside it.
ManualViewer* ShowManual(QWidget* parent);

}  // namespace kazoomba::ui
