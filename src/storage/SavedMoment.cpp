// Writing and reading the moment's keys.
#include "SavedMoment.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <limits>

#include "common/NumberPicture.h"

namespace kazoomba {

namespace {

constexpr const char* kMoney = "######0.00";
constexpr int kListLimit = 64;
constexpr int kMoneyLimit = 48;

constexpr std::array<const char*, 4> kPhaseNames = {"Idle", "Payoffs", "Board", "BonusSpins"};

QString Money(float value) { return QString::fromStdString(FormatPicture(value, kMoney)); }

template <typename T, std::size_t N>
QString List(const std::array<T, N>& values) {
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

std::optional<float> ReadMoney(const QString& text) {
    const double v = LeadingNumber(text.toStdString());
    if (!std::isfinite(v) || v < 0 || v > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(v);
}

}  // namespace

std::vector<ProfileWrite> MomentWrites(const QString& section, const PendingMoment& m) {
    std::array<int, kBoxes> opened{};
    for (int i = 0; i < kBoxes; ++i) opened[i] = m.boxOpened[i] ? 1 : 0;
    return {
        {section, QStringLiteral("Moment"), QString::fromLatin1(kPhaseNames[static_cast<int>(m.phase)])},
        {section, QStringLiteral("Stops"), List(m.stops)},
        {section, QStringLiteral("BonusReels"), QString::number(m.bonusSet ? 1 : 0)},
        {section, QStringLiteral("BonusSpins"), QString::number(m.bonusSpins)},
        {section, QStringLiteral("SpinWin"), Money(m.spinWin)},
        {section, QStringLiteral("LinePays"), List(m.linePay)},
        {section, QStringLiteral("PoolWon"), Money(m.pool)},
        {section, QStringLiteral("PoolBells"), QString::number(m.bells)},
        {section, QStringLiteral("Boxes"), List(m.boxContent)},
        {section, QStringLiteral("BoxesOpened"), List(opened)},
        {section, QStringLiteral("Winnings"), Money(m.winnings)},
    };
}

ReadMoment ReadMomentKeys(const ProfileSnapshot& snapshot, const QString& section) {
    ReadMoment read;
    if (!snapshot.Has(section, u"Moment")) return read;
    auto text = [&](const char* key, int limit) {
        return snapshot.ReadString(section, QString::fromLatin1(key), QString(), limit).trimmed();
    };
    auto unreadable = [&](const char* what) {
        read.unreadable = std::string("its ") + what + " cannot be read";
        return read;
    };

    PendingMoment m;
    const QString phase = text("Moment", kListLimit);
    int p = 0;
    while (p < static_cast<int>(kPhaseNames.size()) && phase != QLatin1String(kPhaseNames[p])) ++p;
    if (p == static_cast<int>(kPhaseNames.size())) return unreadable("kind");
    m.phase = static_cast<MomentPhase>(p);

    const auto stops = ReadList(text("Stops", kListLimit), kCells);
    if (!stops) return unreadable("reel stops");
    for (int c = 0; c < kCells; ++c) {
        if ((*stops)[c] < 0 || (*stops)[c] >= kStops) return unreadable("reel stops");
        m.stops[c] = static_cast<std::int16_t>((*stops)[c]);
    }
    const auto reels = ReadList(text("BonusReels", kListLimit), 1);
    if (!reels || ((*reels)[0] != 0 && (*reels)[0] != 1)) return unreadable("reel set");
    m.bonusSet = (*reels)[0] == 1;
    const auto spins = ReadList(text("BonusSpins", kListLimit), 1);
    if (!spins || (*spins)[0] < -99 || (*spins)[0] > 99) return unreadable("count of bonus spins");
    m.bonusSpins = static_cast<std::int16_t>((*spins)[0]);
    if (m.phase == MomentPhase::Idle || m.phase == MomentPhase::BonusSpins) {
        read.moment = m;
        return read;
    }

    const auto win = ReadMoney(text("SpinWin", kMoneyLimit));
    const auto pool = ReadMoney(text("PoolWon", kMoneyLimit));
    const auto pays = ReadList(text("LinePays", kListLimit), kLines);
    const auto bells = ReadList(text("PoolBells", kListLimit), 1);
    if (!win || !pool || !pays || !bells) return unreadable("win");
    m.spinWin = *win;
    m.pool = *pool;
    for (int i = 0; i < kLines; ++i) {
        if ((*pays)[i] < 0 || (*pays)[i] > std::numeric_limits<std::int16_t>::max()) return unreadable("win");
        m.linePay[i] = static_cast<std::int16_t>((*pays)[i]);
    }
    if ((*bells)[0] < -99 || (*bells)[0] > 99) return unreadable("win");
    m.bells = static_cast<std::int16_t>((*bells)[0]);
    if (m.phase == MomentPhase::Board) {
        const auto boxes = ReadList(text("Boxes", kListLimit), kBoxes);
        const auto opened = ReadList(text("BoxesOpened", kListLimit), kBoxes);
        const auto winnings = ReadMoney(text("Winnings", kMoneyLimit));
        if (!boxes || !opened || !winnings) return unreadable("board");
        for (int i = 0; i < kBoxes; ++i) {
            if ((*opened)[i] != 0 && (*opened)[i] != 1) return unreadable("board");
            m.boxContent[i] = (*boxes)[i];
            m.boxOpened[i] = (*opened)[i] == 1;
        }
        m.winnings = *winnings;
    }
    read.moment = m;
    return read;
}

}  // namespace kazoomba
