#pragma once

// The rules that the game's state keeps between any two ticks of any game: the replay runner's
// --check tests them after every tick, and a saved game must keep them to be loaded.
#include <cstdint>
#include <string>

namespace game {

// Credit and owed coins never exceed this: a credit grows by a coin or two a tick at most in
// heavy play, so no game nears it in years, and every sum of them stays far from overflowing.
constexpr int32_t COUNT_LIMIT = 999999999;

// Links join only coins within LINK_REACH_SETUP of each other in x, and a coin's x never changes
// once it lies on the deck: its lane plus at least four jostles of up to 10 pixels either way
// (see CoinPlaceHeld). Two such coins lie within 6 pixels of x with a chance of at most 29%, so
// a full table of 5000 coins has at most about 3.6 million pairs that could link, and fewer
// link, since they must also meet within 6 pixels of y. The densest play, 4800 coins dropped
// into one lane at once, peaks about its 14th tick with 2.3 million links (bench/save_bench.cpp);
// a table kept full through both lanes for 10,000 ticks peaked at 1,045,976. The limit leaves
// room above all of that, and refuses 12.5 million.
constexpr int MAX_LINKS = 5000000;

// The first broken rule of the state alone (without the coin count), or "".
std::string FirstBrokenStateInvariant();

// Coins in play: every slot that is not free.
int CoinsOnTable();

} // namespace game
