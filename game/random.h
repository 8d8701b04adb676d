#pragma once

#include <cstdint>

namespace game {

// The one random source of the game: never seeded, so every run plays the same table.
// Each call returns 0..32767; the first four results are 41, 18467, 6334, 26500.
int rand();

// The generator's state, for replays and tests that rewind it. Process start is 1.
uint32_t RandomState();
void SetRandomState(uint32_t state);

} // namespace game
