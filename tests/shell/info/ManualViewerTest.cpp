// The manual and its viewer: opens at the contents page, one window, not modal, and every link and picture works;
// to assistive technology a named window whose page is a document, each new page told as it comes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>

#include "engine/Payoffs.h"
#include "info/ManualViewer.h"
#include "support/Accessibility.h"
#include "support/WindowTesting.h"
#include "art/DataPaths.h"

using namespace kazoomba::testing;
using kazoomba::ui::ManualViewer;
using kazoomba::ui::ShowManual;

namespace {

QString ManualDir() { return QFileInfo(kazoomba::ui::ManualPath(QStringLiteral("index.html"))).absolutePath(); }

QString Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList Pages() { return QDir(ManualDir()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name); }

QStringList Attributes(const QString& html, const QString& name) {
    QStringList values;
    const QRegularExpression re(name + QStringLiteral("=\"([^\"#]*)[^\"]*\""));
    for (auto it = re.globalMatch(html); it.hasNext();) values << it.next().captured(1);
    return values;
}

QPushButton* Button(QWidget* w, const QString& text) {
    for (auto* b : w->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

class ManualViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }
};

}  // namespace

TEST_F(ManualViewerTest, OpensAtTheContentsPageWithoutBlockingTheGame) {
    QWidget game;
    auto* spin = new QPushButton(QStringLiteral("Spin"), &game);
    int spins = 0;
    QObject::connect(spin, &QPushButton::clicked, [&] { ++spins; });
    game.show();

    ManualViewer* viewer = ShowManual(&game);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(viewer->browser()->source(), ManualViewer::ContentsUrl());
    EXPECT_EQ(viewer->windowTitle(), "Kazoomba Manual - Contents");
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("Player's Manual"));

    QTest::mouseClick(spin, Qt::LeftButton);
    EXPECT_EQ(spins, 1) << "the game still answers while the manual is open";
    viewer->close();
    QApplication::processEvents();
}

TEST_F(ManualViewerTest, AskingAgainBringsTheSameWindowBackToTheContents) {
    ManualViewer* first = ShowManual(nullptr);
    first->browser()->setSource(QUrl::fromLocalFile(ManualDir() + QStringLiteral("/gamble.html")));
    EXPECT_EQ(first->windowTitle(), "Kazoomba Manual - Taking a win, or doubling it");
    ManualViewer* second = ShowManual(nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->browser()->source(), ManualViewer::ContentsUrl());
    second->close();
    QApplication::processEvents();
}

