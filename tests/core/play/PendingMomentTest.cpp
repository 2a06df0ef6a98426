// The moment of a spin kept at each checkpoint, its check, and the spin carried on from it after a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

#include "gamble/Board.h"
#include "play/PendingMoment.h"
#include "support/Scripted.h"
#include "support/Stops.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

// What the file holds after a checkpoint: the game and its moment as they stood.
struct Saved {
    GameState state;
    PendingMoment moment;
};

// Records every checkpoint of a table.
struct Recorder {
    std::vector<Saved> saves;
    explicit Recorder(Table& t) {
        t.cabinet.onCheckpoint = [&t, this] { saves.push_back({t.game.State(), t.game.Moment()}); };
    }
    std::optional<Saved> Last(MomentPhase phase) const {
        for (auto it = saves.rbegin(); it != saves.rend(); ++it)
            if (it->moment.phase == phase) return *it;
        return std::nullopt;
    }
};

// A game started again from what was saved, as the program starts after a crash.
struct Restarted : Table {
    explicit Restarted(const Saved& saved) {
        GameState fresh = saved.state;
        fresh.SpinReady = true;  // a loaded game starts ready; the moment says what is in play
        fresh.Wager = 0.0f;
        game.Restore(fresh);
        const std::string why = CheckPendingMoment(saved.moment, game.State());
        EXPECT_EQ(why, "");
        game.RestoreMoment(saved.moment);
    }
};

Saved PayoffsMomentOfATargetLine() {
    Table t;
    Recorder r(t);
    t.cabinet.outcomes = {kTargetTop};
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    return *r.Last(MomentPhase::Payoffs);
}

}  // namespace

TEST(PendingMoment, ASettledWinIsKeptBeforeItIsShownAndClearedAfter) {
    Table t;
    Recorder r(t);
    std::optional<Saved> atPresent;
    t.cabinet.onPresentWin = [&] {
        ASSERT_FALSE(r.saves.empty());
        atPresent = r.saves.back();
        t.game.TakeWin();
    };
    t.cabinet.outcomes = {kTargetTop};
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    ASSERT_TRUE(atPresent);
    const PendingMoment& m = atPresent->moment;
    EXPECT_EQ(m.phase, MomentPhase::Payoffs);
    EXPECT_EQ(m.stops, (std::array<std::int16_t, 9>{6, 6, 6, 1, 1, 1, 1, 1, 1}));
    EXPECT_FLOAT_EQ(m.spinWin, 6.25f);
    EXPECT_EQ(m.linePay[0], 25);
    EXPECT_FLOAT_EQ(atPresent->state.Credits, 999.75f);  // the bet is out, the win not yet in
    EXPECT_EQ(t.game.Moment().phase, MomentPhase::Idle);
    // Kept as the reels start, before the win is shown, and once it is settled.
    ASSERT_EQ(r.saves.size(), 3u);
    EXPECT_EQ(r.saves[0].moment.phase, MomentPhase::Reels);
    EXPECT_EQ(r.saves.back().moment.phase, MomentPhase::Idle);
}

TEST(PendingMoment, TheMomentsTheGameKeepsPassTheirCheck) {
    Table t;
    Recorder r(t);
    t.s().Smiles = 1;
    t.s().Bells = 1;
    t.s().BonusPool = 12.0f;
    // A pool won with a SMILE award, then a board, then the bonus spins.
    t.cabinet.outcomes = {{3, 3, 3, 9, 9, 9, 1, 1, 1}, kTripleTop, kBonusBlank, kTripleTop};
    bool doubled = false;
    t.cabinet.onPresentWin = [&] {
        if (doubled) return t.game.TakeWin();
        doubled = true;
        QueueIdentityShuffle(t.random);
        t.game.OpenBoard(t.random);
        t.game.PickBox(2);
        t.game.PickBox(11);
        t.game.QuitBoard();
    };
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    std::set<MomentPhase> seen;
    for (const Saved& s : r.saves) {
        seen.insert(s.moment.phase);
        EXPECT_EQ(CheckPendingMoment(s.moment, s.state), "") << static_cast<int>(s.moment.phase);
    }
    EXPECT_EQ(seen.size(), 5u) << "every kind of moment, the reels moving among them";
}

