// The game history's file: every entry read back as it was written, exactly the last thousand spins across a
// restart, a damaged file set aside and told, a line cut short by a crash dropped, and the writer that keeps
// the history in order with the game's saves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "HistoryFile.h"
#include "SaveWriter.h"
#include "play/PendingMoment.h"
#include "storage/StorageSupport.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

// A spin of one coin at 25 cents whose top row shows three Targets: line 1 pays 25 a coin.
HistoryEntry TargetSpin(int number, float credits = 1006.0f) {
    HistoryEntry e;
    e.time = 1712345678 + number;
    SpinRecord& r = e.spin;
    r.spin = number;
    r.coins = 1;
    r.coinValue = 0.25f;
    r.stops = {6, 6, 6, 1, 1, 1, 1, 1, 1};
    r.linePay = PayOfStops(r.stops, false, r.coinValue, r.Bet()).linePay;
    r.win = r.paid = 6.25f;
    r.choice = PayoffsChoice::Take;
    r.credits = credits;
    return e;
}

HistoryEntry Mark(HistoryEntry::Kind kind, const std::string& name = {}) { return HistoryEntry{kind, 5, {}, name}; }

std::vector<int> SpinNumbers(const std::vector<HistoryEntry>& entries) {
    std::vector<int> numbers;
    for (const HistoryEntry& e : entries)
        if (e.IsSpin()) numbers.push_back(e.spin.spin);
    return numbers;
}

class HistoryFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoreApp(); }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kazoomba/game-history.txt"));
    HistoryOpened Reopen() { return HistoryFile(path).Open(); }
    void WriteFile(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteBytes(path, bytes);
    }
};

}  // namespace

TEST_F(HistoryFileTest, EveryKindOfEntryReadsBackAsItWasWritten) {
    HistoryEntry doubled = TargetSpin(12);
    doubled.spin.coins = 8;
    doubled.spin.stops = {8, 6, 6, 1, 1, 1, 1, 1, 1};  // FULMINA, Target, Target: 50 a coin on line 1
    doubled.spin.linePay = PayOfStops(doubled.spin.stops, false, 0.25f, 2.0f).linePay;
    doubled.spin.poolGrown = 0.75f;
    doubled.spin.win = 12.5f;
    doubled.spin.choice = PayoffsChoice::Double;
    doubled.spin.boxes = {{2, ThreeX}, {11, FirstTryAgain}, {4, FirstLosing}};
    doubled.spin.paid = 0.0f;
    doubled.spin.credits = 1234567.89f;
    HistoryEntry free = TargetSpin(13);
    free.spin.bonusSpin = 2;
    free.spin.bonusSet = true;
    free.spin.coinValue = 1.0f;
    free.spin.stops = {9, 9, 9, 0, 0, 0, 0, 0, 0};  // three Triple Bars: 50 a coin
    free.spin.linePay = PayOfStops(free.spin.stops, true, 1.0f, 1.0f).linePay;
    free.spin.win = free.spin.paid = 50.0f;
    HistoryEntry pool = TargetSpin(14);
    pool.spin.poolWon = 31.5f;
    pool.spin.win = pool.spin.paid = 37.75f;
    pool.spin.smileAward = true;
    HistoryEntry nothing = TargetSpin(15);
    nothing.spin.stops = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    nothing.spin.linePay = {};
    nothing.spin.win = nothing.spin.paid = 0.0f;
    nothing.spin.choice = PayoffsChoice::None;

    for (const HistoryEntry& e : {doubled, free, pool, nothing, Mark(HistoryEntry::Kind::NewGame),
                                  Mark(HistoryEntry::Kind::LoadedGame, "Friday night, 8 coins")}) {
        const QByteArray line = HistoryLine(e);
        SCOPED_TRACE(line.toStdString());
        EXPECT_FALSE(line.contains('\n'));
        const std::optional<HistoryEntry> back = ReadHistoryLine(line);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->kind, e.kind);
        EXPECT_EQ(back->time, e.time);
        EXPECT_EQ(back->name, e.name);
        const SpinRecord &r = back->spin, &w = e.spin;
        EXPECT_EQ(r.spin, w.spin);
        EXPECT_EQ(r.bonusSpin, w.bonusSpin);
        EXPECT_EQ(r.coinValue, w.coinValue);
        EXPECT_EQ(r.coins, w.coins);
        EXPECT_EQ(r.stops, w.stops);
        EXPECT_EQ(r.bonusSet, w.bonusSet);
        EXPECT_EQ(r.linePay, w.linePay);
        EXPECT_FLOAT_EQ(r.poolGrown, w.poolGrown);
        EXPECT_FLOAT_EQ(r.poolWon, w.poolWon);
        EXPECT_EQ(r.smileAward, w.smileAward);
        EXPECT_EQ(r.choice, w.choice);
        ASSERT_EQ(r.boxes.size(), w.boxes.size());
        for (std::size_t i = 0; i < r.boxes.size(); ++i) {
            EXPECT_EQ(r.boxes[i].box, w.boxes[i].box);
            EXPECT_EQ(r.boxes[i].content, w.boxes[i].content);
        }
        EXPECT_FLOAT_EQ(r.win, w.win);
        EXPECT_FLOAT_EQ(r.paid, w.paid);
        EXPECT_FLOAT_EQ(r.credits, w.credits);
    }
}

