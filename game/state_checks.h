#pragma once

// The rules that the game's state keeps between any two ticks of any game: the replay runner's
// --check tests them after every tick, and a saved game must keep them to be loaded.
#include <string>

namespace game {

// A falling coin is jostled sideways at most 10 pixels a tick while it hangs in the pin zone, so
// its x has no bound in principle; a million pixels keeps every sum of positions far from
// overflowing and is beyond any game.
constexpr int COIN_X_LIMIT = 1000000;

// The first broken rule of the state alone (without the coin count), or "".
std::string FirstBrokenStateInvariant();

// Coins in play: every slot that is not free.
int CoinsOnTable();

} // namespace game