TEST(PendingMoment, ImpossibleRecordsAreRefused) {
    const Saved good = PayoffsMomentOfATargetLine();
    ASSERT_EQ(CheckPendingMoment(good.moment, good.state), "");
    auto refused = [&](auto change) {
        Saved s = good;
        change(s);
        return CheckPendingMoment(s.moment, s.state);
    };
    EXPECT_EQ(refused([](Saved& s) { s.moment.spinWin = 6.26f; }), "the win is larger than the reels pay");
    EXPECT_EQ(refused([](Saved& s) { s.moment.spinWin = 100.0f; }), "the win is larger than the reels pay");
    EXPECT_EQ(refused([](Saved& s) { s.moment.spinWin = 6.24f; }), "the win is smaller than the reels pay");
    EXPECT_EQ(refused([](Saved& s) { s.moment.stops[0] = 1; }), "the winning lines are not what the reels show");
    EXPECT_EQ(refused([](Saved& s) { s.moment.stops[4] = 20; }), "a reel stop is not on its strip");
    EXPECT_EQ(refused([](Saved& s) { s.moment.bonusSpins = 4; }), "more bonus spins are left than a SMILE award gives");
    EXPECT_EQ(refused([](Saved& s) { s.moment.bonusSpins = 2; }), "the bonus spins left do not fit the reels shown");
    EXPECT_EQ(refused([](Saved& s) {
                  s.moment.bonusSet = true;
                  s.moment.bonusSpins = 3;
              }),
              "the bonus spins left do not fit the reels shown");
    EXPECT_EQ(refused([](Saved& s) { s.moment.pool = 5.0f; }), "the pool paid is not the pool in play");
    EXPECT_EQ(refused([](Saved& s) { s.state.LastBet = 0.0f; }), "no bet was in play");
    EXPECT_EQ(refused([](Saved& s) {
                  s.moment.phase = MomentPhase::BonusSpins;
                  s.moment.bonusSpins = 0;
              }),
              "no bonus spin is left to play");
    EXPECT_EQ(refused([](Saved& s) {
                  s.moment.phase = MomentPhase::Idle;
                  s.moment.bonusSpins = 3;
              }),
              "bonus spins are left with no spin in play");

    // The board.
    Saved board = good;
    board.moment.phase = MomentPhase::Board;
    for (int i = 0; i < kBoxes; ++i) board.moment.boxContent[i] = i;
    board.moment.boxOpened[0] = true;  // 5X
    board.moment.winnings = 6.25f * 5;
    ASSERT_EQ(CheckPendingMoment(board.moment, board.state), "");
    auto boardRefused = [&](auto change) {
        Saved s = board;
        change(s.moment);
        return CheckPendingMoment(s.moment, s.state);
    };
    EXPECT_EQ(boardRefused([](PendingMoment& m) { m.boxContent[1] = 0; }),
              "the board does not hold each of its fifteen boxes once");
    EXPECT_EQ(boardRefused([](PendingMoment& m) { m.boxContent[1] = 15; }),
              "the board does not hold each of its fifteen boxes once");
    EXPECT_EQ(boardRefused([](PendingMoment& m) {
                  m.boxOpened[3] = m.boxOpened[4] = true;
                  m.winnings = 0;
              }),
              "the board has more than one losing box open");
    EXPECT_EQ(boardRefused([](PendingMoment& m) { m.winnings = 6.25f * 15; }),
              "the board's winnings are not what its open boxes make");
    EXPECT_EQ(boardRefused([](PendingMoment& m) { m.boxOpened[3] = true; }),
              "the board's winnings are not what its open boxes make");
}

TEST(PendingMoment, AWonPoolMustBeThePoolInPlay) {
    Table t;
    Recorder r(t);
    t.s().Bells = 1;
    t.s().BonusPool = 30.0f;
    t.cabinet.outcomes = {kGlobeTop};
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    Saved s = *r.Last(MomentPhase::Payoffs);
    EXPECT_EQ(s.moment.bells, 0);
    EXPECT_FLOAT_EQ(s.moment.pool, 30.0f);
    EXPECT_EQ(CheckPendingMoment(s.moment, s.state), "");
    s.state.BonusPool = 40.0f;
    EXPECT_EQ(CheckPendingMoment(s.moment, s.state), "the pool paid is not the pool in play");
    s.state.BonusPool = 30.0f;
    s.moment.bonusSet = true;
    EXPECT_NE(CheckPendingMoment(s.moment, s.state), "");
}

