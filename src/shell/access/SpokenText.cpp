// Symbols, reels and results in words.
#include "access/SpokenText.h"

#include <QStringList>
#include <array>

#include "common/NumberPicture.h"
#include "play/HistoryText.h"

namespace kazoomba::ui {

QString SymbolWords(Symbol code) {
    const std::string_view name = SymbolName(code);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString MoneyWords(double dollars) { return QString::fromStdString(FormatPicture(dollars, "$#,##0.00")); }

QString ReelsInWords(const Wheels& wheels) {
    std::array<Symbol, kCells> symbols{};
    for (int cell = 0; cell < kCells; ++cell) symbols[cell] = wheels.SymbolAt(cell);
    return QString::fromStdString(SymbolRowsText(symbols));
}

QString LineWinInWords(const PayoffsLine& line) {
    QStringList words;
    for (Symbol s : line.symbols) words << SymbolWords(s);
    words << MoneyWords(LeadingNumber(line.amount));
    return words.join(QStringLiteral(", "));
}

QString LineInWords(const PayoffsSheet& sheet, int line) {
    return QStringLiteral("Line %1: %2").arg(line + 1).arg(LineWinInWords(sheet.lines[line]));
}

QString ResultInWords(const PayoffsSheet& sheet, float spinWin) {
    if (spinWin <= 0.0f) return QStringLiteral("No win");
    QStringList parts;
    for (int line = 0; line < kLines; ++line)
        if (sheet.lines[line].won) parts << LineInWords(sheet, line) + u'.';
    const double pool = LeadingNumber(sheet.pool);
    if (sheet.poolRow && pool > 0.0) parts << QStringLiteral("Bonus pool: %1.").arg(MoneyWords(pool));
    parts << QStringLiteral("Total won: %1.").arg(MoneyWords(spinWin));
    return parts.join(u' ');
}

QString ResultInWordsTotalFirst(const PayoffsSheet& sheet, float spinWin) {
    if (spinWin <= 0.0f) return ResultInWords(sheet, spinWin);
    const QString total = QStringLiteral("Total won: %1.").arg(MoneyWords(spinWin));
    QString rest = ResultInWords(sheet, spinWin);
    rest.chop(total.size());
    return (total + u' ' + rest).trimmed();
}

QString PayRowInWords(Symbol code, int coins) {
    const QString three =
        code == AnyBar ? QStringLiteral("Any three Bars") : QStringLiteral("Three %1s").arg(SymbolWords(code));
    const QString unit = coins == 1 ? QStringLiteral("coin") : QStringLiteral("coins");
    return QStringLiteral("%1: pays %2 %3").arg(three).arg(coins).arg(unit);
}

QString BonusSpinWords(int after) {
    return after <= 0 ? QStringLiteral("Bonus Spin, the last one.")
                      : QStringLiteral("Bonus Spin, %1 more after this one.").arg(after);
}

}  // namespace kazoomba::ui
