#pragma once

// The pusher step in the plain order: every slot pair, lower index first, positions changed in
// place. Slow and obviously right; the game's own step must give exactly its results.
#include "game/game.h"

namespace plain {

game::PusherCounts PusherStep();

// A whole tick's state changes, with the plain pusher step in place of the game's.
game::PusherCounts TickWithoutFrame();

} // namespace plain