TEST(Resume, AWinWaitingToBeTakenIsShownAgainAndPaidOnce) {
    const Saved saved = PayoffsMomentOfATargetLine();
    Restarted t(saved);
    EXPECT_FALSE(t.s().SpinReady);
    EXPECT_FALSE(t.cabinet.menusOn);
    EXPECT_EQ(t.game.Reels().StopIndex, saved.moment.stops);
    EXPECT_EQ(t.game.Reels().Trajectory[kRestFrame][0].offset, 6 * kStopPitch + 18);
    t.game.ResumeMoment();
    EXPECT_EQ(t.cabinet.presentedWins, std::vector<float>{6.25f});
    EXPECT_EQ(t.cabinet.animations, 0);
    EXPECT_EQ(t.s().Spins, 1);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f - 0.25f + 6.25f);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 0.25f);
    EXPECT_TRUE(t.s().SpinReady);
    EXPECT_TRUE(t.cabinet.menusOn);
    EXPECT_EQ(t.game.Moment().phase, MomentPhase::Idle);
    EXPECT_EQ(t.cabinet.calls.back(), "banner start");
}

TEST(Resume, APoolWonWithTheWinIsClearedOnceTheWinIsTaken) {
    Table first;
    Recorder r(first);
    first.s().Bells = 1;
    first.s().BonusPool = 30.0f;
    first.cabinet.outcomes = {kGlobeTop};
    first.game.PlaceCoins(8);
    first.game.SpinCommand();
    Restarted t(*r.Last(MomentPhase::Payoffs));
    EXPECT_EQ(t.s().Bells, 0);
    t.game.ResumeMoment();
    EXPECT_EQ(t.cabinet.presentedWins, std::vector<float>{20 * 0.25f + 30.0f});
    EXPECT_EQ(t.s().Bells, 3);
    EXPECT_EQ(t.s().BonusPool, 0.0f);
    EXPECT_FLOAT_EQ(t.s().PoolPts, 30.0f);
    EXPECT_FLOAT_EQ(t.s().Credits, first.s().Credits);
}

TEST(Resume, ABoardComesBackWithItsBoxesAndPaysWhatItShowsOnce) {
    Table first;
    Recorder r(first);
    first.cabinet.outcomes = {kTargetTop};
    first.cabinet.onPresentWin = [&] {
        QueueIdentityShuffle(first.random);
        first.game.OpenBoard(first.random);
        first.game.PickBox(1);   // 5X
        first.game.PickBox(12);  // Try Again
        first.game.QuitBoard();
    };
    first.game.PlaceCoins(1);
    first.game.SpinCommand();
    // Saved after the board opened and after each of the two boxes.
    int boards = 0;
    for (const Saved& s : r.saves) boards += s.moment.phase == MomentPhase::Board;
    EXPECT_EQ(boards, 3);
    const Saved saved = *r.Last(MomentPhase::Board);
    EXPECT_FLOAT_EQ(saved.state.DoubleNothing, -6.25f);

    Restarted t(saved);
    ASSERT_NE(t.game.OpenedBoard(), nullptr);
    EXPECT_EQ(t.game.OpenedBoard()->BoxOpened(), saved.moment.boxOpened);
    EXPECT_FLOAT_EQ(t.game.OpenedBoard()->Winnings(), 31.25f);
    t.cabinet.onResumeBoard = [&] {
        EXPECT_FALSE(t.game.PickBox(1).opened);  // already open
        EXPECT_EQ(t.game.PickBox(3).content, TwoX);
        t.game.QuitBoard();
    };
    t.game.ResumeMoment();
    EXPECT_EQ(t.cabinet.resumedBoards, 1);
    EXPECT_TRUE(t.cabinet.presentedWins.empty());
    EXPECT_FLOAT_EQ(t.s().Credits, 999.75f + 62.5f);
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, 62.5f - 6.25f);
    EXPECT_EQ(t.game.Moment().phase, MomentPhase::Idle);
}

TEST(Resume, ABoardTheWindowCannotShowPaysAsItStands) {
    Table first;
    Recorder r(first);
    first.cabinet.outcomes = {kTargetTop};
    first.cabinet.onPresentWin = [&] {
        QueueIdentityShuffle(first.random);
        first.game.OpenBoard(first.random);
        first.game.PickBox(4);  // a losing box
        first.game.QuitBoard();
    };
    first.game.PlaceCoins(1);
    first.game.SpinCommand();
    Restarted t(*r.Last(MomentPhase::Board));
    EXPECT_FALSE(t.game.OpenedBoard()->BoardLive());
    t.game.ResumeMoment();
    EXPECT_FLOAT_EQ(t.s().Credits, 999.75f);
    EXPECT_FLOAT_EQ(t.s().DoubleNothing, -6.25f);
}

