// The one record of the game in progress: money, counters, bonus state, flags; and the coin and loan tables.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/Payoffs.h"
#include "engine/Scoring.h"

namespace kazoomba {

inline constexpr std::string_view kGameTitle = "Kazoomba Video Slots";
inline constexpr std::string_view kCaptionSuffix = " (32-bit version)";
// The banner until the player writes another: fifteen blanks, then a welcome to the game by its title.
inline constexpr std::string_view kWelcomeBanner = "               Welcome to Kazoomba Video Slots!";
inline constexpr int kAutoSpinLimit = 200;
inline constexpr int kMaxCoins = 64;

struct CoinChoice {
    std::string_view caption;  // menu caption, also the label used in messages
    float value;
    float maxBet;
};
inline constexpr std::array<CoinChoice, 5> kCoinChoices = {{
    {"$1.00", 1.00f, 64.00f},
    {"50\xC2\xA2", 0.50f, 32.00f},
    {"25\xC2\xA2", 0.25f, 16.00f},
    {"10\xC2\xA2", 0.10f, 6.40f},
    {"5\xC2\xA2", 0.05f, 3.20f},
}};
inline constexpr int kDefaultCoinIndex = 2;

struct LoanChoice {
    std::string_view caption;
    float amount;
};
inline constexpr std::array<LoanChoice, 5> kLoanChoices = {{
    {"$1000", 1000.0f}, {"$500", 500.0f}, {"$250", 250.0f}, {"$100", 100.0f}, {"$50", 50.0f},
}};

struct GameState : BonusCounters {
    float Credits = 0.0f;
    float Borrowed = 0.0f;      // the starting credits plus every loan
    float TotalWagers = 0.0f;
    float Wager = 0.0f;         // coins placed for the coming spin, already out of Credits
    float LastBet = 0.0f;
    int CoinIndex = kDefaultCoinIndex;
    float CoinValue = kCoinChoices[kDefaultCoinIndex].value;
    std::string_view CoinLabel = kCoinChoices[kDefaultCoinIndex].caption;
    float MaxBet = kCoinChoices[kDefaultCoinIndex].maxBet;
    std::array<std::int16_t, kLines> LineCoins{};
    std::int32_t Spins = 0;
    float BarPts = 0.0f;        // kept with a saved game; no rule reads it
    float DoubleNothing = 0.0f; // net of every board gamble
    float SpinWin = 0.0f;
    bool AutoSpin = false;
    std::int16_t AutoSpinCount = 0;
    std::int32_t WinStopValue = 0;  // whole dollars; 0 = never pause
    bool SpinReady = true;

    // The last spin's scoring, read by the window's winning-line highlight and the Payoffs window.
    std::array<std::int16_t, kLines + 1> LinePay{};
    std::int16_t FulminaCount = 0;

    Stake CurrentStake() const { return Stake{CoinValue, Wager, LineCoins}; }
};

// Deals round(Wager / CoinValue) coins over the eight lines, line 0 first.
std::array<std::int16_t, kLines> DealLineCoins(float wager, float coinValue);

}  // namespace kazoomba
