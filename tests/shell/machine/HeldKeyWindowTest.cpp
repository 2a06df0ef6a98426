// Held keys as the X server delivers them to the main window: repeats as release and press pairs of one
// timestamp, flagged or not; one coin or one spin per hold, nothing from a hold that began in a dialog.
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include "machine/MainWindow.h"
#include "support/GameDoor.h"
#include "support/QtApp.h"
#include "support/TestMachine.h"
#include "support/Scripted.h"

using namespace kazoomba;
using namespace kazoomba::ui;

namespace {

class HeldKeyWindowTest : public kazoomba::testing::MachineWindowTest {
protected:
    void SetUp() override {
        MachineWindowTest::SetUp();
        kazoomba::testing::MakeActive(window.get());
    }
    // One event as the window system sends it, with its time.
    static void Send(QWidget* to, QEvent::Type type, int key, quint64 time, bool repeat) {
        QKeyEvent e(type, key, Qt::NoModifier, key == Qt::Key_B ? QStringLiteral("b") : QStringLiteral("\r"), repeat);
        e.setTimestamp(time);
        QApplication::sendEvent(to, &e);
    }
    // A hold of `key` from `start` for three seconds: press, release and press pairs sharing a time, release.
    static quint64 Hold(QWidget* to, int key, quint64 start, bool flagged, QWidget* firstTo = nullptr) {
        Send(firstTo ? firstTo : to, QEvent::KeyPress, key, start, false);
        quint64 t = start + 660;
        for (; t < start + 3000; t += 40) {
            Send(to, QEvent::KeyRelease, key, t, flagged);
            Send(to, QEvent::KeyPress, key, t, flagged);
        }
        Send(to, QEvent::KeyRelease, key, t + 9, false);
        return t + 9;
    }
    // Lets the wait for a repeat press run out, and whatever the release starts run to its end.
    void Settle() {
        QTest::qWait(MainWindow::kKeySettleMs * 3);
        window.PlayOut();
    }
};

}  // namespace

TEST_F(HeldKeyWindowTest, BHeldThreeSecondsPlacesOneCoinAndEnterHeldSpinsOnce) {
    for (bool flagged : {false, true}) {
        SCOPED_TRACE(flagged ? "repeats flagged" : "repeats not flagged");
        const float wager = s().Wager;
        Hold(window->centralWidget(), Qt::Key_B, flagged ? 100000 : 1000, flagged);
        Settle();
        EXPECT_FLOAT_EQ(s().Wager, wager + 0.25f);
    }
    Hold(window->centralWidget(), Qt::Key_Return, 20000, false);
    Settle();
    EXPECT_EQ(s().Spins, 1);
    EXPECT_FLOAT_EQ(s().TotalWagers, 0.5f);
}

TEST_F(HeldKeyWindowTest, AHoldThatBeganInADialogDoesNothingInTheMachine) {
    window->ButtonCommand(Bet1Button);
    window.Spin();  // a last bet, so a leaked Enter would spin again
    ASSERT_EQ(s().Spins, 1);
    QDialog dialog(window.get());
    QTimer::singleShot(0, &dialog, [&] {
        // Enter goes down on the dialog and closes it; its repeats and release then reach the machine.
        Send(&dialog, QEvent::KeyPress, Qt::Key_Return, 50000, false);
        dialog.accept();
    });
    dialog.exec();
    quint64 t = 50660;
    for (; t < 53000; t += 40) {
        Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, t, false);
        Send(window->centralWidget(), QEvent::KeyPress, Qt::Key_Return, t, false);
    }
    Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, t + 5, false);
    Settle();
    EXPECT_EQ(s().Spins, 1);
    // The next press of the player's own acts again.
    Send(window->centralWidget(), QEvent::KeyPress, Qt::Key_Return, 60000, false);
    Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, 60090, false);
    Settle();
    EXPECT_EQ(s().Spins, 2);
}

TEST_F(HeldKeyWindowTest, APressJustAfterAHoldFromADialogEndedIsThePlayersOwn) {
    window->ButtonCommand(Bet1Button);
    window.Spin();
    ASSERT_EQ(s().Spins, 1);
    QDialog dialog(window.get());
    QTimer::singleShot(0, &dialog, [&] {
        Send(&dialog, QEvent::KeyPress, Qt::Key_Return, 50000, false);
        dialog.accept();
    });
    dialog.exec();
    Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, 50660, false);
    Send(window->centralWidget(), QEvent::KeyPress, Qt::Key_Return, 50660, false);
    Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, 50700, false);
    // Pressed again before the wait for a repeat has run out: a press of its own time, not a repeat.
    Send(window->centralWidget(), QEvent::KeyPress, Qt::Key_Return, 50730, false);
    Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, 50810, false);
    Settle();
    EXPECT_EQ(s().Spins, 2);
}

// The reels still turn when Enter goes down: that hold is not one the machine could act on, so its
// release once they have stopped must not spin again.
TEST_F(HeldKeyWindowTest, EnterPressedWhileTheReelsTurnAndReleasedAfterTheyStopDoesNotSpin) {
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    ASSERT_EQ(window->CurrentMoment(), MachineMoment::ReelsMoving);
    Send(window->centralWidget(), QEvent::KeyPress, Qt::Key_Return, 70000, false);
    window.clock.Advance(300);
    window->Tick();
    ASSERT_EQ(window->CurrentMoment(), MachineMoment::ReelsMoving) << "the press came after the reels stopped";
    ASSERT_TRUE(window.PlayOut());
    ASSERT_EQ(s().Spins, 1);
    Send(window->centralWidget(), QEvent::KeyRelease, Qt::Key_Return, 71500, false);
    Settle();
    EXPECT_EQ(s().Spins, 1);
    EXPECT_TRUE(s().SpinReady);
}
