#pragma once

// A saved game: the whole state between two ticks (coin table, links, pusher, catcher, lottery,
// credit, owed coins and the random generator) with the presses of the game since its first tick,
// kept as base64url text.
#include "game/refusal.h"
#include "game/replay.h"

#include <string>

namespace game {

// Version 2: "VKLM", the format version (16 bits), the rules version (16), the random state, ten
// counters (32 bits each), the coins in play, the links that differ from those their places
// foretell, the presses, and the checksum of all before it. Version 1 is the same without the
// rules version. Later versions must keep reading both, and every version keeps the magic and
// the format version first and the checksum last.
constexpr int SAVE_FORMAT_VERSION = 2;
// Twice what a browser keeps for a site; a save that long is no save of the page's.
constexpr std::size_t SAVE_MAX_LENGTH = 10000000;

// The game as it stands now, after `replay` (its ticks and every press so far).
std::string SaveGame(const Replay& replay);

// Replaces the game and `replay` with a saved one. A save is used whole or not at all: after a
// refusal the game and `replay` are exactly as they were.
Refusal LoadGame(const std::string& text, Replay& replay);

} // namespace game