TEST(Resume, BonusSpinsLeftArePlayedFreeAndNoneTwice) {
    Table first;
    Recorder r(first);
    first.s().Smiles = 1;
    first.cabinet.outcomes = {kSmileTop, kTripleTop};
    first.game.PlaceCoins(1);
    first.game.SpinCommand();
    Saved afterFirstBonus;
    int found = 0;
    for (const Saved& s : r.saves)
        if (s.moment.phase == MomentPhase::BonusSpins && s.moment.bonusSpins == 2 && !found++) afterFirstBonus = s;
    ASSERT_EQ(found, 1);
    EXPECT_TRUE(afterFirstBonus.moment.bonusSet);

    Restarted t(afterFirstBonus);
    t.cabinet.outcomes = {kBonusBlank, kTripleTop};
    std::vector<bool> bonusSet;
    t.cabinet.onAnimate = [&] { bonusSet.push_back(t.game.Reels().bonusSet); };
    t.game.ResumeMoment();
    EXPECT_EQ(bonusSet, (std::vector<bool>{true, true}));
    EXPECT_EQ(t.cabinet.bonusCaptionDuringSpin, (std::vector<bool>{true, true}));
    EXPECT_EQ(t.s().Spins, 4);
    EXPECT_FLOAT_EQ(t.s().TotalWagers, 0.25f);
    EXPECT_FLOAT_EQ(t.s().Credits, 1000.0f - 0.25f + 2.5f + 12.5f + 12.5f);
    EXPECT_FALSE(t.s().BonusMode);
    EXPECT_FALSE(t.game.Reels().bonusSet);
    EXPECT_EQ(t.s().BonusSpins, 0);
}

TEST(Resume, AllThreeBonusSpinsOfAnAwardSurviveACrashRightAfterIt) {
    Table first;
    Recorder r(first);
    first.s().Smiles = 1;
    first.cabinet.outcomes = {kSmileTop};
    first.game.PlaceCoins(1);
    first.game.SpinCommand();
    const Saved award = *std::find_if(r.saves.begin(), r.saves.end(), [](const Saved& s) {
        return s.moment.phase == MomentPhase::BonusSpins;
    });  // the award spin settled and taken
    ASSERT_EQ(award.moment.phase, MomentPhase::BonusSpins);
    EXPECT_EQ(award.moment.bonusSpins, 3);
    EXPECT_FALSE(award.moment.bonusSet);
    Restarted t(award);
    t.game.ResumeMoment();
    EXPECT_EQ(t.cabinet.animations, 3);
    EXPECT_EQ(t.s().Spins, 4);
}

TEST(Resume, ARefusedMomentIsToldAndTheGameGoesOnWithoutIt) {
    Table t;
    t.game.RefuseMoment("the win is larger than the reels pay");
    t.game.ResumeMoment();
    ASSERT_EQ(t.cabinet.messages.size(), 1u);
    EXPECT_EQ(t.cabinet.messages[0].title, "Spin Not Restored");
    EXPECT_EQ(t.cabinet.messages[0].text,
              "The spin in play when the game last stopped cannot be brought back: the win is larger than the reels "
              "pay.  The game goes on without it.");
    EXPECT_TRUE(t.cabinet.presentedWins.empty());
    t.game.ResumeMoment();
    EXPECT_EQ(t.cabinet.messages.size(), 1u);  // told once
}

