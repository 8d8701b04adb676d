#pragma once

// The game state as text: the replay runner's --dump, and the browser page's dump(), which must
// agree byte for byte.
#include <cstdint>
#include <string>

namespace game {

// `tick N`, the counters, then a `coin` line for every slot in use and a `link` line for every
// link, both in ascending order.
std::string StateDump(int64_t ticks);

} // namespace game
