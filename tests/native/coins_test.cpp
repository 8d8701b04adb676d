#include "game/random.h"
#include "test_support.h"

#include <cstring>

using namespace game;

namespace {

int DrawsSince(uint32_t state)
{
    int draws = 0;
    while (state != RandomState() && draws < 1000) {
        state = state * 214013u + 2531011u;
        ++draws;
    }
    return draws;
}

int CountCalls(CallKind kind, const char* name)
{
    int count = 0;
    for (const RecordedCall& c : RecordedCalls().Calls())
        count += c.kind == kind && std::strcmp(c.Name(), name) == 0;
    return count;
}

} // namespace

using CoinLife = FreshGame;

TEST_F(CoinLife, APrizeFillsTheLowestFreeSlotsAtTheEntryHeight)
{
    PlaceCoin(0, CoinOnField, 200, 300);
    PlaceCoin(2, CoinOnField, 220, 300);
    coinsOwed = 10;
    ReleaseOwedCoins();
    EXPECT_EQ(0, coinsOwed);
    const int expectedSlots[] = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int slot : expectedSlots) {
        EXPECT_EQ(CoinFalling, coinState[slot]);
        EXPECT_EQ(10, coinY[slot]);
        EXPECT_EQ(0, coinSpeed[slot]);
        EXPECT_TRUE(coinX[slot] >= 160 && coinX[slot] <= 238) << coinX[slot];
    }
    EXPECT_EQ(12, FindFreeSlot());
}

TEST_F(CoinLife, APrizeLargerThanTheFreeSlotsStaysOwedUntilSlotsFree)
{
    for (int slot = 0; slot < COIN_SLOTS - 100; ++slot)
        PlaceCoin(slot, CoinOnField, 200, 300);
    coinsOwed = 500;
    const uint32_t before = RandomState();
    ReleaseOwedCoins();
    EXPECT_EQ(400, coinsOwed);
    EXPECT_EQ(-1, FindFreeSlot());
    EXPECT_EQ(100, DrawsSince(before)); // one draw per coin placed, none for the rest

    coinState[7] = CoinFree;
    coinState[4000] = CoinFree;
    ReleaseOwedCoins();
    EXPECT_EQ(398, coinsOwed);
    EXPECT_EQ(CoinFalling, coinState[7]);
    EXPECT_EQ(CoinFalling, coinState[4000]);
}

TEST_F(CoinLife, ThePinZoneLimitIsInclusiveForStallAndJostleRolls)
{
    // From the unseeded state the draws are 41, 18467, 6334, 26500: the fourth stalls (% 5 == 0).
    const struct {
        int y, speed, skipDraws;
        int draws, expectY;
    } cases[] = {
        {84, 0, 0, 1, 90},  // stall roll before the move; the move ends out of the zone
        {85, 0, 0, 0, 91},  // below the limit: no roll at all
        {78, 0, 0, 2, 84},  // stall roll, and the move ends on the limit: jostle roll
        {70, 9, 0, 1, 85},  // the move ends one pixel past the limit: no jostle
        {84, 0, 3, 2, 84},  // stalled: it stays in the zone and is jostled all the same
    };
    for (const auto& c : cases) {
        ResetGame();
        for (int k = 0; k < c.skipDraws; ++k)
            game::rand();
        PlaceCoin(0, CoinFalling, 400, c.y, c.speed);
        const uint32_t before = RandomState();
        CoinPass();
        EXPECT_EQ(c.draws, DrawsSince(before)) << "y " << c.y;
        EXPECT_EQ(c.expectY, coinY[0]) << "y " << c.y;
    }
}

TEST_F(CoinLife, FallingCoinsLandOnTheLandingLine)
{
    const struct {
        int y;
        int expectedState;
    } cases[] = {{169, CoinOnPusher}, {168, CoinFalling}};
    for (const auto& c : cases) {
        ResetGame();
        PlaceCoin(0, CoinFalling, 400, c.y);
        CoinPass();
        EXPECT_EQ(c.expectedState, coinState[0]) << "from y " << c.y;
    }
}

TEST_F(CoinLife, ACoinFallsSixTwelveEighteenPixelsAndLandsAt178)
{
    PlaceCoin(0, CoinFalling, 400, 100, 30); // past the pin zone, as after five moves
    CoinPass();
    EXPECT_EQ(136, coinY[0]);
    CoinPass();
    EXPECT_EQ(178, coinY[0]);
    EXPECT_EQ(CoinOnPusher, coinState[0]);
}

