// The lock file that keeps a second copy of the game off a settings file in use, and the socket that brings the first forward.
#include "SessionLock.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    : path_(settingsPath + QStringLiteral(".lock")), lock_(std::make_unique<QLockFile>(path_)) {
    // A game runs for hours: only a holder that is gone makes the lock stale, never its age.
    lock_->setStaleLockTime(std::chrono::hours(24 * 365 * 10));
}

SessionLock::~SessionLock() {
    if (lock_->isLocked() && !StillHeld()) {
        // QLockFile removes whatever file stands at its path when it lets go, and that file is now
        // another game's. This one is kept, unreleased, for the last moments of the process instead.
        static auto* const letGo = new std::vector<QLockFile*>;
        letGo->push_back(lock_.release());
    }
    if (heldFd_ >= 0) ::close(heldFd_);
}

void SessionLock::Hold() {
    if (heldFd_ >= 0) ::close(heldFd_);
    // An open file keeps its identity: no other file can be given it while this one is open, even once
    // another game has removed this one to put its own in its place.
    heldFd_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
}

bool SessionLock::StillHeld() const {
    if (!lock_ || !lock_->isLocked() || heldFd_ < 0) return false;
    struct stat mine {}, there {};
    if (::fstat(heldFd_, &mine) != 0 || ::stat(QFile::encodeName(path_).constData(), &there) != 0) return false;
    return mine.st_dev == there.st_dev && mine.st_ino == there.st_ino;
}

namespace {

// Why no lock file can be made at `path`, in words a player can act on.
QString WhyNoLock(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QStringLiteral("something that is not a lock file (%1) is where its lock file \"%2\" goes")
            .arg(info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a device or link"),
                 QDir::toNativeSeparators(path));
    if (!QFileInfo(info.absolutePath()).isWritable()) return QStringLiteral("its folder is read-only or belongs to another user");
    return QStringLiteral("its lock file \"%1\" cannot be made").arg(QDir::toNativeSeparators(path));
}

}  // namespace

SessionLock::Result SessionLock::Acquire() {
    whyUnavailable_.clear();
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (lock_->tryLock(0)) {
        Hold();
        return Result::Locked;
    }
    // A folder or anything else but a file in the lock's place can be neither read nor removed as a lock.
    if (lock_->error() != QLockFile::LockFailedError || (QFileInfo::exists(path_) && !QFileInfo(path_).isFile())) {
        whyUnavailable_ = WhyNoLock(path_);
        return Result::Unavailable;
    }
    // A game killed between creating the lock and writing its number in it leaves a lock that names
    // no one. A game starting now fills its lock in within microseconds, so one that still names no
    // one seconds later was left behind.
    qint64 pid = 0;
    QString host, app;
    const qint64 age = QFileInfo(path_).lastModified().msecsTo(QDateTime::currentDateTime());
    if (!lock_->getLockInfo(&pid, &host, &app)) {
        if (age > kUnnamedLockStaleMs && lock_->removeStaleLockFile() && lock_->tryLock(0)) {
            Hold();
            return Result::Locked;
        }
        return Result::Running;
    }
    // Here the lock's holder is known to be running; a process on another computer cannot be looked at,
    // and a lock that names no computer does not say where its process runs.
    if (host.isEmpty()) return Result::Unnamed;
    return host != QSysInfo::machineHostName() ? Result::OtherComputer : Result::Running;
}

bool SessionLock::TakeOver() {
    takeOverFailure_.clear();
    if (lock_->isLocked()) return true;
    // A game that still runs keeps its lock file open and locked, and the removal fails: that game is
    // running, whatever the player believed.
    if (!lock_->removeStaleLockFile() && QFileInfo::exists(path_)) {
        takeOverFailure_ = QFileInfo(QFileInfo(path_).absolutePath()).isWritable()
                               ? QStringLiteral("the game that holds it still has its lock open, so that game is still running")
                               : WhyNoLock(path_);
        return false;
    }
    if (lock_->tryLock(0)) {
        Hold();
        return true;
    }
    takeOverFailure_ = lock_->error() == QLockFile::LockFailedError
                           ? QStringLiteral("another game took the file in the same moment")
                           : WhyNoLock(path_);
    return false;
}

qint64 SessionLock::HolderPid() const {
    qint64 pid = 0;
    QString host, app;
    if (!lock_->getLockInfo(&pid, &host, &app)) return 0;
    // A number from another computer sharing the folder names no process here.
    if (host != QSysInfo::machineHostName()) return 0;
    return pid;
}

QString SessionLock::HolderHost() const {
    qint64 pid = 0;
    QString host, app;
    return lock_->getLockInfo(&pid, &host, &app) ? host : QString();
}

