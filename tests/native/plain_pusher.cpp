#include "plain_pusher.h"

#include "game/links.h"

using namespace game;

namespace plain {

namespace {

PusherCounts counts;
Pairs visited = Pairs::SkipOtherStates;

bool SkipsLowerSlot(int i, int state)
{
    return visited == Pairs::SkipOtherStates && coinState[i] != state;
}

bool Follows(int l, int c)
{
    if (l < c)
        return GetLink(l, c) == LinkLowerBehind;
    if (l > c)
        return GetLink(c, l) == LinkLowerAhead;
    return false;
}

void PushApart(int i, int j, int state, int dy)
{
    if (dy >= 0)
        coinY[i] += 7 - dy;
    else
        coinY[j] += 7 + dy;
    for (int k = 0; k < COIN_SLOTS; ++k) {
        if (coinState[k] == state && Follows(k, i)) {
            coinY[k] += 13 - (dy >= 0 ? dy : -dy);
            ++counts.followerShifts;
        }
    }
    ++counts.pushes;
}

void PushPass(int state, int maxDx)
{
    for (int i = 0; i < COIN_SLOTS - 1; ++i) {
        if (SkipsLowerSlot(i, state))
            continue;
        for (int j = i + 1; j < COIN_SLOTS; ++j) {
            if (GetLink(i, j) != LinkNone || coinState[i] != state || coinState[j] != state)
                continue;
            const int dx = coinX[i] - coinX[j];
            if (dx < -maxDx || dx > maxDx)
                continue;
            const int dy = coinY[i] - coinY[j];
            if (dy < -6 || dy > 6)
                continue;
            PushApart(i, j, state, dy);
        }
    }
}

void LinkPass(int state)
{
    for (int lower = 0; lower < COIN_SLOTS - 1; ++lower) {
        if (SkipsLowerSlot(lower, state))
            continue;
        for (int higher = lower + 1; higher < COIN_SLOTS; ++higher) {
            if (GetLink(lower, higher) != LinkNone || coinState[lower] != state ||
                coinState[higher] != state)
                continue;
            const int dx = coinX[lower] - coinX[higher];
            const int dy = coinY[lower] - coinY[higher];
            if (dx < -6 || dx > 6)
                continue;
            if (-6 <= dy && dy <= -1)
                SetLink(lower, higher, LinkLowerBehind);
            else if (0 <= dy && dy <= 6)
                SetLink(lower, higher, LinkLowerAhead);
        }
    }
}

} // namespace

PusherCounts PusherStep(Pairs pairs)
{
    counts = PusherCounts{};
    visited = pairs;
    if (pusherRetracting == 0) {
        ++pusherSpread;
        ++pusherReach;
        for (int k = 0; k < COIN_SLOTS; ++k) {
            if (coinState[k] == CoinOnField && coinY[k] <= originY + 8 * pusherReach + 118)
                coinY[k] = originY + 8 * pusherReach + 118;
        }
        PushPass(CoinOnField, 2);
        for (int k = 0; k < COIN_SLOTS; ++k) {
            if (coinState[k] == CoinOnPusher)
                coinY[k] += 8;
        }
        if (pusherSpread > 0)
            pusherRetracting = 1;
        LinkPass(CoinOnPusher);
    } else {
        --pusherSpread;
        --pusherReach;
        for (int k = 0; k < COIN_SLOTS; ++k) {
            if (coinState[k] == CoinOnPusher) {
                coinY[k] -= 8;
                if (coinY[k] <= originY + 25)
                    coinY[k] = originY + 25;
            }
        }
        PushPass(CoinOnPusher, 3);
        LinkPass(CoinOnField);
        if (pusherSpread < -3)
            pusherRetracting = 0;
    }
    return counts;
}

PusherCounts TickWithoutFrame(Pairs pairs)
{
    ReleaseOwedCoins();
    const PusherCounts made = PusherStep(pairs);
    CatcherStep();
    LotteryStep();
    CoinPass();
    return made;
}

} // namespace plain
