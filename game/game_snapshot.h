#pragma once

// A copy of the whole game state: a load that fails puts the game back with it, and tests rewind
// a tick or compare two ways of running it.
#include "game/game.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace game {

struct GameSnapshot {
    std::array<int32_t, COIN_SLOTS> y, x, state, speed;
    std::array<int32_t, 17> scalars;
    std::vector<std::pair<int, int>> links; // (coin ahead, follower), ascending
    uint32_t random;

    static GameSnapshot Take();
    void Restore() const;
    bool operator==(const GameSnapshot& other) const;
};

// Names the first difference between two snapshots, for failure messages.
std::string FirstDifference(const GameSnapshot& a, const GameSnapshot& b);

} // namespace game
