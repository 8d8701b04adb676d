#include "test_support.h"

using namespace game;

using Pusher = FreshGame;

TEST_F(Pusher, PushApartPutsTheCoinAheadSevenPixelsOnAndMovesTheFollowersOfTheLowerCoin)
{
    const struct {
        int yi, yj;             // before the push
        int expectI, expectJ;   // after it
        int followerShift;
    } cases[] = {
        {250, 250, 257, 250, 13}, // level: the lower index counts as ahead
        {256, 250, 257, 250, 7},  // dy 6: the coin ahead moves 1
        {251, 250, 257, 250, 12}, // dy 1: it moves 6
        {250, 253, 250, 257, 10}, // j ahead by 3: j moves 4, i stays
        {250, 256, 250, 257, 7},
    };
    for (const auto& c : cases) {
        ResetGame();
        PlaceCoin(5, CoinOnField, 200, c.yi);
        PlaceCoin(9, CoinOnField, 200, c.yj);
        PlaceCoin(2, CoinOnField, 150, 240); // follows 5: lower index, lay behind
        PlaceCoin(30, CoinOnField, 260, 240); // follows 5: higher index, 5 lay ahead
        PlaceCoin(40, CoinOnPusher, 260, 200); // follows 5 but is not in the pass's state
        PlaceCoin(50, CoinOnField, 100, 240); // follows 9 only
        SetLink(2, 5, LinkLowerBehind);
        SetLink(5, 30, LinkLowerAhead);
        SetLink(5, 40, LinkLowerAhead);
        SetLink(9, 50, LinkLowerAhead);
        PushApart(5, 9, CoinOnField, c.yi - c.yj);
        EXPECT_EQ(c.expectI, coinY[5]) << c.yi << " " << c.yj;
        EXPECT_EQ(c.expectJ, coinY[9]) << c.yi << " " << c.yj;
        EXPECT_EQ(240 + c.followerShift, coinY[2]);
        EXPECT_EQ(240 + c.followerShift, coinY[30]);
        EXPECT_EQ(200, coinY[40]);
        EXPECT_EQ(240, coinY[50]);
    }
}

TEST_F(Pusher, WhichPairsArePushed)
{
    const struct {
        int state, dx, dy;
        bool pushed;
    } cases[] = {
        {CoinOnField, 2, 0, true},   {CoinOnField, -2, 6, true}, {CoinOnField, 3, 0, false},
        {CoinOnPusher, 3, 0, true},  {CoinOnPusher, -3, 0, true}, {CoinOnPusher, 4, 0, false},
        {CoinOnField, 0, 7, false},  {CoinOnField, 0, -7, false}, {CoinOnPusher, 0, -6, true},
    };
    for (const auto& c : cases) {
        ResetGame();
        // An advancing tick pushes field coins, a retracting one deck coins; both well clear of
        // the field push line and the landing line.
        pusherRetracting = c.state == CoinOnPusher;
        pusherSpread = pusherReach = c.state == CoinOnPusher ? 1 : -4;
        const int y = c.state == CoinOnPusher ? 230 : 300;
        PlaceCoin(0, c.state, 200 + c.dx, y + c.dy);
        PlaceCoin(1, c.state, 200, y);
        PusherStep();
        EXPECT_EQ(c.pushed ? 1 : 0, lastPusherCounts.pushes)
            << "state " << c.state << " dx " << c.dx << " dy " << c.dy;
    }
}

TEST_F(Pusher, LinkedCoinsNeverPushEachOther)
{
    pusherSpread = pusherReach = -4;
    PlaceCoin(0, CoinOnField, 200, 300);
    PlaceCoin(1, CoinOnField, 200, 300);
    SetLink(0, 1, LinkLowerAhead);
    PusherStep();
    EXPECT_EQ(0, lastPusherCounts.pushes);
    EXPECT_EQ(300, coinY[0]);
    EXPECT_EQ(300, coinY[1]);
}

TEST_F(Pusher, TheAdvancingPusherClampsFieldCoinsToItsLineAndCarriesTheDeck)
{
    pusherSpread = pusherReach = -4; // the line moves to 150 - 24 + 118 = 244
    PlaceCoin(0, CoinOnField, 120, 244);
    PlaceCoin(1, CoinOnField, 140, 243);
    PlaceCoin(2, CoinOnField, 160, 300);
    PlaceCoin(3, CoinOnPusher, 180, 180);
    PlaceCoin(4, CoinFalling, 200, 100);
    PusherStep();
    EXPECT_EQ(244, coinY[0]);
    EXPECT_EQ(244, coinY[1]);
    EXPECT_EQ(300, coinY[2]);
    EXPECT_EQ(188, coinY[3]);
    EXPECT_EQ(100, coinY[4]);
}

TEST_F(Pusher, TheRetractingPusherCarriesTheDeckBackToTheLandingLineAndLeavesTheField)
{
    pusherRetracting = 1;
    pusherSpread = pusherReach = 1;
    PlaceCoin(0, CoinOnPusher, 120, 180);
    PlaceCoin(1, CoinOnPusher, 160, 190);
    PlaceCoin(2, CoinOnField, 200, 250);
    PusherStep();
    EXPECT_EQ(175, coinY[0]);
    EXPECT_EQ(182, coinY[1]);
    EXPECT_EQ(250, coinY[2]);
}

TEST_F(Pusher, DeckCoinsCloseTogetherAreLinkedAfterAnAdvancingStep)
{
    pusherSpread = pusherReach = -4;
    PlaceCoin(0, CoinOnPusher, 200, 200);
    PlaceCoin(1, CoinOnPusher, 206, 194);
    PlaceCoin(2, CoinOnPusher, 200, 206);
    PusherStep();
    EXPECT_EQ(LinkLowerAhead, GetLink(0, 1));
    EXPECT_EQ(LinkLowerBehind, GetLink(0, 2));
    EXPECT_EQ(LinkNone, GetLink(1, 2));
}

TEST_F(Pusher, TheCycleTurnsAtTickFourAndNineThenEveryFiveTicks)
{
    const int expected[] = {-2, -1, 0, 1, 0, -1, -2, -3, -4, -3, -2, -1, 0, 1, 0, -1, -2, -3, -4};
    int tick = 0;
    std::vector<int> turns;
    for (int counter : expected) {
        ++tick;
        const int direction = pusherRetracting;
        PusherStep();
        EXPECT_EQ(counter, pusherReach) << "tick " << tick;
        EXPECT_EQ(pusherReach, pusherSpread);
        if (pusherRetracting != direction)
            turns.push_back(tick);
    }
    EXPECT_EQ((std::vector<int>{4, 9, 14, 19}), turns);
}
