// What the Payoffs window shows for the spin just scored: caption, each line's win and symbols, total and pool.
#pragma once

#include <array>
#include <string>

#include "common/NumberPicture.h"
#include "engine/Payoffs.h"
#include "engine/Reels.h"
#include "play/GameState.h"

namespace kazoomba {

struct PayoffsLine {
    bool won = false;
    std::string amount;                 // dollars, "0000.00"; a line without a win shows zero
    std::array<Symbol, 3> symbols{};    // in the order of the line's cells; only shown when won
};

struct PayoffsSheet {
    std::string caption;
    std::array<PayoffsLine, kLines> lines;
    std::string total;                  // SpinWin, "00000.00", the pool included when won
    bool poolRow = false;               // no pool is in play during bonus spins, so the row is left out
    std::string pool;                   // "0000.00": the pool when this spin wins it, else zero
};

inline std::string PayoffsCaption(std::int32_t spins) {
    return std::string(TrimBlanks(kGameTitle)) + " -- Spin #" + FormatPicture(spins, "###,##0") + " Results";
}

inline PayoffsSheet BuildPayoffsSheet(const GameState& s, const Wheels& wheels) {
    PayoffsSheet sheet;
    sheet.caption = PayoffsCaption(s.Spins);
    for (int i = 0; i < kLines; ++i) {
        PayoffsLine& line = sheet.lines[i];
        line.won = s.LinePay[i] > 0;
        const float amount = line.won ? LinePayout(s.LinePay[i], s.CoinValue, s.LineCoins[i]) : 0.0f;
        line.amount = FormatPicture(amount, "0000.00");
        for (int k = 0; k < 3; ++k) line.symbols[k] = wheels.SymbolAt(kPayLines[i][k]);
    }
    sheet.total = FormatPicture(s.SpinWin, "00000.00");
    sheet.poolRow = !s.BonusMode;
    sheet.pool = FormatPicture(s.Bells <= 0 ? s.BonusPool : 0.0f, "0000.00");
    return sheet;
}

}  // namespace kazoomba
