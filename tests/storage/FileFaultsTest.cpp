// Files that cannot be read or written, a full disk, and a saver killed at random moments: the file survives.
#include <QDir>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <grp.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LoopGame.h"
#include "StorageSupport.h"
#include "support/SavedFields.h"

namespace kazoomba::testing {
namespace {

struct HelperRun {
    bool started = false;
    int exitCode = -1;
    QByteArray output;
};

// As root the helper runs as "nobody", who may not reach the build folder: it then runs from a copy in
// a folder everyone can reach.
QString HelperProgram() {
    if (geteuid() != 0) return QStringLiteral(KAZOOMBA_PROFILE_HELPER);
    static QTemporaryDir* place = [] {
        auto* dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/kazoomba-helper-XXXXXX"));
        const QString copy = dir->filePath(QStringLiteral("profile_helper"));
        QFile::copy(QStringLiteral(KAZOOMBA_PROFILE_HELPER), copy);
        chmod(dir->path().toLocal8Bit().constData(), 0755);
        chmod(copy.toLocal8Bit().constData(), 0755);
        return dir;
    }();
    return place->filePath(QStringLiteral("profile_helper"));
}

HelperRun RunHelper(const QStringList& args, const std::function<void()>& childSetup = {}) {
    CoreApp();
    QProcess process;
    process.setProgram(HelperProgram());
    process.setArguments(args);
    if (childSetup) process.setChildProcessModifier(childSetup);
    process.start();
    HelperRun run;
    run.started = process.waitForStarted(60000);
    process.waitForFinished(60000);
    if (run.started && process.exitStatus() == QProcess::NormalExit) run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    return run;
}

// Permissions mean nothing to root, so as root the helper runs as "nobody".
std::function<void()> AsPlayer() {
    if (geteuid() != 0) return {};
    return [] {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
    };
}

class FileFaults : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    const QByteArray original = "[Settings]\nLeftPos=5\n";

    void SetUp() override {
        WriteBytes(path, original);
        chmod(dir.path().toLocal8Bit().constData(), 0777);
        if (geteuid() != 0) return;
        const HelperRun probe = RunHelper({"read", path, "Settings", "LeftPos"}, AsPlayer());
        if (!probe.started || probe.exitCode == 99 || probe.output != "5")
            GTEST_SKIP() << "cannot run the helper as another user";
    }
    HelperRun Read() { return RunHelper({"read", path, "Settings", "LeftPos"}, AsPlayer()); }
    HelperRun Write(const QString& value = "7") { return RunHelper({"write", path, "Settings", "LeftPos", value}, AsPlayer()); }
    // A failed write names the file and says why.
    void ExpectReason(const HelperRun& run, const char* why) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.output.startsWith(path.toUtf8() + ": ")) << run.output.constData();
        EXPECT_TRUE(run.output.contains(why)) << run.output.constData();
    }
};