TEST_F(HistoryFileTest, ALineTheGameCouldNotHaveWrittenIsRefused) {
    const QByteArray good = HistoryLine(TargetSpin(7));
    ASSERT_TRUE(ReadHistoryLine(good));
    QList<QByteArray> f = good.split(' ');
    auto with = [&](int field, const QByteArray& text) {
        QList<QByteArray> g = f;
        g[field] = text;
        return g.join(' ');
    };
    const std::vector<std::pair<const char*, QByteArray>> bad = {
        {"pays the reels do not show", with(8, "30,0,0,0,0,0,0,0")},
        {"a stop off its strip", with(6, "6,6,20,1,1,1,1,1,1")},
        {"a win the lines and pool do not make", with(14, "6.26")},
        {"a coin value the game has not", with(4, "0.30")},
        {"a bonus spin on the regular strips", with(3, "1")},
        {"a win nobody took or doubled", with(12, "none")},
        {"boxes opened for a win taken", with(13, "1:0")},
        {"a box opened after a losing one", with(12, "double").replace(" - ", " 4:3,1:0 ")},
        {"the same box twice", with(12, "double").replace(" - ", " 1:0,1:0 ")},
        {"no number", with(16, "lots")},
        {"a number in another form", with(16, "1e3")},
        {"a negative amount", with(15, "-1.00")},
        {"a field missing", good.left(good.lastIndexOf(' '))},
        {"a field too many", good + " 1"},
        {"an unknown kind", "jackpot 17"},
        {"a mark without its time", "new"},
    };
    for (const auto& [why, line] : bad) EXPECT_FALSE(ReadHistoryLine(line)) << why << ": " << line.toStdString();
}

TEST_F(HistoryFileTest, AMissingFileIsAnEmptyHistoryAndTheFirstAppendBeginsIt) {
    HistoryFile file(path);
    const HistoryOpened opened = file.Open();
    EXPECT_TRUE(opened.entries.empty());
    EXPECT_TRUE(opened.damaged.isEmpty());
    EXPECT_TRUE(opened.unusable.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path)) << "reading makes no file";
    ASSERT_TRUE(file.Append({Mark(HistoryEntry::Kind::NewGame), TargetSpin(1)})) << file.LastError().toStdString();
    ASSERT_TRUE(file.Append({TargetSpin(2)}));
    EXPECT_EQ(ReadBytes(path), QByteArray(kHistoryHeader) + "\nnew 5\n" + HistoryLine(TargetSpin(1)) + "\n" +
                                   HistoryLine(TargetSpin(2)) + "\n");
    const HistoryOpened again = Reopen();
    EXPECT_TRUE(again.damaged.isEmpty());
    EXPECT_EQ(SpinNumbers(again.entries), (std::vector<int>{1, 2}));
}

