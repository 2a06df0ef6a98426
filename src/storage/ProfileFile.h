// The settings file as profile strings: read one key, write keys, with every other line kept byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace kazoomba {

// One key to set in one section.
struct ProfileWrite {
    QString section;
    QString key;
    QString value;
};

// Section and key names match without regard to case and the first match wins: a duplicate section or
// key further down is kept but never read or written. Values are read with surrounding blanks removed.
// A line that is not valid UTF-8 (a file written on Windows in its "ANSI" code page) reads as
// Windows-1252, and is kept byte for byte unless one of its keys is written.
// Every write replaces the whole file atomically, so a crash or a full disk leaves either the old file
// or the new one; the rename is made durable with a sync of the folder. Each read-modify-write holds
// a lock file beside the file ("KAZO.INI.writing"), so two programs writing at once never lose each
// other's keys. A write that cannot be made returns false, leaves the file as it was and says why in
// LastError().
class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& Path() const { return path_; }

    // The value of key in section, or `fallback` when the file, section or key is missing or the file
    // cannot be read; either way cut to at most readLimit characters.
    QString ReadString(QStringView section, QStringView key, const QString& fallback, int readLimit) const;

    bool WriteString(const QString& section, const QString& key, const QString& value);
    // Several keys in one replacement of the file, applied in order.
    bool WriteStrings(const std::vector<ProfileWrite>& writes);
    // Writes only the keys the file does not hold yet; a value already there is never replaced.
    bool FillMissing(const std::vector<ProfileWrite>& writes);

    // Why the last write failed, in plain words with the file's path; empty after a write that worked.
    const QString& LastError() const { return lastError_; }
    // Puts back the reason of an earlier failed write, for a caller that made several.
    void KeepError(const QString& reason) { lastError_ = reason; }

    bool Exists() const;
    // Length in bytes of the file, 0 when it is missing or not a plain file.
    qint64 Size() const;

    // The text layer, without the file: what the fuzzer and the tests drive directly.
    static std::optional<QString> Find(const QByteArray& text, QStringView section, QStringView key);
    // The text with the writes applied, or nothing when a section or key name cannot be written.
    static std::optional<QByteArray> Apply(QByteArray text, const std::vector<ProfileWrite>& writes);

    // Files beyond this are not ours: reads give defaults and writes refuse rather than rewrite them.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

private:
    friend class ProfileSnapshot;
    std::optional<QByteArray> Load() const;  // nothing when the file exists but cannot be read
    bool Fail(const QString& reason);
    bool Rewrite(const std::vector<ProfileWrite>& writes, bool onlyMissing);

    QString path_;
    QString lastError_;
};

// The file read once, so that every value a load takes comes from the same moment of it. A file that
// cannot be read gives every key its fallback, as ProfileFile::ReadString does.
class ProfileSnapshot {
public:
    explicit ProfileSnapshot(const ProfileFile& file);
    QString ReadString(QStringView section, QStringView key, const QString& fallback, int readLimit) const;
    bool Has(QStringView section, QStringView key) const;

private:
    QByteArray text_;
};

// A value kept on one line: every line break (CR LF as one) and NUL becomes a blank.
QString OneLine(QStringView value);

// The first `count` characters of text, never splitting a character in two.
QString LeftChars(const QString& text, int count);

// Where the game keeps its settings: KAZO.INI in the user's configuration folder for the game
// ($XDG_CONFIG_HOME/kazoomba, normally ~/.config/kazoomba).
QString SettingsFilePath();

// The lock file a write holds beside the file, how long a write waits for another to finish, and the
// age at which a write lock counts as left behind. A write takes milliseconds; a writer killed after
// creating the lock file but before writing its process number in it leaves an empty file that only
// its age can show to be stale.
QString WriteLockPath(const QString& path);
inline constexpr int kWriteLockWaitMs = 5000;
inline constexpr int kWriteLockStaleMs = 2000;

// Removes what a write cut short by a crash left beside the file ("KAZO.INI" plus a six-character
// suffix), once it is older than `minimumAgeSeconds`, so a second copy of the game writing now is not
// disturbed. Returns how many were removed.
int RemoveStaleTemporaries(const QString& path, qint64 minimumAgeSeconds = 3600);

}  // namespace kazoomba
