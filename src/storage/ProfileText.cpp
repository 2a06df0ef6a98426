// The profile rules on text in memory: finding a key and writing keys, every other line kept byte for byte.
#include "ProfileText.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstring>

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

// Whether the line starting at pos, up to its end, is valid UTF-8.
bool LineIsUtf8(const QByteArray& t, qsizetype pos, const Line& line) { return IsUtf8(t, pos, line.contentEnd); }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the name of the line starting at pos is `name`, without regard to case. Names in plain ASCII,
// nearly all of them, are compared byte by byte; any other is decoded as its line reads.
bool NameIs(const QByteArray& t, qsizetype pos, const Line& line, QStringView name) {
    const qsizetype b = line.nameBegin, e = line.nameEnd;
    bool ascii = true;
    for (qsizetype i = b; i < e && ascii; ++i) ascii = static_cast<unsigned char>(t[i]) < 0x80;
    for (QChar c : name) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        if (e - b != name.size()) return false;
        for (qsizetype i = 0; i < name.size(); ++i)
            if (AsciiLower(t[b + i]) != AsciiLower(static_cast<char>(name[i].unicode()))) return false;
        return true;
    }
    return Decode(t, b, e, LineIsUtf8(t, pos, line)).compare(name, Qt::CaseInsensitive) == 0;
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
            if (line.kind == Line::Header && NameIs(t, pos, line, section)) {
                inSection = true;
                insertAt = line.next;
                insertTerminated = line.terminated;
            }
        } else if (inSection && line.kind != Line::Empty) {
            if (line.kind == Line::Entry && NameIs(t, pos, line, key)) {
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

std::optional<QString> ProfileText::Find(const QByteArray& text, QStringView section, QStringView key) {
    bool inSection = false;
    for (qsizetype pos = 0; pos < text.size();) {
        const Line line = ParseLine(text, pos);
        if (line.kind == Line::Header || line.kind == Line::BadHeader) {
            if (inSection) return std::nullopt;  // only the first section of that name counts
            inSection = line.kind == Line::Header && NameIs(text, pos, line, section);
        } else if (inSection && line.kind == Line::Entry) {
            if (NameIs(text, pos, line, key)) return Decode(text, line.valueBegin, line.valueEnd, LineIsUtf8(text, pos, line));
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::vector<ProfileText::KeyPlace> ProfileText::PlacesOf(const QByteArray& text, QStringView key) {
    std::vector<KeyPlace> places;
    QString section;             // null above the first header
    bool firstOfName = true;     // the first section of its name, the one Find reads
    bool keySeen = false;        // this section already set the key
    std::vector<QString> seen;   // the names of the sections so far
    for (qsizetype pos = 0; pos < text.size();) {
        const Line line = ParseLine(text, pos);
        if (line.kind == Line::Header || line.kind == Line::BadHeader) {
            const bool utf8 = LineIsUtf8(text, pos, line);
            section = line.kind == Line::Header ? Decode(text, line.nameBegin, line.nameEnd, utf8)
                                                : Decode(text, pos, line.contentEnd, utf8).trimmed();
            firstOfName = line.kind == Line::Header &&
                          std::none_of(seen.begin(), seen.end(), [&](const QString& name) {
                              return name.compare(section, Qt::CaseInsensitive) == 0;
                          });
            if (line.kind == Line::Header) seen.push_back(section);
            keySeen = false;
        } else if (line.kind == Line::Entry && NameIs(text, pos, line, key)) {
            places.push_back({section, Decode(text, line.valueBegin, line.valueEnd, LineIsUtf8(text, pos, line)),
                              !section.isNull() && firstOfName && !keySeen});
            keySeen = true;
        }
        pos = line.next;
    }
    return places;
}

std::optional<QByteArray> ProfileText::Apply(QByteArray text, const std::vector<ProfileWrite>& writes) {
    for (const ProfileWrite& w : writes)
        if (!Writable(w.section, false) || !Writable(w.key, true)) return std::nullopt;
    for (const ProfileWrite& w : writes) ApplyOne(text, w.section, w.key, OneLine(w.value).toUtf8());
    return text;
}

namespace {

constexpr char kLittleEndianMark[] = "\xFF\xFE";
constexpr char kBigEndianMark[] = "\xFE\xFF";

}  // namespace

std::optional<ProfileText::Decoded> ProfileText::FromFileBytes(const QByteArray& bytes) {
    Encoding encoding = Encoding::Bytes;
    if (bytes.startsWith(kLittleEndianMark))
        encoding = Encoding::Utf16LE;
    else if (bytes.startsWith(kBigEndianMark))
        encoding = Encoding::Utf16BE;
    else
        return Decoded{bytes, Encoding::Bytes};
    if (bytes.size() % 2 != 0) return std::nullopt;
    const bool little = encoding == Encoding::Utf16LE;
    QString text(bytes.size() / 2 - 1, Qt::Uninitialized);
    for (qsizetype i = 2, n = 0; i < bytes.size(); i += 2, ++n) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        text[n] = QChar(static_cast<char16_t>(little ? a | b << 8 : a << 8 | b));
    }
    if (!QStringView(text).isValidUtf16()) return std::nullopt;
    return Decoded{text.toUtf8(), encoding};
}

QByteArray ProfileText::ToFileBytes(const QByteArray& text, Encoding encoding) {
    if (encoding == Encoding::Bytes) return text;
    const bool little = encoding == Encoding::Utf16LE;
    // The decoder keeps a mark at the start of the text, which QString::fromUtf8 would drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString wide = decoder.decode(text);
    QByteArray bytes(little ? kLittleEndianMark : kBigEndianMark, 2);
    bytes.reserve(2 + wide.size() * 2);
    for (QChar c : wide) {
        const char16_t u = c.unicode();
        const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
        bytes += little ? low : high;
        bytes += little ? high : low;
    }
    return bytes;
}

}  // namespace kazoomba
