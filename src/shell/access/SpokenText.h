// The machine's pictures in words, for a player who listens: symbols, the reels, a spin's result.
#pragma once

#include <QString>

#include "engine/Symbols.h"
#include "gamble/PayoffsSheet.h"

namespace kazoomba::ui {

QString SymbolWords(Symbol code);
// Money as a listener hears it: "$1,234.50".
QString MoneyWords(double dollars);
// The nine symbols showing, row by row: "Row 1: Globe, Flag, Stop. Row 2: …".
QString ReelsInWords(const Wheels& wheels);
// What one winning line of a Payoffs sheet shows: "Globe, Globe, Fulmina, $1.50".
QString LineWinInWords(const PayoffsLine& line);
// The same with the line's number: "Line 3: Globe, Globe, Fulmina, $1.50".
QString LineInWords(const PayoffsSheet& sheet, int line);
// "No win", or each paying line, the pool when won, and the total.
QString ResultInWords(const PayoffsSheet& sheet, float spinWin);
// The same led by the total, as a window showing the win says it when it opens: "Total won: $17.50.
// Line 1: …. Bonus pool: $12.50."
QString ResultInWordsTotalFirst(const PayoffsSheet& sheet, float spinWin);
// One row of the pay chart: three of a symbol and what they pay for each coin on their line, "Three
// Globes: pays 20 coins"; the chart's any-bar row is any three bars.
QString PayRowInWords(Symbol code, int coins);
// A free bonus spin and how many follow it: "Bonus Spin, 2 more after this one." or "…, the last one."
QString BonusSpinWords(int after);

}  // namespace kazoomba::ui
