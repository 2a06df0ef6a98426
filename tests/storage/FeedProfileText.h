// Arbitrary bytes as the settings file's text: the profile rules must keep their promises on any of them.
// Shared by the text fuzz target, the file fuzz target and the corpus replay.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

#include "ProfileText.h"

namespace kazoomba::testing {

inline bool IsBlankChar(QChar c) { return c == u' ' || c == u'\t'; }

inline QString TrimmedBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlankChar(s[b])) ++b;
    while (e > b && IsBlankChar(s[e - 1])) --e;
    return s.mid(b, e - b);
}

// The text layer alone: a write reads back as written, and leaves every other key's reading as it was.
// `only` picks one of the 20 section and key pairs to write, so a fuzzer can run many inputs a second; -1
// writes each in turn. Returns what went wrong, or an empty text.
inline std::string FeedProfileText(const QByteArray& bytes, int only = -1) {
    // A file read as UTF-16 is written back in UTF-16 byte for byte.
    const std::optional<ProfileText::Decoded> decoded = ProfileText::FromFileBytes(bytes);
    if (!decoded) return {};
    if (ProfileText::ToFileBytes(decoded->text, decoded->encoding) != bytes) return "the file's bytes do not come back";
    const QByteArray& text = decoded->text;
    const QString sections[] = {"Settings", "Current Game", "Saved Game #1", "current game"};
    const QString keys[] = {"Credits", "GameName", "LeftPos", "BannerText", "spins"};
    constexpr int kSections = 4, kKeys = 5;
    const QString value = QString::fromUtf8(text.right(24));
    std::optional<QString> readBefore[kSections][kKeys];
    for (int i = 0; i < kSections; ++i)
        for (int j = 0; j < kKeys; ++j) readBefore[i][j] = ProfileText::Find(text, sections[i], keys[j]);
    for (int pair = 0; pair < kSections * kKeys; ++pair) {
        if (only >= 0 && pair != only % (kSections * kKeys)) continue;
        const QString& section = sections[pair / kKeys];
        const QString& key = keys[pair % kKeys];
        const auto written = ProfileText::Apply(text, {{section, key, value}});
        if (!written) return "a write of a plain name was refused";
        const auto back = ProfileText::Find(*written, section, key);
        const auto again = ProfileText::FromFileBytes(ProfileText::ToFileBytes(*written, decoded->encoding));
        if (!again || again->text != *written) return "a written text does not come back from its file";
        if (!back || *back != TrimmedBlanks(OneLine(value)))
            return "a written value does not read back: " + section.toStdString() + "/" + key.toStdString();
        for (int i = 0; i < kSections; ++i)
            for (int j = 0; j < kKeys; ++j) {
                if (sections[i].compare(section, Qt::CaseInsensitive) == 0 && keys[j].compare(key, Qt::CaseInsensitive) == 0)
                    continue;
                if (ProfileText::Find(*written, sections[i], keys[j]) != readBefore[i][j])
                    return "a write changed another key: " + sections[i].toStdString() + "/" + keys[j].toStdString();
            }
    }
    return {};
}

}  // namespace kazoomba::testing
