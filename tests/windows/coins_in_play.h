#pragma once

#include "game/game.h"

#include <algorithm>
#include <iterator>

// Slots of the coin table in use.
inline int CoinsInPlay()
{
    return static_cast<int>(std::count_if(std::begin(game::coinState), std::end(game::coinState),
                                          [](int32_t state) { return state != game::CoinFree; }));
}
