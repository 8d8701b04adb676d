#pragma once

// A game as its presses: how many ticks it ran and which arrow key was pressed before which
// tick. The game is deterministic, so that is the whole game; a replay code carries it in a link.
#include "game/encoding.h"
#include "game/refusal.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace game {

// The rules of play this build plays: the table's set-up, what a tick and a press do. A change
// to any of them takes the next number, so that no save or link is played by rules it was not
// played under. Saves and codes of version 1 carry none and were played under rules 1.
constexpr uint32_t RULES_VERSION = 1;

// A game counts at most this many ticks: more than six years of play without a pause at five
// ticks a second. Tick numbers are 64-bit, so no sum of them comes near overflowing.
constexpr int64_t GAME_TICKS_LIMIT = 999999999;

// A key-down delivered before tick `tick`. A replay's presses lie from tick 1 to one past its last
// tick: a press after the last tick waits for the next, but has already spent its credit and
// dropped its coin, so it belongs to the game as it stands.
struct KeyPress {
    int64_t tick;
    bool right;
};

struct Replay {
    int64_t ticks = 0;
    // In the order they were delivered, so ascending by tick.
    std::vector<KeyPress> presses;
};

// Version 2 of a code: base64url of one version byte, the rules version (varint), the presses as
// PutPresses writes them, and the checksum of all before it. Version 1 had no rules version. In
// every version the last four bytes are the checksum and the first byte the version, so that a
// code of a later version is told from a damaged one.
constexpr int REPLAY_CODE_VERSION = 2;
// About 400,000 presses; a link much longer than a megabyte is not a link any more.
constexpr std::size_t REPLAY_CODE_MAX_LENGTH = 1000000;

std::string ReplayCode(const Replay& replay);
// Reads a code into `replay`, which a refused code leaves as it was.
Refusal ReadReplayCode(const std::string& code, Replay& replay);

// The presses in the replay runner's --keys syntax: T:R,T:L,...
std::string KeysList(const Replay& replay);

// The ticks, the number of presses, then each press as the gap from the tick of the one before
// (the first from tick 1), doubled, plus 1 for Right: two presses a second cost about a byte each.
void PutPresses(Bytes& out, const Replay& replay);
// `what` names the reader's source in the details ("the save").
Refusal ReadPresses(ByteReader& in, Replay& replay, const std::string& what);

// Whether a game played under `rules` can be played here; `what` as above.
Refusal RulesRefusal(uint32_t rules, const std::string& what);
// Whether a format version up to `newest` is one this build reads.
Refusal FormatRefusal(uint32_t format, uint32_t newest, const std::string& what);

// Plays a replay into the game, the one way the page, the replay runner and the tests all play
// one, so that a shared game plays back exactly: the presses made between ticks T - 1 and T
// reach the game, in their order, before tick T. Presses made after the last tick wait for the
// next one but have dropped their coins already, so the game as it stands has them too.
class ReplayPlayer {
public:
    explicit ReplayPlayer(Replay replay = Replay{}) : replay(std::move(replay)) {}

    int64_t Played() const { return played; }
    int64_t Ticks() const { return replay.ticks; }
    bool AtEnd() const { return played >= replay.ticks; }

    // The next tick: each press before it through press(const KeyPress&), then tick().
    template <typename Press, typename Tick>
    void PlayTick(Press press, Tick tick)
    {
        DeliverPresses(press);
        tick();
        ++played;
    }

    // At the end, the presses made after the last tick; before the end, nothing.
    template <typename Press>
    void PlayPressesAfterEnd(Press press)
    {
        if (AtEnd())
            DeliverPresses(press);
    }

private:
    template <typename Press>
    void DeliverPresses(Press press)
    {
        for (; next < replay.presses.size() && replay.presses[next].tick <= played + 1; ++next)
            press(replay.presses[next]);
    }

    Replay replay;
    int64_t played = 0;
    std::size_t next = 0;
};

} // namespace game
