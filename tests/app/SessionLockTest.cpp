// One game per settings file: the lock beside KAZO.INI, as a second start, a crash and another computer leave it.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/StorageSupport.h"
#include "support/QtApp.h"
#include "support/WindowTesting.h"
#include "SessionLock.h"

namespace kazoomba::testing {
namespace {

class SessionLockFile : public SettingsFolder {};

// Keeps: the running game's session; a second start on the same file finds it.
TEST_F(SessionLockFile, ASecondGameOnTheSameFileFindsTheFirst) {
    App();
    SessionLock running(path);
    ASSERT_EQ(running.Acquire(), SessionLock::Result::Locked);
    SessionLock second(path);
    EXPECT_EQ(second.Acquire(), SessionLock::Result::Running);
    EXPECT_EQ(second.HolderPid(), QCoreApplication::applicationPid());
    EXPECT_TRUE(AlreadyRunningText(path, true).contains(path));
}

// Keeps: a game of the same name on another computer sharing the folder is never sent a signal.
TEST_F(SessionLockFile, ALockHeldOnAnotherComputerNamesNoProcessHere) {
    App();
    WriteBytes(path + ".lock", QByteArray::number(QCoreApplication::applicationPid()) + "\nkazoomba\nsome-other-host\n");
    SessionLock second(path);
    EXPECT_EQ(second.Acquire(), SessionLock::Result::OtherComputer);
    EXPECT_EQ(second.HolderPid(), 0);
    EXPECT_EQ(second.HolderHost(), "some-other-host");
}

// Keeps: nothing of a lock whose game was killed: the next start takes it over.
TEST_F(SessionLockFile, ALockLeftByAKilledGameIsTakenOver) {
    const pid_t deadPid = fork();
    if (deadPid == 0) _exit(0);
    ASSERT_GT(deadPid, 0);
    ASSERT_EQ(waitpid(deadPid, nullptr, 0), deadPid);
    WriteBytes(path + ".lock", QByteArray::number(deadPid) + "\nkazoomba\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    SessionLock lock(path);
    EXPECT_EQ(lock.Acquire(), SessionLock::Result::Locked);
}

// Keeps: nothing of a lock that a game killed while it was creating it left empty, once it is old.
TEST_F(SessionLockFile, AnEmptyLockLeftByAGameKilledAtStartIsTakenOver) {
    WriteBytes(path + ".lock", "");
    QFile lock(path + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-10), QFileDevice::FileModificationTime));
    lock.close();
    SessionLock session(path);
    EXPECT_EQ(session.Acquire(), SessionLock::Result::Locked);
}

// Keeps: the game starting right now, whose lock is still empty for a moment; a second start finds it running.
TEST_F(SessionLockFile, AnEmptyLockYoungerThanTwoSecondsIsNotTakenOver) {
    for (const int ageMs : {0, 1500}) {
        WriteBytes(path + ".lock", "");
        QFile lock(path + ".lock");
        ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
        ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTimeUtc().addMSecs(-ageMs), QFileDevice::FileModificationTime));
        lock.close();
        SessionLock session(path);
        EXPECT_EQ(session.Acquire(), SessionLock::Result::Running) << ageMs;
        EXPECT_EQ(ReadBytes(path + ".lock"), QByteArray()) << ageMs;
    }
}

// Presses the button with that text in the message box that opens, and keeps what the box said.
struct Seen {
    QString text;
    QStringList buttons;
};
void AnswerWith(const QString& button, Seen& seen) {
    WhenModalOpens([&seen, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        seen.text = box->text();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
    });
}

class OtherComputer : public SessionLockFile {
protected:
    void SetUp() override {
        App();
        WriteBytes(path + ".lock", "4242\nkazoomba\nattic-pc\n");
    }
};

// Keeps: the player out of a file a game on another computer holds, unless they say it is not running there.
TEST_F(OtherComputer, ALockFromAnotherComputerNamesItAndQuitLeavesIt) {
    SessionLock lock(path);
    Seen seen;
    AnswerWith("&Quit", seen);
    EXPECT_FALSE(ClaimSettingsFile(lock, path));
    EXPECT_TRUE(seen.text.contains(path)) << seen.text.toStdString();
    EXPECT_TRUE(seen.text.contains("\"attic-pc\"")) << seen.text.toStdString();
    EXPECT_EQ(seen.buttons, (QStringList{"&Start Anyway", "&Quit"}));
    EXPECT_EQ(ReadBytes(path + ".lock"), QByteArray("4242\nkazoomba\nattic-pc\n"));
}

TEST_F(OtherComputer, StartAnywayTakesTheLockOver) {
    SessionLock lock(path);
    Seen seen;
    AnswerWith("&Start Anyway", seen);
    EXPECT_TRUE(ClaimSettingsFile(lock, path));
    SessionLock third(path);
    EXPECT_EQ(third.Acquire(), SessionLock::Result::Running);
    EXPECT_EQ(third.HolderHost(), QSysInfo::machineHostName());
}

// Keeps: an unrelated process that holds the number a lock names; a second start sends it nothing.
TEST_F(SessionLockFile, ASecondStartSendsNoSignalToTheProcessTheLockNames) {
    App();
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const pid_t other = fork();
    if (other == 0) {
        pause();  // SIGUSR1, left at its default, would end it
        _exit(0);
    }
    ASSERT_GT(other, 0);
    // The lock names the process by its own program name, so it counts as a game still running.
    const QByteArray name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();
    WriteBytes(path + ".lock", QByteArray::number(other) + "\n" + name + "\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    SessionLock lock(path);
    Seen seen;
    AnswerWith("OK", seen);
    EXPECT_FALSE(ClaimSettingsFile(lock, path));
    EXPECT_EQ(seen.text, AlreadyRunningText(path, false));
    EXPECT_EQ(waitpid(other, nullptr, WNOHANG), 0) << "the process the lock names was ended";
    kill(other, SIGKILL);
    waitpid(other, nullptr, 0);
    qunsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace kazoomba::testing
