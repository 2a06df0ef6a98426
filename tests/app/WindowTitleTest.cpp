// Window titles: the window manager shows each window's own caption and nothing after it.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include "support/Scripted.h"
#include "support/WindowTesting.h"
#include "art/Graphics.h"
#include "Identity.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"

using namespace kazoomba::ui;

TEST(WindowTitle, TheDesktopShowsExactlyTheCaptions) {
    kazoomba::testing::App();
    NameApplication();
    // Qt appends a display name, when one is set, to the title it hands the window system; unset, it
    // follows the application name. Only a display name that follows the name proves none was set.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("kazoomba-probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("kazoomba-probe"));
    QCoreApplication::setApplicationName(name);
    EXPECT_EQ(name, QStringLiteral("kazoomba"));

    kazoomba::testing::ScriptedRandom random;
    Graphics graphics(1.0);
    Sound sound(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
    MainWindow window(graphics, sound, random);
    window.StartUp();
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_EQ(window.windowHandle()->title(), QStringLiteral("Kazoomba Video Slots (32-bit version)"));
    QString boxTitle;
    kazoomba::testing::WhenModalOpens([&](QWidget* box) {
        boxTitle = box->windowHandle() ? box->windowHandle()->title() : QString();
        QTest::keyClick(box, Qt::Key_Return);
    });
    window.ButtonCommand(SpinButton);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_EQ(boxTitle, QStringLiteral("No Wager Placed"));
}
