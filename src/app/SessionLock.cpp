// The lock file that keeps a second copy of the game off a settings file in use, and the socket that brings the first forward.
#include "SessionLock.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <chrono>

#include "QtText.h"
#include "SessionGuard.h"
#include "dialogs/Modal.h"
#include "play/GameState.h"

namespace kazoomba {

namespace {

constexpr QByteArrayView kComeForward = "come forward\n";
constexpr QByteArrayView kCameForward = "came forward\n";

}  // namespace

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
    if (!lock_.getLockInfo(&pid, &host, &app)) {
        if (age > kUnnamedLockStaleMs && lock_.removeStaleLockFile() && lock_.tryLock(0)) return Result::Locked;
        return Result::Running;
    }
    // Here the lock's holder is known to be running; a process on another computer cannot be looked at.
    return !host.isEmpty() && host != QSysInfo::machineHostName() ? Result::OtherComputer : Result::Running;
}

bool SessionLock::TakeOver() {
    if (lock_.isLocked()) return true;
    lock_.removeStaleLockFile();
    return lock_.tryLock(0);
}

qint64 SessionLock::HolderPid() const {
    qint64 pid = 0;
    QString host, app;
    if (!lock_.getLockInfo(&pid, &host, &app)) return 0;
    // A number from another computer sharing the folder names no process here.
    if (host != QSysInfo::machineHostName()) return 0;
    return pid;
}

QString SessionLock::HolderHost() const {
    qint64 pid = 0;
    QString host, app;
    return lock_.getLockInfo(&pid, &host, &app) ? host : QString();
}

QString ComeForwardSocketName(const QString& settingsPath) {
    // One socket per settings file; the file's path, hashed, keeps the name short enough for a socket.
    const QByteArray file = QFileInfo(settingsPath).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex().left(16);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/kazoomba-") +
           QString::fromLatin1(hash);
}

ComeForwardListener::ComeForwardListener(const QString& settingsPath, std::function<void()> comeForward, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), comeForward_(std::move(comeForward)) {
    const QString name = ComeForwardSocketName(settingsPath);
    // The game holds the settings file's lock, so a socket of that name was left by a game that died.
    QLocalServer::removeServer(name);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) return;
                if (socket->readLine() != kComeForward) {
                    socket->disconnectFromServer();
                    return;
                }
                if (comeForward_) comeForward_();
                socket->write(kCameForward.data(), kCameForward.size());
                socket->flush();
                socket->disconnectFromServer();
            });
        }
    });
}

bool ComeForwardListener::Listening() const { return server_->isListening(); }

bool AskToComeForward(const QString& settingsPath, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ComeForwardSocketName(settingsPath));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kComeForward.data(), kComeForward.size());
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readLine() == kCameForward;
}

QString AlreadyRunningText(const QString& settingsPath, bool broughtForward) {
    QString text = QStringLiteral("Kazoomba Video Slots is already running with the settings file\n%1\n\n"
                                  "Only one game at a time can use the file, so this one closes now.")
                       .arg(QDir::toNativeSeparators(settingsPath));
    if (broughtForward) text += QStringLiteral(" The game that is running has been brought to the front.");
    return text;
}

void TellAlreadyRunning(const QString& settingsPath, bool broughtForward) {
    ShowUntilSignal([&] {
        ui::RunModal(new QMessageBox(QMessageBox::Information, ToQString(kGameTitle),
                                     AlreadyRunningText(settingsPath, broughtForward), QMessageBox::Ok));
    });
}

QString OtherComputerText(const QString& settingsPath, const QString& host) {
    return QStringLiteral("The settings file\n%1\nis in use by Kazoomba Video Slots on the computer \"%2\", "
                          "which shares this folder.\n\n"
                          "If the game is not running there any more (that computer was switched off or "
                          "crashed), you can start anyway. If it is still running, the two games would save "
                          "over each other's games.")
        .arg(QDir::toNativeSeparators(settingsPath), host);
}

bool AskStartAnyway(const QString& settingsPath, const QString& host) {
    bool startAnyway = false;
    const int signal = ShowUntilSignal([&] {
        auto* box = new QMessageBox(QMessageBox::Warning, ToQString(kGameTitle), OtherComputerText(settingsPath, host),
                                    QMessageBox::NoButton);
        QPushButton* start = box->addButton(QStringLiteral("&Start Anyway"), QMessageBox::AcceptRole);
        QPushButton* quit = box->addButton(QStringLiteral("&Quit"), QMessageBox::RejectRole);
        box->setDefaultButton(quit);
        box->setEscapeButton(quit);
        ui::RunModal<QMessageBox>(box, [&](QMessageBox& closed) { startAnyway = closed.clickedButton() == start; });
    });
    return signal == 0 && startAnyway;
}

bool ClaimSettingsFile(SessionLock& lock, const QString& settingsPath) {
    switch (lock.Acquire()) {
    case SessionLock::Result::Locked:
    case SessionLock::Result::Unavailable:
        return true;
    case SessionLock::Result::OtherComputer:
        return AskStartAnyway(settingsPath, lock.HolderHost()) && lock.TakeOver();
    case SessionLock::Result::Running:
        break;
    }
    TellAlreadyRunning(settingsPath, AskToComeForward(settingsPath));
    return false;
}

}  // namespace kazoomba
