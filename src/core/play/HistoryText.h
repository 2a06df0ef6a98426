// The game history in words: each entry as one sentence, the way its row is read, and a spin in full.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "play/History.h"

namespace kazoomba {

// "$1,004.25".
std::string MoneyText(double dollars);
// "1,204".
std::string CountText(double count);
// A bet as coins and their value: "8 coins of 25¢", "1 coin of $1.00".
std::string CoinsText(int coins, float coinValue);
// The nine symbols row by row: "Row 1: Globe, Flag, Stop. Row 2: … Row 3: …".
std::string SymbolRowsText(const std::array<Symbol, kCells>& symbols);
std::array<Symbol, kCells> SymbolsAtRest(const SpinRecord& spin);

// One entry in a sentence: "Spin 1,204, 8 coins of 25¢, won $62.00 on line 8, pool won, credits
// $1,004.25"; "New game"; "Loaded game: Friday night".
std::string EntrySentence(const HistoryEntry& entry);

// A spin in full, a sentence a line: the bet, the reels, each winning line, the pool, the SMILE award,
// the Payoffs choice with every box opened, and the credits after.
std::vector<std::string> SpinDetails(const SpinRecord& spin);

}  // namespace kazoomba
