// The profile rules on the settings file's text in memory, without the file: the layer that is fuzzed.
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
class ProfileText {
public:
    // The value of key in section, or nothing when the section or key is missing.
    static std::optional<QString> Find(const QByteArray& text, QStringView section, QStringView key);
    // Every line that sets `key`, in file order, under whatever section it stands: `section` is the
    // header's name (null above the first header), `read` whether Find would take this line.
    struct KeyPlace {
        QString section;
        QString value;
        bool read = false;
    };
    static std::vector<KeyPlace> PlacesOf(const QByteArray& text, QStringView key);
    // The text with the writes applied in order, or nothing when a section or key name cannot be written.
    static std::optional<QByteArray> Apply(QByteArray text, const std::vector<ProfileWrite>& writes);

    // How a file's bytes hold its text. A file that begins with a UTF-16 byte-order mark (Windows Notepad's
    // "Unicode") is UTF-16; any other is taken byte for byte, as UTF-8 with lines in Windows-1252.
    enum class Encoding { Bytes, Utf16LE, Utf16BE };
    struct Decoded {
        QByteArray text;  // what Find and Apply work on; UTF-8 for a UTF-16 file, its mark left off
        Encoding encoding = Encoding::Bytes;
    };
    // The text of a file's bytes, or nothing when they start as UTF-16 but do not hold whole characters
    // (an odd length, a lone surrogate): such a file would not come back byte for byte once written.
    static std::optional<Decoded> FromFileBytes(const QByteArray& bytes);
    // The bytes of the file for text in the encoding it was read in, byte-order mark included.
    static QByteArray ToFileBytes(const QByteArray& text, Encoding encoding);
};

// A value kept on one line: every line break (CR LF as one) and NUL becomes a blank.
QString OneLine(QStringView value);

// The first `count` characters of text, never splitting a character in two.
QString LeftChars(const QString& text, int count);

}  // namespace kazoomba
