// The game history as CSV.
#include "HistoryCsv.h"

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QSaveFile>

#include "play/HistoryText.h"

namespace kazoomba {

namespace {

QByteArray Amount(double value) { return QByteArray::number(value, 'f', 2); }

// A field as RFC 4180 has it: quoted when it holds a comma, a quote or a line break, quotes doubled.
QByteArray Field(QByteArray text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r')) return text;
    text.replace("\"", "\"\"");
    return '"' + text + '"';
}

QByteArray Time(std::int64_t seconds) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(seconds);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toUtf8();
}

QByteArray Named(Symbol code) { return QByteArray::fromStdString(std::string(SymbolName(code))); }

QByteArray Reels(const SpinRecord& r) {
    QList<QByteArray> rows;
    for (int row = 0; row < 3; ++row)
        rows << Named(r.SymbolAt(3 * row)) + ", " + Named(r.SymbolAt(3 * row + 1)) + ", " + Named(r.SymbolAt(3 * row + 2));
    return rows.join("; ");
}

QByteArray Lines(const SpinRecord& r) {
    QList<QByteArray> lines;
    for (int line = 0; line < kLines; ++line) {
        if (r.linePay[line] <= 0) continue;
        const auto& cells = kPayLines[line];
        lines << QByteArray::number(line + 1) + ": " + Named(r.SymbolAt(cells[0])) + ", " + Named(r.SymbolAt(cells[1])) +
                     ", " + Named(r.SymbolAt(cells[2])) + ", " + Amount(r.LineAmount(line));
    }
    return lines.join("; ");
}

QByteArray Boxes(const SpinRecord& r) {
    QList<QByteArray> boxes;
    for (const OpenedBox& b : r.boxes)
        boxes << QByteArray::number(b.box) + ": " + QByteArray::fromStdString(std::string(BoxContentName(b.content)));
    return boxes.join("; ");
}

const char* const kHeader =
    "entry,time,spin,bonus spin,coin value,coins,bet,reels,winning lines,pool grown,pool won,bonus spins won,"
    "choice,boxes opened,won,paid,credits,game loaded";

}  // namespace

QByteArray HistoryCsv(const std::vector<HistoryEntry>& entries) {
    QByteArray out = QByteArray(kHeader) + "\r\n";
    for (const HistoryEntry& e : entries) {
        QList<QByteArray> row;
        if (e.kind == HistoryEntry::Kind::NewGame) {
            row = {"new game", Time(e.time)};
        } else if (e.kind == HistoryEntry::Kind::LoadedGame) {
            row = {"loaded game", Time(e.time)};
            while (row.size() < 17) row << QByteArray();
            row << Field(QByteArray::fromStdString(e.name));
        } else {
            const SpinRecord& r = e.spin;
            static const char* const choices[] = {"", "take", "double"};
            row = {"spin", Time(e.time), QByteArray::number(r.spin), QByteArray::number(r.bonusSpin), Amount(r.coinValue),
                   QByteArray::number(r.coins), Amount(r.Bet()), Field(Reels(r)), Field(Lines(r)), Amount(r.poolGrown),
                   Amount(r.poolWon), r.smileAward ? "3" : "0", choices[static_cast<int>(r.choice)], Field(Boxes(r)),
                   Amount(r.win), Amount(r.paid), Amount(r.credits)};
        }
        while (row.size() < 18) row << QByteArray();
        out += row.join(',') + "\r\n";
    }
    return out;
}

bool WriteHistoryCsv(const QString& path, const std::vector<HistoryEntry>& entries, QString* why) {
    QSaveFile file(path);
    const QByteArray bytes = HistoryCsv(entries);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    if (why) *why = QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

}  // namespace kazoomba
