// The game history: each spin recorded as the game settled it, once, even when a crash makes the game
// settle it again; the last thousand kept with the marks of the games begun; and the words a row is read in.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "play/HistoryText.h"
#include "play/PendingMoment.h"
#include "support/Scripted.h"
#include "support/Stops.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

constexpr std::array<int, 9> kSmileGlobe = {3, 3, 3, 9, 9, 9, 1, 1, 1};      // line 1 SMILE, line 2 Globe
constexpr std::array<int, 9> kFulminaCorner = {8, 1, 1, 1, 1, 1, 1, 1, 1};   // one FULMINA, nothing wins

std::vector<SpinRecord> Spins(const std::vector<HistoryEntry>& entries) {
    std::vector<SpinRecord> spins;
    for (const HistoryEntry& e : entries)
        if (e.IsSpin()) spins.push_back(e.spin);
    return spins;
}

// What the game itself showed of each spin as it settled it: the lines and the win the Payoffs window
// showed (or the no-win), and the credits once it was over.
struct Settled {
    std::array<std::int16_t, kLines> linePay{};
    float presented = 0.0f;
    float credits = 0.0f;
};

struct Watched : Table {
    std::vector<Settled> settled;
    Watched() {
        cabinet.onCheckpoint = [this] {
            // The checkpoint after a settlement: the moment is idle or between bonus spins.
            const MomentPhase phase = game.Moment().phase;
            if (phase != MomentPhase::Idle && phase != MomentPhase::BonusSpins) return;
            Settled s;
            std::copy_n(game.State().LinePay.begin(), kLines, s.linePay.begin());
            s.presented = cabinet.presentedWins.size() > presentedSeen ? cabinet.presentedWins.back() : 0.0f;
            presentedSeen = cabinet.presentedWins.size();
            s.credits = game.State().Credits;
            settled.push_back(s);
        };
    }
    std::size_t presentedSeen = 0;
};

HistoryEntry SpinEntry(int number) {
    HistoryEntry e;
    e.spin.spin = number;
    e.spin.coins = 1;
    return e;
}

}  // namespace

TEST(History, ARecordIsWhatTheGameSettledLineByLineAndCoinByCoin) {
    Watched t;
    t.cabinet.now = 1712345678;
    t.cabinet.outcomes = {kTargetTop, kBlank, kFulminaCorner};
    t.game.PlaceCoins(1);
    t.game.SpinCommand();  // line 1 pays 25 a coin, taken
    t.game.SpinCommand();  // nothing
    t.game.PlaceCoins(8);
    const float poolBefore = t.s().BonusPool;
    t.game.SpinCommand();  // 8 coins and a FULMINA: the pool grows
    const std::vector<HistoryEntry> taken = t.game.TakeRecords();
    const std::vector<SpinRecord> spins = Spins(taken);
    ASSERT_EQ(spins.size(), 3u);
    ASSERT_EQ(t.settled.size(), 3u);
    for (std::size_t i = 0; i < spins.size(); ++i) {
        SCOPED_TRACE(i);
        const SpinRecord& r = spins[i];
        EXPECT_EQ(taken[i].time, 1712345678) << "the time the cabinet told";
        EXPECT_EQ(r.spin, static_cast<int>(i) + 1);
        EXPECT_EQ(r.linePay, t.settled[i].linePay);
        EXPECT_FLOAT_EQ(r.win, t.settled[i].presented);
        EXPECT_FLOAT_EQ(r.paid, t.settled[i].presented);
        EXPECT_FLOAT_EQ(r.credits, t.settled[i].credits);
        EXPECT_EQ(r.bonusSpin, 0);
    }
    EXPECT_EQ(spins[0].coins, 1);
    EXPECT_FLOAT_EQ(spins[0].coinValue, 0.25f);
    EXPECT_EQ(spins[0].choice, PayoffsChoice::Take);
    EXPECT_FLOAT_EQ(spins[0].LineAmount(0), 6.25f);
    for (int c : {0, 1, 2}) EXPECT_EQ(spins[0].SymbolAt(c), Target);
    EXPECT_EQ(spins[1].choice, PayoffsChoice::None);
    EXPECT_EQ(spins[1].win, 0.0f);
    EXPECT_EQ(spins[2].coins, 8);
    EXPECT_EQ(spins[2].SymbolAt(0), Fulmina);
    EXPECT_FLOAT_EQ(spins[2].poolGrown, t.s().BonusPool - poolBefore);
    EXPECT_GT(spins[2].poolGrown, 0.0f);
    EXPECT_EQ(spins[0].poolGrown, 0.0f) << "one coin does not cover every line";
    EXPECT_TRUE(t.game.TakeRecords().empty()) << "each record is handed over once";
}

