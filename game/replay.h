#pragma once

// A game as its presses: how many ticks it ran and which arrow key was pressed before which
// tick. The game is deterministic, so that is the whole game; a replay code carries it in a link.
#include "game/encoding.h"

#include <cstdint>
#include <string>
#include <vector>

namespace game {

// A key-down delivered before tick `tick`. A replay's presses lie from tick 1 to one past its last
// tick: a press after the last tick waits for the next, but has already spent its credit and
// dropped its coin, so it belongs to the game as it stands.
struct KeyPress {
    int32_t tick;
    bool right;
};

struct Replay {
    int32_t ticks = 0;
    // In the order they were delivered, so ascending by tick.
    std::vector<KeyPress> presses;
};

// Version 1 of a code: base64url of one version byte, the presses as PutPresses writes them, and
// the checksum of both.
constexpr int REPLAY_CODE_VERSION = 1;
// About 400,000 presses; a link much longer than a megabyte is not a link any more.
constexpr std::size_t REPLAY_CODE_MAX_LENGTH = 1000000;

std::string ReplayCode(const Replay& replay);
// Reads a code into `replay`; returns "" or what is wrong with the code.
std::string ReadReplayCode(const std::string& code, Replay& replay);

// The presses in the replay runner's --keys syntax: T:R,T:L,...
std::string KeysList(const Replay& replay);

// The ticks, the number of presses, then each press as the gap from the tick of the one before
// (the first from tick 1), doubled, plus 1 for Right: two presses a second cost about a byte each.
void PutPresses(Bytes& out, const Replay& replay);
// "" or what is wrong; `what` names the reader's source in the message.
std::string ReadPresses(ByteReader& in, Replay& replay, const std::string& what);

} // namespace game