TEST_F(HistoryFileTest, ExactlyTheLastThousandSpinsComeBackAfterARestartHoweverLongThePlay) {
    {
        HistoryFile file(path);
        file.Open();
        std::vector<HistoryEntry> batch;
        for (int n = 1; n <= 1234; ++n) batch.push_back(TargetSpin(n));
        ASSERT_TRUE(file.Append(batch));
    }
    std::vector<int> want;
    for (int n = 235; n <= 1234; ++n) want.push_back(n);
    EXPECT_EQ(SpinNumbers(Reopen().entries), want);

    // A few spins at a time, as the game appends them: the file is written afresh before it outgrows twice
    // what the history keeps, and still the last thousand come back.
    HistoryFile file(path);
    file.Open();
    for (int n = 1235; n <= 5234; n += 25) {
        std::vector<HistoryEntry> few;
        for (int k = n; k < n + 25; ++k) few.push_back(TargetSpin(k));
        ASSERT_TRUE(file.Append(few)) << n;
    }
    const qsizetype lines = ReadBytes(path).count('\n');
    EXPECT_LE(lines, HistoryFile::kRewriteLines);
    EXPECT_GE(lines, 1001);
    want.clear();
    for (int n = 4235; n <= 5234; ++n) want.push_back(n);
    EXPECT_EQ(SpinNumbers(Reopen().entries), want);
}

TEST_F(HistoryFileTest, ADamagedFileIsSetAsideNeverDeletedToldOnceAndANewOneBegunWithWhatCouldBeRead) {
    const QByteArray damaged = QByteArray(kHistoryHeader) + "\n" + HistoryLine(TargetSpin(1)) + "\n" +
                               HistoryLine(TargetSpin(2)) + "\nspin 1712345 3 0 0.25 x\n" + HistoryLine(TargetSpin(4)) + "\n";
    WriteFile(damaged);
    HistoryFile file(path);
    const HistoryOpened opened = file.Open();
    EXPECT_EQ(opened.damaged, "line 4 is not one the game writes");
    EXPECT_EQ(opened.keptAs, path + ".damaged");
    EXPECT_TRUE(opened.unusable.isEmpty());
    EXPECT_EQ(ReadBytes(path + ".damaged"), damaged) << "set aside as it was";
    EXPECT_EQ(SpinNumbers(opened.entries), (std::vector<int>{1, 2, 4}));
    ASSERT_TRUE(file.Append({TargetSpin(5)}));
    const HistoryOpened next = Reopen();
    EXPECT_TRUE(next.damaged.isEmpty()) << "the new file is whole: told once";
    EXPECT_EQ(SpinNumbers(next.entries), (std::vector<int>{1, 2, 4, 5}));

    // A file that is not a history at all, with the first one still set aside: a name of its own.
    WriteFile("[Current Game]\r\nCredits=1000\r\n");
    const HistoryOpened other = Reopen();
    EXPECT_EQ(other.damaged, "it does not begin as the game's history does");
    EXPECT_EQ(other.keptAs, path + ".damaged-2");
    EXPECT_TRUE(other.entries.empty());
    EXPECT_EQ(ReadBytes(path + ".damaged"), damaged);
    EXPECT_EQ(ReadBytes(path), QByteArray(kHistoryHeader) + "\n");
}

TEST_F(HistoryFileTest, ALineACrashCutShortIsDroppedAndTheNextAppendBeginsAWholeLine) {
    const QByteArray whole = QByteArray(kHistoryHeader) + "\n" + HistoryLine(TargetSpin(1)) + "\n";
    WriteFile(whole + HistoryLine(TargetSpin(2)).left(30));
    HistoryFile file(path);
    const HistoryOpened opened = file.Open();
    EXPECT_TRUE(opened.damaged.isEmpty()) << opened.damaged.toStdString();
    EXPECT_EQ(SpinNumbers(opened.entries), std::vector<int>{1});
    ASSERT_TRUE(file.Append({TargetSpin(2)}));
    EXPECT_EQ(ReadBytes(path), whole + HistoryLine(TargetSpin(2)) + "\n");
}

