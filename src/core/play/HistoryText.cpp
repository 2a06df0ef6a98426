// Sentences of the game history.
#include "play/HistoryText.h"

#include <cmath>

#include "common/NumberPicture.h"
#include "play/GameState.h"

namespace kazoomba {

namespace {

std::string Join(const std::vector<std::string>& parts, std::string_view between) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += between;
        out += parts[i];
    }
    return out;
}

// "1", "1 and 3", "1, 3 and 8".
std::string ListText(const std::vector<std::string>& items) {
    if (items.size() <= 1) return items.empty() ? std::string() : items.front();
    std::vector<std::string> head(items.begin(), items.end() - 1);
    return Join(head, ", ") + " and " + items.back();
}

std::vector<int> WinningLines(const SpinRecord& spin) {
    std::vector<int> lines;
    for (int line = 0; line < kLines; ++line)
        if (spin.linePay[line] > 0) lines.push_back(line);
    return lines;
}

std::string BonusSpinText(const SpinRecord& spin) { return "bonus spin " + std::to_string(spin.bonusSpin) + " of 3"; }

}  // namespace

std::string MoneyText(double dollars) { return FormatPicture(dollars, "$#,##0.00"); }

std::string CountText(double count) { return FormatPicture(count, "#,##0"); }

std::string CoinsText(int coins, float coinValue) {
    std::string value = MoneyText(coinValue);
    for (const CoinChoice& c : kCoinChoices)
        if (std::fabs(c.value - coinValue) < 0.001f) value = std::string(c.caption);
    return std::to_string(coins) + (coins == 1 ? " coin of " : " coins of ") + value;
}

std::array<Symbol, kCells> SymbolsAtRest(const SpinRecord& spin) {
    std::array<Symbol, kCells> symbols{};
    for (int c = 0; c < kCells; ++c) symbols[c] = spin.SymbolAt(c);
    return symbols;
}

std::string SymbolRowsText(const std::array<Symbol, kCells>& symbols) {
    std::vector<std::string> rows;
    for (int row = 0; row < 3; ++row) {
        std::vector<std::string> names;
        for (int column = 0; column < 3; ++column) names.emplace_back(SymbolName(symbols[3 * row + column]));
        rows.push_back("Row " + std::to_string(row + 1) + ": " + Join(names, ", ") + ".");
    }
    return Join(rows, " ");
}

std::string EntrySentence(const HistoryEntry& entry) {
    if (entry.kind == HistoryEntry::Kind::NewGame) return "New game";
    if (entry.kind == HistoryEntry::Kind::LoadedGame) return "Loaded game: " + entry.name;
    const SpinRecord& spin = entry.spin;
    std::vector<std::string> parts = {"Spin " + CountText(spin.spin)};
    if (spin.bonusSpin > 0) parts.push_back(BonusSpinText(spin));
    parts.push_back(CoinsText(spin.coins, spin.coinValue));
    if (spin.win > 0.0f) {
        std::vector<std::string> lines;
        for (int line : WinningLines(spin)) lines.push_back(std::to_string(line + 1));
        std::string won = "won " + MoneyText(spin.win);
        if (!lines.empty()) won += (lines.size() == 1 ? " on line " : " on lines ") + ListText(lines);
        parts.push_back(won);
        if (spin.poolWon > 0.0f) parts.push_back("pool won");
        if (spin.choice == PayoffsChoice::Double)
            parts.push_back(spin.LostOnBoard() || spin.paid <= 0.0f ? "doubled and lost"
                                                                     : "doubled, left with " + MoneyText(spin.paid));
    } else {
        parts.push_back("no win");
    }
    if (spin.smileAward) parts.push_back("3 bonus spins won");
    parts.push_back("credits " + MoneyText(spin.credits));
    return Join(parts, ", ");
}

std::vector<std::string> SpinDetails(const SpinRecord& spin) {
    std::vector<std::string> out;
    const std::string coins = CoinsText(spin.coins, spin.coinValue);
    out.push_back("Spin " + CountText(spin.spin) + ": " +
                  (spin.bonusSpin > 0 ? BonusSpinText(spin) + ", free, on " + coins + "."
                                      : coins + ", " + MoneyText(spin.Bet()) + " bet."));
    out.push_back(SymbolRowsText(SymbolsAtRest(spin)));
    for (int line : WinningLines(spin)) {
        std::vector<std::string> words;
        for (int cell : kPayLines[line]) words.emplace_back(SymbolName(spin.SymbolAt(cell)));
        words.push_back(MoneyText(spin.LineAmount(line)));
        out.push_back("Line " + std::to_string(line + 1) + ": " + Join(words, ", ") + ".");
    }
    if (spin.poolWon > 0.0f) out.push_back("Bonus pool won: " + MoneyText(spin.poolWon) + ".");
    out.push_back(spin.win > 0.0f ? "Total won: " + MoneyText(spin.win) + "." : std::string("No win."));
    if (spin.poolGrown > 0.0f) out.push_back("The bonus pool grew by " + MoneyText(spin.poolGrown) + ".");
    if (spin.smileAward) out.push_back("Three bonus spins won.");
    if (spin.choice == PayoffsChoice::Take) out.push_back("Taken.");
    if (spin.choice == PayoffsChoice::Double) {
        std::vector<std::string> boxes;
        for (const OpenedBox& b : spin.boxes)
            boxes.push_back("box " + std::to_string(b.box) + ", " + std::string(BoxContentName(b.content)));
        std::string board = "Doubled on the Vaz Ivero board";
        board += boxes.empty() ? ", no box opened." : ": " + Join(boxes, "; ") + ".";
        out.push_back(board);
        out.push_back(spin.LostOnBoard() || spin.paid <= 0.0f ? std::string("Lost on the board.")
                                                              : "Left the board with " + MoneyText(spin.paid) + ".");
    }
    out.push_back("Credits after the spin: " + MoneyText(spin.credits) + ".");
    return out;
}

}  // namespace kazoomba
