// The game's own help viewer: the HTML manual in a window of its own that leaves the game playable.
#pragma once

#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace kazoomba::ui {

class ManualViewer : public QWidget {
    Q_OBJECT
public:
    explicit ManualViewer(QWidget* parent = nullptr);

    // The manual's contents page.
    static QUrl ContentsUrl();

    QTextBrowser* browser() const { return browser_; }

public slots:
    void ShowContents();

private:
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