TEST(History, APoolWonWithASmileAwardIsRecordedAndSoIsEachOfItsBonusSpins) {
    Watched t;
    t.s().Smiles = 1;
    t.s().Bells = 1;
    t.s().BonusPool = 12.0f;
    t.cabinet.outcomes = {kSmileGlobe, kTripleTop, kBonusBlank, kTripleTop};
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    const std::vector<SpinRecord> spins = Spins(t.game.TakeRecords());
    ASSERT_EQ(spins.size(), 4u);
    ASSERT_EQ(t.settled.size(), 4u);
    const SpinRecord& award = spins[0];
    EXPECT_TRUE(award.smileAward);
    EXPECT_FLOAT_EQ(award.poolWon, 12.0f);
    EXPECT_FLOAT_EQ(award.win, t.settled[0].presented);
    EXPECT_FLOAT_EQ(award.win, award.LineAmount(0) + award.LineAmount(1) + 12.0f);
    EXPECT_FALSE(award.bonusSet);
    EXPECT_EQ(award.bonusSpin, 0);
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        const SpinRecord& free = spins[i];
        EXPECT_EQ(free.spin, 1 + i);
        EXPECT_EQ(free.bonusSpin, i);
        EXPECT_TRUE(free.bonusSet);
        EXPECT_EQ(free.coins, 8) << "the last bet, played for nothing";
        EXPECT_FALSE(free.smileAward);
        EXPECT_EQ(free.poolWon, 0.0f);
        EXPECT_EQ(free.linePay, t.settled[i].linePay);
        EXPECT_FLOAT_EQ(free.win, t.settled[i].presented);
        EXPECT_FLOAT_EQ(free.credits, t.settled[i].credits);
    }
    EXPECT_EQ(spins[1].SymbolAt(0), TripleBar);
    EXPECT_EQ(spins[2].win, 0.0f);
}

TEST(History, ABoardIsRecordedBoxByBoxPlayedToAQuitAndToALoss) {
    Watched t;
    t.cabinet.outcomes = {kTargetTop, kTargetTop};
    int round = 0;
    t.cabinet.onPresentWin = [&] {
        QueueIdentityShuffle(t.random);
        t.game.OpenBoard(t.random);
        if (round++ == 0) {
            t.game.PickBox(2);   // 3X
            t.game.PickBox(12);  // Try Again
            t.game.PickBox(2);   // already open: no box
            t.game.QuitBoard();
        } else {
            t.game.PickBox(3);  // 2X
            t.game.PickBox(4);  // a losing box
            t.game.QuitBoard();
        }
    };
    t.game.PlaceCoins(1);
    t.game.SpinCommand();
    t.game.SpinCommand();
    const std::vector<SpinRecord> spins = Spins(t.game.TakeRecords());
    ASSERT_EQ(spins.size(), 2u);
    const SpinRecord& quit = spins[0];
    EXPECT_EQ(quit.choice, PayoffsChoice::Double);
    ASSERT_EQ(quit.boxes.size(), 2u);
    EXPECT_EQ(quit.boxes[0].box, 2);
    EXPECT_EQ(quit.boxes[0].content, ThreeX);
    EXPECT_EQ(quit.boxes[1].box, 12);
    EXPECT_EQ(KindOf(quit.boxes[1].content), BoxKind::TryAgain);
    EXPECT_FLOAT_EQ(quit.win, 6.25f);
    EXPECT_FLOAT_EQ(quit.paid, 18.75f);
    EXPECT_FLOAT_EQ(quit.credits, t.settled[0].credits);
    EXPECT_FALSE(quit.LostOnBoard());

    const SpinRecord& lost = spins[1];
    ASSERT_EQ(lost.boxes.size(), 2u);
    EXPECT_EQ(lost.boxes[0].content, TwoX);
    EXPECT_EQ(KindOf(lost.boxes[1].content), BoxKind::Losing);
    EXPECT_TRUE(lost.LostOnBoard());
    EXPECT_FLOAT_EQ(lost.win, 6.25f);
    EXPECT_EQ(lost.paid, 0.0f);
    EXPECT_FLOAT_EQ(lost.credits, t.settled[1].credits);
}

