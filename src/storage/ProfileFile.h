// The settings file as profile strings: read one key, write keys, with every other line kept byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

#include "ProfileText.h"

namespace kazoomba {

// The file under the profile rules of ProfileText. Every write replaces the whole file atomically, so a
// crash or a full disk leaves either the old file or the new one; the rename is made durable with a sync
// of the folder. Each read-modify-write holds a lock file beside the file ("KAZO.INI.writing"), so two
// programs writing at once never lose each other's keys. A write that cannot be made returns false,
// leaves the file as it was and says why in LastError().
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

    // At start, before the game reads it: why the file cannot be used, with its path, or empty when it
    // can (a missing file can: the first write makes it). A file that cannot be used then stays as it
    // is for the rest of the run, even once it could be read: the game in play did not come from it,
    // and saving it there would replace the player's games.
    QString CheckAtStart();

    bool Exists() const;
    // Length in bytes of the file, 0 when it is missing or not a plain file.
    qint64 Size() const;

    // Files beyond this are not ours: reads give defaults and writes refuse rather than rewrite them.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

private:
    friend class ProfileSnapshot;
    // The file's text; nothing, and why in `why`, when the file exists but cannot be read.
    std::optional<ProfileText::Decoded> Load(QString* why = nullptr) const;
    bool Fail(const QString& reason);
    bool Rewrite(const std::vector<ProfileWrite>& writes, bool onlyMissing);

    QString path_;
    QString lastError_;
    QString frozen_;  // why the file could not be used at start
};

// The file read once, so that every value a load takes comes from the same moment of it. A file that
// cannot be read gives every key its fallback, as ProfileFile::ReadString does.
class ProfileSnapshot {
public:
    explicit ProfileSnapshot(const ProfileFile& file);
    QString ReadString(QStringView section, QStringView key, const QString& fallback, int readLimit) const;
    bool Has(QStringView section, QStringView key) const;
    std::vector<ProfileText::KeyPlace> PlacesOf(QStringView key) const { return ProfileText::PlacesOf(text_, key); }

private:
    QByteArray text_;
};

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

// The temporary file a write fills before it takes the place of the file at `path`: the path, then
// ".kazoomba-write-" and 16 random lowercase hexadecimal digits.
QString TemporaryName(const QString& path);
// Whether `candidate` is a name TemporaryName gives for the file called `fileName`, exactly, letter
// case included.
bool IsTemporaryOf(QStringView fileName, QStringView candidate);

// Writes bytes to a new file beside `path` and renames it into place, as every write of the settings file
// does: the file is at every moment either the old one or the new one, and the new one keeps the old one's
// permissions. Returns 0 or the errno of the step that failed.
int ReplaceFile(const QString& path, const QByteArray& bytes);
// Makes a file created or renamed in the folder survive a power cut.
bool SyncFolder(const QString& folder);
// Why a file or its folder cannot be changed after a step failed with `error`, in words a player can act on.
QString WhyNotWritable(const QString& path, int error);

// Removes the temporaries that writes cut short by a crash left beside the file, once they are older
// than `minimumAgeSeconds`, so a second copy of the game writing now is not disturbed. Any other file,
// however alike its name, is the player's and stays. Returns how many were removed.
int RemoveStaleTemporaries(const QString& path, qint64 minimumAgeSeconds = 3600);

}  // namespace kazoomba
