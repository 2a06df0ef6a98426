// The profile-string reader and writer of the settings file.
#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace kazoomba {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One line of the file as positions into it; names and values are trimmed of blanks.
struct Line {
    enum Kind { Empty, Header, BadHeader, Entry, Other };
    Kind kind = Empty;
    qsizetype next = 0;          // where the following line starts
    bool terminated = false;     // ends with a line feed
    qsizetype nameBegin = 0, nameEnd = 0;
    qsizetype valueBegin = 0, valueEnd = 0;
    qsizetype contentEnd = 0;    // end of the line before its line ending
};

qsizetype FindIn(const QByteArray& t, char c, qsizetype from, qsizetype to) {
    if (from >= to) return -1;
    const void* hit = std::memchr(t.constData() + from, c, static_cast<size_t>(to - from));
    return hit ? static_cast<const char*>(hit) - t.constData() : -1;
}

void Trim(const QByteArray& t, qsizetype& b, qsizetype& e) {
    while (b < e && IsBlank(t[b])) ++b;
    while (e > b && IsBlank(t[e - 1])) --e;
}

Line ParseLine(const QByteArray& t, qsizetype pos) {
    Line line;
    const qsizetype feed = FindIn(t, '\n', pos, t.size());
    line.terminated = feed >= 0;
    line.next = feed >= 0 ? feed + 1 : t.size();
    qsizetype stop = feed >= 0 ? feed : t.size();
    if (stop > pos && t[stop - 1] == '\r') --stop;
    line.contentEnd = stop;
    qsizetype b = pos, e = stop;
    // A byte-order mark, as some editors write, must not hide the first section's header.
    if (pos == 0 && t.startsWith("\xEF\xBB\xBF")) b = std::min<qsizetype>(3, e);
    Trim(t, b, e);
    if (b == e) return line;
    if (t[b] == '[') {
        // A header without its bracket opens a section no name can match, so the keys under it are
        // never taken for keys of the section above.
        const qsizetype close = FindIn(t, ']', b + 1, e);
        if (close < 0) {
            line.kind = Line::BadHeader;
            return line;
        }
        line.kind = Line::Header;
        line.nameBegin = b + 1;
        line.nameEnd = close;
        Trim(t, line.nameBegin, line.nameEnd);
        return line;
    }
    if (t[b] == ';') {
        line.kind = Line::Other;
        return line;
    }
    const qsizetype eq = FindIn(t, '=', b, e);
    line.kind = Line::Other;
    if (eq < 0) return line;
    line.nameBegin = b;
    line.nameEnd = eq;
    Trim(t, line.nameBegin, line.nameEnd);
    if (line.nameBegin == line.nameEnd) return line;
    line.kind = Line::Entry;
    line.valueBegin = eq + 1;
    line.valueEnd = e;
    Trim(t, line.valueBegin, line.valueEnd);
    return line;
}

bool IsUtf8(const QByteArray& t, qsizetype b, qsizetype e) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(QByteArrayView(t.constData() + b, e - b));
    return !decoder.hasError();
}

// Windows-1252: Latin-1 but for 0x80 to 0x9F; the five bytes it leaves unassigned keep their C1 codes.
QString DecodeWindows1252(const QByteArray& t, qsizetype b, qsizetype e) {
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out;
    out.reserve(e - b);
    for (qsizetype i = b; i < e; ++i) {
        const auto c = static_cast<unsigned char>(t[i]);
        out += QChar(c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : char16_t(c));
    }
    return out;
}

// Text as it stands: QString::fromUtf8 would drop a byte-order mark at the start of a name or value.
// `utf8` tells whether the whole line the text comes from is valid UTF-8.
QString Decode(const QByteArray& t, qsizetype b, qsizetype e, bool utf8 = true) {
    if (!utf8) return DecodeWindows1252(t, b, e);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(t.constData() + b, e - b));
}

bool NameIs(const QByteArray& t, qsizetype b, qsizetype e, QStringView name, bool utf8 = true) {
    return Decode(t, b, e, utf8).compare(name, Qt::CaseInsensitive) == 0;
}

// Whether the line starting at pos, up to its end, is valid UTF-8.
bool LineIsUtf8(const QByteArray& t, qsizetype pos, const Line& line) { return IsUtf8(t, pos, line.contentEnd); }

