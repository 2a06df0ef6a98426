// Saving and loading games, and the "Settings" keys, through the profile file.
#include "SavedGames.h"

#include <QList>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "SavedMoment.h"
#include "StoredNumber.h"
#include "QtText.h"
#include "common/NumberPicture.h"

namespace kazoomba {

namespace {

const QString kSettings = QStringLiteral("Settings");

// The keys of a game section in the order they are written and read.
enum KeyId { Name, Credits, BonusPool, TotalWagers, DoubleNothing, CherryPts, PoolPts, BarPts, Borrowed, Spins,
           LastBet, Smiles, Bells, Coins, Speed, BannerOn, KeyCount };

struct KeySpec {
    const char* key;
    const char* picture;
    int readLimit;
    const char* fresh;  // the value in a fresh slot; GameName's is "Game #n"
};

// Dollar fields and Spins are read wider than the 10 and 6 characters the file format started with:
// a game past $9,999,999.99 or 999,999 spins wrote more digits than came back. Values that fitted the
// old limits read exactly as before. The wider limit covers every finite 32-bit float in its picture.
constexpr int kMoneyReadLimit = 48;
constexpr int kSpinsReadLimit = 11;

constexpr std::array<KeySpec, KeyCount> kKeys = {{
    {"GameName", nullptr, kGameNameLength, nullptr},
    {"Credits", "######0.00", kMoneyReadLimit, "1000"},
    {"BonusPool", "######0.00", kMoneyReadLimit, "0"},
    {"TotalWagers", "######0.00", kMoneyReadLimit, "0"},
    {"DoubleNothing", "######0.00", kMoneyReadLimit, "0"},
    {"CherryPts", "######0.00", kMoneyReadLimit, "0"},
    {"PoolPts", "######0.00", kMoneyReadLimit, "0"},
    {"BarPts", "######0.00", kMoneyReadLimit, "0"},
    {"Borrowed", "#########0", kMoneyReadLimit, "1000"},
    {"Spins", "#####0", kSpinsReadLimit, "0"},
    {"LastBet", "#0.00", 5, "0"},
    {"Smiles", "0", 1, "6"},
    {"Bells", "0", 1, "3"},
    {"Coins", "0", 1, "2"},
    {"Speed", "0", 1, "1"},
    {"BannerOn", "0", 1, "0"},
}};

constexpr qint64 kSlotsPresentSize = 750;
constexpr int kSpeedCount = 4;
constexpr int kBannerItems = 2;
constexpr std::int16_t kFullSmiles = 6;
constexpr std::int16_t kFullBells = 3;

QString Key(int k) { return QString::fromLatin1(kKeys[k].key); }

QString Picture(double value, int k) {
    return QString::fromStdString(FormatPicture(value, kKeys[k].picture));
}

// A dollar amount that a float holds; negative only where the game can go below zero.
std::optional<float> Money(const QString& text, bool mayBeNegative) {
    const double v = LeadingNumber(text.toStdString());
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) return std::nullopt;
    if (v < 0 && !mayBeNegative) return std::nullopt;
    return static_cast<float>(v);
}

std::optional<std::int32_t> Whole(const QString& text, double low, double high) {
    const double v = LeadingNumber(text.toStdString());
    if (!std::isfinite(v) || v < low - 0.5 || v > high + 0.5) return std::nullopt;
    const std::int32_t whole = RoundHalfEven(v);
    if (whole < low || whole > high) return std::nullopt;
    return whole;
}

}  // namespace

QString SectionName(int slotIndex) {
    if (slotIndex == kCurrentGameSlot) return QStringLiteral("Current Game");
    if (slotIndex < 0 || slotIndex >= kSlotCount) return {};
    return QStringLiteral("Saved Game #%1").arg(slotIndex + 1);
}

QString DefaultGameName(int slotIndex) { return QStringLiteral("Game #%1").arg(slotIndex + 1); }

bool EnsureSettingsFile(ProfileFile& file) {
    if (file.Exists() && file.Size() >= kSlotsPresentSize) return true;
    std::vector<ProfileWrite> writes;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const QString section = SectionName(slot);
        writes.push_back({section, Key(Name), DefaultGameName(slot)});
        for (int k = Credits; k < KeyCount; ++k) writes.push_back({section, Key(k), QString::fromLatin1(kKeys[k].fresh)});
    }
    return file.FillMissing(writes);
}

bool SaveGame(ProfileFile& file, const Game& game, const MenuSelections& menus, int slotIndex,
              const QString& name) {
    const std::vector<ProfileWrite> writes = GameWrites(game, menus, slotIndex, name);
    return !writes.empty() && file.WriteStrings(writes);
}

