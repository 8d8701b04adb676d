// A long game on the real main canvas, drawn from the asset files (run from the assets folder):
// coins keep coming in from both lanes, and at the end a frame still draws right and the process
// holds no more memory, nor GDI objects where the platform counts them, than after a warm-up.
// VORKELM_SOAK_TICKS sets the length; ctest runs a short soak, and by hand it is 20,000 ticks.
#include "canvas/canvas.h"
#include "canvas/sprite_cache.h"
#include "game/game.h"
#include "tests/windows/coins_in_play.h"
#include "tests/windows/process_usage.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int FULL_SOAK_TICKS = 20000;
// Long enough for every size of the pusher bar to be in the sprite cache.
constexpr int WARM_UP_TICKS = 300;
// A coin every other tick, from the right and the left lane by turns, keeps about 500 coins on
// the table; the pay-outs more than make up for what the drops spend.
constexpr int TICKS_PER_DROP = 2;
constexpr int STARTING_CREDIT = 1000;
// The sound threads of the platform make the working set swing by a megabyte or two from one
// moment to the next; the lowest of a few samples, each after a stretch of play and with the
// sound stopped, tells growth from swing.
constexpr int SAMPLES = 20;
constexpr int TICKS_PER_SAMPLE = 20;
// What the platform's own heaps may drift by without anything being kept.
constexpr std::size_t MEMORY_SLACK = 1 << 20;

constexpr std::uint32_t YELLOW = 0xFFFF00;
constexpr int COIN = 15;

int SoakTicks()
{
    const char* ticks = std::getenv("VORKELM_SOAK_TICKS");
    return ticks ? std::atoi(ticks) : FULL_SOAK_TICKS;
}

struct Usage {
    ProcessUsage process;
    int cachedSprites; // each holds a bitmap and a memory context
};

void Report(const char* when, int tick, const Usage& usage)
{
    std::printf("%-5s tick %6d: %s, cached sprites %d\n", when, tick,
                Describe(usage.process).c_str(), usage.cachedSprites);
}

class Soak {
public:
    Soak()
    {
        g_mainCanvas.Setup(nullptr, 1200, 800);
        game::ResetGame();
        game::SetStartValues();
        game::SetupTable();
        game::credit = STARTING_CREDIT;
    }

    // A drop before every other tick, then the tick.
    void Run(int ticks)
    {
        for (int i = 0; i < ticks; ++i, ++tick) {
            if (tick % TICKS_PER_DROP == 0) {
                const int before = game::credit;
                const bool left = tick / TICKS_PER_DROP % 2 != 0;
                game::DropPlayerCoin(left ? game::LeftLaneX() : game::RightLaneX());
                dropped += before - game::credit;
                ++presses;
            }
            const int before = game::credit;
            game::GameTick(nullptr);
            paidOut += game::credit - before;
        }
    }

    int tick = 0;
    int presses = 0;
    int dropped = 0;
    int paidOut = 0;
};

// Plays SAMPLES stretches, measuring after each; the lowest figures of them all.
Usage LowestUsage(Soak& soak)
{
    Usage lowest = {};
    for (int i = 0; i < SAMPLES; ++i) {
        soak.Run(TICKS_PER_SAMPLE);
        sndPlaySoundA(nullptr, 0);
        const ProcessUsage now = MeasureProcess();
        if (i == 0)
            lowest.process = now;
        ProcessUsage& low = lowest.process;
        low.workingSet = std::min(low.workingSet, now.workingSet);
        low.privateBytes = std::min(low.privateBytes, now.privateBytes);
        low.gdiObjects = std::min(low.gdiObjects, now.gdiObjects);
    }
    lowest.cachedSprites = SpriteCacheEntries();
    return lowest;
}

bool UnderAFallingCoin(int x, int y)
{
    for (int slot = 0; slot < game::COIN_SLOTS; ++slot)
        if (game::coinState[slot] == game::CoinFalling && x >= game::coinX[slot] &&
            x < game::coinX[slot] + COIN && y >= game::coinY[slot] && y < game::coinY[slot] + COIN)
            return true;
    return false;
}

TEST(GdiSoak, LongPlayKeepsDrawingAndHoldsNoMoreMemoryOrGdiObjects)
{
    const int ticks = SoakTicks();
    const int sampled = SAMPLES * TICKS_PER_SAMPLE;
    ASSERT_GE(ticks, WARM_UP_TICKS + 2 * sampled);
    Soak soak;
    soak.Run(WARM_UP_TICKS);
    const Usage warm = LowestUsage(soak);
    const int warmTick = soak.tick;
    const int paidOutWarm = soak.paidOut;
    soak.Run(ticks - soak.tick - sampled);
    const Usage end = LowestUsage(soak);
    Report("warm", warmTick, warm);
    Report("end", soak.tick, end);
    std::printf("(the lowest of %d samples, %d ticks apart, up to that tick)\n", SAMPLES,
                TICKS_PER_SAMPLE);
    std::printf("%d drops asked, %d made, %d coins paid out, %d coins on the table, credit %d\n",
                soak.presses, soak.dropped, soak.paidOut, CoinsInPlay(), game::credit);

    // Play went on all along: every drop was paid for, and coins kept falling off the front.
    EXPECT_EQ(soak.presses, soak.dropped);
    EXPECT_GT(soak.paidOut - paidOutWarm, (soak.tick - warmTick) / TICKS_PER_DROP / 2);

    EXPECT_LE(end.process.workingSet, warm.process.workingSet + MEMORY_SLACK);
    EXPECT_LE(end.process.privateBytes, warm.process.privateBytes + MEMORY_SLACK);
    if (warm.process.gdiObjects != 0) {
        EXPECT_LE(end.process.gdiObjects,
                  warm.process.gdiObjects + 2 * (end.cachedSprites - warm.cachedSprites));
    }

    // One more frame: the lamp square in yellow, and the back wall beside the top board as the
    // file shows it, wherever no falling coin covers it.
    game::GameTick(nullptr);
    const Picture frame = ReadSurface(g_mainCanvas);
    const int lampX = game::lampLeft + 17 * game::lampCol;
    const int lampY = game::lampTop + 17 * game::lampRow;
    EXPECT_EQ(YELLOW, frame.At(lampX + 8, lampY)) << "lamp at " << lampX << "," << lampY;
    EXPECT_EQ(YELLOW, frame.At(lampX, lampY + 8));

    // The wall is drawn opaque at (101, 20); the top board covers x 126 to 290 from y 20, the
    // base starts at y 150 and coins are caught from y 140 on.
    const Picture wall = LoadedPicture("back.bmp", 215, 368);
    int checked = 0;
    int coloured = 0;
    for (int y = 20; y < 126; ++y) {
        for (int x : {101, 102, 110, 118, 125, 291, 298, 306, 315}) {
            if (UnderAFallingCoin(x, y))
                continue;
            ASSERT_EQ(wall.At(x - 101, y - 20), frame.At(x, y)) << x << "," << y;
            ++checked;
            coloured += frame.At(x, y) != BLACK;
        }
    }
    EXPECT_GT(checked, 500);
    EXPECT_GT(coloured, checked / 2); // the wall itself, not a canvas left black
}

} // namespace