TEST_F(CoinLife, TheCatchBandIsOpenVerticallyAndClosedHorizontally)
{
    const struct {
        int x, y;
        bool caught;
    } cases[] = {
        {130, 125, false}, {130, 126, true}, {130, 164, true}, {130, 165, false},
        {126, 140, true},  {136, 140, true}, {125, 140, false}, {137, 140, false},
    };
    for (const auto& c : cases) {
        ResetGame();
        RecordedCalls().Clear();
        PlaceCoin(0, CoinFalling, c.x, c.y - 6); // one move of 6 ends at y
        CoinPass();
        EXPECT_EQ(c.caught ? CoinFree : CoinFalling, coinState[0]) << c.x << "," << c.y;
        EXPECT_EQ(c.caught ? 1 : 0, lotteryRunning);
        EXPECT_EQ(c.caught ? 1 : 0, CountCalls(CallKind::Sound, "in.wav"));
        // A caught coin is still drawn where it dropped in.
        EXPECT_EQ(1, CountCalls(CallKind::Sprite, "coin.bmp"));
        EXPECT_EQ(0, credit);
    }
}

TEST_F(CoinLife, TheCatchBandMovesWithTheCatcher)
{
    catcherOffset = 144;
    PlaceCoin(0, CoinFalling, 280, 134);
    PlaceCoin(1, CoinFalling, 130, 134);
    CoinPass();
    EXPECT_EQ(CoinFree, coinState[0]);
    EXPECT_EQ(CoinFalling, coinState[1]);
}

TEST_F(CoinLife, DeckCoinsDropToTheFieldOnTheDeckFrontEdge)
{
    pusherReach = -3; // edge at 229
    PlaceCoin(0, CoinOnPusher, 200, 229);
    PlaceCoin(1, CoinOnPusher, 250, 228);
    PlaceCoin(2, CoinOnField, 203, 233);
    CoinPass();
    EXPECT_EQ(CoinOnField, coinState[0]);
    EXPECT_EQ(CoinOnPusher, coinState[1]);
    EXPECT_EQ(LinkLowerBehind, GetLink(0, 2)); // field-entry link with the coin near it
}

TEST_F(CoinLife, FieldCoinsArePaidPastThePayOutLine)
{
    PlaceCoin(0, CoinOnField, 200, 343);
    PlaceCoin(1, CoinOnField, 220, 344);
    PlaceCoin(2, CoinOnField, 230, 350);
    SetLink(1, 2, LinkLowerBehind);
    SetLink(0, 1, LinkLowerBehind);
    SetLink(0, 2, LinkLowerAhead);
    CoinPass();
    EXPECT_EQ(CoinOnField, coinState[0]);
    EXPECT_EQ(CoinFree, coinState[1]);
    EXPECT_EQ(CoinFree, coinState[2]);
    EXPECT_EQ(2, credit);
    EXPECT_EQ(2, CountCalls(CallKind::Sound, "coin.wav"));
    EXPECT_EQ(0, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead));
    // Paid coins show once in the tray, at their own x, and never as lying coins.
    int tray = 0;
    for (const RecordedCall& c : RecordedCalls().Calls()) {
        if (c.kind == CallKind::Sprite && std::strcmp(c.Name(), "coin.bmp") == 0) {
            ++tray;
            EXPECT_TRUE(c.args[0] == 220 || c.args[0] == 230);
            EXPECT_TRUE(c.args[1] >= 343 && c.args[1] <= 382);
        }
    }
    EXPECT_EQ(2, tray);
    EXPECT_EQ(1, CountCalls(CallKind::Sprite, "coin2.bmp"));
    EXPECT_EQ(350, coinY[2]); // the tray height is not stored
}

TEST_F(CoinLife, ADeckCoinPastThePayOutLineIsPaidInTheSamePass)
{
    PlaceCoin(0, CoinOnPusher, 200, 360);
    CoinPass();
    EXPECT_EQ(CoinFree, coinState[0]);
    EXPECT_EQ(1, credit);
    EXPECT_EQ(0, CountCalls(CallKind::Sprite, "coin2.bmp"));
    EXPECT_EQ(1, CountCalls(CallKind::Sprite, "coin.bmp"));
}

TEST_F(CoinLife, ALandingCoinIsDrawnFallingThenLyingAtTheSamePoint)
{
    PlaceCoin(0, CoinFalling, 200, 169);
    CoinPass();
    const CallLog& calls = RecordedCalls();
    ASSERT_EQ(2u, calls.Size());
    EXPECT_STREQ("coin.bmp", calls[0].Name());
    EXPECT_STREQ("coin2.bmp", calls[1].Name());
    EXPECT_EQ(calls[0].args[1], calls[1].args[1]);
}