std::vector<ProfileWrite> GameWrites(const Game& game, const MenuSelections& menus, int slotIndex,
                                     const QString& name) {
    const QString section = SectionName(slotIndex);
    if (section.isEmpty()) return {};
    const GameState& s = game.State();
    // Line breaks would split the file's line; the name is made one line before it is cut and padded.
    QString fixedName = LeftChars(OneLine(name), kGameNameLength);
    fixedName += QString(kGameNameLength - fixedName.toUcs4().size(), u' ');

    // Coins on the lines between spins go back to the bank in the saved game; a spin in play keeps its stake.
    const float placed = s.SpinReady ? s.Wager : 0.0f;
    std::array<QString, KeyCount> values;
    values[Name] = fixedName;
    values[Credits] = Picture(static_cast<double>(s.Credits) + placed, Credits);
    values[BonusPool] = Picture(s.BonusPool, BonusPool);
    values[TotalWagers] = Picture(std::max(0.0, static_cast<double>(s.TotalWagers) - placed), TotalWagers);
    values[DoubleNothing] = Picture(s.DoubleNothing, DoubleNothing);
    values[CherryPts] = Picture(s.CherryPts, CherryPts);
    values[PoolPts] = Picture(s.PoolPts, PoolPts);
    values[BarPts] = Picture(s.BarPts, BarPts);
    values[Borrowed] = Picture(s.Borrowed, Borrowed);
    values[Spins] = Picture(s.Spins, Spins);
    values[LastBet] = Picture(s.LastBet, LastBet);
    values[Smiles] = Picture(s.Smiles, Smiles);
    values[Bells] = Picture(s.Bells, Bells);
    values[Coins] = QString::number(s.CoinIndex);
    values[Speed] = QString::number(menus.SpeedIndex());
    values[BannerOn] = QString::number(menus.BannerIndex());

    std::vector<ProfileWrite> writes;
    for (int k = 0; k < KeyCount; ++k) writes.push_back({section, Key(k), values[k]});
    // The game in play carries the moment of its spin, in the same replacement of the file.
    if (slotIndex == kCurrentGameSlot)
        for (ProfileWrite& w : MomentWrites(section, game.Moment())) writes.push_back(std::move(w));
    return writes;
}

