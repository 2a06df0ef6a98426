// Whole spins through the scripted cabinet: settlement, bonus spins, auto spin and the win-stop pause.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/Statistics.h"
#include "support/Scripted.h"
#include "support/Stops.h"

using namespace kazoomba;
using namespace kazoomba::testing;

TEST(SpinCycle, PlacedCoinsAreTheWagerAndBecomeTheLastBet) {
    Table t;
    t.cabinet.outcomes = {kBlank};
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_FLOAT_EQ(t.s().LastBet, 2.0f);
    EXPECT_EQ(t.s().Wager, 0.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, 998.0f);
    EXPECT_TRUE(t.s().SpinReady);
    EXPECT_TRUE(t.cabinet.menusOn);
    EXPECT_TRUE(t.cabinet.buttonsOn);
    EXPECT_EQ(t.cabinet.noWinSounds, 1);
    // Menus go off before the motion and come back after it; the banner restarts at the end.
    auto& c = t.cabinet.calls;
    auto off = std::find(c.begin(), c.end(), "menus off");
    auto anim = std::find(c.begin(), c.end(), "animate");
    auto on = std::find(c.begin(), c.end(), "menus on");
    EXPECT_TRUE(off < anim && anim < on);
    EXPECT_EQ(c.back(), "banner start");
}

TEST(SpinCycle, SpinWithNothingPlacedRepeatsTheLastBet) {
    Table t;
    t.cabinet.outcomes = {kBlank, kBlank};
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 2);
    EXPECT_FLOAT_EQ(t.s().Credits, 996.0f);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 4.0f);
}

TEST(SpinCycle, AWinIsPresentedAndTakenIntoCredits) {
    Table t;
    t.cabinet.outcomes = {kTargetTop};
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    ASSERT_EQ(t.cabinet.presentedWins.size(), 1u);
    EXPECT_FLOAT_EQ(t.cabinet.presentedWins[0], 6.25f);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f - 0.25f + 6.25f);
    EXPECT_EQ(t.cabinet.winSounds, 1);
    EXPECT_EQ(t.s().LinePay[0], 25);
}

TEST(SpinCycle, AMinimizedWindowCreditsTheWinAtOnce) {
    Table t;
    t.cabinet.outcomes = {kTargetTop};
    t.cabinet.minimized = true;
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_TRUE(t.cabinet.presentedWins.empty());
    EXPECT_FLOAT_EQ(t.s().Credits, 1006.0f);
}

TEST(SpinCycle, ASmileAwardPlaysThreeFreeBonusSpinsOnTheBonusStrips) {
    Table t;
    t.s().Smiles = 1;
    t.cabinet.outcomes = {kSmileTop, kTripleTop, kBonusBlank, kTripleTop};
    std::vector<bool> bonusSet;
    t.cabinet.onAnimate = [&] { bonusSet.push_back(t.game.Reels().bonusSet); };
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 4);
    EXPECT_EQ(bonusSet, (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(t.cabinet.bonusCaptionDuringSpin, (std::vector<bool>{false, true, true, true}));
    EXPECT_FALSE(t.cabinet.bonusCaption);
    EXPECT_FALSE(t.s().BonusMode);
    EXPECT_FALSE(t.game.Reels().bonusSet);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 0.25f);  // one wager only
    // SMILE line 10 coins, then two TripleBar lines of 50 coins each, at one coin on line 1.
    EXPECT_FLOAT_EQ(t.s().CherryPts, 25.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f - 0.25f + 2.5f + 25.0f);
    EXPECT_EQ(t.s().Smiles, 6);
    EXPECT_EQ(t.cabinet.presentedWins.size(), 3u);
}

TEST(SpinCycle, TheThirdGlobeLineWinsThePoolWhichIsThenCleared) {
    Table t;
    t.s().Bells = 1;
    t.s().BonusPool = 30.0f;
    t.cabinet.outcomes = {kGlobeTop};
    float poolShown = -1;
    std::int16_t bellsShown = 99;
    t.cabinet.onPresentWin = [&] {
        poolShown = t.s().BonusPool;
        bellsShown = t.s().Bells;
        t.game.TakeWin();
    };
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    EXPECT_FLOAT_EQ(poolShown, 30.0f);
    EXPECT_EQ(bellsShown, 0);
    EXPECT_FLOAT_EQ(t.cabinet.presentedWins[0], 20 * 0.25f + 30.0f);
    EXPECT_EQ(t.s().Bells, 3);
    EXPECT_EQ(t.s().BonusPool, 0.0f);
    EXPECT_FLOAT_EQ(t.s().PoolPts, 30.0f);
    // The displays show the pool emptied and three Globes again as soon as the win is settled, not at
    // the next spin: bonus spins may follow first.
    ASSERT_FALSE(t.cabinet.statusShown.empty());
    EXPECT_FLOAT_EQ(t.cabinet.statusShown.back().first, 0.0f);
    EXPECT_EQ(t.cabinet.statusShown.back().second, 3);
}

