#include "game/random.h"
#include "test_support.h"

using namespace game;

TEST(Random, FirstResultsFromTheUnseededState)
{
    SetRandomState(1);
    EXPECT_EQ(41, game::rand());
    EXPECT_EQ(18467, game::rand());
    EXPECT_EQ(6334, game::rand());
    EXPECT_EQ(26500, game::rand());
}

using TableSetup = FreshGame;

TEST_F(TableSetup, StartValuesPlaceTheLampSquareAndClearTheCredit)
{
    credit = 7;
    lampRow = 2;
    lampCol = 5;
    SetStartValues();
    EXPECT_EQ(0, credit);
    EXPECT_EQ(0, lampRow);
    EXPECT_EQ(0, lampCol);
    EXPECT_EQ(140, lampLeft);
    EXPECT_EQ(84, lampTop);
    EXPECT_EQ(157, lampRight);
    EXPECT_EQ(101, lampBottom);
}

TEST_F(TableSetup, LinesBeforeTheFirstTick)
{
    EXPECT_EQ(229, DeckFrontEdge());
    EXPECT_EQ(244, FieldPushLine());
    EXPECT_EQ(343, PayoutLine());
    EXPECT_EQ(10, EntryHeight());
}

TEST_F(TableSetup, LaysOutTheKnownTable)
{
    StartGame();
    EXPECT_EQ(200, FindFreeSlot());
    EXPECT_EQ(200, CountState(CoinOnPusher));
    EXPECT_EQ(4800, CountState(CoinFree));

    const struct {
        int slot, x, y;
    } known[] = {{0, 161, 261}, {1, 214, 244}, {89, 268, 278}, {90, 237, 189}, {199, 154, 192}};
    for (const auto& c : known) {
        EXPECT_EQ(c.x, coinX[c.slot]) << "slot " << c.slot;
        EXPECT_EQ(c.y, coinY[c.slot]) << "slot " << c.slot;
    }
    for (int slot = 0; slot < 90; ++slot) {
        EXPECT_TRUE(coinX[slot] >= 120 && coinX[slot] <= 279 && coinY[slot] >= 244 &&
                    coinY[slot] <= 293)
            << "field group slot " << slot;
    }
    for (int slot = 90; slot < 200; ++slot) {
        EXPECT_TRUE(coinX[slot] >= 116 && coinX[slot] <= 285 && coinY[slot] >= 175 &&
                    coinY[slot] <= 254)
            << "deck group slot " << slot;
    }
    // Two draws per coin and no others.
    uint32_t expected = 1;
    for (int i = 0; i < 400; ++i)
        expected = expected * 214013u + 2531011u;
    EXPECT_EQ(expected, RandomState());
}

TEST_F(TableSetup, LinksEveryCloseInitialPair)
{
    StartGame();
    EXPECT_EQ(265, CountLinks(LinkLowerBehind));
    EXPECT_EQ(414, CountLinks(LinkLowerAhead));
    int betweenGroups = 0;
    for (int lower = 0; lower < 90; ++lower) {
        for (int higher = 90; higher < 200; ++higher)
            betweenGroups += GetLink(lower, higher) != LinkNone;
    }
    EXPECT_EQ(161, betweenGroups);

    // The set-up reach is 12 in both directions, ends included.
    for (int lower = 0; lower < 200; ++lower) {
        for (int higher = lower + 1; higher < 200; ++higher) {
            const int dx = coinX[lower] - coinX[higher];
            const int dy = coinY[lower] - coinY[higher];
            const bool close = dx >= -12 && dx <= 12 && dy >= -12 && dy <= 12;
            const int expected = !close ? LinkNone : dy < 0 ? LinkLowerBehind : LinkLowerAhead;
            ASSERT_EQ(expected, GetLink(lower, higher)) << lower << "," << higher;
        }
    }
}

TEST_F(TableSetup, TheArrowKeysDropNothingBeforeThePayOuts)
{
    StartGame();
    DropPlayerCoin(RightLaneX());
    DropPlayerCoin(LeftLaneX());
    EXPECT_EQ(0, credit);
    EXPECT_EQ(200, FindFreeSlot());
}