QByteArray LineEnding(const QByteArray& t) {
    const qsizetype feed = t.indexOf('\n');
    return feed > 0 && t[feed - 1] == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

// What ends a last line that has no line feed: a carriage return already there only needs its feed,
// which keeps that line's value as it read before.
QByteArray Terminator(const QByteArray& t, const QByteArray& eol) {
    return t.endsWith('\r') ? QByteArrayLiteral("\n") : eol;
}

bool EndsWithBlankLine(const QByteArray& t) {
    // t ends with a line feed here; look at the line before it.
    qsizetype e = t.size() - 1;
    const qsizetype start = t.lastIndexOf('\n', e - 1) + 1;
    for (qsizetype i = start; i < e; ++i)
        if (!IsBlank(t[i]) && t[i] != '\r') return false;
    return true;
}

bool Writable(const QString& name, bool isKey) {
    if (name.isEmpty() || name != name.trimmed()) return false;
    for (QChar c : name)
        if (c == u'\r' || c == u'\n' || c == QChar(0) || (isKey ? c == u'=' : c == u']')) return false;
    return !(isKey && (name.startsWith(u'[') || name.startsWith(u';')));
}

void ApplyOne(QByteArray& t, const QString& section, const QString& key, const QByteArray& value) {
    const QByteArray eol = LineEnding(t);
    const QByteArray entry = key.toUtf8() + '=' + value;
    bool inSection = false;
    qsizetype insertAt = -1;      // just after the last non-empty line of the section
    bool insertTerminated = true;
    for (qsizetype pos = 0; pos < t.size();) {
        const Line line = ParseLine(t, pos);
        if (line.kind == Line::Header || line.kind == Line::BadHeader) {
            if (inSection) break;
            if (line.kind == Line::Header && NameIs(t, line.nameBegin, line.nameEnd, section, LineIsUtf8(t, pos, line))) {
                inSection = true;
                insertAt = line.next;
                insertTerminated = line.terminated;
            }
        } else if (inSection && line.kind != Line::Empty) {
            if (line.kind == Line::Entry && NameIs(t, line.nameBegin, line.nameEnd, key, LineIsUtf8(t, pos, line))) {
                // The blanks after the old value go with it: a padded value written again and again
                // must not gather the old padding behind the new.
                t.replace(line.valueBegin, line.contentEnd - line.valueBegin, value);
                return;
            }
            insertAt = line.next;
            insertTerminated = line.terminated;
        }
        pos = line.next;
    }
    if (insertAt >= 0) {
        QByteArray add = insertTerminated ? QByteArray() : Terminator(t, eol);
        add += entry + eol;
        t.insert(insertAt, add);
        return;
    }
    if (!t.isEmpty()) {
        if (!t.endsWith('\n')) t += Terminator(t, eol);
        if (!EndsWithBlankLine(t)) t += eol;
    }
    t += '[' + section.toUtf8() + ']' + eol + entry + eol;
}

}  // namespace

QString OneLine(QStringView value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') continue;  // CR LF is one break
        if (c == u'\r' || c == u'\n' || c == QChar(0) || c == QChar(0x2028) || c == QChar(0x2029))
            out += u' ';
        else
            out += c;
    }
    return out;
}

QString LeftChars(const QString& text, int count) {
    if (count <= 0) return {};
    qsizetype i = 0;
    for (int n = 0; n < count && i < text.size(); ++n)
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    return text.left(i);
}

QString SettingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kazoomba/KAZO.INI");
}

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

std::optional<QString> ProfileFile::Find(const QByteArray& text, QStringView section, QStringView key) {
    bool inSection = false;
    for (qsizetype pos = 0; pos < text.size();) {
        const Line line = ParseLine(text, pos);
        if (line.kind == Line::Header || line.kind == Line::BadHeader) {
            if (inSection) return std::nullopt;  // only the first section of that name counts
            inSection = line.kind == Line::Header &&
                        NameIs(text, line.nameBegin, line.nameEnd, section, LineIsUtf8(text, pos, line));
        } else if (inSection && line.kind == Line::Entry) {
            const bool utf8 = LineIsUtf8(text, pos, line);
            if (NameIs(text, line.nameBegin, line.nameEnd, key, utf8)) return Decode(text, line.valueBegin, line.valueEnd, utf8);
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::optional<QByteArray> ProfileFile::Apply(QByteArray text, const std::vector<ProfileWrite>& writes) {
    for (const ProfileWrite& w : writes)
        if (!Writable(w.section, false) || !Writable(w.key, true)) return std::nullopt;
    for (const ProfileWrite& w : writes) ApplyOne(text, w.section, w.key, OneLine(w.value).toUtf8());
    return text;
}

std::optional<QByteArray> ProfileFile::Load() const {
    const QFileInfo info(path_);
    if (!info.exists()) return QByteArray();
    // Directories, pipes and devices are not settings files; opening a pipe would even block.
    if (!info.isFile() || info.size() > kMaxFileSize) return std::nullopt;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError || data.size() > kMaxFileSize) return std::nullopt;
    return data;
}

QString ProfileFile::ReadString(QStringView section, QStringView key, const QString& fallback,
                                int readLimit) const {
    return ProfileSnapshot(*this).ReadString(section, key, fallback, readLimit);
}

ProfileSnapshot::ProfileSnapshot(const ProfileFile& file) : text_(file.Load().value_or(QByteArray())) {}

QString ProfileSnapshot::ReadString(QStringView section, QStringView key, const QString& fallback,
                                    int readLimit) const {
    const std::optional<QString> value = ProfileFile::Find(text_, section, key);
    return LeftChars(value ? *value : fallback, readLimit);
}

bool ProfileSnapshot::Has(QStringView section, QStringView key) const {
    return ProfileFile::Find(text_, section, key).has_value();
}

bool ProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    return WriteStrings({ProfileWrite{section, key, value}});
}

namespace {

// Why a file or its folder cannot be changed, in words a player can act on.
QString WhyNotWritable(const QString& path, int error) {
    const QFileInfo info(path);
    struct statvfs disk {};
    if (error == EROFS || (statvfs(QFile::encodeName(info.absolutePath()).constData(), &disk) == 0 &&
                           (disk.f_flag & ST_RDONLY)))
        return QStringLiteral("the disk it is on is read-only");
    if (error == ENOSPC || error == EDQUOT || error == EFBIG) return QStringLiteral("the disk is full");
    if (info.exists() && !info.isFile()) return QStringLiteral("it is a folder or device, not a file");
    if (error == EPERM || error == EACCES || (info.exists() && !info.isWritable()) ||
        !QFileInfo(info.absolutePath()).isWritable())
        return info.exists() && !info.isWritable()
                   ? QStringLiteral("the file is read-only or belongs to another user")
                   : QStringLiteral("its folder is read-only or belongs to another user");
    return QString::fromLocal8Bit(std::strerror(error ? error : EIO)).toLower();
}

// Makes a rename in the folder survive a power cut.
bool SyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    ::close(fd);
    return synced;
}

}  // namespace