QString LoadGame(const ProfileFile& file, Game& game, MenuSelections& menus, int slotIndex, QStringList* unreadable) {
    const QString section = SectionName(slotIndex);
    if (section.isEmpty()) return {};
    const GameState& now = game.State();

    // Everything is read and checked before anything changes.
    std::array<QString, KeyCount> text;
    std::array<QString, KeyCount> fallback;
    fallback[Name] = QString();
    fallback[Credits] = Picture(now.Credits, Credits);
    fallback[BonusPool] = Picture(now.BonusPool, BonusPool);
    fallback[TotalWagers] = Picture(now.TotalWagers, TotalWagers);
    fallback[DoubleNothing] = Picture(now.DoubleNothing, DoubleNothing);
    fallback[CherryPts] = Picture(now.CherryPts, CherryPts);
    fallback[PoolPts] = Picture(now.PoolPts, PoolPts);
    fallback[BarPts] = Picture(now.BarPts, BarPts);
    fallback[Borrowed] = Picture(now.Borrowed, Borrowed);
    fallback[Spins] = Picture(now.Spins, Spins);
    fallback[LastBet] = Picture(now.LastBet, LastBet);
    fallback[Smiles] = QStringLiteral("6");
    fallback[Bells] = Picture(now.Bells, Bells);
    fallback[Coins] = QStringLiteral("2");
    fallback[Speed] = QStringLiteral("1");
    fallback[BannerOn] = QStringLiteral("0");
    // One reading of the file: every value comes from the same moment of it.
    const ProfileSnapshot snapshot(file);
    // Each value also whole, uncut, to tell a value the game cannot take as it stands.
    std::array<QString, KeyCount> full;
    std::array<bool, KeyCount> present{};
    for (int k = 0; k < KeyCount; ++k) {
        text[k] = snapshot.ReadString(section, Key(k), fallback[k], kKeys[k].readLimit);
        present[k] = snapshot.Has(section, Key(k));
        if (present[k]) full[k] = snapshot.ReadString(section, Key(k), QString(), std::numeric_limits<int>::max());
    }
    QStringList notes;
    auto note = [&](KeyId k, const QString& why, const QString& used) {
        notes << QStringLiteral("%1 %2 %3; %4 used instead").arg(Key(k), Quoted(full[k]), why, used);
    };

    // A value the game could not have written falls back as a missing key does, and is told.
    auto money = [&](KeyId k, bool mayBeNegative) {
        float v = 0.0f;
        if (auto read = Money(text[k], mayBeNegative)) v = *read;
        else if (auto kept = Money(fallback[k], mayBeNegative)) v = *kept;
        if (!present[k]) return v;
        QString why;
        const std::optional<double> exact = NumberAsWritten(full[k]);
        if (!exact) why = WhyNotANumber(full[k]);
        else if (!std::isfinite(*exact) || std::fabs(*exact) > std::numeric_limits<float>::max())
            why = QStringLiteral("is too large");
        else if (*exact < 0 && !mayBeNegative) why = QStringLiteral("is below zero");
        else if (static_cast<float>(*exact) != v)
            why = QStringLiteral("is longer than the %1 characters the game reads").arg(kKeys[k].readLimit);
        if (!why.isEmpty()) note(k, why, Picture(v, k));
        return v;
    };
    auto whole = [&](KeyId k, int low, int high, int last) {
        std::int32_t v = last;
        if (auto read = Whole(text[k], low, high)) v = *read;
        else if (auto kept = Whole(fallback[k], low, high)) v = *kept;
        if (!present[k]) return v;
        QString why;
        const std::optional<double> exact = NumberAsWritten(full[k]);
        constexpr int kSmallRange = 100;
        if (!exact) why = WhyNotANumber(full[k]);
        else if (!Whole(full[k], low, high))
            why = high < kSmallRange ? QStringLiteral("is not between %1 and %2").arg(low).arg(high)
                  : *exact < low     ? QStringLiteral("is below zero")
                                     : QStringLiteral("is too large");
        else if (*Whole(full[k], low, high) != v)
            why = QStringLiteral("is longer than the %1 characters the game reads").arg(kKeys[k].readLimit);
        if (!why.isEmpty()) note(k, why, QString::number(v));
        return v;
    };
    GameState loaded = now;
    loaded.Credits = money(Credits, false);
    loaded.TotalWagers = money(TotalWagers, false);
    loaded.BonusPool = money(BonusPool, false);
    loaded.Spins = whole(Spins, 0, std::numeric_limits<std::int32_t>::max(), 0);
    loaded.CoinIndex = whole(Coins, 0, static_cast<int>(kCoinChoices.size()) - 1, kDefaultCoinIndex);
    const int speed = whole(Speed, 0, kSpeedCount - 1, 1);
    const int banner = whole(BannerOn, 0, kBannerItems - 1, 0);
    loaded.Smiles = static_cast<std::int16_t>(whole(Smiles, 1, kFullSmiles, kFullSmiles));
    loaded.Bells = static_cast<std::int16_t>(whole(Bells, 1, kFullBells, kFullBells));
    loaded.CherryPts = money(CherryPts, false);
    loaded.BarPts = money(BarPts, true);
    loaded.PoolPts = money(PoolPts, false);
    loaded.DoubleNothing = money(DoubleNothing, true);
    loaded.Borrowed = money(Borrowed, false);
    const qsizetype lastBetNotes = notes.size();
    loaded.LastBet = money(LastBet, false);
    // A repeated bet above the coin's maximum would put more than 64 coins on the lines.
    if (loaded.LastBet > kCoinChoices[loaded.CoinIndex].maxBet + 0.001f) {
        loaded.LastBet = 0.0f;
        if (present[LastBet] && notes.size() == lastBetNotes)
            note(LastBet, QStringLiteral("is more than the largest bet at the coin value"), Picture(0, LastBet));
    }
    loaded.CoinValue = kCoinChoices[loaded.CoinIndex].value;
    loaded.MaxBet = kCoinChoices[loaded.CoinIndex].maxBet;

    // The moment is checked against the game read with it; one that cannot be true is left out.
    const ReadMoment moment = ReadMomentKeys(snapshot, section);
    std::string refused = moment.unreadable;
    if (moment.moment && refused.empty()) refused = CheckPendingMoment(*moment.moment, loaded);

    game.Restore(loaded);
    // A game loaded from a slot begins anew in the history; the game brought back at start goes on.
    if (slotIndex != kCurrentGameSlot) game.NoteGameLoaded(text[Name].trimmed().toStdString());
    menus.SetSpinSpeed(speed);
    menus.SetBanner(banner);
    if (!refused.empty()) game.RefuseMoment(refused);
    else if (moment.moment) game.RestoreMoment(*moment.moment);
    // The game keeps the spin in play only under its own section; one found anywhere else is never
    // brought back (it may be a copy of one long settled), but the player must not lose it unawares.
    if (slotIndex == kCurrentGameSlot)
        for (const ProfileText::KeyPlace& place : snapshot.PlacesOf(u"Moment"))
            if (!place.read || place.section.compare(section, Qt::CaseInsensitive) != 0)
                notes << QStringLiteral("Moment %1 %2, where the game never looks for the spin in play; that spin "
                                        "was not brought back")
                             .arg(Quoted(place.value),
                                  place.section.isNull()
                                      ? QStringLiteral("is above the first section")
                                      : place.read ? QStringLiteral("is in section [%1]").arg(place.section)
                                                   : QStringLiteral("is in a second section [%1] or repeated in it")
                                                         .arg(place.section));
    if (unreadable) *unreadable = notes;
    return text[Name];
}

