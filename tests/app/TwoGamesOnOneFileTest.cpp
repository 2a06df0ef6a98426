// Two games on one settings file: a lock another game took over is left to it and its game is never
// saved over; a takeover that cannot happen, a lock that names no computer, and no lock at all are each
// told as they are. The running game is the real program; the second is this process, through the
// same code the program runs at start.
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

#include "GameProcess.h"
#include "SessionLock.h"
#include "storage/StorageSupport.h"
#include "support/QtApp.h"
#include "support/WindowTesting.h"

namespace kazoomba::testing {
namespace {

bool CatchesHangUp(qint64 pid) { return Catches(pid, SIGHUP); }

// The message boxes that open one after another, each answered with the button of that text (or its
// only button), and what each said. The watcher waiting for the next box goes quiet once these answers
// are gone, so a box from a later part of the same test is never answered into a dead list.
struct Answers {
    explicit Answers(QStringList pressed) : buttons(std::move(pressed)) {}
    ~Answers() { *alive = false; }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
    QStringList buttons;  // pressed in turn
    QStringList texts;    // what each box said
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};
void Answer(Answers& answers) {
    WhenModalOpens([&answers, alive = answers.alive](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!*alive || !box) return;
        answers.texts << box->text();
        const QString wanted = answers.texts.size() <= answers.buttons.size() ? answers.buttons[answers.texts.size() - 1]
                                                                              : QStringLiteral("OK");
        if (answers.texts.size() < 5) Answer(answers);
        for (QAbstractButton* b : box->buttons())
            if (b->text() == wanted || box->buttons().size() == 1) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
    });
}

// The program running on the settings file in `home`, offscreen, until it has taken the file and listens
// for signals.
class RunningGame : public ::testing::Test {
protected:
    QTemporaryDir home;
    QString folder = home.filePath(QStringLiteral("kazoomba"));
    QString ini = folder + QStringLiteral("/KAZO.INI");
    QString lockPath = ini + QStringLiteral(".lock");
    QProcess first;

    void SetUp() override { App(); }
    void StartFirst() {
        StartGame(first, home);
        ASSERT_TRUE(first.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return CatchesHangUp(first.processId()); }, 60000));
        ASSERT_TRUE(QFileInfo::exists(lockPath));
    }
    void EndFirst() {
        kill(static_cast<pid_t>(first.processId()), SIGTERM);
        ASSERT_TRUE(first.waitForFinished(30000));
        EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    }
    void TearDown() override {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished(10000);
        }
    }
    QString Read(const char* key) {
        return ProfileFile(ini).ReadString(u"Current Game", QString::fromLatin1(key), QStringLiteral("<missing>"), 100);
    }
};

// The first game's lock as a shared folder shows it to a second computer: the same file, naming the
// computer the first game runs on.
void NameAnotherComputer(const QString& lockPath) {
    QByteArray text = ReadBytes(lockPath);
    QList<QByteArray> lines = text.split('\n');
    ASSERT_GE(lines.size(), 3);
    lines[2] = "attic-pc";
    QFile f(lockPath);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));  // in place: the file stays the first game's
    ASSERT_TRUE(f.resize(0));
    f.write(lines.join('\n'));
}

TEST_F(RunningGame, StartAnywayWhileTheOtherGameRunsIsToldItCannotAndLeavesThatGameWhole) {
    StartFirst();
    NameAnotherComputer(lockPath);
    const QByteArray lockBefore = ReadBytes(lockPath);
    SessionLock second(ini);
    Answers answers{{QStringLiteral("&Start Anyway"), QStringLiteral("OK")}};
    Answer(answers);
    int code = -1;
    EXPECT_FALSE(ClaimSettingsFile(second, ini, &code));
    EXPECT_EQ(code, 1);
    ASSERT_EQ(answers.texts.size(), 2) << answers.texts.join(u'|').toStdString();
    EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("\"attic-pc\"")));
    EXPECT_TRUE(answers.texts[1].contains(QStringLiteral("could not be taken over"))) << answers.texts[1].toStdString();
    EXPECT_TRUE(answers.texts[1].contains(QStringLiteral("still running"))) << answers.texts[1].toStdString();
    EXPECT_EQ(ReadBytes(lockPath), lockBefore);
    EXPECT_EQ(first.state(), QProcess::Running);
    // The first game still holds its file: it saves there at its end and takes its own lock away.
    EndFirst();
    EXPECT_EQ(Read("GameName").trimmed(), QStringLiteral("Current Game Settings"));
    EXPECT_FALSE(QFileInfo::exists(lockPath));
}

