// The machine's menus from the keyboard: F10 opens the first menu that can be used, so Auto Spin can be
// switched off mid-spin.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QTest>

#include "art/Graphics.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"
#include "support/GameDoor.h"
#include "support/QtApp.h"
#include "support/Scripted.h"
#include "support/TestMachine.h"

using namespace kazoomba;
using namespace kazoomba::ui;

namespace {

class MenuKeysTest : public kazoomba::testing::MachineWindowTest {
protected:
    void SetUp() override {
        MachineWindowTest::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }
    QAction* OpenMenu() { return window->menuBar()->activeAction(); }
};

}  // namespace

TEST_F(MenuKeysTest, F10OpensTheFileMenuWhenTheMachineIsReady) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    ASSERT_NE(OpenMenu(), nullptr);
    EXPECT_EQ(OpenMenu(), window->menus().file->menuAction());
    EXPECT_TRUE(window->menus().file->isVisible());
}

TEST_F(MenuKeysTest, F10MidSpinOpensAutoPlayAndEnterSwitchesAutoSpinOff) {
    GameDoor::State(window->game()).AutoSpin = true;
    window->SetAutoSpinCheck(true);
    // A spin whose reels are still moving: the test's clock stands still.
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    ASSERT_EQ(window->CurrentMoment(), MachineMoment::ReelsMoving);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    ASSERT_EQ(OpenMenu(), window->menus().autoPlay->menuAction());
    QMenu* autoPlay = window->menus().autoPlay;
    ASSERT_TRUE(autoPlay->isVisible());
    // The arrows pass over the disabled menus: Left and Right both come back to Auto Play.
    QTest::keyClick(autoPlay, Qt::Key_Right);
    EXPECT_EQ(OpenMenu(), window->menus().autoPlay->menuAction());
    autoPlay = window->menus().autoPlay;
    if (!autoPlay->activeAction()) QTest::keyClick(autoPlay, Qt::Key_Down);
    EXPECT_EQ(autoPlay->activeAction(), window->menus().autoSpin);
    QTest::keyClick(autoPlay, Qt::Key_Return);
    EXPECT_FALSE(window->game().State().AutoSpin);
    EXPECT_FALSE(window->menus().autoSpin->isChecked());
}