QString WriteLockPath(const QString& path) { return path + QStringLiteral(".writing"); }

bool ProfileFile::Fail(const QString& reason) {
    lastError_ = QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(path_), reason);
    return false;
}

bool ProfileFile::WriteStrings(const std::vector<ProfileWrite>& writes) { return Rewrite(writes, false); }

bool ProfileFile::FillMissing(const std::vector<ProfileWrite>& writes) { return Rewrite(writes, true); }

namespace {

std::optional<QByteArray> Changed(const QByteArray& old, const std::vector<ProfileWrite>& writes, bool onlyMissing) {
    if (!onlyMissing) return ProfileFile::Apply(old, writes);
    std::vector<ProfileWrite> missing;
    for (const ProfileWrite& w : writes)
        if (!ProfileFile::Find(old, w.section, w.key)) missing.push_back(w);
    return ProfileFile::Apply(old, missing);
}

}  // namespace

bool ProfileFile::Rewrite(const std::vector<ProfileWrite>& writes, bool onlyMissing) {
    lastError_.clear();
    // A file that already says it all needs no write, even where none could be made (a read-only disk).
    auto alreadyWritten = [&] {
        const std::optional<QByteArray> now = Exists() ? Load() : std::nullopt;
        if (!now) return false;
        const std::optional<QByteArray> text = Changed(*now, writes, onlyMissing);
        return text && *text == *now;
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
    info.refresh();
    if (info.exists() && !info.isFile()) return Fail(QStringLiteral("it is a folder or device, not a file"));
    if (info.size() > kMaxFileSize)
        return Fail(QStringLiteral("it is larger than %1 MB, too large to be the game's settings file")
                        .arg(kMaxFileSize / (1024 * 1024)));
    const std::optional<QByteArray> old = Load();
    if (!old) return Fail(QStringLiteral("it cannot be read (it may belong to another user)"));
    const std::optional<QByteArray> text = Changed(*old, writes, onlyMissing);
    if (!text) return Fail(QStringLiteral("a section or key name cannot be written"));
    if (*text == *old && Exists()) return true;
    // Unbuffered, so a disk that fills up shows as a short write here; a buffered one can lose the
    // tail at commit and still report success. The explicit sync catches space that runs out late.
    QSaveFile file(path_);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Fail(WhyNotWritable(path_, errno));
    errno = 0;
    if (file.write(*text) != text->size() || ::fsync(file.handle()) != 0) {
        const int error = errno ? errno : ENOSPC;
        file.cancelWriting();
        file.commit();
        return Fail(WhyNotWritable(path_, error));
    }
    errno = 0;
    if (!file.commit()) return Fail(WhyNotWritable(path_, errno));
    SyncFolder(info.absolutePath());
    return true;
}

int RemoveStaleTemporaries(const QString& path, qint64 minimumAgeSeconds) {
    const QFileInfo target(path);
    QDir dir = target.absoluteDir();
    const QString prefix = target.fileName() + QLatin1Char('.');
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addSecs(-minimumAgeSeconds);
    int removed = 0;
    for (const QFileInfo& f : dir.entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden)) {
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
