// The whole game tick in the browser: the game step, the drawing into the page's canvas backend
// and its showing on the page, at the initial table and at a full one. Run:
//   node bench/web_bench.mjs
#include "app/shell.h"
#include "bench/bench_tables.h"
#include "canvas/canvas_web.h"
#include "game/game.h"

#include <emscripten.h>

#include <cstdio>

namespace {

char g_window[] = "client";

struct Scenario {
    const char* name;
    void (*lay)();
    int ticks;
};

void Run(void*)
{
    const Scenario scenarios[] = {
        {"initial table", LayInitialTable, 100},
        {"full table", LayFullTable, 20},
    };
    for (const Scenario& scenario : scenarios) {
        scenario.lay();
        const int coins = CoinsInPlay();
        const int creditBefore = game::credit;
        const double start = emscripten_get_now();
        for (int t = 0; t < scenario.ticks; ++t)
            game::GameTick(g_window);
        const double msPerTick = (emscripten_get_now() - start) / scenario.ticks;
        std::printf("%-14s %5d coins %4d ticks %6.1f pay-outs/tick %8.2f ms/tick\n", scenario.name,
                    coins, scenario.ticks, double(game::credit - creditBefore) / scenario.ticks,
                    msPerTick);
    }
    EM_ASM(window.benchDone = true);
}

// Pictures and sounds are fetched at their first use: a few ticks ask for them all.
void WarmUp()
{
    LayFullTable();
    for (int t = 0; t < 5; ++t)
        game::GameTick(g_window);
}

// Sounds load once the page has had its click (bench/web_bench.mjs gives it).
void WarmUpSounds(void*)
{
    WarmUp();
    emscripten_async_call(Run, nullptr, 1000);
}

} // namespace

int main()
{
    // As the page sets its canvas up: the client area's size.
    g_mainCanvas.Setup(g_window, CLIENT_WIDTH, CLIENT_HEIGHT);
    ListenForSoundGesture();
    WarmUp();
    emscripten_async_call(WarmUpSounds, nullptr, 1000);
    return 0;
}