TEST(Resume, AnIdleMomentOnlyPutsTheReelsBack) {
    Table first;
    Recorder r(first);
    first.cabinet.outcomes = {kBlank};
    first.game.PlaceCoins(1);
    first.game.SpinCommand();
    Restarted t(r.saves.back());
    t.game.ResumeMoment();
    EXPECT_EQ(t.game.Reels().StopIndex, (std::array<std::int16_t, 9>{1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(t.s().SpinReady);
    EXPECT_EQ(t.cabinet.animations, 0);
    EXPECT_TRUE(t.cabinet.presentedWins.empty());
}

// Each checkpoint from the last bonus spin's motion on (its win shown, or the machine at rest) brought back
// at a start: the next spin is a paid one, on the regular strips, whether or not the last bonus spin won.
TEST(Resume, ARestartRightAfterTheLastBonusSpinPlaysTheNextPaidSpinOnTheRegularReels) {
    for (const auto& last : {kTripleTop, kBonusBlank}) {
        SCOPED_TRACE(last == kTripleTop ? "the last bonus spin won" : "the last bonus spin lost");
        Table first;
        Recorder r(first);
        first.s().Smiles = 1;
        first.cabinet.outcomes = {kSmileTop, kBonusBlank, kBonusBlank, last};
        size_t lastSpinSaves = 0;  // the checkpoints made before the last bonus spin turned
        first.cabinet.onAnimate = [&] { lastSpinSaves = r.saves.size(); };
        first.game.PlaceCoins(1);
        first.game.SpinCommand();
        ASSERT_EQ(first.s().Spins, 4);
        ASSERT_LT(lastSpinSaves, r.saves.size());
        for (size_t i = lastSpinSaves; i < r.saves.size(); ++i) {
            SCOPED_TRACE("checkpoint " + std::to_string(i) + " of " + std::to_string(r.saves.size()));
            Restarted t(r.saves[i]);
            t.game.ResumeMoment();
            ASSERT_TRUE(t.s().SpinReady);
            const float credits = t.s().Credits, bets = t.s().TotalWagers;
            t.cabinet.outcomes = {kBlank};
            std::vector<bool> bonusSet;
            t.cabinet.onAnimate = [&] { bonusSet.push_back(t.game.Reels().bonusSet); };
            const int animations = t.cabinet.animations;
            t.game.PlaceCoins(1);
            t.game.SpinCommand();
            EXPECT_EQ(t.cabinet.animations, animations + 1);
            EXPECT_EQ(bonusSet, std::vector<bool>{false});
            EXPECT_FALSE(t.cabinet.bonusCaptionDuringSpin.back());
            EXPECT_FLOAT_EQ(t.s().TotalWagers, bets + 0.25f);
            EXPECT_FLOAT_EQ(t.s().Credits, credits - 0.25f);
            EXPECT_EQ(t.s().Spins, 5);
            EXPECT_FALSE(t.s().BonusMode);
        }
    }
}

// The outcome is kept with the bet taken before the reels move. A game that ends while they move comes
// back with them at rest on the same stops and settles that spin as the live game did: its lines, the
// pool it wins, the SMILE award and the bonus spins after it, the bet taken once and the spin counted once.
TEST(PendingMoment, AKillWhileTheReelsMoveSettlesThatSpinAtRestartAsTheLiveGameDid) {
    const std::array<int, 9> smileAndGlobe = {3, 3, 3, 9, 9, 9, 1, 1, 1};  // a Smile line and a Globe line
    const auto setUp = [](Table& t) {
        t.s().Smiles = 1;
        t.s().Bells = 1;
        t.s().BonusPool = 30.0f;
    };
    Table live;
    setUp(live);
    Recorder r(live);
    kazoomba::testing::ForceStops(live.random, smileAndGlobe);
    live.game.PlaceCoins(2);
    live.game.SpinCommand();
    ASSERT_EQ(live.s().Spins, 4) << "the paid spin and the three bonus spins it awarded";

    std::optional<Saved> moving;
    for (const Saved& s : r.saves)
        if (s.moment.phase == MomentPhase::Reels) {
            moving = s;
            break;
        }
    ASSERT_TRUE(moving) << "nothing was kept before the reels moved";
    EXPECT_EQ(moving->moment.stops, (std::array<std::int16_t, 9>{3, 3, 3, 9, 9, 9, 1, 1, 1}));
    EXPECT_EQ(moving->state.Spins, 1);
    EXPECT_FLOAT_EQ(moving->state.Credits, 999.5f) << "the bet is kept taken";
    EXPECT_FALSE(moving->moment.bonusSet);

    Restarted again(*moving);
    EXPECT_EQ(again.game.Reels().StopIndex, moving->moment.stops);
    again.game.ResumeMoment();
    EXPECT_EQ(again.cabinet.animations, 3) << "the reels of the spin itself do not move again; its bonus spins do";
    ASSERT_FALSE(again.cabinet.presentedWins.empty()) << "the spin was not settled";
    EXPECT_EQ(again.cabinet.presentedWins.front(), live.cabinet.presentedWins.front());
    EXPECT_FLOAT_EQ(again.s().Credits, live.s().Credits);
    EXPECT_FLOAT_EQ(again.s().TotalWagers, live.s().TotalWagers);
    EXPECT_FLOAT_EQ(again.s().BonusPool, live.s().BonusPool);
    EXPECT_FLOAT_EQ(again.s().PoolPts, live.s().PoolPts);
    EXPECT_FLOAT_EQ(again.s().CherryPts, live.s().CherryPts);
    EXPECT_EQ(again.s().Spins, live.s().Spins);
    EXPECT_EQ(again.s().Smiles, live.s().Smiles);
    EXPECT_EQ(again.s().Bells, live.s().Bells);
    EXPECT_TRUE(again.s().SpinReady);
    EXPECT_EQ(again.game.Moment().phase, MomentPhase::Idle);
}