TEST_F(FileFaults, AFileThatCannotBeReadGivesDefaultsAndIsNeverReplaced) {
    chmod(path.toLocal8Bit().constData(), 0222);
    EXPECT_EQ(Read().output, QByteArray("<default>"));
    ExpectReason(Write(), "cannot be read");
    EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(FileFaults, AFileThatCannotBeReadIsToldAtStartAndLeftAlone) {
    chmod(path.toLocal8Bit().constData(), 0222);
    const HelperRun run = RunHelper({"check", path}, AsPlayer());
    const QList<QByteArray> said = run.output.split('|');
    ASSERT_EQ(said.size(), 2) << run.output.constData();
    EXPECT_EQ(said[0], path.toUtf8() + ": it cannot be read (it may belong to another user).");
    EXPECT_TRUE(said[1].contains("when the game started")) << said[1].constData();
    chmod(path.toLocal8Bit().constData(), 0644);
    EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(FileFaults, AFileThatCannotBeWrittenKeepsItsContents) {
    chmod(path.toLocal8Bit().constData(), 0444);
    EXPECT_EQ(Read().output, QByteArray("5"));
    ExpectReason(Write(), "the file is read-only");
    EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(FileFaults, AFolderThatCannotBeWrittenKeepsTheFile) {
    chmod(path.toLocal8Bit().constData(), 0666);
    chmod(dir.path().toLocal8Bit().constData(), 0555);
    ExpectReason(Write(), "its folder is read-only");
    chmod(dir.path().toLocal8Bit().constData(), 0700);
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KAZO.INI"});
}

TEST_F(FileFaults, AFullDiskFailsTheWriteAndKeepsTheOldFile) {
    // A file size limit stands in for a full disk: writes past it fail as they would with no space left.
    auto smallDisk = [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    EXPECT_EQ(RunHelper({"write", path, "Settings", "TopPos", "9"}, smallDisk).exitCode, 0);
    const QByteArray before = ReadBytes(path);
    ExpectReason(RunHelper({"write", path, "Settings", "BannerText", QString(8000, u'x')}, smallDisk), "the disk is full");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KAZO.INI"});
}

// Compares every loaded field with the game the child saved as number k.
void ExpectLoopGame(const GameState& g, const RecordingMenus& menus, const QString& name, int k) {
    Table want;
    RecordingMenus wantMenus;
    SetLoopGame(want.game, wantMenus, k);
    const GameState& w = want.game.State();
    EXPECT_EQ(name, LoopGameName(k));
    ExpectSameSavedFields(g, w);
    EXPECT_EQ(menus.speed, wantMenus.speed);
    EXPECT_EQ(menus.banner, wantMenus.banner);
}

// A soak: where the kills land depends on the machine's load, so how many hit a write in progress is
// printed, not asserted; every step of a write is met for certain by the moment crash test.
TEST(CrashTest, ASaverKilledAtRandomMomentsLeavesTheOldGameOrTheNew) {
    CoreApp();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    ProfileFile file(path);
    {
        Table table;
        RecordingMenus menus;
        WriteBytes(path, "[Settings]\r\nLeftPos=1500\r\nBannerText=Keep me\r\n");
        EnsureSettingsFile(file);
        SetLoopGame(table.game, menus, 0);
        ASSERT_TRUE(SaveGame(file, table.game, menus, kCurrentGameSlot, LoopGameName(0)));
    }
    const QByteArray whole = ReadBytes(path);
    const QByteArray kept = whole.left(whole.indexOf("[Current Game]"));

    const int rounds = qEnvironmentVariableIntValue("KAZOOMBA_CRASH_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("KAZOOMBA_CRASH_ROUNDS") : 150;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delay(0, 3);
    int last = 0, advanced = 0, insideWrite = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess saver;
        saver.setProgram(QStringLiteral(KAZOOMBA_PROFILE_HELPER));
        saver.setArguments({"save-loop", path, QString::number(last + 1)});
        saver.start();
        ASSERT_TRUE(saver.waitForStarted());
        // The kill waits for the first save, however slow the build is to start, then lands among the saves.
        ASSERT_TRUE(saver.waitForReadyRead(60000)) << "round " << round;
        QThread::msleep(static_cast<unsigned long>(delay(random)));
        const auto pid = static_cast<pid_t>(saver.processId());
        kill(pid, SIGKILL);
        saver.waitForFinished();
        // A write holds the lock file from reading the old file to the rename: left with the killed
        // saver's number in it, the kill landed inside a write.
        if (ReadBytes(WriteLockPath(path)).split('\n').value(0).trimmed() == QByteArray::number(pid)) ++insideWrite;

        const QByteArray now = ReadBytes(path);
        ASSERT_TRUE(now.startsWith(kept)) << "round " << round;
        Table loaded;
        RecordingMenus menus;
        const QString name = LoadGame(file, loaded.game, menus, kCurrentGameSlot);
        const int k = loaded.game.State().Spins;
        ASSERT_GE(k, last) << "round " << round;
        ExpectLoopGame(loaded.game.State(), menus, name, k);
        if (::testing::Test::HasFailure()) FAIL() << "round " << round << " read back game " << k;
        if (k > last) ++advanced;
        last = k;
    }
    // A kill while the new file is being written leaves its temporary file behind, never in its place.
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(files.contains("KAZO.INI"));
    // What a kill leaves is the write lock and temporaries the sweep at the next start knows for the game's own.
    for (const QString& name : files) {
        if (name != "KAZO.INI" && name != QFileInfo(WriteLockPath(path)).fileName()) {
            EXPECT_TRUE(IsTemporaryOf(u"KAZO.INI", name)) << name.toStdString();
        }
    }
    std::printf("crash test: %d rounds, %d of them killed inside a write, %d after a new game was in place, "
                "%d games saved, %d files left beside KAZO.INI\n",
                rounds, insideWrite, advanced, last, static_cast<int>(files.size()) - 1);
}

}  // namespace
}  // namespace kazoomba::testing
