// The self-pipe that carries SIGTERM, SIGINT and SIGHUP to the event loop, and the session manager's save request.
#include "SessionGuard.h"

#include <QApplication>
#include <QWidget>
#include <QSessionManager>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kazoomba {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
int g_pipe[2] = {-1, -1};
struct sigaction g_previous[kSignals.size()];

extern "C" void OnSessionSignal(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SessionGuard::SessionGuard(std::function<void(int)> sessionEnding, QObject* parent)
    : QObject(parent), sessionEnding_(std::move(sessionEnding)) {
    if (g_pipe[0] >= 0 || pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (g_pipe[0] < 0) g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { SignalArrived(); });

    struct sigaction action {};
    action.sa_handler = OnSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &g_previous[i]);

    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager& manager) { CommitDataRequested(manager); }, Qt::DirectConnection);
}

SessionGuard::~SessionGuard() {
    if (!notifier_) return;
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
    delete notifier_;
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SessionGuard::SignalArrived() {
    unsigned char bytes[16];
    int signal = 0;
    for (ssize_t n; (n = read(g_pipe[0], bytes, sizeof bytes)) > 0;)
        if (signal == 0) signal = bytes[0];
    if (signal == 0 || running_) return;
    running_ = true;
    if (sessionEnding_) sessionEnding_(signal);
    running_ = false;
}

void SessionGuard::CommitDataRequested(QSessionManager&) {
    if (running_) return;
    running_ = true;
    if (sessionEnding_) sessionEnding_(0);
    running_ = false;
}

int ShowUntilSignal(const std::function<void()>& show) {
    int ended = 0;
    SessionGuard guard([&](int signal) {
        if (signal == 0) return;  // the desktop asks to save: nothing is in play yet
        ended = signal;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    show();
    return ended;
}

}  // namespace kazoomba
