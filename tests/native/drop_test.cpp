#include "test_support.h"

using namespace game;

using CoinDrop = FreshGame;

TEST_F(CoinDrop, EachPressSpendsOneCreditForOneCoinInItsLane)
{
    credit = 3;
    PlaceCoin(0, CoinOnField, 200, 300);
    PlaceCoin(2, CoinOnField, 200, 300);
    DropPlayerCoin(RightLaneX());
    DropPlayerCoin(RightLaneX());
    DropPlayerCoin(LeftLaneX());
    DropPlayerCoin(LeftLaneX()); // no credit left
    EXPECT_EQ(0, credit);
    const struct {
        int slot, x;
    } dropped[] = {{1, 238}, {3, 238}, {4, 160}};
    for (const auto& d : dropped) {
        EXPECT_EQ(CoinFalling, coinState[d.slot]);
        EXPECT_EQ(d.x, coinX[d.slot]);
        EXPECT_EQ(10, coinY[d.slot]);
        EXPECT_EQ(0, coinSpeed[d.slot]);
    }
    EXPECT_EQ(5, FindFreeSlot());
}

TEST_F(CoinDrop, WithEverySlotInUseAPressKeepsTheCredit)
{
    for (int slot = 0; slot < COIN_SLOTS; ++slot)
        PlaceCoin(slot, CoinOnField, 200, 300);
    credit = 4;
    DropPlayerCoin(RightLaneX());
    EXPECT_EQ(4, credit);
    EXPECT_EQ(-1, FindFreeSlot());

    coinState[4321] = CoinFree;
    DropPlayerCoin(LeftLaneX());
    EXPECT_EQ(3, credit);
    EXPECT_EQ(CoinFalling, coinState[4321]);
}

TEST_F(CoinDrop, ADroppedCoinFirstMovesInTheNextTick)
{
    SetStartValues();
    credit = 1;
    DropPlayerCoin(RightLaneX());
    EXPECT_EQ(10, coinY[0]);
    RunTicks(1);
    EXPECT_TRUE(coinY[0] == 16 || coinY[0] == 10); // 16 unless it hung in the pins
    EXPECT_EQ(0, credit);
}
