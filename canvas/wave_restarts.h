#pragma once

// Whether a wave file asked for now should really be started. Under Wine one start costs about
// 5 ms, and a full table pays out hundreds of coins in one tick, each asking for "coin.wav". A
// new sound cuts off the one playing, so starting the very sound that started a moment ago is
// not heard: such a start is skipped. Another file always starts at once, and the same file
// starts again once the gap has passed. Kept apart from the sound device so it can be tested.
#include <cstdint>

constexpr std::uint64_t WAVE_RESTART_GAP_MS = 30;

class WaveRestarts {
public:
    // Decides for a start asked for at nowMs (a monotonic clock) and remembers a start it allows.
    bool ShouldStart(const char* fileName, std::uint64_t nowMs);

private:
    // Names that do not fit are never skipped.
    char lastFile[260] = {};
    std::uint64_t lastStartMs = 0;
};
