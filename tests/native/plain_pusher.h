#pragma once

// The pusher step in the plain order: every slot pair, lower index first, positions changed in
// place. Slow and obviously right; the game's own step must give exactly its results.
#include "game/game.h"

namespace plain {

// EveryPair tests all 12,497,500 slot pairs of each pass, link first, as the pair loop is
// written down; SkipOtherStates passes over a lower slot not in the pass's state at once, which
// changes nothing but the time it takes.
enum class Pairs { EveryPair, SkipOtherStates };

game::PusherCounts PusherStep(Pairs pairs = Pairs::SkipOtherStates);

// A whole tick's state changes, with the plain pusher step in place of the game's.
game::PusherCounts TickWithoutFrame(Pairs pairs = Pairs::SkipOtherStates);

} // namespace plain
