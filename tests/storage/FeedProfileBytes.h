// Arbitrary bytes as a settings file: the reader, the writer and LoadGame must keep their promises on any of them.
// Shared by the fuzz target and the corpus replay of the normal test suite.
#pragma once

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "ProfileFile.h"
#include "SavedGames.h"
#include "support/Scripted.h"

namespace kazoomba::testing {

struct SilentMenus : MenuSelections {
    int speed = 1, banner = 0;
    int SpeedIndex() const override { return speed; }
    int BannerIndex() const override { return banner; }
    void SetSpinSpeed(int index) override { speed = index; }
    void SetBanner(int index) override { banner = index; }
};

inline bool IsBlankChar(QChar c) { return c == u' ' || c == u'\t'; }

inline QString TrimmedBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlankChar(s[b])) ++b;
    while (e > b && IsBlankChar(s[e - 1])) --e;
    return s.mid(b, e - b);
}

// Returns what went wrong, or an empty text. `folder` is where the bytes are put as KAZO.INI.
inline std::string FeedProfileBytes(const std::uint8_t* data, std::size_t size, const QString& folder) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString sections[] = {"Settings", "Current Game", "Saved Game #1", "current game"};
    const QString keys[] = {"Credits", "GameName", "LeftPos", "BannerText", "spins"};

    // The text layer: a write reads back as written, and leaves every other key's reading as it was.
    const QString value = QString::fromUtf8(text.right(24));
    std::optional<QString> readBefore[4][5];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 5; ++j) readBefore[i][j] = ProfileFile::Find(text, sections[i], keys[j]);
    for (const QString& section : sections) {
        for (const QString& key : keys) {
            const auto written = ProfileFile::Apply(text, {{section, key, value}});
            if (!written) return "a write of a plain name was refused";
            const auto back = ProfileFile::Find(*written, section, key);
            if (!back || *back != TrimmedBlanks(OneLine(value)))
                return "a written value does not read back: " + section.toStdString() + "/" + key.toStdString();
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 5; ++j) {
                    if (sections[i].compare(section, Qt::CaseInsensitive) == 0 &&
                        keys[j].compare(key, Qt::CaseInsensitive) == 0)
                        continue;
                    if (ProfileFile::Find(*written, sections[i], keys[j]) != readBefore[i][j])
                        return "a write changed another key: " + sections[i].toStdString() + "/" + keys[j].toStdString();
                }
        }
    }

    // The file and LoadGame: whatever the file holds, the game stays playable.
    const QString path = QDir(folder).filePath(QStringLiteral("KAZO.INI"));
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size())
            return "cannot write the input file";
    }
    ProfileFile file(path);
    Table table;
    SilentMenus menus;
    for (int slot : {kCurrentGameSlot, 0}) {
        LoadGame(file, table.game, menus, slot);
        const GameState& s = table.game.State();
        for (float v : {s.Credits, s.BonusPool, s.TotalWagers, s.DoubleNothing, s.CherryPts, s.PoolPts, s.BarPts,
                        s.Borrowed, s.LastBet})
            if (!std::isfinite(v)) return "a loaded amount is not finite";
        if (s.Credits < 0 || s.BonusPool < 0 || s.TotalWagers < 0 || s.Borrowed < 0 || s.LastBet < 0 || s.Spins < 0)
            return "a loaded amount is negative";
        if (s.LastBet > s.MaxBet + 0.001f) return "the loaded last bet is above the maximum";
        if (s.CoinIndex < 0 || s.CoinIndex > 4 || menus.speed < 0 || menus.speed > 3 || menus.banner < 0 ||
            menus.banner > 1 || s.Smiles < 1 || s.Smiles > 6 || s.Bells < 1 || s.Bells > 3)
            return "a loaded index or counter is out of range";
    }
    for (int k = 0; k < 16; ++k) ReadGameName(file, k % 10);
    ReadBannerText(file);
    ReadWindowPosition(file, QSize(1024, 768), QSize(617, 500));

    // A game saved over that file comes back as saved, and nothing else in the file changes.
    const GameState before = table.game.State();
    if (SaveGame(file, table.game, menus, 3, QStringLiteral("Fuzz"))) {
        Table again;
        SilentMenus againMenus;
        LoadGame(file, again.game, againMenus, 3);
        const GameState& a = again.game.State();
        if (a.Spins != before.Spins || a.CoinIndex != before.CoinIndex || againMenus.speed != menus.speed ||
            againMenus.banner != menus.banner || a.Smiles != before.Smiles || a.Bells != before.Bells)
            return "a saved game does not load back";
        if (std::fabs(a.Credits - before.Credits) > 0.005f + std::fabs(before.Credits) * 1e-6f)
            return "saved credits do not load back";
    }
    return {};
}

}  // namespace kazoomba::testing
