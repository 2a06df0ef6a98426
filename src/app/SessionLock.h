// One game per settings file: a lock file beside KAZO.INI that the running game holds until it exits, and
// a local socket through which a second start brings the running game forward.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace kazoomba {

class SessionLock {
public:
    // How old a lock that names no process must be before it counts as left behind.
    static constexpr qint64 kUnnamedLockStaleMs = 2000;

    enum class Result {
        Locked,         // this game holds the file now
        Running,        // another copy of the game that is still running here holds it
        OtherComputer,  // a game on another computer sharing the folder holds it, or held it when that computer stopped
        Unavailable     // no lock can be made (a read-only folder); the game runs, and its saves say why they fail
    };

    // The lock is "KAZO.INI.lock" beside the settings file at settingsPath.
    explicit SessionLock(const QString& settingsPath);

    // Takes the lock. A lock whose program is gone (killed, crashed, power cut) is taken over; one left
    // on another computer cannot be told from one in use there, so it is only taken over by TakeOver().
    Result Acquire();
    // Takes the lock whoever holds it: the player has said the game on the other computer is not running.
    bool TakeOver();
    // The process that holds the lock: 0 when that is not known or it runs on another computer.
    qint64 HolderPid() const;
    // The computer the holder runs on, as the lock names it; empty when the lock names none.
    QString HolderHost() const;
    QString LockPath() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};

// The local socket a running game listens on for the settings file at settingsPath: in the user's runtime
// folder (XDG_RUNTIME_DIR), so it reaches only games of this user on this computer.
QString ComeForwardSocketName(const QString& settingsPath);

// The running game's side: calls `comeForward` each time a second start on the same file asks.
class ComeForwardListener : public QObject {
    Q_OBJECT
public:
    ComeForwardListener(const QString& settingsPath, std::function<void()> comeForward, QObject* parent = nullptr);
    bool Listening() const;

private:
    QLocalServer* server_;
    std::function<void()> comeForward_;
};

// The second start's side: asks the game running on that settings file to bring its window to the
// front. True when it answered that it did; no process is ever sent a signal.
bool AskToComeForward(const QString& settingsPath, int timeoutMs = 3000);

// The second start's message: the game already runs on that settings file (and was brought forward).
QString AlreadyRunningText(const QString& settingsPath, bool broughtForward);
void TellAlreadyRunning(const QString& settingsPath, bool broughtForward);

// The message when a game on another computer holds the file, and its answer: true for "Start Anyway".
QString OtherComputerText(const QString& settingsPath, const QString& host);
bool AskStartAnyway(const QString& settingsPath, const QString& host);

// At start, before the game reads the file: takes the lock, or tells the player why this copy closes.
// A game running here is brought forward; a lock left on another computer is taken over only when the
// player says to start anyway. False when this copy must end. A signal ends any of these messages as
// the player's No would.
bool ClaimSettingsFile(SessionLock& lock, const QString& settingsPath);

}  // namespace kazoomba
