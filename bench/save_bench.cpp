// The size of a saved game at five tables and how long it takes to save and to load, and the
// save of a ten-hour game for the browser's continue benchmark (bench/keep_bench.mjs).
//   build/native/bench/vorkelm-save-bench [FILE]    writes the ten-hour save to FILE
#include "bench/bench_tables.h"
#include "canvas/canvas_record.h"
#include "game/game.h"
#include "game/links.h"
#include "game/saved_game.h"

#include <chrono>
#include <cstdio>
#include <fstream>

using namespace game;

namespace {

// Plays `ticks` ticks from the table as it stands; before every tick whose number is a multiple
// of `every`, `presses` key presses alternating Right and Left, or all Left.
void Play(Replay& replay, int ticks, int every, int presses, bool leftOnly = false)
{
    for (int t = 0; t < ticks; ++t) {
        const int64_t tick = replay.ticks + 1;
        for (int p = 0; tick % every == 0 && p < presses; ++p) {
            const bool right = !leftOnly && (replay.presses.size() % 2) == 0;
            replay.presses.push_back(KeyPress{tick, right});
            PressArrowKey(right);
        }
        GameTick(nullptr);
        RecordedCalls().Clear();
        ++replay.ticks;
    }
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

std::string Report(const char* table, const Replay& replay)
{
    const int coins = CoinsInPlay();
    const int links = CountLinks(LinkLowerAhead) + CountLinks(LinkLowerBehind);
    auto start = std::chrono::steady_clock::now();
    const std::string save = SaveGame(replay);
    const double saved = MillisecondsSince(start);
    Replay loaded;
    start = std::chrono::steady_clock::now();
    const Refusal refusal = LoadGame(save, loaded);
    const double load = MillisecondsSince(start);
    std::printf("%-44s %6d coins %8d links %7zu presses: %7zu bytes (%7zu as text), "
                "saved in %.1f ms, %s in %.1f ms\n",
                table, coins, links, replay.presses.size(), save.size() * 3 / 4, save.size(), saved,
                refusal.Refused() ? "refused" : "loaded", load);
    return save;
}

} // namespace

int main(int argc, char** argv)
{
    Replay replay;
    LayInitialTable();
    Report("initial table (tick 0)", replay);

    // Both keys held, four presses a tick, on a credit of 1000 (vorkelm-sim --hold 4 --credit 1000).
    LayInitialTable();
    credit = 1000;
    Play(replay, 2000, 1, 4);
    Report("heavy play (2000 ticks, credit 1000 at start)", replay);

    replay = Replay{};
    LayInitialTable();
    credit = 999999999;
    Play(replay, 12, 1, 1000);
    Report("full table (12 ticks of 1000 presses)", replay);

    // The densest links: a full table dropped into one lane at once.
    replay = Replay{};
    LayInitialTable();
    credit = 999999999;
    Play(replay, 1, 1, 4800, true);
    Play(replay, 13, 1, 0);
    Report("one lane flooded (4800 Left, 14 ticks)", replay);

    // A busy player without a rig: a press every other tick for ten hours, credit or not.
    replay = Replay{};
    LayInitialTable();
    Play(replay, 180000, 2, 1);
    const std::string tenHours = Report("ten hours (180,000 ticks, a press every 2nd)", replay);
    if (argc > 1) {
        std::ofstream(argv[1], std::ios::binary) << tenHours;
        std::printf("wrote %s\n", argv[1]);
    }
    return 0;
}
