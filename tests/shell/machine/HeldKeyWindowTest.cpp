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

class HeldKeyWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kazoomba::testing::App(); }
    void SetUp() override {
        window = kazoomba::testing::StartTestMachine(random);
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
        (void)QTest::qWaitFor([this] { return s().SpinReady; }, 30000);
    }
    GameState& s() { return GameDoor::State(window->game()); }

    kazoomba::testing::ScriptedRandom random;
    std::unique_ptr<MainWindow> window;
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
    window->ButtonCommand(SpinButton);  // a last bet, so a leaked Enter would spin again
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
