// The game's pusher step finds its pairs by position; it must give exactly what the plain order
// over every slot pair gives, tick after tick, however the table looks.
#include "game/game_snapshot.h"
#include "plain_pusher.h"
#include "test_support.h"

#include <random>

using namespace game;

namespace {

// Runs one tick both ways from the same state and leaves the game's result in place.
::testing::AssertionResult TickMatchesPlainOrder(int tick)
{
    const GameSnapshot before = GameSnapshot::Take();
    const PusherCounts plainCounts = plain::TickWithoutFrame();
    const GameSnapshot expected = GameSnapshot::Take();

    before.Restore();
    RecordedCalls().Clear();
    GameTick(nullptr);
    const GameSnapshot actual = GameSnapshot::Take();

    if (!(actual == expected))
        return ::testing::AssertionFailure()
               << "tick " << tick << ": " << FirstDifference(actual, expected);
    if (lastPusherCounts.pushes != plainCounts.pushes ||
        lastPusherCounts.followerShifts != plainCounts.followerShifts)
        return ::testing::AssertionFailure() << "tick " << tick << ": push counts differ";
    return ::testing::AssertionSuccess();
}

// Coins of a pile: x within a narrow column so that many pairs qualify for pushes and links.
void FillPile(std::mt19937& random, int first, int count, int state, int xFrom, int xTo, int yFrom,
              int yTo)
{
    std::uniform_int_distribution<int> x(xFrom, xTo);
    std::uniform_int_distribution<int> y(yFrom, yTo);
    for (int slot = first; slot < first + count; ++slot) {
        coinState[slot] = state;
        coinX[slot] = x(random);
        coinY[slot] = y(random);
    }
}

// Links of random direction between coins that lie near each other, as play leaves them.
void LinkSomeNeighbours(std::mt19937& random, int count, int reach)
{
    std::bernoulli_distribution pick(0.5);
    for (int lower = 0; lower < count; ++lower) {
        for (int higher = lower + 1; higher < count; ++higher) {
            const int dx = coinX[lower] - coinX[higher];
            const int dy = coinY[lower] - coinY[higher];
            if (dx >= -reach && dx <= reach && dy >= -reach && dy <= reach && pick(random))
                SetLink(lower, higher, pick(random) ? LinkLowerBehind : LinkLowerAhead);
        }
    }
}

} // namespace

using PusherEquivalence = FreshGame;

TEST_F(PusherEquivalence, LongReplayWithBothArrowKeysHeld)
{
    StartGame();
    for (int tick = 1; tick <= 600; ++tick) {
        // A player holding both keys: several presses a tick while the credit lasts.
        for (int press = 0; press < 4 && credit > 0; ++press)
            DropPlayerCoin(press % 2 ? LeftLaneX() : RightLaneX());
        ASSERT_TRUE(TickMatchesPlainOrder(tick));
    }
}

TEST_F(PusherEquivalence, DensePilesOnDeckAndField)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        ResetGame();
        SetStartValues();
        std::mt19937 random(seed);
        const int deck = 150 + static_cast<int>(seed) * 20;
        const int field = 200 + static_cast<int>(seed) * 25;
        FillPile(random, 0, deck, CoinOnPusher, 180, 200, 175, 250);
        FillPile(random, deck, field, CoinOnField, 175, 205, 240, 330);
        FillPile(random, deck + field, 40, CoinFalling, 160, 238, 10, 170);
        LinkSomeNeighbours(random, deck + field, 6);
        pusherRetracting = static_cast<int>(seed % 2);
        pusherSpread = pusherReach = pusherRetracting ? 1 - static_cast<int>(seed % 5)
                                                      : -4 + static_cast<int>(seed % 5);
        for (int tick = 1; tick <= 25; ++tick)
            ASSERT_TRUE(TickMatchesPlainOrder(tick));
    }
}

TEST_F(PusherEquivalence, FullTable)
{
    StartGame();
    std::mt19937 random(7);
    // Every free slot taken: deck and field coins spread over the machine, a few falling.
    FillPile(random, 200, 2200, CoinOnPusher, 116, 285, 175, 254);
    FillPile(random, 2400, 2500, CoinOnField, 116, 285, 244, 340);
    FillPile(random, 4900, 100, CoinFalling, 160, 238, 10, 120);
    ASSERT_EQ(-1, FindFreeSlot());
    for (int tick = 1; tick <= 12; ++tick)
        ASSERT_TRUE(TickMatchesPlainOrder(tick));
}
