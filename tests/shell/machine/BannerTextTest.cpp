// The banner text dialog: what OK keeps, and the menu command driven as a player would.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/QtApp.h"
#include "support/WindowTesting.h"
#include "support/Scripted.h"
#include "dialogs/BannerTextDialog.h"
#include "art/Graphics.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"

using namespace kazoomba::ui;

TEST(BannerText, OkTrimsKeepsOneLineAndAppendsTwentyBlanks) {
    EXPECT_EQ(BannerTextDialog::Confirmed(QStringLiteral("  Hello  ")), QStringLiteral("Hello") + QString(20, ' '));
    EXPECT_EQ(BannerTextDialog::Confirmed(QStringLiteral("one\r\ntwo\nthree")),
              QStringLiteral("one two three") + QString(20, ' '));
    EXPECT_EQ(BannerTextDialog::Confirmed(QString()), QString(20, ' '));
}

TEST(BannerText, TheMenuCommandStoresTheTypedTextAndRendersItAtTheNextTick) {
    kazoomba::testing::App();
    kazoomba::testing::ScriptedRandom random;
    Graphics graphics(1.0);
    Sound sound(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
    QString written;
    MachineHooks hooks;
    hooks.writeBannerText = [&](const QString& t) { written = t; };
    MainWindow window(graphics, sound, random, std::move(hooks));
    window.StartUp();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<BannerTextDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Change the Banner Text"));
        EXPECT_EQ(dialog->box()->toPlainText().toStdString(), kazoomba::kWelcomeBanner);
        dialog->box()->selectAll();
        QTest::keyClicks(dialog->box(), QStringLiteral("Jackpot tonight"));
        dialog->findChild<QPushButton*>()->click();
    });
    window.menus().bannerText->trigger();
    ASSERT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_EQ(written, QStringLiteral("Jackpot tonight") + QString(20, ' '));
    EXPECT_EQ(window.banner().Text(), written);
    const int before = window.banner().PictureWidth();
    window.banner().Tick();
    EXPECT_NE(window.banner().PictureWidth(), before);
}

TEST(BannerText, ClosingTheDialogWithEscapeKeepsTheTextAndTheBannerDrawn) {
    kazoomba::testing::App();
    kazoomba::testing::ScriptedRandom random;
    Graphics graphics(1.0);
    Sound sound(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
    MainWindow window(graphics, sound, random);
    window.StartUp();
    window.banner().StopBanner();
    auto lit = [&] {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < window.surface().width(); ++x) n += window.surface().pixel(x, y) != qRgb(0, 0, 0);
        return n;
    };
    for (int i = 0; i < 70; ++i) window.banner().Tick();
    ASSERT_GT(lit(), 0);
    const QString before = window.banner().Text();
    kazoomba::testing::WhenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    window.menus().bannerText->trigger();
    ASSERT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_EQ(window.banner().Text(), before);
    for (int i = 0; i < 70; ++i) window.banner().Tick();
    EXPECT_GT(lit(), 0);
}
