#include "game/coins_by_x.h"
#include "game/game.h"
#include "game/links.h"

namespace game {

PusherCounts lastPusherCounts;

namespace {

constexpr int PUSH_DY = 6;
constexpr int FIELD_PUSH_DX = 2;
constexpr int DECK_PUSH_DX = 3;
constexpr int DECK_CARRY = 8;

// Visits the unlinked pairs of `state` with |dx| <= maxDx and |dy| <= 6 in the order of a plain
// loop over all slot pairs, so pushes and follower moves land exactly as that loop would make them.
void PushPass(int state, int maxDx)
{
    static CoinsByX candidates;
    candidates.Build(state, COIN_SLOTS);
    for (int k = 0; k < candidates.Count(); ++k) {
        const int i = candidates.SlotAt(k);
        candidates.ForEachLaterPartner(i, maxDx, [&](int j) {
            if (Linked(i, j))
                return;
            const int dy = coinY[i] - coinY[j];
            if (dy < -PUSH_DY || dy > PUSH_DY)
                return;
            PushApart(i, j, state, dy);
        });
    }
}

void AdvancingTick()
{
    ++pusherSpread;
    ++pusherReach;
    const int pushLine = FieldPushLine();
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinOnField && coinY[slot] <= pushLine)
            coinY[slot] = pushLine;
    }
    PushPass(CoinOnField, FIELD_PUSH_DX);
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinOnPusher)
            coinY[slot] += DECK_CARRY;
    }
    if (pusherSpread > 0)
        pusherRetracting = 1;
    LinkPass(CoinOnPusher, COIN_SLOTS, LINK_REACH_PLAY);
}

void RetractingTick()
{
    --pusherSpread;
    --pusherReach;
    const int landing = LandingLine();
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinOnPusher) {
            coinY[slot] -= DECK_CARRY;
            if (coinY[slot] <= landing)
                coinY[slot] = landing;
        }
    }
    PushPass(CoinOnPusher, DECK_PUSH_DX);
    LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
    if (pusherSpread < -3)
        pusherRetracting = 0;
}

} // namespace

void PushApart(int i, int j, int state, int dy)
{
    // The coin ahead goes exactly 7 pixels ahead of the other; on equal y coin i counts as ahead.
    if (dy >= 0)
        coinY[i] += 7 - dy;
    else
        coinY[j] += 7 + dy;

    // The followers of i move along, whichever coin moved.
    const int shift = 13 - (dy >= 0 ? dy : -dy);
    ForEachFollower(i, [&](int k) {
        if (coinState[k] == state) {
            coinY[k] += shift;
            ++lastPusherCounts.followerShifts;
        }
    });
    ++lastPusherCounts.pushes;
}

void PusherStep()
{
    lastPusherCounts = PusherCounts{};
    if (pusherRetracting == 0)
        AdvancingTick();
    else
        RetractingTick();
}

} // namespace game
