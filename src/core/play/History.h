// The game history: a record of every spin played (its bet, reels, wins, the Payoffs choice and the credits
// after) and of where each game began, kept for the last thousand spins.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engine/Payoffs.h"
#include "engine/Reels.h"
#include "gamble/Board.h"

namespace kazoomba {

// What the player did with a win in the Payoffs window.
enum class PayoffsChoice {
    None,    // the spin won nothing
    Take,
    Double,  // staked on the Vaz Ivero board
};

// One box opened on the board, in the order the player opened it.
struct OpenedBox {
    std::int16_t box = 0;      // 1 to 15
    std::int16_t content = 0;  // a BoxCode
};

// A spin as it was settled. Everything the Payoffs window, the board and the reels showed follows from it.
struct SpinRecord {
    std::int32_t spin = 0;          // the spin's number, as the Spins display counted it
    std::int16_t bonusSpin = 0;     // 0 for a spin that was bet; 1 to 3 for the free spins of a SMILE award
    float coinValue = 0.25f;
    std::int16_t coins = 0;         // coins bet; a bonus spin plays the last bet again for nothing
    std::array<std::int16_t, kCells> stops{};  // where each wheel came to rest
    bool bonusSet = false;          // the stops are on the bonus strips
    std::array<std::int16_t, kLines> linePay{};  // coins paid per coin on each line, FULMINA included
    float poolGrown = 0.0f;         // what the spin's FULMINAs added to the bonus pool
    float poolWon = 0.0f;           // the pool won with the spin's third Globe line; 0 when not won
    bool smileAward = false;        // the spin's SMILE lines won three bonus spins
    PayoffsChoice choice = PayoffsChoice::None;
    std::vector<OpenedBox> boxes;   // on the board, for a win doubled
    float win = 0.0f;               // the lines plus the pool
    float paid = 0.0f;              // what reached the credits: the win taken, or what the board paid
    float credits = 0.0f;           // the credits once the spin was settled

    float Bet() const { return coinValue * static_cast<float>(coins); }
    Symbol SymbolAt(int cell) const;
    // The coins on each line, dealt as the spin dealt them.
    std::array<std::int16_t, kLines> LineCoins() const;
    // What one line paid in dollars, as the Payoffs window showed it.
    float LineAmount(int line) const;
    bool LostOnBoard() const;
};

struct HistoryEntry {
    enum class Kind {
        Spin,
        NewGame,     // File > New Game began a game here
        LoadedGame,  // a game was loaded from a slot here
    };
    Kind kind = Kind::Spin;
    std::int64_t time = 0;  // seconds since 1970-01-01 UTC, as the game was told it
    SpinRecord spin;        // a spin's record
    std::string name;       // the name of a game loaded

    bool IsSpin() const { return kind == Kind::Spin; }
};

// The last thousand spins, oldest first, with the marks of the games they belong to. A spin recorded
// again straight after itself takes the place of its first record: a crash can cut the save that follows
// a record, and the game brought back then settles that spin again. Marks with no spin between them are
// kept too, up to as many again.
class GameHistory {
public:
    static constexpr int kKeptSpins = 1000;

    void Add(HistoryEntry entry);
    const std::deque<HistoryEntry>& Entries() const { return entries_; }
    int Spins() const { return spins_; }

private:
    std::deque<HistoryEntry> entries_;
    int spins_ = 0;
};

}  // namespace kazoomba