QString ReadGameName(const ProfileFile& file, int slotIndex) {
    return file.ReadString(SectionName(slotIndex), Key(Name), DefaultGameName(slotIndex), kGameNameLength).trimmed();
}

QString DefaultBannerText() {
    return ToQString(kWelcomeBanner);
}

QString ReadBannerText(const ProfileFile& file) {
    return file.ReadString(kSettings, QStringLiteral("BannerText"), DefaultBannerText(), 254);
}

bool WriteBannerText(ProfileFile& file, const QString& text) {
    return file.WriteString(kSettings, QStringLiteral("BannerText"), OneLine(text));
}

namespace {

int StartEdge(std::string_view text, int screen, int window) {
    const int centred = (screen - window) / 2;
    const double twips = LeadingNumber(text);
    if (!std::isfinite(twips) || twips >= static_cast<double>(screen) * kTwipsPerPixel) return centred;
    const double pixels = twips / kTwipsPerPixel;
    // A window wholly off the near side (a monitor since unplugged) would be out of reach.
    if (pixels + window <= 0) return centred;
    return RoundHalfEven(pixels);
}

}  // namespace

QPoint StartWindowPosition(std::string_view leftText, std::string_view topText, QSize screen, QSize window) {
    return {StartEdge(leftText, screen.width(), window.width()), StartEdge(topText, screen.height(), window.height())};
}

QPoint ReadWindowPosition(const ProfileFile& file, QSize screen, QSize window) {
    const QString left = file.ReadString(kSettings, QStringLiteral("LeftPos"),
                                         QString::number((screen.width() - window.width()) / 2 * kTwipsPerPixel), 9);
    const QString top = file.ReadString(kSettings, QStringLiteral("TopPos"),
                                        QString::number((screen.height() - window.height()) / 2 * kTwipsPerPixel), 9);
    return StartWindowPosition(left.toStdString(), top.toStdString(), screen, window);
}

bool ExitWritesPosition(QPoint position, QSize screen) {
    return position.x() < screen.width() && position.y() < screen.height();
}

bool WriteWindowPosition(ProfileFile& file, QPoint position, QSize screen) {
    if (!ExitWritesPosition(position, screen)) return false;
    return file.WriteStrings({{kSettings, QStringLiteral("LeftPos"), QString::number(position.x() * kTwipsPerPixel)},
                              {kSettings, QStringLiteral("TopPos"), QString::number(position.y() * kTwipsPerPixel)}});
}

QPoint RestoreAtStart(ProfileFile& file, Game& game, MenuSelections& menus, QSize screen, QSize window,
                      QStringList* unreadable) {
    LoadGame(file, game, menus, kCurrentGameSlot, unreadable);
    return ReadWindowPosition(file, screen, window);
}

bool SaveCurrentGame(ProfileFile& file, const Game& game, const MenuSelections& menus) {
    return file.WriteStrings(CurrentGameWrites(game, menus));
}

std::vector<ProfileWrite> CurrentGameWrites(const Game& game, const MenuSelections& menus) {
    return GameWrites(game, menus, kCurrentGameSlot, ToQString(kCurrentGameName));
}

bool SaveAtExit(ProfileFile& file, const Game& game, const MenuSelections& menus, std::optional<QPoint> position,
                QSize screen) {
    // Every write is tried; a failure is reported even when a later write works.
    QString firstError;
    auto step = [&](bool ok) {
        if (!ok && firstError.isEmpty()) firstError = file.LastError();
        return ok;
    };
    bool ok = !position || !ExitWritesPosition(*position, screen) || step(WriteWindowPosition(file, *position, screen));
    ok = step(EnsureSettingsFile(file)) && ok;
    ok = step(SaveCurrentGame(file, game, menus)) && ok;
    if (!ok && file.LastError().isEmpty()) file.KeepError(firstError);
    return ok;
}

bool PlatformReportsWindowPosition(QStringView platformName) {
    return !platformName.startsWith(u"wayland", Qt::CaseInsensitive);
}

}  // namespace kazoomba
