// A run of auto spins as a player at the keyboard and a listener meet it: a win the run takes by itself
// leaves the keys with the machine, Escape ends the run without touching the win, and what the run says
// keeps to what a voice can say, with the pool in full and one summary at its end.
#include <gtest/gtest.h>

#include <QTest>

#include "access/Herald.h"
#include "access/MachineAccessible.h"
#include "access/SpokenText.h"
#include "engine/Reels.h"
#include "gamble/BoardWindow.h"
#include "gamble/PayoffsWindow.h"
#include "support/WinningMachine.h"
#include "support/GameDoor.h"
#include "support/QtApp.h"
#include "support/Scripted.h"
#include "support/TestMachine.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

class AutoSpinRunTest : public WinningMachineTest {
protected:
    void SetUp() override {
        WinningMachineTest::SetUp();
        window->menus().autoSpin->trigger();  // no Win Stop Value dialog here: it answers "0"
        ASSERT_TRUE(s().AutoSpin);
    }

    // The stops that show `code` along the top row, line 1.
    std::array<int, 9> TopRowOf(Symbol code) {
        std::array<int, 9> stops{1, 1, 1, 1, 1, 1, 1, 1, 1};
        for (int cell = 0; cell < 3; ++cell) {
            const auto& strip = window->game().Reels().ReelStrip[WheelOf(cell)];
            for (int stop = 0; stop < kStops; ++stop)
                if (strip[stop] == code) stops[cell] = stop;
        }
        return stops;
    }
    static constexpr std::array<int, 9> kLosing{1, 9, 3, 1, 1, 1, 1, 1, 1};

    ui::PayoffsWindow* PayoffsShown() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<ui::PayoffsWindow*>(w); p && p->isVisible()) return p;
        return nullptr;
    }
    QString Said() { return window->readouts().herald().LastSaid(); }
    // Moves the run on until the next thing to check, `stepMs` of the game's clock at a time.
    bool Until(const std::function<bool()>& done, std::int64_t stepMs = 20) {
        return DriveUntil(*window, window.clock, done, stepMs);
    }
};

}  // namespace

