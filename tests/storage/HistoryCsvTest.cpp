// The game history as CSV: a header row, an entry a row oldest first, fields quoted where they must be, and
// every number in the C locale's form (this suite runs again under German and French locales).
#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "HistoryCsv.h"
#include "play/PendingMoment.h"
#include "storage/StorageSupport.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

std::vector<HistoryEntry> KnownHistory() {
    std::vector<HistoryEntry> h;
    h.push_back(HistoryEntry{HistoryEntry::Kind::NewGame, 1712345000, {}, {}});
    HistoryEntry doubled;
    doubled.time = 1712345678;
    SpinRecord& r = doubled.spin;
    r.spin = 1204;
    r.coins = 8;
    r.coinValue = 0.25f;
    r.stops = {8, 6, 6, 1, 1, 1, 1, 1, 1};  // FULMINA, Target, Target on line 1: 50 a coin
    r.linePay = PayOfStops(r.stops, false, 0.25f, 2.0f).linePay;
    r.poolGrown = 0.75f;
    r.win = 12.5f;
    r.choice = PayoffsChoice::Double;
    r.boxes = {{2, ThreeX}, {11, FirstTryAgain}};
    r.paid = 37.5f;
    r.credits = 1234.5f;
    h.push_back(doubled);
    HistoryEntry free;
    free.time = 1712345700;
    free.spin.spin = 1205;
    free.spin.bonusSpin = 1;
    free.spin.bonusSet = true;
    free.spin.coins = 8;
    free.spin.stops = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    free.spin.credits = 1234.5f;
    h.push_back(free);
    h.push_back(HistoryEntry{HistoryEntry::Kind::LoadedGame, 1712349000, {}, "Friday, \"late\""});
    return h;
}

}  // namespace

TEST(HistoryCsv, AKnownHistoryIsWrittenWithAHeaderRowAndCLocaleNumbers) {
    const QList<QByteArray> rows = HistoryCsv(KnownHistory()).split('\n');
    ASSERT_EQ(rows.size(), 6);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(rows[i].endsWith('\r')) << "each row ends with CR LF";
    EXPECT_TRUE(rows[5].isEmpty());
    auto fields = [&](int row, int from) {
        // The row without its time (the second field), which is the local time and checked below.
        QList<QByteArray> f = rows[row].chopped(1).split(',');
        return f.mid(from).join(',').toStdString();
    };
    EXPECT_EQ(rows[0].chopped(1), "entry,time,spin,bonus spin,coin value,coins,bet,reels,winning lines,pool grown,"
                                  "pool won,bonus spins won,choice,boxes opened,won,paid,credits,game loaded");
    EXPECT_EQ(fields(1, 2), ",,,,,,,,,,,,,,,");
    EXPECT_EQ(fields(2, 2), "1204,0,0.25,8,2.00,\"Fulmina, Target, Target; Stop, Stop, Stop; Stop, Stop, Stop\","
                            "\"1: Fulmina, Target, Target, 12.50\",0.75,0.00,0,double,2: 3X; 11: Try Again,12.50,"
                            "37.50,1234.50,");
    EXPECT_EQ(fields(3, 2), "1205,1,0.25,8,2.00,\"Stop, Stop, Stop; Stop, Stop, Stop; Stop, Stop, Stop\",,0.00,0.00,0,,,"
                            "0.00,0.00,1234.50,");
    EXPECT_TRUE(rows[4].chopped(1).endsWith(",,,,,,,,,,,,,,,,\"Friday, \"\"late\"\"\"")) << rows[4].toStdString();
    EXPECT_TRUE(rows[1].startsWith("new game,"));
    EXPECT_TRUE(rows[4].startsWith("loaded game,"));

    // Each time is the moment recorded, in local time with its offset from UTC.
    const std::int64_t times[] = {1712345000, 1712345678, 1712345700, 1712349000};
    for (int row = 1; row <= 4; ++row) {
        const QString time = QString::fromLatin1(rows[row].split(',')[1]);
        EXPECT_TRUE(time.contains(QRegularExpression(QStringLiteral("^2024-04-0\\dT\\d\\d:\\d\\d:\\d\\d([+-]\\d\\d:\\d\\d|Z)$"))))
            << time.toStdString();
        EXPECT_EQ(QDateTime::fromString(time, Qt::ISODate).toSecsSinceEpoch(), times[row - 1]) << time.toStdString();
    }
}

TEST(HistoryCsv, AFileThatCannotBeWrittenSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.csv"));
    QString why;
    ASSERT_TRUE(WriteHistoryCsv(path, KnownHistory(), &why)) << why.toStdString();
    EXPECT_EQ(ReadBytes(path), HistoryCsv(KnownHistory()));
    EXPECT_FALSE(WriteHistoryCsv(dir.filePath(QStringLiteral("no/such/folder/history.csv")), KnownHistory(), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("no/such/folder/history.csv"))) << why.toStdString();
}
