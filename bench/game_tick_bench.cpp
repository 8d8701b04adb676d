// The game step on the recording canvas, against the plain pair order, at three table sizes.
//   build/native/bench/vorkelm-game-bench
#include "canvas/canvas_record.h"
#include "game/game.h"
#include "game/game_snapshot.h"
#include "plain_pusher.h"
#include "tools/invariants.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace game;

namespace {

GameSnapshot InitialTable()
{
    ResetGame();
    SetStartValues();
    SetupTable();
    return GameSnapshot::Take();
}

// A game played hard, both keys held with plenty of credit, until about 500 coins are in play.
GameSnapshot HeavyPlayTable()
{
    InitialTable();
    credit = 1000;
    while (CoinsOnTable() < 500) {
        for (int k = 0; k < 4; ++k)
            DropPlayerCoin(k % 2 ? LeftLaneX() : RightLaneX());
        RecordedCalls().Clear();
        GameTick(nullptr);
    }
    RecordedCalls().Clear();
    return GameSnapshot::Take();
}

// Every slot in use: deck and field coins spread over the machine, a few falling.
GameSnapshot FullTable()
{
    InitialTable();
    std::mt19937 random(7);
    auto fill = [&](int first, int count, int state, int x0, int x1, int y0, int y1) {
        std::uniform_int_distribution<int> x(x0, x1), y(y0, y1);
        for (int slot = first; slot < first + count; ++slot) {
            coinState[slot] = state;
            coinX[slot] = x(random);
            coinY[slot] = y(random);
            coinSpeed[slot] = 0;
        }
    };
    fill(200, 2200, CoinOnPusher, 116, 285, 175, 254);
    fill(2400, 2500, CoinOnField, 116, 285, 244, 340);
    fill(4900, 100, CoinFalling, 160, 238, 10, 120);
    return GameSnapshot::Take();
}

const GameSnapshot& Table(int which)
{
    static const GameSnapshot tables[] = {InitialTable(), HeavyPlayTable(), FullTable()};
    return tables[which];
}

const char* const TABLE_NAMES[] = {"initial table (200 coins)", "heavy play (~500 coins)",
                                   "full table (5000 coins)"};

// Each iteration runs ticks 1..10 from the table: a whole pusher cycle, advancing and retracting.
template <typename Tick>
void RunCycle(benchmark::State& state, Tick tick)
{
    const GameSnapshot& table = Table(static_cast<int>(state.range(0)));
    state.SetLabel(TABLE_NAMES[state.range(0)]);
    for (auto _ : state) {
        state.PauseTiming();
        table.Restore();
        state.ResumeTiming();
        for (int t = 0; t < 10; ++t) {
            RecordedCalls().Clear();
            tick();
        }
    }
    state.counters["time_per_tick"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 10, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}

void GameTickRecording(benchmark::State& state)
{
    RunCycle(state, [] { GameTick(nullptr); });
}

// The tick with the pair passes in the plain order, without drawing: every slot pair, and the
// quicker variant that passes over slots not in a pass's state at once.
void PlainOrderTick(benchmark::State& state)
{
    RunCycle(state, [] { plain::TickWithoutFrame(plain::Pairs::EveryPair); });
}

void PlainOrderSkippingTick(benchmark::State& state)
{
    RunCycle(state, [] { plain::TickWithoutFrame(plain::Pairs::SkipOtherStates); });
}

} // namespace

BENCHMARK(GameTickRecording)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainOrderTick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(PlainOrderSkippingTick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
