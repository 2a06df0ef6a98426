// The manual and its viewer: opens at the contents page, one window, not modal, and every link and picture works.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include "engine/Payoffs.h"
#include "info/ManualViewer.h"
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
                              "Statistics", "Digit Colors", "Spin Speed", "Banner Text", "Payoff Chart"})
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
