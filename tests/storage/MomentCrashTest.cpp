// A game that dies in the middle of play comes back with nothing lost and nothing paid twice: credits plus
// the win still pending equal the money borrowed plus the wins minus the bets; and its history, carried on,
// holds every spin once. The helper stops itself at
// every step of a save in every phase of a spin; a soak of random kills goes on beside it.
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <random>

#include "HistoryFile.h"
#include "StorageSupport.h"
#include "gamble/Board.h"

namespace kazoomba::testing {
namespace {

// One checkpoint as the helper's journal tells it.
struct Entry {
    int spins = 0, phase = 0, opened = 0, bonusSpins = 0;
    double borrowed = 1000, credits = 1000, pending = 0, wins = 0, bets = 0;
    bool SameMoment(const Entry& o) const {
        return spins == o.spins && phase == o.phase && opened == o.opened && bonusSpins == o.bonusSpins &&
               std::fabs(borrowed - o.borrowed) < 0.005;
    }
};

Entry ParseEntry(const QByteArray& line) {
    const QList<QByteArray> f = line.split(' ');
    Entry e;
    e.spins = f.value(1).toInt();
    e.phase = f.value(2).toInt();
    e.opened = f.value(3).toInt();
    e.bonusSpins = f.value(4).toInt();
    e.borrowed = f.value(5).toDouble();
    e.credits = f.value(6).toDouble();
    e.pending = f.value(7).toDouble();
    e.wins = f.value(8).toDouble();
    e.bets = f.value(9).toDouble();
    return e;
}

// What the game read back from the file says, in the journal's terms.
Entry Loaded(const Game& game) {
    const GameState& s = game.State();
    const PendingMoment& m = game.Moment();
    Entry e;
    e.spins = s.Spins;
    e.phase = static_cast<int>(m.phase);
    for (bool o : m.boxOpened) e.opened += m.phase == MomentPhase::Board && o;
    e.bonusSpins = m.bonusSpins;
    e.borrowed = s.Borrowed;
    e.credits = s.Credits;
    e.pending = m.phase == MomentPhase::Payoffs ? m.spinWin : m.phase == MomentPhase::Board ? m.winnings : 0.0f;
    return e;
}

const char* const kPhaseNames[] = {"idle", "Payoffs window", "board", "between bonus spins", "reels moving"};

std::vector<Entry> Checkpoints(const QList<QByteArray>& lines, qsizetype from = 0) {
    std::vector<Entry> entries;
    for (qsizetype i = from; i < lines.size(); ++i)
        if (lines[i].startsWith("C ")) entries.push_back(ParseEntry(lines[i]));
    return entries;
}

// The spins the history beside the settings file holds, with those the game carried on since added as the
// game adds them: each must be there once, in order, up to the game's count of spins.
void CheckHistory(const QString& path, Game& game, const std::string& context) {
    GameHistory history;
    for (const HistoryEntry& e : HistoryFile(QFileInfo(path).absolutePath() + QStringLiteral("/game-history.txt")).Open().entries)
        history.Add(e);
    for (const HistoryEntry& e : game.TakeRecords()) history.Add(e);
    std::vector<int> spins, want;
    for (const HistoryEntry& e : history.Entries())
        if (e.IsSpin()) spins.push_back(e.spin.spin);
    for (int n = std::max(1, game.State().Spins - GameHistory::kKeptSpins + 1); n <= game.State().Spins; ++n) want.push_back(n);
    EXPECT_EQ(spins, want) << "the history after a restart at spin " << game.State().Spins << "\n" << context;
}

// Starts the game again from the file, as the next start does, and checks it against the checkpoints that
// may be in it (the newest last): the file must hold one of them; the ledger must balance; carried on, the
// moment pays its win once and takes no bet, bonus spins left come up blank, and the history holds each
// spin once. Returns which checkpoint the file held, counted from the newest (0), or -1 after a failure.
int CheckRestart(const QString& path, const std::vector<Entry>& candidates, const std::string& context) {
    Table table;
    RecordingMenus menus;
    ProfileFile file(path);
    LoadGame(file, table.game, menus, kCurrentGameSlot);
    const Entry now = Loaded(table.game);
    const auto match = std::find_if(candidates.rbegin(), candidates.rend(),
                                    [&](const Entry& e) { return e.SameMoment(now); });
    if (match == candidates.rend()) {
        ADD_FAILURE() << "the file holds spin " << now.spins << " in phase " << now.phase
                      << ", which no checkpoint wrote\n" << context;
        return -1;
    }
    EXPECT_NEAR(now.pending, match->pending, 0.005) << context;
    EXPECT_NEAR(now.credits + now.pending, now.borrowed + (match->wins + match->pending) - match->bets, 0.02)
        << "spin " << now.spins << " in phase " << now.phase << "\n" << context;
    EXPECT_NEAR(table.game.State().TotalWagers, match->bets, 0.02) << context;

    table.cabinet.outcomes.assign(3, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    table.game.ResumeMoment();
    EXPECT_TRUE(table.cabinet.messages.empty()) << context;
    // A spin whose reels were moving is settled on the stops it had drawn: its win is paid now, once.
    const float settledNow = now.phase == static_cast<int>(MomentPhase::Reels) && !table.cabinet.presentedWins.empty()
                                 ? table.cabinet.presentedWins.front()
                                 : 0.0f;
    EXPECT_NEAR(table.game.State().Credits, now.credits + now.pending + settledNow, 0.02) << context;
    EXPECT_NEAR(table.game.State().TotalWagers, match->bets, 0.02) << context;
    CheckHistory(path, table.game, context);
    return static_cast<int>(match - candidates.rbegin());
}

// One game played by the helper from an empty file, stopped inside the save of checkpoint `checkpoint`
// just before write step `step` (or only counting, when `step` is negative).
struct StoppedGame {
    bool stoppedItself = false;
    int wholeSteps = -1;  // the steps of that save, when the stop lay beyond them
    QList<QByteArray> journal;
};

StoppedGame PlayAndStop(const QTemporaryDir& dir, unsigned seed, int checkpoint, int step) {
    const QString journalPath = dir.filePath(QStringLiteral("journal"));
    QProcess player;
    player.setProgram(QStringLiteral(KAZOOMBA_PROFILE_HELPER));
    player.setArguments({"moment-stop", dir.filePath(QStringLiteral("KAZO.INI")), journalPath, QString::number(seed),
                         QString::number(checkpoint), QString::number(step)});
    player.start();
    StoppedGame game;
    if (!player.waitForFinished(60000)) {
        ADD_FAILURE() << "the helper did not stop";
        player.kill();
        player.waitForFinished();
        return game;
    }
    game.stoppedItself = player.exitStatus() == QProcess::CrashExit;
    const QByteArray said = player.readAllStandardOutput();
    if (const qsizetype at = said.indexOf("whole save of "); at >= 0)
        game.wholeSteps = said.mid(at + 14).split(' ').value(0).toInt();
    game.journal = ReadBytes(journalPath).trimmed().split('\n');
    return game;
}

// The helper's game is the same for a seed every time, and the write is the same sequence of system calls
// every time: so a stop before each step of the save of each phase's first checkpoint meets every state a
// crash can leave the file in, whatever the load on the machine. Before some step the file must still
// hold the checkpoint before, from some step on the new one, and never the old one again after the new.
TEST(CrashTest, AGameStoppedAtEachStepOfASaveInEveryPhaseLosesNothingAndPaysNothingTwice) {
    CoreApp();
    constexpr unsigned kSeed = 20261207;
    constexpr int kSurveyed = 80;
    QTemporaryDir surveyDir;
    const StoppedGame survey = PlayAndStop(surveyDir, kSeed, kSurveyed, -1);
    ASSERT_FALSE(survey.stoppedItself);
    const std::vector<Entry> entries = Checkpoints(survey.journal);
    ASSERT_EQ(entries.size(), static_cast<size_t>(kSurveyed));
    std::map<int, int> firstOfPhase;  // phase -> its first checkpoint, counted from 1
    for (int i = 0; i < kSurveyed; ++i) firstOfPhase.emplace(entries[i].phase, i + 1);
    ASSERT_EQ(firstOfPhase.size(), std::size(kPhaseNames)) << "the seed's game does not reach every phase";

    for (const auto& [phase, checkpoint] : firstOfPhase) {
        SCOPED_TRACE(std::string("the save of the first checkpoint ") + kPhaseNames[phase]);
        const Entry before = checkpoint > 1 ? entries[checkpoint - 2] : Entry{};
        const Entry after = entries[checkpoint - 1];
        int oldKept = 0, newInPlace = 0;
        for (int step = 0;; ++step) {
            ASSERT_LT(step, 200) << "a save that never ends";
            QTemporaryDir dir;
            const StoppedGame game = PlayAndStop(dir, kSeed, checkpoint, step);
            const std::string context = "stopped before step " + std::to_string(step);
            if (!game.stoppedItself) {
                // Past the last step: the whole save is in place.
                ASSERT_EQ(game.wholeSteps, step);
                EXPECT_EQ(CheckRestart(dir.filePath(QStringLiteral("KAZO.INI")), {after}, "a whole save"), 0);
                break;
            }
            const int held = CheckRestart(dir.filePath(QStringLiteral("KAZO.INI")), {before, after}, context);
            ASSERT_GE(held, 0) << context;
            if (held == 0) {
                ++newInPlace;
            } else {
                ASSERT_EQ(newInPlace, 0) << context << ": the checkpoint before came back after the new one was in place";
                ++oldKept;
            }
            if (::testing::Test::HasFailure()) FAIL() << context;
        }
        EXPECT_GT(oldKept, 0) << "no step before the new checkpoint took the old one's place";
        EXPECT_GT(newInPlace, 0) << "no step between the new checkpoint in place and the save's end";
    }
}

// A soak: the game killed from outside at random moments, which finds what no list of steps foresaw. How
// many kills land in each phase depends on the machine's load, so it is printed, not asserted.
TEST(CrashTest, AGameKilledAtRandomMomentsLosesNothingAndPaysNothingTwice) {
    CoreApp();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    const QString journalPath = dir.filePath(QStringLiteral("journal"));
    const int rounds = qEnvironmentVariableIntValue("KAZOOMBA_MOMENT_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("KAZOOMBA_MOMENT_ROUNDS") : 30;
    std::mt19937 random(20261207);
    // A sanitized build saves several times slower: its kills need a longer reach to get past the moment
    // they restore (KAZOOMBA_MOMENT_DELAY_MS, the longest wait before a kill).
    const int reach = qEnvironmentVariableIntValue("KAZOOMBA_MOMENT_DELAY_MS") > 0
                          ? qEnvironmentVariableIntValue("KAZOOMBA_MOMENT_DELAY_MS") : 60;
    std::uniform_int_distribution<int> delay(0, reach);

    Entry last;  // the new game before the first round
    std::map<std::string, int> phasesHit;
    int restoredMoments = 0;
    for (int round = 0; round < rounds; ++round) {
        {
            QFile journal(journalPath);
            ASSERT_TRUE(journal.open(QIODevice::Append));
            journal.write("R\n");
        }
        QProcess player;
        player.setProgram(QStringLiteral(KAZOOMBA_PROFILE_HELPER));
        player.setArguments({"moment-loop", path, journalPath, QString::number(random()), QString::number(last.wins, 'f', 4),
                             QString::number(last.bets, 'f', 4)});
        player.start();
        ASSERT_TRUE(player.waitForStarted());
        ASSERT_TRUE(player.waitForReadyRead(60000)) << "round " << round;
        QThread::msleep(static_cast<unsigned long>(delay(random)));
        kill(static_cast<pid_t>(player.processId()), SIGKILL);
        player.waitForFinished();

        // What the player was doing when it died, and the checkpoints this round wrote.
        const QList<QByteArray> lines = ReadBytes(journalPath).trimmed().split('\n');
        std::vector<Entry> candidates = {last};
        for (const Entry& e : Checkpoints(lines, lines.lastIndexOf("R"))) candidates.push_back(e);
        const QByteArray& final = lines.back();
        if (final.startsWith("S ")) ++phasesHit[final == "S 1" ? "bonus spin in motion" : "reels in motion"];
        else if (final.startsWith("C ")) ++phasesHit[kPhaseNames[ParseEntry(final).phase]];
        else ++phasesHit["starting"];

        // The file holds the last checkpoint that was written, or the one before if the kill cut a save.
        const std::string context = "round " + std::to_string(round) + "\n" +
                                    lines.mid(std::max<qsizetype>(0, lines.size() - 12)).join('\n').toStdString();
        const int held = CheckRestart(path, candidates, context);
        ASSERT_GE(held, 0) << "round " << round;
        ASSERT_LE(held, 1) << "round " << round << ": a save was lost";
        const Entry& match = candidates[candidates.size() - 1 - static_cast<size_t>(held)];
        restoredMoments += match.phase != 0;
        if (::testing::Test::HasFailure()) FAIL() << "round " << round;
        last = match;
    }
    std::printf("moment crash test: %d rounds; killed with", rounds);
    for (const auto& [phase, count] : phasesHit) std::printf(" %s %d,", phase.c_str(), count);
    std::printf(" %d moments restored\n", restoredMoments);
}

}  // namespace
}  // namespace kazoomba::testing
