#pragma once

// A saved game: the whole state between two ticks (coin table, links, pusher, catcher, lottery,
// credit, owed coins and the random generator) with the presses of the game since its first tick,
// kept as base64url text.
#include "game/replay.h"

#include <string>

namespace game {

// Version 1: "VKLM", the version (16 bits), the random state, ten counters (32 bits each), the
// coins in play, the links that differ from those their places foretell, the presses, and a
// checksum of all of it. Later versions must keep reading this one.
constexpr int SAVE_FORMAT_VERSION = 1;

// The game as it stands now, after `replay` (its ticks and every press so far).
std::string SaveGame(const Replay& replay);

// Replaces the game with a saved one and its replay; returns "" or what is wrong with the save.
// A save is used only whole: after any fault the game is as a fresh process has it (ResetGame),
// ready for a new game.
std::string LoadGame(const std::string& text, Replay& replay);

} // namespace game
