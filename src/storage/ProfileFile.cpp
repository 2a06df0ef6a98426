// The profile-string reader and writer of the settings file.
#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace kazoomba {

QString SettingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kazoomba/KAZO.INI");
}

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

std::optional<ProfileText::Decoded> ProfileFile::Load(QString* why) const {
    auto fail = [why](QString reason) -> std::optional<ProfileText::Decoded> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    const QFileInfo info(path_);
    if (!info.exists()) return ProfileText::Decoded{};
    // Directories, pipes and devices are not settings files; opening a pipe would even block.
    if (!info.isFile()) return fail(QStringLiteral("it is a folder or device, not a file"));
    const QString tooLarge = QStringLiteral("it is larger than %1 MB, too large to be the game's settings file")
                                 .arg(kMaxFileSize / (1024 * 1024));
    if (info.size() > kMaxFileSize) return fail(tooLarge);
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("it cannot be read (it may belong to another user)"));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return fail(QStringLiteral("it cannot be read: %1").arg(file.errorString()));
    if (data.size() > kMaxFileSize) return fail(tooLarge);
    std::optional<ProfileText::Decoded> text = ProfileText::FromFileBytes(data);
    if (!text) return fail(QStringLiteral("it begins as UTF-16 text but holds bytes that are no UTF-16 characters"));
    return text;
}

QString ProfileFile::ReadString(QStringView section, QStringView key, const QString& fallback,
                                int readLimit) const {
    return ProfileSnapshot(*this).ReadString(section, key, fallback, readLimit);
}

QString ProfileFile::CheckAtStart() {
    QString why;
    if (Load(&why)) return {};
    frozen_ = why;
    return QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(path_), why);
}

ProfileSnapshot::ProfileSnapshot(const ProfileFile& file) {
    if (const std::optional<ProfileText::Decoded> decoded = file.Load()) text_ = decoded->text;
}

QString ProfileSnapshot::ReadString(QStringView section, QStringView key, const QString& fallback,
                                    int readLimit) const {
    const std::optional<QString> value = ProfileText::Find(text_, section, key);
    return LeftChars(value ? *value : fallback, readLimit);
}

bool ProfileSnapshot::Has(QStringView section, QStringView key) const {
    return ProfileText::Find(text_, section, key).has_value();
}

bool ProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    return WriteStrings({ProfileWrite{section, key, value}});
}

QString WhyNotWritable(const QString& path, int error) {
    const QFileInfo info(path);
    struct statvfs disk {};
    if (error == EROFS || (statvfs(QFile::encodeName(info.absolutePath()).constData(), &disk) == 0 &&
                           (disk.f_flag & ST_RDONLY)))
        return QStringLiteral("the disk it is on is read-only");
    if (error == ENOSPC || error == EDQUOT || error == EFBIG) return QStringLiteral("the disk is full");
    if (info.exists() && !info.isFile()) return QStringLiteral("it is a folder or device, not a file");
    // Marked read-only counts even for a user the system would let write it, such as root.
    constexpr auto kAnyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const bool readOnly = info.exists() && (!info.isWritable() || !(info.permissions() & kAnyWrite));
    if (error == EPERM || error == EACCES || readOnly || !QFileInfo(info.absolutePath()).isWritable())
        return readOnly
                   ? QStringLiteral("the file is read-only or belongs to another user")
                   : QStringLiteral("its folder is read-only or belongs to another user");
    return QString::fromLocal8Bit(std::strerror(error ? error : EIO)).toLower();
}

bool SyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    ::close(fd);
    return synced;
}

namespace {

// Where a write lands: a settings file that is a link to a file elsewhere stays a link, and its target
// is what changes.
QString FinalPath(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.absoluteFilePath();
}

// Writes all of bytes to fd and syncs them; 0 or the errno of the step that failed. The sync catches
// space that runs out only when the data reach the disk.
int WriteAndSync(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0)
            return ENOSPC;
        else if (errno != EINTR)
            return errno;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

int ReplaceFile(const QString& path, const QByteArray& bytes) {
    const QString final = FinalPath(path);
    const QByteArray finalName = QFile::encodeName(final);
    struct stat old {};
    const bool existed = ::stat(finalName.constData(), &old) == 0;
    // A rename would replace a file its owner made read-only; the game must not, even as root, whom the
    // system lets write anything.
    if (existed && (old.st_mode & 0222) == 0) return EACCES;
    if (existed && ::access(finalName.constData(), W_OK) != 0) return errno;
    const mode_t mode = existed ? old.st_mode & 07777 : 0666;
    QByteArray temporary = QFile::encodeName(TemporaryName(final));
    // The new file is written without a name and named only once it is whole, so a crash while it is
    // written leaves nothing behind; where that cannot be done, it has its name from the start.
    bool named = false;
    int fd = ::open(QFile::encodeName(QFileInfo(final).absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        const int error = existed && ::fchmod(fd, mode) != 0 ? errno : WriteAndSync(fd, bytes);
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        named = error == 0 &&
                ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW) == 0;
        ::close(fd);
        if (error != 0) return error;
    }
    if (!named) {
        fd = -1;
        for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
            temporary = QFile::encodeName(TemporaryName(final));
            fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) return errno;
        }
        if (fd < 0) return EEXIST;
        int error = existed && ::fchmod(fd, mode) != 0 ? errno : WriteAndSync(fd, bytes);
        if (::close(fd) != 0 && error == 0) error = errno;
        if (error != 0) {
            ::unlink(temporary.constData());
            return error;
        }
    }
    if (::rename(temporary.constData(), finalName.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return error;
    }
    SyncFolder(QFileInfo(final).absolutePath());
    return 0;
}