TEST(SpinCycle, AutoSpinStopsByItselfAfterTwoHundredSpins) {
    Table t;
    t.cabinet.winStopText = "0";
    t.game.ToggleAutoSpin();
    EXPECT_EQ(t.s().WinStopValue, 0);
    t.game.PlaceCoins(1);
    t.game.SpinCommand();  // random outcomes from here on
    EXPECT_EQ(t.s().Spins, 200);
    EXPECT_FALSE(t.s().AutoSpin);
    EXPECT_FALSE(t.cabinet.autoCheck);
    EXPECT_EQ(t.s().AutoSpinCount, 200);
}

TEST(SpinCycle, UncheckingAutoSpinDuringASpinEndsTheRunAfterIt) {
    Table t;
    t.game.ToggleAutoSpin();
    int n = 0;
    t.cabinet.onAnimate = [&] { if (++n == 3) t.game.ToggleAutoSpin(); };
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 3);
}

TEST(SpinCycle, AutoTakeRespectsTheWinStopValue) {
    Table t;
    t.cabinet.winStopText = "  1000 ";
    t.game.ToggleAutoSpin();
    EXPECT_EQ(t.s().WinStopValue, 1000);
    t.s().SpinWin = 1000.0f;
    EXPECT_FALSE(t.game.AutoTakeDue());
    t.s().SpinWin = 999.75f;
    EXPECT_TRUE(t.game.AutoTakeDue());
    t.game.ToggleAutoSpin();
    EXPECT_FALSE(t.game.AutoTakeDue());  // with auto spin off the player decides
    t.cabinet.winStopText = "1,000";
    t.game.ToggleAutoSpin();
    EXPECT_EQ(t.s().WinStopValue, 1);
    t.cabinet.winStopText = "abc";
    t.game.ToggleAutoSpin();
    t.game.ToggleAutoSpin();
    EXPECT_EQ(t.s().WinStopValue, 0);
    t.s().SpinWin = 5000.0f;
    EXPECT_TRUE(t.game.AutoTakeDue());
}

// Auto spin switched off while a spin of the run moves: that spin's win is still the run's to take, below
// the win stop; the next spin's, with the run over, waits for the player.
TEST(SpinCycle, AWinOfARunStoppedMidSpinIsTakenByItself) {
    Table t;
    t.game.ToggleAutoSpin();
    t.game.PlaceCoins(1);
    t.cabinet.outcomes = {kTargetTop, kTargetTop};
    std::vector<bool> due;
    t.cabinet.onDraw = [&] { t.game.StopAutoSpin(); };
    t.cabinet.onPresentWin = [&] {
        due.push_back(t.game.AutoTakeDue());
        t.game.TakeWin();
    };
    t.game.SpinCommand();
    t.cabinet.onDraw = nullptr;
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_EQ(due, (std::vector<bool>{true, false}));
    EXPECT_EQ(t.s().Spins, 2);
    EXPECT_FALSE(t.game.AutoTakeDue()) << "between spins only the switch says";
}

TEST(SpinCycle, AutoSpinRunningOutOfCreditsTurnsItselfOff) {
    Table t;
    t.s().Credits = 0.5f;
    t.game.ToggleAutoSpin();
    for (int i = 0; i < 40; ++i) t.cabinet.outcomes.push_back(kBlank);
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 2);  // 0.50 pays two quarter spins
    ASSERT_EQ(t.cabinet.messages.size(), 2u);
    EXPECT_EQ(t.cabinet.messages[0].title, "Invalid Wager");
    EXPECT_EQ(t.cabinet.messages[1].title, "Auto Spin Off");
    EXPECT_FALSE(t.cabinet.autoCheck);
}

