// One game per settings file: a lock file beside KAZO.INI that the running game holds until it exits, and
// a local socket through which a second start brings the running game forward.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

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
        Unnamed,        // a running process holds it, but the lock names no computer to say where it runs
        Unavailable     // no lock can be made (a read-only folder, something else in its place); WhyUnavailable() says why
    };

    // The lock is "KAZO.INI.lock" beside the settings file at settingsPath.
    explicit SessionLock(const QString& settingsPath);
    // Removes the lock file only while it is still this game's: one another game took over is left to it.
    ~SessionLock();

    // Takes the lock. A lock whose program is gone (killed, crashed, power cut) is taken over; one left
    // on another computer cannot be told from one in use there, so it is only taken over by TakeOver().
    Result Acquire();
    // Takes the lock whoever holds it: the player has said the game holding it is not running. False,
    // with TakeOverFailure() saying why, when the lock cannot be taken.
    bool TakeOver();
    // Whether the lock file beside the settings file is still the one this game made. A game that took
    // it over put a lock file of its own there; from then on this game's saves belong elsewhere.
    bool StillHeld() const;
    // The process that holds the lock: 0 when that is not known or it runs on another computer.
    qint64 HolderPid() const;
    // The computer the holder runs on, as the lock names it; empty when the lock names none.
    QString HolderHost() const;
    // The process number the lock gives, wherever it runs; 0 when the lock names none.
    qint64 NamedPid() const;
    // The program name the lock gives its holder.
    QString HolderName() const;
    QString LockPath() const { return path_; }
    // Why Acquire() found no lock could be made, in plain words.
    const QString& WhyUnavailable() const { return whyUnavailable_; }
    const QString& TakeOverFailure() const { return takeOverFailure_; }

private:
    void Hold();

    QString path_;
    std::unique_ptr<QLockFile> lock_;
    int heldFd_ = -1;  // the lock file this game made, kept open so its identity cannot pass to another file
    QString whyUnavailable_;
    QString takeOverFailure_;
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

// The message when the lock names a running process but no computer, and when no lock can be made.
QString UnnamedHolderText(const QString& settingsPath, qint64 pid, const QString& name);
QString NoLockText(const QString& settingsPath, const QString& why);
// The message when the player said to start anyway but the lock could not be taken over.
QString TakeOverFailedText(const QString& settingsPath, const QString& why);

// Why a game whose lock another game took over does not save into the file, in the form of
// ProfileFile::LastError() (path first).
QString TakenOverText(const QString& settingsPath);

// At start, before the game reads the file: takes the lock, or tells the player why this copy closes.
// A game running here is brought forward; a lock left on another computer, or naming a process but no
// computer, is taken over only when the player says to start anyway, and a takeover that cannot happen
// is told; when no lock can be made the player is told why and asked. False when this copy must end;
// `exitCode` then says how: 0 when the player chose to or the game runs already, 1 when the takeover the
// player asked for failed. A signal ends any of these messages as the player's No would.
bool ClaimSettingsFile(SessionLock& lock, const QString& settingsPath, int* exitCode = nullptr);

}  // namespace kazoomba