TEST_F(ManualViewerTest, BackForwardAndContentsRetraceThePlayersSteps) {
    ManualViewer* viewer = ShowManual(nullptr);
    QPushButton* back = Button(viewer, "&Back");
    QPushButton* forward = Button(viewer, "&Forward");
    ASSERT_TRUE(back && forward && Button(viewer, "&Contents"));
    EXPECT_FALSE(back->isEnabled());
    const QUrl bonuses = QUrl::fromLocalFile(ManualDir() + QStringLiteral("/bonuses.html"));
    viewer->browser()->setSource(bonuses);
    EXPECT_TRUE(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(viewer->browser()->source(), ManualViewer::ContentsUrl());
    EXPECT_TRUE(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(viewer->browser()->source(), bonuses);
    QTest::mouseClick(Button(viewer, "&Contents"), Qt::LeftButton);
    EXPECT_EQ(viewer->browser()->source(), ManualViewer::ContentsUrl());
    viewer->close();
    QApplication::processEvents();
}

TEST_F(ManualViewerTest, EveryLinkAndPictureOfTheManualIsThere) {
    const QStringList pages = Pages();
    ASSERT_GE(pages.size(), 8);
    EXPECT_TRUE(Attributes(Read(ManualDir() + "/index.html"), "href").contains("payback.html"));
    for (const QString& page : pages) {
        const QString html = Read(ManualDir() + '/' + page);
        EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
        for (const QString& link : Attributes(html, "href")) {
            if (link.isEmpty() || link.startsWith("http")) continue;
            EXPECT_TRUE(QFileInfo::exists(ManualDir() + '/' + link)) << page.toStdString() << " -> " << link.toStdString();
        }
        for (const QString& picture : Attributes(html, "src")) {
            QImage image;
            if (picture.startsWith("data:"))
                image.loadFromData(QByteArray::fromBase64(picture.section(',', 1).toLatin1()));
            else
                image.load(ManualDir() + '/' + picture);
            EXPECT_FALSE(image.isNull()) << page.toStdString() << " shows " << picture.left(60).toStdString();
        }
    }
}

TEST_F(ManualViewerTest, TheManualTeachesTheWholeGame) {
    QString all;
    for (const QString& page : Pages()) all += Read(ManualDir() + '/' + page);
    for (const char* topic : {"Enter", "Bet 1", "Bet 8", "pay line", "FULMINA", "wild", "SMILE", "bonus spins",
                              "bonus pool", "Payoffs window", "Vaz Ivero", "Hint", "Auto Spin", "Win Stop Value",
                              "200 spins", "Save a Game", "ten slots", "~/.config/kazoomba/KAZO.INI", "Borrow",
                              "Statistics", "Digit Colors", "Spin Speed", "Banner Text", "Payoff Chart",
                              "Game History", "Save as CSV", "~/.local/share/kazoomba/game-history.txt"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(topic), Qt::CaseInsensitive)) << topic;
}

TEST_F(ManualViewerTest, ThePayTableOfTheManualMatchesTheGames) {
    const QString html = Read(ManualDir() + "/paytable.html");
    const QRegularExpression figure(QStringLiteral("<td class=\"num\">(\\d+)</td></tr>"));
    QStringList figures;
    for (auto it = figure.globalMatch(html); it.hasNext();) figures << it.next().captured(1);
    QStringList game;
    for (auto pay : kazoomba::RegularPayoffs) game << QString::number(pay);
    for (auto pay : kazoomba::BonusPayoffs) game << QString::number(pay);
    EXPECT_EQ(figures, game);
}

TEST_F(ManualViewerTest, ReadsAsANamedWindowWhosePageIsADocumentReadLineByLine) {
    ManualViewer* viewer = ShowManual(nullptr);
    QAccessibleInterface* window = Accessible(viewer);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Kazoomba Manual - Contents");

    QTextBrowser* browser = viewer->browser();
    EXPECT_EQ(viewer->focusWidget(), browser) << "the keyboard starts in the page";
    QAccessibleInterface* page = Accessible(browser);
    EXPECT_EQ(page->role(), QAccessible::Document);
    EXPECT_EQ(page->text(QAccessible::Name), "Contents");
    EXPECT_TRUE(page->state().readOnly);
    QAccessibleTextInterface* text = page->textInterface();
    ASSERT_NE(text, nullptr);
    const QString all = text->text(0, text->characterCount());
    EXPECT_TRUE(all.startsWith("Kazoomba Video Slots")) << all.left(40).toStdString();
    EXPECT_TRUE(all.contains("Start here\n"));
    EXPECT_FALSE(all.contains(QChar::ObjectReplacementCharacter)) << "the icon is read as a space";

    // A line is what the eye sees on one line, and the caret moves down through them by the keyboard.
    int start = -1, end = -1;
    const QString first = text->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(first.trimmed(), QString::fromUtf8("Kazoomba Video Slots \u2014 Player's Manual"));
    browser->setTextCursor(QTextCursor(browser->document()));
    QTest::keyClick(browser, Qt::Key_Down);
    const QString second = text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(start, end - second.size());
    EXPECT_TRUE(second.contains("Welcome to Kazoomba")) << second.toStdString();
    EXPECT_FALSE(second.contains("borrow more")) << "one line, not the whole paragraph";
    int before = -1, beforeEnd = -1;
    EXPECT_EQ(text->textBeforeOffset(start, QAccessible::LineBoundary, &before, &beforeEnd), first);
    // In the contents table a link's line is its own cell, and the text is the view's, character for character.
    const int link = static_cast<int>(all.indexOf("Playing a spin"));
    EXPECT_EQ(text->textAtOffset(link, QAccessible::LineBoundary, &start, &end).toStdString(), "Playing a spin\n");
    EXPECT_EQ(text->text(link, link + 14).toStdString(), "Playing a spin");
    EXPECT_EQ(text->characterCount(), all.size());
    viewer->close();
    QApplication::processEvents();
}

TEST_F(ManualViewerTest, EachNewPageIsToldAsANewDocumentWithTheFocus) {
    AccessibilityListener listener;
    ManualViewer* viewer = ShowManual(nullptr);
    kazoomba::testing::MakeActive(viewer);
    QTextBrowser* browser = viewer->browser();
    ASSERT_TRUE(viewer->isActiveWindow());
    ASSERT_TRUE(browser->hasFocus());

    // A link followed by the keyboard: Tab to the first link, Enter.
    QAccessible::Id document = QAccessible::uniqueId(Accessible(browser));
    listener.Clear();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    ASSERT_NE(browser->source(), ManualViewer::ContentsUrl());
    const QString title = browser->documentTitle();
    EXPECT_NE(QAccessible::uniqueId(Accessible(browser)), document) << "a new page is a new document";
    EXPECT_EQ(listener.Count(QAccessible::Focus, browser), 1);
    ASSERT_FALSE(listener.events().empty());
    EXPECT_EQ(listener.events().back().name, title);
    EXPECT_TRUE(browser->hasFocus());

    // Back by its button: the focus goes from the button to the page it brought back.
    document = QAccessible::uniqueId(Accessible(browser));
    QPushButton* back = Button(viewer, "&Back");
    back->setFocus();
    QTest::keyClick(back, Qt::Key_Space);
    EXPECT_EQ(browser->source(), ManualViewer::ContentsUrl());
    EXPECT_TRUE(browser->hasFocus());
    EXPECT_NE(QAccessible::uniqueId(Accessible(browser)), document);
    EXPECT_EQ(Accessible(browser)->text(QAccessible::Name), "Contents");

    // Contents while at the contents page: its top again, and told again.
    document = QAccessible::uniqueId(Accessible(browser));
    listener.Clear();
    Button(viewer, "&Contents")->click();
    EXPECT_EQ(browser->textCursor().position(), 0);
    EXPECT_EQ(listener.Count(QAccessible::Focus, browser), 1);
    EXPECT_NE(QAccessible::uniqueId(Accessible(browser)), document);
    viewer->close();
    QApplication::processEvents();
}
