#include "game/state.h"

#include "game/links.h"
#include "game/random.h"

#include <cstring>

namespace game {

int32_t coinY[COIN_SLOTS];
int32_t coinX[COIN_SLOTS];
int32_t coinState[COIN_SLOTS];
int32_t coinSpeed[COIN_SLOTS];

int32_t originX;
int32_t originY;
int32_t pusherSpread;
int32_t pusherReach;
int32_t pusherRetracting;
int32_t catcherOffset;
int32_t catcherOffsetY;
int32_t catcherReturning;
int32_t lotteryRunning;
int32_t coinsOwed;
int32_t credit;
int32_t lampRow;
int32_t lampCol;
int32_t lampLeft;
int32_t lampTop;
int32_t lampRight;
int32_t lampBottom;

namespace {

void SetScalarStartValues()
{
    originX = 100;
    originY = 150;
    pusherSpread = -3;
    pusherReach = -3;
    pusherRetracting = 0;
    catcherOffset = 0;
    catcherOffsetY = 0;
    catcherReturning = 0;
    lotteryRunning = 0;
    coinsOwed = 0;
    credit = 0;
    lampRow = 0;
    lampCol = 0;
    lampLeft = 0;
    lampTop = 0;
    lampRight = 0;
    lampBottom = 0;
}

// The process starts with these values, before anything runs.
const bool g_scalarsStarted = (SetScalarStartValues(), true);

} // namespace

int FindFreeSlot()
{
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinFree)
            return slot;
    }
    return -1;
}

void StartFallingCoin(int slot, int x)
{
    coinX[slot] = x;
    coinY[slot] = EntryHeight();
    coinSpeed[slot] = 0;
    coinState[slot] = CoinFalling;
}

void ResetGame()
{
    std::memset(coinY, 0, sizeof coinY);
    std::memset(coinX, 0, sizeof coinX);
    std::memset(coinState, 0, sizeof coinState);
    std::memset(coinSpeed, 0, sizeof coinSpeed);
    ClearAllLinks();
    SetScalarStartValues();
    SetRandomState(1);
}

} // namespace game