TEST(SpinCycle, SoundOffStillReseedsOnALosingSpin) {
    Table t;
    t.cabinet.soundOn = false;
    t.cabinet.outcomes = {kBlank};
    t.game.PlaceCoins(1);
    int before = t.random.reseeds;
    t.game.SpinCommand();
    EXPECT_EQ(t.random.reseeds - before, 3);  // the spin, the scoring, the no-win sound
    EXPECT_EQ(t.cabinet.noWinSounds, 0);
}

TEST(SpinCycle, ClosingDuringASpinSettlesItAndCreditsTheWin) {
    Table t;
    t.cabinet.outcomes = {kTargetTop};
    t.cabinet.onAnimate = [&] { t.cabinet.closePending = true; };
    t.game.ToggleAutoSpin();
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_TRUE(t.cabinet.presentedWins.empty());
    EXPECT_FLOAT_EQ(t.s().Credits, 1006.0f);
    EXPECT_TRUE(t.s().SpinReady);
}

TEST(SpinCycle, ClosingDuringASpinStillPlaysAwardedBonusSpins) {
    Table t;
    t.s().Smiles = 1;
    t.cabinet.outcomes = {kSmileTop};
    t.cabinet.onAnimate = [&] { t.cabinet.closePending = true; };
    t.random.fallback = 0.0;  // unanimated bonus spins rest on stop 6: DoubleBar everywhere, 25 a coin
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 4);
    EXPECT_EQ(t.cabinet.animations, 1);
    EXPECT_TRUE(t.cabinet.presentedWins.empty());
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f - 0.25f + 2.5f + 3 * 6.25f);
    EXPECT_FALSE(t.s().BonusMode);
}

TEST(WholeGame, BetsWinsABonusAPoolAndTwoHundredAutoSpins) {
    Table t;
    t.s().Smiles = 1;
    t.s().Bells = 1;
    t.cabinet.outcomes = {kTargetTop, kSmileTop, kTripleTop, kTripleTop, kTripleTop, kGlobeTop};
    t.game.PlaceCoins(8);
    t.game.SpinCommand();                 // Target line
    t.game.SpinCommand();                 // SMILE award and three bonus spins
    t.game.SpinCommand();                 // Globe line wins the pool
    EXPECT_EQ(t.s().Spins, 6);
    EXPECT_FLOAT_EQ(t.s().CherryPts, 3 * 50 * 0.25f);
    EXPECT_EQ(t.s().Bells, 3);
    t.game.ToggleAutoSpin();
    t.game.SpinCommand();
    EXPECT_EQ(t.s().Spins, 206);
    EXPECT_FALSE(t.s().AutoSpin);
    // Every dollar is accounted for: the credits are what was put in, less the bets, plus every win shown.
    double presented = 0.0;
    for (float win : t.cabinet.presentedWins) presented += win;
    EXPECT_GT(t.cabinet.presentedWins.size(), 4u);
    EXPECT_NEAR(t.s().Credits, t.s().Borrowed - t.s().TotalWagers + presented, 0.01);
    StatisticsFigures f = ComputeStatistics(t.s());
    EXPECT_NEAR(f.TotalPayoffs, presented, 0.01);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 203 * 2.0f);  // bonus spins are free
}