// The ring: exactly the last thousand spins; a game's mark stays while a spin of it does.
TEST(History, TheRingKeepsTheLastThousandSpinsWithTheirMarks) {
    GameHistory h;
    h.Add(HistoryEntry{HistoryEntry::Kind::NewGame, 1, {}, {}});
    for (int n = 1; n <= 5; ++n) h.Add(SpinEntry(n));
    h.Add(HistoryEntry{HistoryEntry::Kind::LoadedGame, 2, {}, "Friday"});
    for (int n = 1; n <= 995; ++n) h.Add(SpinEntry(n));
    EXPECT_EQ(h.Spins(), 1000);
    ASSERT_EQ(h.Entries().size(), 1002u);
    EXPECT_EQ(h.Entries().front().kind, HistoryEntry::Kind::NewGame);
    h.Add(SpinEntry(996));
    EXPECT_EQ(h.Spins(), 1000);
    EXPECT_EQ(h.Entries().front().spin.spin, 2) << "the oldest spin and the mark before it go";
    for (int n = 997; n <= 1000; ++n) h.Add(SpinEntry(n));
    EXPECT_EQ(h.Entries().front().kind, HistoryEntry::Kind::LoadedGame) << "the loaded game's first spin is kept";
    h.Add(SpinEntry(1001));
    EXPECT_EQ(h.Entries().front().spin.spin, 2);
    EXPECT_EQ(h.Entries().back().spin.spin, 1001);
    EXPECT_EQ(h.Spins(), 1000);
}

TEST(History, ASpinRecordedAgainStraightAfterItselfReplacesItsRecordButANewGamesSpinDoesNot) {
    GameHistory h;
    h.Add(SpinEntry(7));
    HistoryEntry again = SpinEntry(7);
    again.spin.credits = 55.0f;
    h.Add(again);
    ASSERT_EQ(h.Spins(), 1);
    EXPECT_EQ(h.Entries().back().spin.credits, 55.0f);
    h.Add(HistoryEntry{HistoryEntry::Kind::NewGame, 0, {}, {}});
    h.Add(SpinEntry(7));
    EXPECT_EQ(h.Spins(), 2) << "a spin of the next game may carry the same number";
    // Marks alone are bounded too.
    for (int i = 0; i < 5000; ++i) h.Add(HistoryEntry{HistoryEntry::Kind::NewGame, 0, {}, {}});
    EXPECT_LE(h.Entries().size(), 2000u);
}

// A crash can cut the save after a record: the game brought back settles the spin again, and the history
// read back from its file already holds it. It is kept once, as it was settled the second time.
TEST(History, ASpinTheGameBringsBackAfterACrashIsRecordedOnceInEveryPhase) {
    struct Saved {
        GameState state;
        PendingMoment moment;
    };
    for (MomentPhase phase : {MomentPhase::Reels, MomentPhase::Payoffs, MomentPhase::Board}) {
        SCOPED_TRACE(static_cast<int>(phase));
        Table first;
        std::optional<Saved> saved;
        first.cabinet.onCheckpoint = [&] {
            if (first.game.Moment().phase == phase) saved = Saved{first.game.State(), first.game.Moment()};
        };
        first.cabinet.outcomes = {kBlank, kTargetTop};
        first.cabinet.onPresentWin = [&] {
            QueueIdentityShuffle(first.random);
            first.game.OpenBoard(first.random);
            first.game.PickBox(1);  // 5X
            first.game.QuitBoard();
        };
        first.game.PlaceCoins(1);
        first.game.SpinCommand();
        first.game.SpinCommand();
        ASSERT_TRUE(saved);
        const std::vector<HistoryEntry> inTheFile = first.game.TakeRecords();
        ASSERT_EQ(Spins(inTheFile).size(), 2u);

        Table again;
        GameState fresh = saved->state;
        fresh.SpinReady = true;
        fresh.Wager = 0.0f;
        again.game.Restore(fresh);
        ASSERT_EQ(CheckPendingMoment(saved->moment, again.game.State()), "");
        again.game.RestoreMoment(saved->moment);
        again.game.ResumeMoment();  // taken this time
        again.game.KeepLoadedHistory(inTheFile);
        const std::vector<SpinRecord> kept = Spins({again.game.History().Entries().begin(),
                                                    again.game.History().Entries().end()});
        ASSERT_EQ(kept.size(), 2u);
        EXPECT_EQ(kept[0].spin, 1);
        EXPECT_EQ(kept[1].spin, 2);
        EXPECT_FLOAT_EQ(kept[1].credits, again.game.State().Credits) << "as the game settled it the second time";
        if (phase == MomentPhase::Board) {
            EXPECT_EQ(kept[1].choice, PayoffsChoice::Double);
            ASSERT_EQ(kept[1].boxes.size(), 1u);
            EXPECT_EQ(kept[1].boxes[0].content, FiveX);
            EXPECT_FLOAT_EQ(kept[1].paid, 31.25f);
        } else {
            EXPECT_EQ(kept[1].choice, PayoffsChoice::Take);
            EXPECT_FLOAT_EQ(kept[1].paid, 6.25f);
        }
    }
}