// On a shared folder the first game's hold on its lock is not seen from the second computer, whose
// takeover then works: the first game must neither save over the second's game nor remove its lock.
TEST_F(RunningGame, AGameWhoseLockWasTakenOverNeitherSavesOverTheOtherNorRemovesItsLock) {
    StartFirst();
    ASSERT_TRUE(QFile::remove(lockPath));
    SessionLock second(ini);
    ASSERT_EQ(second.Acquire(), SessionLock::Result::Locked);
    const QByteArray secondLock = ReadBytes(lockPath);
    ProfileFile file(ini);
    ASSERT_TRUE(file.WriteStrings({{"Current Game", "Credits", "4321.00"}, {"Current Game", "Spins", "3"}}));
    EndFirst();
    const QString err = QString::fromLocal8Bit(first.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("another game has taken the file over"))) << err.toStdString();
    EXPECT_EQ(Read("Credits"), QStringLiteral("4321.00"));
    EXPECT_EQ(Read("Spins"), QStringLiteral("3"));
    EXPECT_EQ(ReadBytes(lockPath), secondLock);
    EXPECT_TRUE(second.StillHeld());
    // A third start finds the second game.
    SessionLock third(ini);
    EXPECT_EQ(third.Acquire(), SessionLock::Result::Running);
    EXPECT_EQ(third.HolderPid(), QCoreApplication::applicationPid());
}

class OneFile : public SettingsFolder {
protected:
    QString lockPath = path + QStringLiteral(".lock");
    void SetUp() override { App(); }
};

TEST_F(OneFile, ALockTakenOverIsNoLongerHeldAndIsLeftToItsNewHolder) {
    const QByteArray other = "4242\nkazoomba\nattic-pc\n";
    {
        SessionLock mine(path);
        ASSERT_EQ(mine.Acquire(), SessionLock::Result::Locked);
        EXPECT_TRUE(mine.StillHeld());
        ASSERT_TRUE(QFile::remove(lockPath));
        WriteBytes(lockPath, other);
        EXPECT_FALSE(mine.StillHeld());
    }
    EXPECT_EQ(ReadBytes(lockPath), other);
}

// A lock naming a process that runs here but no computer: the message says just that, and Start Anyway
// takes it over, since no game holds it open.
TEST_F(OneFile, ALockNamingARunningProcessButNoComputerSaysSoAndCanBeTakenOver) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const pid_t other = fork();
    if (other == 0) {
        pause();
        _exit(0);
    }
    ASSERT_GT(other, 0);
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    WriteBytes(lockPath, QByteArray::number(other) + "\n" + name.toUtf8() + "\n\n");
    {
        SessionLock lock(path);
        Answers answers{{QStringLiteral("&Quit")}};
        Answer(answers);
        int code = -1;
        EXPECT_FALSE(ClaimSettingsFile(lock, path, &code));
        EXPECT_EQ(code, 0);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_EQ(answers.texts[0], UnnamedHolderText(path, other, name));
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("names no computer")));
    }
    SessionLock lock(path);
    Answers answers{{QStringLiteral("&Start Anyway")}};
    Answer(answers);
    EXPECT_TRUE(ClaimSettingsFile(lock, path));
    EXPECT_TRUE(lock.StillHeld());
    EXPECT_EQ(waitpid(other, nullptr, WNOHANG), 0) << "the process the lock named was ended";
    kill(other, SIGKILL);
    waitpid(other, nullptr, 0);
    qunsetenv("XDG_RUNTIME_DIR");
}

// Something else where the lock goes: no "already running" (nothing runs), but why no lock can be made.
TEST_F(OneFile, NoLockPossibleIsToldWithWhyAndTheGameStartsOnlyIfThePlayerSays) {
    ASSERT_TRUE(QDir().mkpath(lockPath));
    for (const QString& button : {QStringLiteral("&Quit"), QStringLiteral("&Start Anyway")}) {
        SessionLock lock(path);
        Answers answers{{button}};
        Answer(answers);
        int code = -1;
        const bool starts = ClaimSettingsFile(lock, path, &code);
        EXPECT_EQ(starts, button == QStringLiteral("&Start Anyway"));
        if (!starts) {
            EXPECT_EQ(code, 0);
        }
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("cannot be marked as in use"))) << answers.texts[0].toStdString();
        EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("a folder"))) << answers.texts[0].toStdString();
        EXPECT_FALSE(answers.texts[0].contains(QStringLiteral("already running")));
    }
    EXPECT_TRUE(QFileInfo(lockPath).isDir());
}

}  // namespace
}  // namespace kazoomba::testing
