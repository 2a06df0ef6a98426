// The profile-string reader and writer of the settings file.
#include "storage/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
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

// Text as it stands: QString::fromUtf8 would drop a byte-order mark at the start of a name or value.
QString Decode(const QByteArray& t, qsizetype b, qsizetype e) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(t.constData() + b, e - b));
}

bool NameIs(const QByteArray& t, qsizetype b, qsizetype e, QStringView name) {
    return Decode(t, b, e).compare(name, Qt::CaseInsensitive) == 0;
}

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
            if (line.kind == Line::Header && NameIs(t, line.nameBegin, line.nameEnd, section)) {
                inSection = true;
                insertAt = line.next;
                insertTerminated = line.terminated;
            }
        } else if (inSection && line.kind != Line::Empty) {
            if (line.kind == Line::Entry && NameIs(t, line.nameBegin, line.nameEnd, key)) {
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
            inSection = line.kind == Line::Header && NameIs(text, line.nameBegin, line.nameEnd, section);
        } else if (inSection && line.kind == Line::Entry && NameIs(text, line.nameBegin, line.nameEnd, key)) {
            return Decode(text, line.valueBegin, line.valueEnd);
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
    const std::optional<QByteArray> text = Load();
    std::optional<QString> value;
    if (text) value = Find(*text, section, key);
    return LeftChars(value ? *value : fallback, readLimit);
}

bool ProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    return WriteStrings({ProfileWrite{section, key, value}});
}

bool ProfileFile::WriteStrings(const std::vector<ProfileWrite>& writes) {
    // A file we cannot read is never replaced: rewriting it from nothing would lose what it holds.
    const std::optional<QByteArray> old = Load();
    if (!old) return false;
    const std::optional<QByteArray> text = Apply(*old, writes);
    if (!text) return false;
    if (*text == *old && Exists()) return true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    // Unbuffered, so a disk that fills up shows as a short write here; a buffered one can lose the
    // tail at commit and still report success. The explicit sync catches space that runs out late.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(*text) != text->size() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
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
