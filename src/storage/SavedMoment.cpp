// Writing and reading the moment's keys.
#include "SavedMoment.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <limits>

#include "StoredNumber.h"
#include "common/NumberPicture.h"

namespace kazoomba {

namespace {

constexpr const char* kMoney = "######0.00";
constexpr int kListLimit = 64;
constexpr int kMoneyLimit = 48;

constexpr std::array<const char*, 5> kPhaseNames = {"Idle", "Payoffs", "Board", "BonusSpins", "Reels"};

QString MoneyText(float value) { return QString::fromStdString(FormatPicture(value, kMoney)); }

template <typename T, std::size_t N>
QString ListText(const std::array<T, N>& values) {
    QStringList parts;
    for (const T& v : values) parts << QString::number(static_cast<int>(v));
    return parts.join(u',');
}

// Whole numbers separated by commas, exactly `count` of them.
std::optional<std::vector<int>> ReadList(const QString& text, int count) {
    const QStringList parts = text.split(u',');
    if (parts.size() != count) return std::nullopt;
    std::vector<int> out;
    for (const QString& part : parts) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
        out.push_back(v);
    }
    return out;
}

// An amount as the game writes it, or why the text is none.
std::optional<float> ReadMoney(const QString& text, QString* why) {
    const std::optional<double> v = NumberAsWritten(text);
    if (!v) *why = WhyNotANumber(text);
    else if (*v < 0) *why = QStringLiteral("is below zero");
    else if (!std::isfinite(*v) || *v > std::numeric_limits<float>::max()) *why = QStringLiteral("is too large");
    else return static_cast<float>(*v);
    return std::nullopt;
}

}  // namespace

std::vector<ProfileWrite> MomentWrites(const QString& section, const PendingMoment& m) {
    std::array<int, kBoxes> opened{};
    for (int i = 0; i < kBoxes; ++i) opened[i] = m.boxOpened[i] ? 1 : 0;
    return {
        {section, QStringLiteral("Moment"), QString::fromLatin1(kPhaseNames[static_cast<int>(m.phase)])},
        {section, QStringLiteral("Stops"), ListText(m.stops)},
        {section, QStringLiteral("BonusReels"), QString::number(m.bonusSet ? 1 : 0)},
        {section, QStringLiteral("BonusSpins"), QString::number(m.bonusSpins)},
        {section, QStringLiteral("SpinWin"), MoneyText(m.spinWin)},
        {section, QStringLiteral("LinePays"), ListText(m.linePay)},
        {section, QStringLiteral("PoolWon"), MoneyText(m.pool)},
        {section, QStringLiteral("PoolBells"), QString::number(m.bells)},
        {section, QStringLiteral("Boxes"), ListText(m.boxContent)},
        {section, QStringLiteral("BoxesOpened"), ListText(opened)},
        {section, QStringLiteral("Winnings"), MoneyText(m.winnings)},
    };
}