// The win of an auto spin opens its window without the keyboard: Enter and D pressed then reach the
// machine, which does nothing with them mid-run. Escape there ends the run; the window still takes its win
// at its tick, once, and the run's summary is said when the spin has settled.
TEST_F(AutoSpinRunTest, EscapeEndsTheRunAndTheWinOnScreenIsTakenNotStaked) {
    window->ButtonCommand(ui::Bet1Button);
    ForceStops(random, TopRowOf(Target));
    random.queue.push_back(0.0);  // the win sound
    window->ButtonCommand(ui::SpinButton);
    ASSERT_TRUE(Until([&] { return PayoffsShown() != nullptr; }));
    ui::PayoffsWindow* payoffs = PayoffsShown();
    const float credits = s().Credits, win = s().SpinWin;
    ASSERT_GT(win, 0.0f);
    EXPECT_FALSE(payoffs->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    for (int key : {Qt::Key_Return, Qt::Key_D, Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(window.get(), static_cast<Qt::Key>(key));
    QCoreApplication::processEvents();
    EXPECT_EQ(PayoffsShown(), payoffs) << "a key pressed as the win showed settled it";
    EXPECT_FLOAT_EQ(s().Credits, credits);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<ui::BoardWindow*>(w), nullptr) << "a key staked the win on the board";

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(s().AutoSpin);
    EXPECT_FALSE(window->menus().autoSpin->isChecked());
    EXPECT_EQ(PayoffsShown(), payoffs) << "Escape on the machine is not an answer to the window";

    payoffs->TimerTick();
    ASSERT_TRUE(window.PlayOut());
    EXPECT_FLOAT_EQ(s().Credits, credits + win);
    EXPECT_EQ(s().Spins, 1) << "the run went on after Escape";
    EXPECT_TRUE(Said().endsWith("Auto Spin off. 1 spin, won $6.25, credits $1,006.00.")) << Said().toStdString();
}

// A pool won mid-run is said in full with the credits it left; the spins that follow while that is still
// being said say nothing, the first after it its own short piece; and a stop through the menu mid-spin
// gives the summary once that spin has settled, counting it.
TEST_F(AutoSpinRunTest, ARunSaysThePoolInFullSkipsWhatCannotBeHeardAndEndsWithItsSummary) {
    s().Bells = 1;
    s().BonusPool = 40.0f;
    window->ButtonCommand(ui::Bet1Button);
    // The run's spins one after another: the pool, then three that lose.
    ForceStops(random, TopRowOf(Globe));
    random.queue.push_back(0.0);  // the win sound
    for (int spin = 0; spin < 3; ++spin) ForceStops(random, kLosing);
    window->ButtonCommand(ui::SpinButton);
    ASSERT_TRUE(Until([&] { return PayoffsShown() != nullptr; }));
    const float poolWin = s().SpinWin;
    ASSERT_GT(poolWin, 40.0f);
    PayoffsShown()->TimerTick();
    ASSERT_TRUE(Until([&] { return s().Spins == 2; }));
    const QString pool = Said();
    EXPECT_TRUE(pool.contains("Bonus pool: $40.00.")) << pool.toStdString();
    EXPECT_TRUE(pool.endsWith("Credits " + ui::MoneyWords(s().Credits + s().Wager) + ".")) << pool.toStdString();

    // That takes seconds to say; the losing spin a moment later is left out rather than queued.
    ASSERT_TRUE(Until([&] { return s().Spins == 3; }));
    EXPECT_EQ(Said(), pool);

    // Once the voice is free again the next losing spin is told, shortly.
    window.clock.Advance(10000);
    ASSERT_TRUE(Until([&] { return s().Spins == 4; }));
    EXPECT_EQ(Said(), "No win.");

    // Stopped through the menu while the fourth spin's reels move: it settles, then the run is summed up.
    window->menus().autoSpin->trigger();
    EXPECT_EQ(Said(), "No win.") << "the summary came before the spin under way had settled";
    ASSERT_TRUE(window.PlayOut());
    EXPECT_EQ(s().Spins, 4);
    EXPECT_TRUE(Said().endsWith(QStringLiteral("Auto Spin off. 4 spins, won %1, credits %2.")
                                    .arg(ui::MoneyWords(poolWin), ui::MoneyWords(s().Credits))))
        << Said().toStdString();
}

// The bonus spins a run won play on after it is stopped: its summary waits until they have, and counts
// them, rather than being said between two of them, where the next one's news would cover it.
TEST_F(AutoSpinRunTest, ARunStoppedDuringItsBonusSpinsIsSummedUpOnceTheyHavePlayed) {
    s().Smiles = 1;
    window->ButtonCommand(ui::Bet1Button);
    ForceStops(random, TopRowOf(Smile));
    random.queue.push_back(0.0);  // the win sound
    for (int spin = 0; spin < 3; ++spin) ForceStops(random, kLosing);
    window->ButtonCommand(ui::SpinButton);
    ASSERT_TRUE(Until([&] { return PayoffsShown() != nullptr; }));
    PayoffsShown()->TimerTick();
    ASSERT_TRUE(Until([&] { return s().BonusMode; }));
    window->menus().autoSpin->trigger();
    ASSERT_FALSE(s().AutoSpin);
    EXPECT_FALSE(Said().contains("Auto Spin off")) << "summed up with bonus spins still to play";
    ASSERT_TRUE(Until([&] {
        if (ui::PayoffsWindow* win = PayoffsShown()) win->reject();  // a win now waits for the player: taken
        return !window->game().CommandRunning();
    }));
    EXPECT_TRUE(Said().contains("Auto Spin off. 4 spins")) << Said().toStdString();
}

// The pool a spin of a run grows is left to its display: what a run says is kept to what a voice can say
// of each spin, and the pool is news when it is won.
TEST_F(AutoSpinRunTest, ARunLeavesThePoolItGrowsToItsDisplay) {
    window->ButtonCommand(ui::Bet8Button);
    for (int spin = 0; spin < 2; ++spin) ForceStops(random, {1, 9, 3, 1, 8, 1, 1, 1, 1});  // a FULMINA, no line
    window->ButtonCommand(ui::SpinButton);
    ASSERT_TRUE(Until([&] { return s().Spins == 2; }));
    window.clock.Advance(10000);  // the voice is free for the second spin's piece
    window->menus().autoSpin->trigger();
    ASSERT_TRUE(window.PlayOut());
    EXPECT_FLOAT_EQ(s().BonusPool, 1.5f);
    EXPECT_FALSE(Said().contains("Bonus Pool")) << Said().toStdString();
    EXPECT_TRUE(Said().startsWith("No win. Auto Spin off. 2 spins")) << Said().toStdString();
}
