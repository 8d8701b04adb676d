// Long play and a full table, with the invariants of play checked after every tick.
#include "tools/invariants.h"
#include "test_support.h"

using namespace game;

namespace {

// Holds both arrow keys: `presses` key-downs before each tick, as long as there is credit.
::testing::AssertionResult PlayHoldingBothKeys(InvariantChecker& checker, int ticks, int presses)
{
    for (int tick = 1; tick <= ticks; ++tick) {
        for (int k = 0; k < presses; ++k) {
            checker.BeforeKeyPress();
            DropPlayerCoin(k % 2 ? LeftLaneX() : RightLaneX());
            checker.AfterKeyPress();
        }
        RecordedCalls().Clear();
        GameTick(nullptr);
        const std::string broken = checker.AfterTick(RecordedCalls());
        if (!broken.empty())
            return ::testing::AssertionFailure() << "tick " << tick << ": " << broken;
    }
    return ::testing::AssertionSuccess();
}

} // namespace

using LongPlay = FreshGame;

TEST_F(LongPlay, ThePlayersOwnCreditRunsOutAndTheMachineSettles)
{
    StartGame();
    InvariantChecker checker;
    ASSERT_TRUE(PlayHoldingBothKeys(checker, 3000, 4));
    EXPECT_EQ(0, credit);
    EXPECT_EQ(9, checker.Dropped());
}

TEST_F(LongPlay, AFullTableKeepsThePressAndOwesThePrize)
{
    StartGame();
    // A prize larger than the table: the release fills every free slot and the rest stays owed.
    coinsOwed = 6000;
    InvariantChecker checker;
    GameTick(nullptr);
    ASSERT_EQ("", checker.AfterTick(RecordedCalls()));
    EXPECT_EQ(-1, FindFreeSlot());
    EXPECT_EQ(6000 - 4800, coinsOwed);

    credit = 5;
    checker.BeforeKeyPress();
    DropPlayerCoin(RightLaneX());
    checker.AfterKeyPress();
    EXPECT_EQ(5, credit);

    // As coins are caught and paid out, the owed coins come in at the start of later ticks.
    int owed = coinsOwed;
    bool releasedLater = false;
    for (int tick = 0; tick < 400 && coinsOwed > 0; ++tick) {
        RecordedCalls().Clear();
        GameTick(nullptr);
        ASSERT_EQ("", checker.AfterTick(RecordedCalls())) << "tick " << tick;
        releasedLater = releasedLater || coinsOwed < owed;
        owed = coinsOwed;
    }
    EXPECT_TRUE(releasedLater);
}

TEST_F(LongPlay, HeavyPlayWithPlentyOfCreditKeepsEveryInvariant)
{
    StartGame();
    credit = 1000; // enough to keep both keys busy for the whole run
    InvariantChecker checker;
    ASSERT_TRUE(PlayHoldingBothKeys(checker, 3000, 4));
    EXPECT_GT(checker.PaidOut(), 1000);
    EXPECT_GT(checker.Lotteries(), 0);
}

TEST_F(LongPlay, TenThousandKeyDownsBetweenTwoTicksSpendExactlyTheCredit)
{
    StartGame();
    RunTicks(4);
    ASSERT_EQ(9, credit);
    for (int k = 0; k < 10000; ++k) {
        DropPlayerCoin(k % 2 ? LeftLaneX() : RightLaneX());
        ASSERT_GE(credit, 0);
    }
    EXPECT_EQ(0, credit);
    EXPECT_EQ(9, CountState(CoinFalling));
}
