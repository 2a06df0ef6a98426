// Turns the end of the session (SIGTERM, SIGINT, SIGHUP, or the desktop asking to save) into a call on the GUI thread.
#pragma once

#include <QObject>
#include <functional>

class QSessionManager;
class QSocketNotifier;

namespace kazoomba {

// Only one guard may exist at a time. The signal handler only writes the signal's number into a pipe;
// the call itself runs from the event loop, where saving the game is safe. After the first of the
// three signals its default action is back in place, so a second one ends a program that hangs.
class SessionGuard : public QObject {
    Q_OBJECT
public:
    // `sessionEnding` gets the signal number, or 0 when the desktop session asks for the data to be saved
    // (the session may still go on then).
    explicit SessionGuard(std::function<void(int signal)> sessionEnding, QObject* parent = nullptr);
    ~SessionGuard() override;

    bool Installed() const { return notifier_ != nullptr; }

private:
    void SignalArrived();
    void CommitDataRequested(QSessionManager& manager);

    std::function<void(int)> sessionEnding_;
    QSocketNotifier* notifier_ = nullptr;
    bool running_ = false;
};

// Runs `show`, a message of the start shown before the game's own guard exists, so that SIGTERM, SIGINT
// or SIGHUP closes it as its escape button would (the sound library would otherwise swallow SIGTERM).
// Returns the signal that closed it, or 0.
int ShowUntilSignal(const std::function<void()>& show);

}  // namespace kazoomba
