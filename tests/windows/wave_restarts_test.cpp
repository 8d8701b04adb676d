// Which asked-for sounds are started: the same file again within the gap is skipped, anything
// else starts at once.
#include "canvas/wave_restarts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Ask {
    const char* file;
    std::uint64_t ms;
    bool started;
};

struct Case {
    const char* name;
    std::vector<Ask> asks;
};

TEST(WaveRestarts, StartsAnotherFileAtOnceAndTheSameOneOnlyAfterTheGap)
{
    const std::uint64_t gap = WAVE_RESTART_GAP_MS;
    const Case cases[] = {
        {"first sound", {{"coin.wav", 0, true}}},
        {"same file within the gap",
         {{"coin.wav", 1000, true}, {"coin.wav", 1000, false}, {"coin.wav", 1000 + gap - 1, false}}},
        {"same file at and after the gap",
         {{"coin.wav", 1000, true}, {"coin.wav", 1000 + gap, true}, {"coin.wav", 1000 + 3 * gap, true}}},
        // The gap runs from the last real start: a steady stream still sounds now and then.
        {"skipped asks do not push the gap on",
         {{"coin.wav", 0, true},
          {"coin.wav", gap / 2, false},
          {"coin.wav", gap - 1, false},
          {"coin.wav", gap, true},
          {"coin.wav", gap + gap / 2, false}}},
        {"other files start at once",
         {{"coin.wav", 50, true}, {"in.wav", 50, true}, {"s.wav", 51, true},
          {"stop.wav", 51, true}}},
        // In between, another sound cut the first one off, so starting it again is heard.
        {"a file comes back after another",
         {{"coin.wav", 50, true}, {"in.wav", 51, true}, {"coin.wav", 52, true},
          {"coin.wav", 53, false}}},
        {"clock far on", {{"s.wav", 0, true}, {"s.wav", 0xFFFFFFFFull + 7, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveRestarts restarts;
        for (const Ask& ask : c.asks)
            EXPECT_EQ(ask.started, restarts.ShouldStart(ask.file, ask.ms))
                << ask.file << " at " << ask.ms;
    }
}

TEST(WaveRestarts, ComparesFileNamesByTheirText)
{
    WaveRestarts restarts;
    char copy[] = "coin.wav";
    ASSERT_TRUE(restarts.ShouldStart("coin.wav", 10));
    EXPECT_FALSE(restarts.ShouldStart(copy, 11));
}

TEST(WaveRestarts, NameTooLongToKeepIsNeverSkipped)
{
    const std::string longName = std::string(300, 'w') + ".wav";
    WaveRestarts restarts;
    EXPECT_TRUE(restarts.ShouldStart(longName.c_str(), 10));
    EXPECT_TRUE(restarts.ShouldStart(longName.c_str(), 11));
    // Nor does it leave the last short name behind.
    EXPECT_TRUE(restarts.ShouldStart("coin.wav", 12));
    EXPECT_TRUE(restarts.ShouldStart(longName.c_str(), 13));
    EXPECT_TRUE(restarts.ShouldStart("coin.wav", 14));
}

} // namespace