ReadMoment ReadMomentKeys(const ProfileSnapshot& snapshot, const QString& section) {
    ReadMoment read;
    if (!snapshot.Has(section, u"Moment")) return read;
    auto text = [&](const char* key, int limit) {
        return snapshot.ReadString(section, QString::fromLatin1(key), QString(), limit).trimmed();
    };
    // Each refusal names the key and the text that caused it, so the player can find the line.
    auto refuse = [&](const char* what, const char* key, const QString& why) {
        read.unreadable = QStringLiteral("its %1 cannot be read (%2 %3 %4)")
                              .arg(QLatin1String(what), QLatin1String(key), Quoted(text(key, kListLimit)), why)
                              .toStdString();
        return read;
    };
    auto notCount = [](int count) {
        return count == 1 ? QStringLiteral("is not a whole number")
                          : QStringLiteral("is not %1 whole numbers separated by commas").arg(count);
    };

    PendingMoment m;
    const QString phase = text("Moment", kListLimit);
    int p = 0;
    while (p < static_cast<int>(kPhaseNames.size()) && phase != QLatin1String(kPhaseNames[p])) ++p;
    if (p == static_cast<int>(kPhaseNames.size())) return refuse("kind", "Moment", QStringLiteral("is no kind the game writes"));
    m.phase = static_cast<MomentPhase>(p);

    const auto stops = ReadList(text("Stops", kListLimit), kCells);
    if (!stops) return refuse("reel stops", "Stops", notCount(kCells));
    for (int c = 0; c < kCells; ++c) {
        if ((*stops)[c] < 0 || (*stops)[c] >= kStops)
            return refuse("reel stops", "Stops", QStringLiteral("has a stop that is not on its strip"));
        m.stops[c] = static_cast<std::int16_t>((*stops)[c]);
    }
    const auto reels = ReadList(text("BonusReels", kListLimit), 1);
    if (!reels || ((*reels)[0] != 0 && (*reels)[0] != 1))
        return refuse("reel set", "BonusReels", QStringLiteral("is neither 0 nor 1"));
    m.bonusSet = (*reels)[0] == 1;
    const auto spins = ReadList(text("BonusSpins", kListLimit), 1);
    if (!spins) return refuse("count of bonus spins", "BonusSpins", notCount(1));
    if ((*spins)[0] < 0) return refuse("count of bonus spins", "BonusSpins", QStringLiteral("is below zero"));
    if ((*spins)[0] > 99) return refuse("count of bonus spins", "BonusSpins", QStringLiteral("is too large"));
    m.bonusSpins = static_cast<std::int16_t>((*spins)[0]);
    if (m.phase == MomentPhase::Idle || m.phase == MomentPhase::BonusSpins || m.phase == MomentPhase::Reels) {
        read.moment = m;
        return read;
    }

    QString why;
    const auto win = ReadMoney(text("SpinWin", kMoneyLimit), &why);
    if (!win) return refuse("win", "SpinWin", why);
    const auto pool = ReadMoney(text("PoolWon", kMoneyLimit), &why);
    if (!pool) return refuse("win", "PoolWon", why);
    const auto pays = ReadList(text("LinePays", kListLimit), kLines);
    if (!pays) return refuse("win", "LinePays", notCount(kLines));
    const auto bells = ReadList(text("PoolBells", kListLimit), 1);
    if (!bells) return refuse("win", "PoolBells", notCount(1));
    m.spinWin = *win;
    m.pool = *pool;
    for (int i = 0; i < kLines; ++i) {
        if ((*pays)[i] < 0 || (*pays)[i] > std::numeric_limits<std::int16_t>::max())
            return refuse("win", "LinePays", QStringLiteral("has a pay below zero or too large"));
        m.linePay[i] = static_cast<std::int16_t>((*pays)[i]);
    }
    if ((*bells)[0] < -99 || (*bells)[0] > 99) return refuse("win", "PoolBells", QStringLiteral("is out of range"));
    m.bells = static_cast<std::int16_t>((*bells)[0]);
    if (m.phase == MomentPhase::Board) {
        const auto boxes = ReadList(text("Boxes", kListLimit), kBoxes);
        if (!boxes) return refuse("board", "Boxes", notCount(kBoxes));
        const auto opened = ReadList(text("BoxesOpened", kListLimit), kBoxes);
        if (!opened) return refuse("board", "BoxesOpened", notCount(kBoxes));
        const auto winnings = ReadMoney(text("Winnings", kMoneyLimit), &why);
        if (!winnings) return refuse("board", "Winnings", why);
        for (int i = 0; i < kBoxes; ++i) {
            if ((*opened)[i] != 0 && (*opened)[i] != 1)
                return refuse("board", "BoxesOpened", QStringLiteral("has a value other than 0 and 1"));
            m.boxContent[i] = (*boxes)[i];
            m.boxOpened[i] = (*opened)[i] == 1;
        }
        m.winnings = *winnings;
    }
    read.moment = m;
    return read;
}

}  // namespace kazoomba
