// One game per settings file: the lock beside KAZO.INI, as a second start, a crash and another computer leave it.
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/StorageSupport.h"
#include "support/QtApp.h"
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
    EXPECT_EQ(second.Acquire(), SessionLock::Result::Running);
    EXPECT_EQ(second.HolderPid(), 0);
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

}  // namespace
}  // namespace kazoomba::testing
