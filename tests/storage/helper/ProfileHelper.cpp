// A small program the storage tests run in a child process: one read or write, saving games until killed,
// or playing the game with its moments saved until killed or until it stops itself inside one save.
#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <random>

#include "HistoryFile.h"
#include "ProfileFile.h"
#include "SaveWriter.h"
#include "SavedGames.h"
#include "../LoopGame.h"
#include "WriteSteps.h"
#include "gamble/Board.h"
#include "support/Scripted.h"

using namespace kazoomba;

namespace {

struct FixedMenus : MenuSelections {
    int speed = 1, banner = 0;
    int SpeedIndex() const override { return speed; }
    int BannerIndex() const override { return banner; }
    void SetSpinSpeed(int index) override { speed = index; }
    void SetBanner(int index) override { banner = index; }
};

void SaveLoop(const QString& path, int first) {
    testing::Table table;
    FixedMenus menus;
    ProfileFile file(path);
    for (int k = first;; ++k) {
        testing::SetLoopGame(table.game, menus, k);
        SaveGame(file, table.game, menus, kCurrentGameSlot, testing::LoopGameName(k));
        // Tells the test the program is up and saving, so its kill lands among the saves, not before them.
        if (k == first) {
            std::fputs("saving\n", stdout);
            std::fflush(stdout);
        }
    }
}

// The game's random source, reseeded from a count instead of the clock: the same seed plays the same game,
// boxes and all, every time.
class SeededRandom : public Random {
public:
    explicit SeededRandom(unsigned seed) : seed_(seed), random_(seed) {}
    double Uniform() override { return random_.Uniform(); }
    void ReseedFromClock() override { random_.Seed(seed_ + ++reseeds_); }

private:
    std::uint64_t seed_, reseeds_ = 0;
    ClockRandom random_;
};

// Where a played game stops itself: inside the save of checkpoint `checkpoint` (counted from 1), just
// before its write step `step`. Without a stop it plays until killed.
struct StopAt {
    int checkpoint = 0;
    int step = -1;
};

// Plays the game saved in the file on and on, as a player would: wins taken or doubled, boxes picked,
// bonus spins, loans when the credits run out. Each checkpoint is written as the game's writer writes it:
// the spins recorded since the last one to the game history beside the file (game-history.txt), then the
// game. Before every checkpoint it writes to the journal what the
// game holds then and what a ledger of its own says was won and bet, so the test can check a file left
// by a kill against it: "C spins phase opened bonusSpins borrowed credits pending wins bets". "S" lines
// mark the reels in motion. `wins` and `bets` carry the ledger on from the round before. With a stop the
// game is the same every time and plays without pauses: where it stops is the step, not the time.
void MomentLoop(const QString& path, const QString& journalPath, unsigned seed, double wins, double bets,
                StopAt stop = {}) {
    const bool stopping = stop.checkpoint > 0;
    ClockRandom clockRandom(seed);
    SeededRandom seededRandom(seed);
    Random& random = stopping ? static_cast<Random&>(seededRandom) : clockRandom;
    if (stopping) testing::SkipSyncs();
    testing::ScriptedCabinet cabinet;
    Game game(cabinet, random);
    cabinet.game = &game;
    game.StartNewGame();
    FixedMenus menus;
    ProfileFile file(path);
    HistoryFile history(QFileInfo(path).absolutePath() + QStringLiteral("/game-history.txt"));
    history.Open();
    auto save = [&] { WriteSaveJob(file, &history, SaveJob{CurrentGameWrites(game, menus), false, {}, game.TakeRecords()}); };
    std::mt19937 choose(seed);
    auto chance = [&](int percent) { return static_cast<int>(choose() % 100) < percent; };
    std::FILE* journal = std::fopen(journalPath.toLocal8Bit().constData(), "a");
    if (!journal) std::exit(3);
    auto pause = [&](int ms) {
        if (!stopping) QThread::usleep(static_cast<unsigned long>(ms * 1000));
    };
    int checkpoints = 0;

    cabinet.onCheckpoint = [&] {
        const GameState& s = game.State();
        const PendingMoment& m = game.Moment();
        int opened = 0;
        for (bool o : m.boxOpened) opened += o;
        const float pending = m.phase == MomentPhase::Payoffs ? m.spinWin
                              : m.phase == MomentPhase::Board ? m.winnings : 0.0f;
        std::fprintf(journal, "C %d %d %d %d %.2f %.4f %.4f %.4f %.4f\n", s.Spins, static_cast<int>(m.phase),
                     m.phase == MomentPhase::Board ? opened : 0, m.bonusSpins, static_cast<double>(s.Borrowed),
                     static_cast<double>(s.Credits), static_cast<double>(pending), wins, bets);
        std::fflush(journal);
        if (++checkpoints != stop.checkpoint) {
            save();
            return;
        }
        testing::ArmWriteSteps(stop.step);
        save();
        // Not stopped: the step was past the save's last, which the test learns here.
        std::printf("whole save of %d steps\n", testing::DisarmWriteSteps());
        std::fflush(stdout);
        std::_Exit(0);
    };
    // Outcomes drawn so that every phase comes often: wins, SMILE lines (bonus spins), Globe lines (the
    // pool), a FULMINA that feeds the pool, and nothing.
    cabinet.onDraw = [&] {
        std::fprintf(journal, "S %d\n", game.State().BonusMode ? 1 : 0);
        std::fflush(journal);
        static const std::array<std::array<int, 9>, 6> regular = {{{6, 6, 6, 1, 1, 1, 1, 1, 1},
                                                                   {3, 3, 3, 1, 1, 1, 1, 1, 1},
                                                                   {3, 3, 3, 3, 3, 3, 1, 1, 1},
                                                                   {9, 9, 9, 1, 1, 1, 1, 1, 1},
                                                                   {8, 1, 1, 1, 1, 1, 1, 1, 1},
                                                                   {1, 1, 1, 1, 1, 1, 1, 1, 1}}};
        static const std::array<std::array<int, 9>, 2> bonus = {{{9, 9, 9, 0, 0, 0, 0, 0, 0},
                                                                 {0, 0, 0, 0, 0, 0, 0, 0, 0}}};
        const auto& stops = game.State().BonusMode ? bonus[choose() % bonus.size()] : regular[choose() % regular.size()];
        for (int c = 0; c < 9; ++c) GameDoor::Reels(game).StopIndex[c] = static_cast<std::int16_t>(stops[c]);
        pause(2);
    };
    auto playBoard = [&] {
        while (game.OpenedBoard() && game.OpenedBoard()->BoardLive() && chance(60)) {
            pause(1);
            game.PickBox(1 + static_cast<int>(choose() % kBoxes));
        }
        wins += game.OpenedBoard() ? game.OpenedBoard()->Winnings() : 0.0f;
        game.QuitBoard();
    };
    cabinet.onPresentWin = [&] {
        pause(2);
        if (chance(35)) {
            game.OpenBoard(random);
            playBoard();
        } else {
            wins += game.State().SpinWin;
            game.TakeWin();
        }
    };
    cabinet.onResumeBoard = playBoard;

    LoadGame(file, game, menus, kCurrentGameSlot);
    std::fputs("playing\n", stdout);
    std::fflush(stdout);
    game.ResumeMoment();
    if (game.State().LastBet <= 0.0f) game.PlaceCoins(8);
    for (;;) {
        if (game.State().Credits < game.State().LastBet) game.Borrow(0);
        if (game.State().Wager <= 0.0f) bets += game.State().LastBet;
        else bets += game.State().Wager;
        game.SpinCommand();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "save-loop") {
        SaveLoop(args[2], args[3].toInt());
        return 0;
    }
    if (args.size() == 7 && args[1] == "moment-loop") {
        MomentLoop(args[2], args[3], args[4].toUInt(), args[5].toDouble(), args[6].toDouble());
        return 0;
    }
    if (args.size() == 7 && args[1] == "moment-stop") {
        MomentLoop(args[2], args[3], args[4].toUInt(), 0.0, 0.0, StopAt{args[5].toInt(), args[6].toInt()});
        return 0;
    }
    if (args.size() == 5 && args[1] == "read") {
        const QString value = ProfileFile(args[2]).ReadString(args[3], args[4], QStringLiteral("<default>"), 100000);
        std::fputs(value.toUtf8().constData(), stdout);
        return 0;
    }
    if (args.size() == 3 && args[1] == "check") {
        // What a start says of the file, then what a save says.
        ProfileFile file(args[2]);
        const QString why = file.CheckAtStart();
        const bool saved = file.WriteString(QStringLiteral("Settings"), QStringLiteral("LeftPos"), QStringLiteral("1"));
        std::fputs((why + QStringLiteral("|") + (saved ? QString() : file.LastError())).toUtf8().constData(), stdout);
        return 0;
    }
    if (args.size() == 6 && args[1] == "write") {
        ProfileFile file(args[2]);
        if (file.WriteString(args[3], args[4], args[5])) return 0;
        std::fputs(file.LastError().toUtf8().constData(), stdout);  // why, for the test to check
        return 1;
    }
    if (args.size() == 5 && args[1] == "write-many") {
        // Keys PREFIX0 to PREFIX(COUNT-1), one rewrite of the file each; the exit code counts failures.
        ProfileFile file(args[2]);
        int failed = 0;
        for (int i = 0; i < args[4].toInt(); ++i)
            if (!file.WriteString(QStringLiteral("Keys"), args[3] + QString::number(i), QString::number(i))) ++failed;
        return failed > 100 ? 100 : failed;
    }
    std::fprintf(stderr, "usage: %s save-loop PATH FIRST | read PATH SECTION KEY | write PATH SECTION KEY VALUE | "
                         "write-many PATH PREFIX COUNT | check PATH | moment-loop PATH JOURNAL SEED WINS BETS | "
                         "moment-stop PATH JOURNAL SEED CHECKPOINT STEP\n", argv[0]);
    return 2;
}