QString WriteLockPath(const QString& path) { return path + QStringLiteral(".writing"); }

namespace {

// Odd enough that no player names a copy of the file so, and the sweep can match it exactly.
constexpr QStringView kTemporaryTag = u".kazoomba-write-";
constexpr int kTemporaryDigits = 16;

}  // namespace

QString TemporaryName(const QString& path) {
    return path + kTemporaryTag.toString() +
           QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), kTemporaryDigits, 16, QLatin1Char('0'));
}

bool IsTemporaryOf(QStringView fileName, QStringView candidate) {
    const qsizetype stem = fileName.size() + kTemporaryTag.size();
    if (candidate.size() != stem + kTemporaryDigits || !candidate.startsWith(fileName) ||
        candidate.mid(fileName.size(), kTemporaryTag.size()) != kTemporaryTag)
        return false;
    return std::all_of(candidate.begin() + stem, candidate.end(),
                       [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); });
}

bool ProfileFile::Fail(const QString& reason) {
    lastError_ = QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(path_), reason);
    return false;
}

bool ProfileFile::WriteStrings(const std::vector<ProfileWrite>& writes) { return Rewrite(writes, false); }

bool ProfileFile::FillMissing(const std::vector<ProfileWrite>& writes) { return Rewrite(writes, true); }

namespace {

std::optional<QByteArray> Changed(const QByteArray& old, const std::vector<ProfileWrite>& writes, bool onlyMissing) {
    if (!onlyMissing) return ProfileText::Apply(old, writes);
    std::vector<ProfileWrite> missing;
    for (const ProfileWrite& w : writes)
        if (!ProfileText::Find(old, w.section, w.key)) missing.push_back(w);
    return ProfileText::Apply(old, missing);
}

}  // namespace

bool ProfileFile::Rewrite(const std::vector<ProfileWrite>& writes, bool onlyMissing) {
    lastError_.clear();
    // The game in play did not come from this file, so nothing of it may replace what the file holds.
    if (!frozen_.isEmpty())
        return Fail(QStringLiteral("it could not be used when the game started (%1), so the game leaves it as it is "
                                   "until it is started again").arg(frozen_));
    // A file that already says it all needs no write, even where none could be made (a read-only disk).
    auto alreadyWritten = [&] {
        const std::optional<ProfileText::Decoded> now = Exists() ? Load() : std::nullopt;
        if (!now) return false;
        const std::optional<QByteArray> text = Changed(now->text, writes, onlyMissing);
        return text && *text == now->text;
    };
    QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        const int error = errno;
        return alreadyWritten() || Fail(WhyNotWritable(info.absolutePath(), error));
    }
    // Reading, changing and replacing the file is one step for every program that writes it.
    QLockFile lock(WriteLockPath(path_));
    lock.setStaleLockTime(std::chrono::milliseconds(kWriteLockStaleMs));
    if (!lock.tryLock(kWriteLockWaitMs)) {
        const int error = errno;
        if (alreadyWritten()) return true;
        if (lock.error() == QLockFile::LockFailedError)
            return Fail(QStringLiteral("another program kept it busy"));
        return Fail(WhyNotWritable(path_, error));
    }
    // A file we cannot read is never replaced: rewriting it from nothing would lose what it holds.
    QString why;
    const std::optional<ProfileText::Decoded> old = Load(&why);
    if (!old) return Fail(why);
    const std::optional<QByteArray> text = Changed(old->text, writes, onlyMissing);
    if (!text) return Fail(QStringLiteral("a section or key name cannot be written"));
    if (*text == old->text && Exists()) return true;
    const QByteArray bytes = ProfileText::ToFileBytes(*text, old->encoding);
    // The next start would refuse a file this large and lose every game in it: the old file stays.
    if (bytes.size() > kMaxFileSize)
        return Fail(QStringLiteral("the save would make it larger than %1 MB, more than the game reads back; "
                                   "the file was left as it was (remove what you added to it by hand)")
                        .arg(kMaxFileSize / (1024 * 1024)));
    const int error = ReplaceFile(path_, bytes);
    return error == 0 || Fail(WhyNotWritable(path_, error));
}

int RemoveStaleTemporaries(const QString& path, qint64 minimumAgeSeconds) {
    const QFileInfo target(FinalPath(path));
    const QDir dir = target.absoluteDir();
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addSecs(-minimumAgeSeconds);
    int removed = 0;
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!IsTemporaryOf(target.fileName(), f.fileName()) || f.isSymLink()) continue;
        if (f.lastModified().toUTC() <= cutoff && QFile::remove(f.absoluteFilePath())) ++removed;
    }
    return removed;
}

bool ProfileFile::Exists() const { return QFileInfo::exists(path_); }

qint64 ProfileFile::Size() const {
    const QFileInfo info(path_);
    return info.isFile() ? info.size() : 0;
}

}  // namespace kazoomba