// The spin as the window runs it: every step that takes time (the motion, a sound, the win on screen)
// starts and waits for its end, the moment says where the machine stands at each, the win is kept before
// it is sounded or shown, and a press or a stray report in between does nothing.
TEST(SpinCycle, StepByStepThroughAWinItsSoundAndThreeBonusSpins) {
    Table t;
    t.cabinet.async = true;
    t.s().Smiles = 1;
    t.cabinet.outcomes = {kSmileTop, kTripleTop, kBonusBlank, kTripleTop};
    t.game.PlaceCoins(1);
    t.cabinet.calls.clear();
    t.game.SpinCommand();
    // The outcome is drawn and kept with the bet taken; the reels move once that is on the disk.
    EXPECT_EQ(t.cabinet.waiting, "");
    EXPECT_EQ(t.cabinet.savesUnderWay, 1);
    EXPECT_EQ(t.cabinet.animations, 0) << "the reels moved before the outcome was kept";
    EXPECT_EQ(t.game.Moment().phase, MomentPhase::Reels);
    t.cabinet.FinishSave();
    EXPECT_EQ(t.cabinet.waiting, "reels");
    EXPECT_EQ(t.game.CurrentMoment(), MachineMoment::ReelsMoving);
    EXPECT_TRUE(t.game.CommandRunning());
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_EQ(t.s().SpinWin, 0.0f) << "scored before the reels stopped";
    const int momentsTold = t.cabinet.moments;
    EXPECT_GE(momentsTold, 1);

    t.game.SpinCommand();  // a second press while the reels turn
    t.game.PlaceCoins(8);
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 0.25f);

    t.cabinet.Finish();  // the reels stop: the SMILE line wins, and the win is kept before anything else
    EXPECT_EQ(t.cabinet.waiting, "");
    EXPECT_EQ(t.cabinet.savesUnderWay, 1);
    EXPECT_EQ(t.game.CurrentMoment(), MachineMoment::Settling);
    EXPECT_EQ(t.game.Moment().phase, MomentPhase::Payoffs);
    EXPECT_FLOAT_EQ(t.s().SpinWin, 2.5f);
    EXPECT_EQ(t.cabinet.winSounds, 0) << "sounded before it was on the disk";
    t.cabinet.FinishSave();  // on the disk: its sound plays
    EXPECT_EQ(t.cabinet.waiting, "sound");
    auto& c = t.cabinet.calls;
    const auto at = [&c](const char* what) { return std::find(c.begin(), c.end(), what) - c.begin(); };
    const auto last = [&c](const char* what) { return std::find(c.rbegin(), c.rend(), what).base() - 1 - c.begin(); };
    EXPECT_LT(at("guarding checkpoint"), at("animate")) << "the outcome is kept before the reels move";
    EXPECT_LT(at("animate"), last("guarding checkpoint"));
    EXPECT_LT(last("guarding checkpoint"), at("win sound"));
    EXPECT_EQ(at("present"), static_cast<long>(c.size())) << "shown before its sound ended";

    t.cabinet.Finish();  // the sound has been heard: the Payoffs window shows
    EXPECT_EQ(t.cabinet.waiting, "win");
    EXPECT_EQ(t.game.CurrentMoment(), MachineMoment::PresentingWin);
    EXPECT_FLOAT_EQ(t.s().Credits, 999.75f) << "credited before it was taken";
    t.game.TakeWin();
    t.cabinet.Finish();
    EXPECT_FLOAT_EQ(t.s().Credits, 1002.25f);

    // Three free spins follow, each waiting on its motion and, after it, its sound and its win.
    // Each of them waits on the disk too: the bonus spins still to come are kept before the next starts.
    int rounds = 0, guarded = 0;
    while ((!t.cabinet.waiting.empty() || t.cabinet.savesUnderWay > 0) && rounds++ < 40) {
        if (t.cabinet.savesUnderWay > 0) {
            EXPECT_EQ(t.cabinet.waiting, "") << "the next step started before the save it waits for";
            ++guarded;
            t.cabinet.FinishSave();
            continue;
        }
        EXPECT_EQ(t.game.CurrentMoment(), t.cabinet.waiting == "win" ? MachineMoment::PresentingWin
                                                                      : MachineMoment::BonusSpins);
        EXPECT_TRUE(t.cabinet.bonusCaption);
        if (t.cabinet.waiting == "win") t.game.TakeWin();
        t.cabinet.Finish();
    }
    EXPECT_EQ(guarded, 3 + 3 + 2)
        << "between the four spins, as each bonus spin's reels start, and before the two bonus wins are sounded";
    EXPECT_EQ(t.game.CurrentMoment(), MachineMoment::Idle);
    EXPECT_FALSE(t.game.CommandRunning());
    EXPECT_GT(t.cabinet.moments, momentsTold);
    EXPECT_EQ(t.s().Spins, 4);
    EXPECT_FALSE(t.cabinet.bonusCaption);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f - 0.25f + 2.5f + 25.0f);
    EXPECT_EQ(t.cabinet.winSounds, 3);
    EXPECT_EQ(t.cabinet.noWinSounds, 1);
    EXPECT_EQ(c.back(), "banner start");
    EXPECT_EQ(t.game.Moment().phase, MomentPhase::Idle);
    t.game.Proceed();  // a report of nothing under way changes nothing
    EXPECT_EQ(t.s().Spins, 4);
    EXPECT_FALSE(t.game.CommandRunning());
}
