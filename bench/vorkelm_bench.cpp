// The whole game tick on a real GDI canvas with the asset files, with the sprite cache on and
// off, at the initial table and at a full one. Run from the assets folder:
//   source tools/wine-env.sh && cd assets && with_display wine ../build/windows/vorkelm-bench.exe
#include "bench/bench_tables.h"
#include "canvas/canvas.h"
#include "canvas/sprite_cache.h"
#include "game/game.h"

#include <chrono>
#include <cstdio>

using namespace game;

namespace {

struct Scenario {
    const char* name;
    void (*lay)();
    int ticks;
};

struct Timing {
    double msPerTick;
    double payOutsPerTick; // each plays "coin.wav"
};

// The scenario's first ticks, from a freshly laid table.
Timing TimeTicks(const Scenario& scenario, bool cache)
{
    SetSpriteCacheEnabled(cache);
    scenario.lay();
    const int creditBefore = credit;
    const auto start = std::chrono::steady_clock::now();
    for (int t = 0; t < scenario.ticks; ++t)
        GameTick(nullptr);
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return {spent.count() / scenario.ticks, double(credit - creditBefore) / scenario.ticks};
}

// What one real start of a sound costs: the same file asked for again at once is not restarted,
// so the files take turns.
double MsPerSound()
{
    const char* const files[] = {"coin.wav", "in.wav"};
    const int sounds = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < sounds; ++i)
        PlayWave(files[i % 2]);
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / sounds;
}

} // namespace

int main(int argc, char**)
{
    if (argc > 1) {
        std::fprintf(stderr, "usage: vorkelm-bench\n"
                             "Run from the folder that holds the game's bitmap and wave files.\n");
        return 2;
    }
    g_mainCanvas.Setup(nullptr, MAIN_CANVAS_WIDTH, MAIN_CANVAS_HEIGHT);

    const Scenario scenarios[] = {
        {"initial table", LayInitialTable, 50},
        {"full table", LayFullTable, 10},
    };
    std::printf("%-14s %6s %6s %14s %14s %14s\n", "table", "coins", "ticks", "pay-outs/tick",
                "cache on ms", "cache off ms");
    for (const Scenario& scenario : scenarios) {
        scenario.lay();
        const int coins = CoinsInPlay();
        const Timing cached = TimeTicks(scenario, true);
        const Timing uncached = TimeTicks(scenario, false);
        std::printf("%-14s %6d %6d %14.1f %14.2f %14.2f\n", scenario.name, coins, scenario.ticks,
                    cached.payOutsPerTick, cached.msPerTick, uncached.msPerTick);
        std::fflush(stdout);
    }
    std::printf("one sound started (PlayWave): %.2f ms\n", MsPerSound());
    SetSpriteCacheEnabled(true);
    return 0;
}
