// A game killed at random moments through every phase of a spin comes back with nothing lost and nothing
// paid twice: credits plus the win still pending equal the money borrowed plus the wins minus the bets.
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <random>

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

const char* const kPhaseNames[] = {"idle", "Payoffs window", "board", "between bonus spins"};

TEST(CrashTest, AGameKilledInEveryPhaseLosesNothingAndPaysNothingTwice) {
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
    int restoredMoments = 0, refused = 0;
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
        for (qsizetype i = lines.lastIndexOf("R"); i < lines.size(); ++i)
            if (lines[i].startsWith("C ")) candidates.push_back(ParseEntry(lines[i]));
        const QByteArray& final = lines.back();
        if (final.startsWith("S ")) ++phasesHit[final == "S 1" ? "bonus spin in motion" : "reels in motion"];
        else if (final.startsWith("C ")) ++phasesHit[kPhaseNames[ParseEntry(final).phase]];
        else ++phasesHit["starting"];

        // The file holds the last checkpoint that was written, or the one before if the kill cut a save.
        Table table;
        RecordingMenus menus;
        ProfileFile file(path);
        LoadGame(file, table.game, menus, kCurrentGameSlot);
        const Entry now = Loaded(table.game);
        const auto match = std::find_if(candidates.rbegin(), candidates.rend(),
                                        [&](const Entry& e) { return e.SameMoment(now); });
        ASSERT_NE(match, candidates.rend()) << "round " << round << ": the file holds spin " << now.spins
                                            << " in phase " << now.phase << ", which no checkpoint wrote";
        ASSERT_LE(match - candidates.rbegin(), 1) << "round " << round << ": a save was lost";
        // Nothing lost, nothing paid twice: the ledger's wins are those credited, and the win still
        // pending is the one that was on the screen.
        EXPECT_NEAR(now.pending, match->pending, 0.005) << "round " << round;
        EXPECT_NEAR(now.credits + now.pending, now.borrowed + (match->wins + match->pending) - match->bets, 0.02)
            << "round " << round << ": spin " << now.spins << " in phase " << now.phase << "\n"
            << lines.mid(std::max<qsizetype>(0, lines.size() - 12)).join('\n').toStdString();
        EXPECT_NEAR(table.game.State().TotalWagers, match->bets, 0.02) << "round " << round;

        // Carried on, the moment pays its win once and takes no bet; bonus spins left come up blank.
        restoredMoments += now.phase != 0;
        table.cabinet.outcomes.assign(3, {0, 0, 0, 0, 0, 0, 0, 0, 0});
        table.game.ResumeMoment();
        refused += !table.cabinet.messages.empty();
        EXPECT_TRUE(table.cabinet.messages.empty()) << "round " << round;
        EXPECT_NEAR(table.game.State().Credits, now.credits + now.pending, 0.02) << "round " << round;
        EXPECT_NEAR(table.game.State().TotalWagers, match->bets, 0.02) << "round " << round;
        if (::testing::Test::HasFailure()) FAIL() << "round " << round;
        last = *match;
    }
    std::printf("moment crash test: %d rounds; killed with", rounds);
    for (const auto& [phase, count] : phasesHit) std::printf(" %s %d,", phase.c_str(), count);
    std::printf(" %d moments restored, %d refused\n", restoredMoments, refused);
    // The test is worth its time only when the kills reach the moments it guards.
    EXPECT_GE(phasesHit["Payoffs window"] + phasesHit["board"] + phasesHit["between bonus spins"], rounds / 10);
}

}  // namespace
}  // namespace kazoomba::testing