qint64 SessionLock::NamedPid() const {
    qint64 pid = 0;
    QString host, app;
    return lock_->getLockInfo(&pid, &host, &app) ? pid : 0;
}

QString SessionLock::HolderName() const {
    qint64 pid = 0;
    QString host, app;
    return lock_->getLockInfo(&pid, &host, &app) ? app : QString();
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

namespace {

// A question with "Start Anyway" and "Quit", Quit the default and the escape: true for "Start Anyway".
bool AskStart(const QString& text) {
    bool startAnyway = false;
    const int signal = ShowUntilSignal([&] {
        auto* box = new QMessageBox(QMessageBox::Warning, ToQString(kGameTitle), text, QMessageBox::NoButton);
        QPushButton* start = box->addButton(QStringLiteral("&Start Anyway"), QMessageBox::AcceptRole);
        QPushButton* quit = box->addButton(QStringLiteral("&Quit"), QMessageBox::RejectRole);
        box->setDefaultButton(quit);
        box->setEscapeButton(quit);
        ui::RunModal<QMessageBox>(box, [&](QMessageBox& closed) { startAnyway = closed.clickedButton() == start; });
    });
    return signal == 0 && startAnyway;
}

const QString kBothWouldSave = QStringLiteral(" If it is, the two games would save over each other's games.");

}  // namespace

bool AskStartAnyway(const QString& settingsPath, const QString& host) {
    return AskStart(OtherComputerText(settingsPath, host));
}

QString UnnamedHolderText(const QString& settingsPath, qint64 pid, const QString& name) {
    return QStringLiteral("The settings file\n%1\nis marked as in use by the program \"%2\", process %3, and a "
                          "process %3 is running here. The mark names no computer, and that process did not answer "
                          "as a game on this file: it may be a game on another computer sharing this folder.\n\n"
                          "If no other game is using the file, you can start anyway.")
               .arg(QDir::toNativeSeparators(settingsPath), name)
               .arg(pid) +
           kBothWouldSave;
}

QString NoLockText(const QString& settingsPath, const QString& why) {
    return QStringLiteral("The settings file\n%1\ncannot be marked as in use by this game: %2.\n\n"
                          "So the game cannot make sure that it is the only one using the file. You can start "
                          "anyway if no other game is using it.")
               .arg(QDir::toNativeSeparators(settingsPath), why) +
           kBothWouldSave;
}

QString TakeOverFailedText(const QString& settingsPath, const QString& why) {
    return QStringLiteral("The settings file\n%1\ncould not be taken over: %2.\n\n"
                          "This game closes now and the file stays with the game that holds it. Close that game "
                          "first, then start this one again.")
        .arg(QDir::toNativeSeparators(settingsPath), why);
}

QString TakenOverText(const QString& settingsPath) {
    return QStringLiteral("%1: another game has taken the file over since this one started, and this game does "
                          "not save over that game's.")
        .arg(QDir::toNativeSeparators(settingsPath));
}

bool ClaimSettingsFile(SessionLock& lock, const QString& settingsPath, int* exitCode) {
    auto ending = [exitCode](int code) {
        if (exitCode) *exitCode = code;
        return false;
    };
    auto takeOver = [&] {
        if (lock.TakeOver()) return true;
        ShowUntilSignal([&] {
            ui::RunModal(new QMessageBox(QMessageBox::Warning, ToQString(kGameTitle),
                                         TakeOverFailedText(settingsPath, lock.TakeOverFailure()), QMessageBox::Ok));
        });
        return ending(1);
    };
    switch (lock.Acquire()) {
    case SessionLock::Result::Locked:
        return true;
    case SessionLock::Result::Unavailable:
        // In a folder the game cannot write, its saves fail and say so: no two games can save over each other.
        if (!QFileInfo(QFileInfo(lock.LockPath()).absolutePath()).isWritable()) return true;
        return AskStart(NoLockText(settingsPath, lock.WhyUnavailable())) || ending(0);
    case SessionLock::Result::OtherComputer:
        return AskStartAnyway(settingsPath, lock.HolderHost()) ? takeOver() : ending(0);
    case SessionLock::Result::Unnamed: {
        // Its process may be a game here all the same; one that answers is brought forward as usual.
        if (AskToComeForward(settingsPath)) break;
        const QString text = UnnamedHolderText(settingsPath, lock.NamedPid(), lock.HolderName());
        return AskStart(text) ? takeOver() : ending(0);
    }
    case SessionLock::Result::Running:
        TellAlreadyRunning(settingsPath, AskToComeForward(settingsPath));
        return ending(0);
    }
    TellAlreadyRunning(settingsPath, true);
    return ending(0);
}

}  // namespace kazoomba
