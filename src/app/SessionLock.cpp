// The lock file that keeps a second copy of the game off a settings file in use.
#include "SessionLock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <chrono>
#include <csignal>

#include "QtText.h"
#include "dialogs/Modal.h"
#include "play/GameState.h"

namespace kazoomba {

SessionLock::SessionLock(const QString& settingsPath)
    : path_(settingsPath + QStringLiteral(".lock")), lock_(path_) {
    // A game runs for hours: only a holder that is gone makes the lock stale, never its age.
    lock_.setStaleLockTime(std::chrono::hours(24 * 365 * 10));
}

SessionLock::Result SessionLock::Acquire() {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (lock_.tryLock(0)) return Result::Locked;
    if (lock_.error() != QLockFile::LockFailedError) return Result::Unavailable;
    // A game killed between creating the lock and writing its number in it leaves a lock that names
    // no one. A game starting now fills its lock in within microseconds, so one that still names no
    // one seconds later was left behind.
    qint64 pid = 0;
    QString host, app;
    const qint64 age = QFileInfo(path_).lastModified().msecsTo(QDateTime::currentDateTime());
    if (!lock_.getLockInfo(&pid, &host, &app) && age > kUnnamedLockStaleMs && lock_.removeStaleLockFile() &&
        lock_.tryLock(0))
        return Result::Locked;
    return Result::Running;
}

qint64 SessionLock::HolderPid() const {
    qint64 pid = 0;
    QString host, app;
    if (!lock_.getLockInfo(&pid, &host, &app)) return 0;
    // A number from another computer sharing the folder names no process here. (A live process of
    // another name never holds the lock: the lock counts as stale then and is taken over.)
    if (host != QSysInfo::machineHostName()) return 0;
    return pid;
}

bool AskToComeForward(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), SIGUSR1) == 0; }

QString AlreadyRunningText(const QString& settingsPath, bool broughtForward) {
    QString text = QStringLiteral("Kazoomba Video Slots is already running with the settings file\n%1\n\n"
                                  "Only one game at a time can use the file, so this one closes now.")
                       .arg(QDir::toNativeSeparators(settingsPath));
    if (broughtForward) text += QStringLiteral(" The game that is running has been brought to the front.");
    return text;
}

void TellAlreadyRunning(const QString& settingsPath, bool broughtForward) {
    ui::ShowMessageBox(QMessageBox::Information, ToQString(kGameTitle), AlreadyRunningText(settingsPath, broughtForward),
                       nullptr);
}

}  // namespace kazoomba