TEST_F(HistoryFileTest, AHistoryThatCannotBeReadIsLeftAsItIs) {
    ASSERT_TRUE(QDir().mkpath(path));  // a folder where the file should be
    HistoryFile file(path);
    const HistoryOpened opened = file.Open();
    EXPECT_EQ(opened.unusable, "it is a folder or device, not a file");
    EXPECT_TRUE(opened.damaged.isEmpty());
    EXPECT_FALSE(file.Append({TargetSpin(1)}));
    EXPECT_TRUE(file.LastError().contains(QDir::toNativeSeparators(path))) << file.LastError().toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_FALSE(QFileInfo::exists(path + ".damaged"));
}

// A snapshot that takes the place of a waiting one carries that one's history: the game it replaces is
// written anyway in the newer one, but its spins are nowhere else.
TEST_F(HistoryFileTest, ASnapshotThatReplacesAWaitingOneCarriesItsHistoryToo) {
    SaveQueue q;
    q.Push(SaveJob{{{"Current Game", "Spins", "1"}}, false, {}, {TargetSpin(1)}});
    q.Push(SaveJob{{{"Current Game", "Spins", "2"}}, false, {}, {TargetSpin(2), Mark(HistoryEntry::Kind::NewGame)}});
    q.Push(SaveJob{{{"Current Game", "Spins", "3"}}, true, {}, {TargetSpin(3)}});
    ASSERT_EQ(q.Size(), 1u);
    const SaveJob job = q.Pop();
    EXPECT_EQ(job.writes.front().value, "3");
    ASSERT_EQ(job.history.size(), 4u);
    EXPECT_EQ(SpinNumbers(job.history), (std::vector<int>{1, 2, 3}));
}

TEST_F(HistoryFileTest, TheWriterReadsTheHistoryFirstAndAppendsEachSpinBeforeItsSnapshot) {
    WriteFile(QByteArray(kHistoryHeader) + "\n" + HistoryLine(TargetSpin(1)) + "\n");
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    std::vector<HistoryEntry> opened;
    int reports = 0;
    {
        SaveWriter writer(settings, path, {[&](const HistoryOpened& o) { opened = o.entries; ++reports; }, {}});
        writer.Submit({{"Current Game", "Spins", "2"}}, false, {}, {TargetSpin(2)});
        writer.Submit({{"Current Game", "Spins", "3"}}, true, {}, {TargetSpin(3)});
        writer.Finish();
        EXPECT_EQ(reports, 0) << "reports come through the window's event loop";
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(SpinNumbers(opened), std::vector<int>{1});
    EXPECT_EQ(SpinNumbers(Reopen().entries), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Spins"), {}, 10), "3");
}

TEST_F(HistoryFileTest, LoadingASlotMarksTheHistoryButBringingBackTheGameAtStartDoesNot) {
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    Table table;
    RecordingMenus menus;
    ASSERT_TRUE(SaveGame(settings, table.game, menus, 3, QStringLiteral("Friday night")));
    ASSERT_TRUE(SaveGame(settings, table.game, menus, kCurrentGameSlot, QStringLiteral("Current Game")));
    LoadGame(settings, table.game, menus, kCurrentGameSlot);
    EXPECT_TRUE(table.game.TakeRecords().empty());
    LoadGame(settings, table.game, menus, 3);
    const std::vector<HistoryEntry> marks = table.game.TakeRecords();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].kind, HistoryEntry::Kind::LoadedGame);
    EXPECT_EQ(marks[0].name, "Friday night");
    EXPECT_EQ(marks[0].time, table.cabinet.now);
}
