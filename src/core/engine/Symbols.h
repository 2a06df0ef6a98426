// The twelve symbol codes; a code is also the symbol's cell in the symbol sheets (column code mod 4, row code div 4).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kazoomba {

using Symbol = std::int16_t;

enum SymbolCode : Symbol {
    Fulmina = 0,  // wild
    Target = 1,
    Globe = 2,    // the pool symbol
    Flag = 3,
    StarMap = 4,
    Smile = 5,
    DontWalk = 6,
    TripleBar = 7,
    DoubleBar = 8,
    SingleBar = 9,
    AnyBar = 10,  // pay chart only
    Stop = 11,    // never pays
};

inline constexpr int kSymbolCount = 12;

// Each symbol's name in words, as the player reads and hears it; "blank" for a code that names none.
constexpr std::string_view SymbolName(Symbol code) {
    constexpr std::array<std::string_view, kSymbolCount> names = {
        "Fulmina", "Target", "Globe", "Flag", "Star Map", "Smile", "Don't Walk",
        "Triple Bar", "Double Bar", "Single Bar", "Any Bar", "Stop"};
    return code >= 0 && code < kSymbolCount ? names[code] : "blank";
}

}  // namespace kazoomba
