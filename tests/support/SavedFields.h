// Checks that a game holds every field a saved game carries as another game holds it.
#pragma once

#include <gtest/gtest.h>

#include "play/GameState.h"

namespace kazoomba::testing {

inline void ExpectSameSavedFields(const GameState& got, const GameState& want) {
    EXPECT_EQ(got.Credits, want.Credits);
    EXPECT_EQ(got.BonusPool, want.BonusPool);
    EXPECT_EQ(got.TotalWagers, want.TotalWagers);
    EXPECT_EQ(got.DoubleNothing, want.DoubleNothing);
    EXPECT_EQ(got.CherryPts, want.CherryPts);
    EXPECT_EQ(got.PoolPts, want.PoolPts);
    EXPECT_EQ(got.BarPts, want.BarPts);
    EXPECT_EQ(got.Borrowed, want.Borrowed);
    EXPECT_EQ(got.Spins, want.Spins);
    EXPECT_EQ(got.Smiles, want.Smiles);
    EXPECT_EQ(got.Bells, want.Bells);
    EXPECT_EQ(got.CoinIndex, want.CoinIndex);
    EXPECT_FLOAT_EQ(got.LastBet, want.LastBet);
}

}  // namespace kazoomba::testing
