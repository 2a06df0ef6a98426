// Arbitrary bytes as a settings file: the reader, the writer and LoadGame must keep their promises on any of them.
// Shared by the fuzz targets and the corpus replay of the normal test suite.
#pragma once

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "FeedProfileText.h"
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

// The file and LoadGame: whatever the file holds, the game stays playable, and a game saved over it
// comes back. `folder` is where the bytes are put as KAZO.INI. Returns what went wrong, or an empty text.
inline std::string FeedProfileFile(const QByteArray& text, const QString& folder) {
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

inline std::string FeedProfileBytes(const std::uint8_t* data, std::size_t size, const QString& folder) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::string fault = FeedProfileText(text);
    return fault.empty() ? FeedProfileFile(text, folder) : fault;
}

}  // namespace kazoomba::testing
