// The machine takes a spin in steps on its clock and never waits: a win is shown only once its save is on
// the disk, a press while a synchronous sound plays does nothing, a late tick skips frames rather than
// stretching the spin, and a held Enter on the board acts once.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "gamble/BoardWindow.h"
#include "machine/MainWindow.h"
#include "support/GameDoor.h"
#include "support/Scripted.h"
#include "support/Stops.h"
#include "support/TestMachine.h"
#include "support/WindowTesting.h"

using namespace kazoomba;
using namespace kazoomba::ui;
using namespace kazoomba::testing;

namespace {

constexpr std::array<int, 9> kNothing = {1, 9, 3, 1, 1, 1, 1, 1, 1};

class SpinStepsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }
    void TearDown() override { TestSound().SetSound(1); }
    void Start(MachineHooks hooks = {}) { StartTestMachine(window, random, std::move(hooks)); }
    GameState& s() { return GameDoor::State(window->game()); }
    void Key(QEvent::Type type, int key, bool repeat = false) {
        QKeyEvent e(type, key, Qt::NoModifier, key == Qt::Key_B ? QStringLiteral("b") : QStringLiteral("\r"), repeat);
        e.setTimestamp(++time);
        QApplication::sendEvent(window->centralWidget(), &e);
    }
    void Press(int key) {
        Key(QEvent::KeyPress, key);
        Key(QEvent::KeyRelease, key);
    }

    ScriptedRandom random;
    TestMachine window;
    quint64 time = 1000;
};

}  // namespace

// Before a win is sounded or shown it is on the disk: the Payoffs window waits for the save, however
// long the disk takes, and the machine answers meanwhile.
TEST_F(SpinStepsTest, AWinIsShownOnlyOnceItsSaveIsOnTheDisk) {
    int guarding = 0, presented = 0;
    MachineHooks hooks;
    hooks.checkpoint = [&](MainWindow& w, bool guards) {
        if (!guards) return false;
        // The win's save stays under way until the test says it is written; the others land at once.
        if (w.game().Moment().phase == MomentPhase::Payoffs) ++guarding;
        else QTimer::singleShot(0, &w, [&w] { w.game().Saved(); });
        return true;
    };
    hooks.presentWin = [&](MainWindow& w, std::function<void()> settled) {
        ++presented;
        w.game().TakeWin();
        settled();
    };
    Start(std::move(hooks));
    ForceStops(random, kTargetTop);
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    DriveUntil(*window, window.clock, [&] { return guarding == 1; });
    for (int i = 0; i < 5; ++i) {
        window.clock.Advance(60000);
        window->Tick();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(presented, 0) << "shown before it was on the disk";
    EXPECT_EQ(window->CurrentMoment(), MachineMoment::Settling);
    EXPECT_FALSE(window->AvailableNow().buttons);
    window->game().Saved();
    EXPECT_TRUE(window.PlayOut());
    EXPECT_EQ(presented, 1);
    EXPECT_FLOAT_EQ(s().Credits, 1000.0f - 0.25f + 6.25f);
}

// The no-win sound is a pause of the spin, not of the window: a bet or a spin pressed during it does
// nothing, and once it has been heard the same keys play again.
TEST_F(SpinStepsTest, APressWhileTheNoWinSoundPlaysDoesNothing) {
    Start();
    TestSound().SetSound(0);
    if (!TestSound().HasDevice()) GTEST_SKIP() << "no audio driver";
    window->activateWindow();
    ForceStops(random, kNothing);
    random.queue.push_back(0.0);  // which no-win sound
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    window.clock.Advance(10000);  // the reels stop; the sound begins
    window->Tick();
    ASSERT_EQ(window->CurrentMoment(), MachineMoment::Settling) << "no pause for the sound";
    Press(Qt::Key_B);
    Press(Qt::Key_Return);
    window->ButtonCommand(Bet8Button);
    RunEventsFor(MainWindow::kKeySettleMs * 2);  // a release is believed once no repeat follows it
    EXPECT_EQ(s().Spins, 1);
    EXPECT_FLOAT_EQ(s().TotalWagers, 0.25f);
    EXPECT_FLOAT_EQ(s().Credits, 999.75f);

    EXPECT_TRUE(window.PlayOut());  // the sound ends
    ForceStops(random, kNothing);
    Press(Qt::Key_Return);
    RunEventsFor(MainWindow::kKeySettleMs * 2);
    EXPECT_EQ(s().Spins, 2) << "Enter after the sound plays again";
    EXPECT_TRUE(window.PlayOut());
}

// The frame shown is the frame of its time: ticks that come late skip frames, and the motion ends on
// time however few ticks there were.
TEST_F(SpinStepsTest, LateTicksSkipFramesAndTheMotionEndsOnTime) {
    Start();
    window->SetSpinSpeed(1);  // 26 ms a frame, 131 frames: 3406 ms
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    window.clock.Advance(26 * 50 + 5);  // one tick, fifty frames late
    window->Tick();
    EXPECT_EQ(window->ShownFrame(), 49);
    window.clock.Advance(26 * 131 - (26 * 50 + 5) - 1);
    window->Tick();
    EXPECT_EQ(window->ShownFrame(), 129);
    EXPECT_EQ(window->CurrentMoment(), MachineMoment::ReelsMoving);
    window.clock.Advance(1);
    window->Tick();
    EXPECT_EQ(window->ShownFrame(), kRestFrame);
    EXPECT_NE(window->CurrentMoment(), MachineMoment::ReelsMoving);
    EXPECT_TRUE(window.PlayOut());
}

// A held Enter opens one box: its repeats reach neither another box nor the board's Quit.
TEST_F(SpinStepsTest, AHeldEnterOnTheBoardOpensOneBoxAndLeavesTheBoardOpen) {
    Table table;
    table.s().SpinWin = 10.0f;
    for (int pass = 0; pass < 20; ++pass)
        for (int j = 0; j < kBoxes; ++j) table.random.queue.push_back((j + 0.5) / kBoxes);  // box n holds n - 1
    BoardWindow board(table.game, TestGraphics(), TestSound(), table.random);
    board.show();
    board.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&board));
    board.box(11)->setFocus();  // Try Again: the board goes on after it
    ASSERT_TRUE(board.box(11)->hasFocus());
    // Each key goes where the keyboard is, as the window system sends it: after the pick, that is the
    // board's voice, and from there an unhandled key reaches the window and its default button, Quit.
    auto send = [&](QEvent::Type type, bool repeat) {
        QKeyEvent e(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), repeat);
        QWidget* to = QApplication::focusWidget();
        QApplication::sendEvent(to ? to : static_cast<QWidget*>(&board), &e);
    };
    send(QEvent::KeyPress, false);
    for (int i = 0; i < 20; ++i) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);
    QCoreApplication::processEvents();
    int opened = 0;
    for (bool o : board.board().BoxOpened()) opened += o;
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(board.isVisible()) << "a repeat left the board";
    EXPECT_TRUE(table.game.OpenedBoard() != nullptr);
}
