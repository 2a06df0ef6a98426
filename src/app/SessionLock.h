// One game per settings file: a lock file beside KAZO.INI that the running game holds until it exits.
#pragma once

#include <QLockFile>
#include <QString>

namespace kazoomba {

class SessionLock {
public:
    // How old a lock that names no process must be before it counts as left behind.
    static constexpr qint64 kUnnamedLockStaleMs = 2000;

    enum class Result {
        Locked,      // this game holds the file now
        Running,     // another copy of the game that is still running holds it
        Unavailable  // no lock can be made (a read-only folder); the game runs, and its saves say why they fail
    };

    // The lock is "KAZO.INI.lock" beside the settings file at settingsPath.
    explicit SessionLock(const QString& settingsPath);

    // Takes the lock. A lock whose program is gone (killed, crashed, power cut) is taken over.
    Result Acquire();
    // The process that holds the lock: 0 when that is not known or it runs on another computer.
    qint64 HolderPid() const;
    QString LockPath() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};

// Asks the copy of the game with that process number to bring its window to the front; false when
// no request could be sent.
bool AskToComeForward(qint64 pid);

// The second start's message: the game already runs on that settings file (and was brought forward).
QString AlreadyRunningText(const QString& settingsPath, bool broughtForward);
void TellAlreadyRunning(const QString& settingsPath, bool broughtForward);

}  // namespace kazoomba
