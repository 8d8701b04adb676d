#include "game/assets.h"
#include "game/game.h"
#include "game/links.h"
#include "game/random.h"

namespace game {

namespace {

constexpr int STALL_CHANCE = 5;
constexpr int TRAY_DEPTH = 40;

void DrawFallingCoin(int x, int y)
{
    g_mainCanvas.DrawSprite(x, y, FALLING_COIN.image, FALLING_COIN.mask, FALLING_COIN.width,
                            FALLING_COIN.height);
}

void DrawLyingCoin(int slot)
{
    g_mainCanvas.DrawSprite(coinX[slot], coinY[slot], LYING_COIN.image, LYING_COIN.mask,
                            LYING_COIN.width, LYING_COIN.height);
}

void FallingCoin(int slot)
{
    const bool stalled = coinY[slot] <= PinZoneLimit() && rand() % STALL_CHANCE == 0;
    if (!stalled) {
        coinSpeed[slot] += FALL_ACCELERATION;
        coinY[slot] += coinSpeed[slot];
    }
    if (coinY[slot] <= PinZoneLimit())
        coinX[slot] += rand() % (2 * JOSTLE_REACH + 1) - JOSTLE_REACH;
    if (InCatchBand(coinX[slot], coinY[slot])) {
        coinState[slot] = CoinFree;
        PlayWave(CATCH_SOUND);
        lotteryRunning = 1;
    }
    // A caught coin is seen once more where it dropped in.
    DrawFallingCoin(coinX[slot], coinY[slot]);
    if (coinY[slot] >= LandingLine())
        coinState[slot] = CoinOnPusher;
}

void DeckCoin(int slot)
{
    if (coinY[slot] < DeckFrontEdge()) {
        DrawLyingCoin(slot);
        return;
    }
    coinState[slot] = CoinOnField;
    LinkFieldEntry(slot);
}

void FieldCoin(int slot)
{
    if (coinY[slot] <= PayoutLine()) {
        DrawLyingCoin(slot);
        return;
    }
    ++credit;
    coinState[slot] = CoinPaidOut;
    PlayWave(PAYOUT_SOUND);
    UnlinkCoin(slot);
}

void PaidOutCoin(int slot)
{
    DrawFallingCoin(coinX[slot], PayoutLine() + rand() % TRAY_DEPTH);
    coinState[slot] = CoinFree;
}

} // namespace

void ReleaseOwedCoins()
{
    // A prize coin that finds no free slot stays owed until a later tick frees one.
    while (coinsOwed > 0) {
        const int slot = FindFreeSlot();
        if (slot < 0)
            return;
        --coinsOwed;
        StartFallingCoin(slot, originX + rand() % 79 + 60);
    }
}

void CoinPass()
{
    // Each block sees the state the one before left, so a coin can land, drop to the field or be
    // paid out and shown in the tray in the same pass.
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinFree)
            continue;
        if (coinState[slot] == CoinFalling)
            FallingCoin(slot);
        if (coinState[slot] == CoinOnPusher)
            DeckCoin(slot);
        if (coinState[slot] == CoinOnField)
            FieldCoin(slot);
        if (coinState[slot] == CoinPaidOut)
            PaidOutCoin(slot);
    }
}

} // namespace game