TEST(History, NewGameAndALoadedGameAreMarkedButTheGameAtStartIsNot) {
    Table t;  // started as the program starts: StartNewGame
    EXPECT_TRUE(t.game.TakeRecords().empty());
    t.cabinet.now = 1000;
    t.game.NewGame();
    t.cabinet.now = 2000;
    t.game.NoteGameLoaded("Friday night");
    const std::vector<HistoryEntry> marks = t.game.TakeRecords();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].kind, HistoryEntry::Kind::NewGame);
    EXPECT_EQ(marks[0].time, 1000);
    EXPECT_EQ(marks[1].kind, HistoryEntry::Kind::LoadedGame);
    EXPECT_EQ(marks[1].name, "Friday night");
    EXPECT_EQ(t.game.History().Entries().size(), 2u);
    EXPECT_EQ(t.cabinet.calls.back(), "checkpoint") << "the new game is saved, its mark with it";
}

TEST(History, ARowIsReadAsOneSentence) {
    HistoryEntry e;
    SpinRecord& r = e.spin;
    r.spin = 1204;
    r.coins = 8;
    r.coinValue = 0.25f;
    r.linePay[7] = 5;
    r.win = 62.0f;
    r.paid = 62.0f;
    r.poolWon = 60.0f;
    r.choice = PayoffsChoice::Take;
    r.credits = 1004.25f;
    EXPECT_EQ(EntrySentence(e), "Spin 1,204, 8 coins of 25\xC2\xA2, won $62.00 on line 8, pool won, credits $1,004.25");
    r.poolWon = 0.0f;
    r.linePay[0] = 10;
    r.linePay[2] = 5;
    r.choice = PayoffsChoice::Double;
    r.paid = 124.0f;
    r.smileAward = true;
    EXPECT_EQ(EntrySentence(e), "Spin 1,204, 8 coins of 25\xC2\xA2, won $62.00 on lines 1, 3 and 8, doubled, left "
                                "with $124.00, 3 bonus spins won, credits $1,004.25");
    r.boxes = {{4, FirstLosing}};
    r.paid = 0.0f;
    r.smileAward = false;
    r.bonusSpin = 2;
    EXPECT_EQ(EntrySentence(e), "Spin 1,204, bonus spin 2 of 3, 8 coins of 25\xC2\xA2, won $62.00 on lines 1, 3 and 8, "
                                "doubled and lost, credits $1,004.25");
    SpinRecord none;
    none.spin = 3;
    none.coins = 1;
    none.coinValue = 1.0f;
    none.credits = 999.0f;
    EXPECT_EQ(EntrySentence(HistoryEntry{HistoryEntry::Kind::Spin, 0, none, {}}),
              "Spin 3, 1 coin of $1.00, no win, credits $999.00");
    EXPECT_EQ(EntrySentence(HistoryEntry{HistoryEntry::Kind::NewGame, 0, {}, {}}), "New game");
    EXPECT_EQ(EntrySentence(HistoryEntry{HistoryEntry::Kind::LoadedGame, 0, {}, "Friday"}), "Loaded game: Friday");
}

TEST(History, AChosenSpinIsToldInFullBoxByBox) {
    Table t;
    t.cabinet.outcomes = {kTargetTop};
    t.cabinet.onPresentWin = [&] {
        QueueIdentityShuffle(t.random);
        t.game.OpenBoard(t.random);
        t.game.PickBox(3);   // 2X
        t.game.PickBox(11);  // Try Again
        t.game.QuitBoard();
    };
    t.game.PlaceCoins(8);
    t.game.SpinCommand();
    const std::vector<SpinRecord> spins = Spins(t.game.TakeRecords());
    ASSERT_EQ(spins.size(), 1u);
    const std::vector<std::string> want = {
        "Spin 1: 8 coins of 25\xC2\xA2, $2.00 bet.",
        "Row 1: Target, Target, Target. Row 2: Stop, Stop, Stop. Row 3: Stop, Stop, Stop.",
        "Line 1: Target, Target, Target, $6.25.",
        "Total won: $6.25.",
        "Doubled on the Vaz Ivero board: box 3, 2X; box 11, Try Again.",
        "Left the board with $12.50.",
        "Credits after the spin: $1,010.50.",
    };
    EXPECT_EQ(SpinDetails(spins[0]), want);
}
