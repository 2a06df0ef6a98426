// The help viewer.
#include "info/ManualViewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "access/ReadingPane.h"
#include "art/DataPaths.h"
#include "dialogs/Placement.h"

namespace kazoomba::ui {

QUrl ManualViewer::ContentsUrl() { return QUrl::fromLocalFile(ManualPath(QStringLiteral("index.html"))); }

ManualViewer::ManualViewer(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    FitOnScreen(*this, QSize(760, 600), parent);

    auto* face = new QWidget(this);
    setCentralWidget(face);
    contents_ = new QPushButton(QStringLiteral("&Contents"), face);
    back_ = new QPushButton(QStringLiteral("&Back"), face);
    forward_ = new QPushButton(QStringLiteral("&Forward"), face);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    for (QPushButton* b : {contents_, back_, forward_}) b->setAutoDefault(false);

    browser_ = new QTextBrowser(face);
    browser_->setAccessibleName(QStringLiteral("Manual page"));
    MakeReadable(*browser_);
    browser_->setOpenExternalLinks(true);
    browser_->setOpenLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents_);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(face);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(contents_, &QPushButton::clicked, this, &ManualViewer::ShowContents);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &ManualViewer::ShowNewPage);
    new QShortcut(QKeySequence::Back, browser_, [this] { browser_->backward(); });
    new QShortcut(QKeySequence::Forward, browser_, [this] { browser_->forward(); });
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });

    ShowContents();
    // The keyboard starts in the page: the arrows read it, Tab goes from link to link.
    browser_->setFocus(Qt::OtherFocusReason);
}

void ManualViewer::ShowContents() {
    const QUrl contents = ContentsUrl();
    if (!QFileInfo::exists(contents.toLocalFile())) {
        // A missing manual is said in the viewer; the game itself is not touched.
        browser_->setHtml(QStringLiteral("<h2>Manual not found</h2><p>The manual should be at <code>%1</code>, "
                                         "but there is no such file. Reinstalling the game puts it back.</p>")
                              .arg(contents.toLocalFile().toHtmlEscaped()));
        ShowNewPage();
        return;
    }
    if (browser_->source() != contents) {
        browser_->setSource(contents);
        return;
    }
    // Already there: back to its top, told as if newly opened.
    browser_->moveCursor(QTextCursor::Start);
    browser_->verticalScrollBar()->setValue(0);
    ShowNewPage();
}

void ManualViewer::ShowNewPage() {
    UpdateTitle();
    // Someone reading the manual hears the page a link or a button led to.
    if (isActiveWindow()) PresentNewPage(*browser_);
}

void ManualViewer::UpdateTitle() {
    const QString page = browser_->documentTitle();
    setWindowTitle(page.isEmpty() ? QStringLiteral("Kazoomba Manual") : QStringLiteral("Kazoomba Manual - ") + page);
    // The page's own title names the reading area, so a screen reader tells which page a link led to.
    browser_->setAccessibleName(page.isEmpty() ? QStringLiteral("Manual page") : page);
}

ManualViewer* ShowManual(QWidget* parent) {
    static QPointer<ManualViewer> viewer;
    if (!viewer) viewer = new ManualViewer(parent);
    else viewer->ShowContents();
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

}  // namespace kazoomba::ui
