// The game the crash test's child saves over and over: every field a function of one number k.
#pragma once

#include <QString>

#include "play/Game.h"
#include "SavedGames.h"

namespace kazoomba::testing {

inline void SetLoopGame(Game& game, MenuSelections& menus, int k) {
    GameState s = game.State();
    s.CoinIndex = k % 5;
    s.Credits = 1000.0f + static_cast<float>(k);
    s.BonusPool = static_cast<float>(k % 1000);
    s.TotalWagers = 2.0f * static_cast<float>(k);
    s.DoubleNothing = -static_cast<float>(k);
    s.CherryPts = 3.0f * static_cast<float>(k);
    s.PoolPts = 4.0f * static_cast<float>(k);
    s.BarPts = 5.0f * static_cast<float>(k);
    s.Borrowed = 1000.0f + 7.0f * static_cast<float>(k);
    s.Spins = k;
    s.Smiles = static_cast<std::int16_t>(1 + k % 6);
    s.Bells = static_cast<std::int16_t>(1 + k % 3);
    s.LastBet = kCoinChoices[s.CoinIndex].maxBet;
    game.Restore(s);
    menus.SetSpinSpeed(k % 4);
    menus.SetBanner(k % 2);
}

inline QString LoopGameName(int k) { return QStringLiteral("Loop %1").arg(k); }

}  // namespace kazoomba::testing
