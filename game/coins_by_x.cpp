#include "game/coins_by_x.h"

#include <algorithm>

namespace game {

namespace {

int64_t Key(int x, int slot)
{
    return int64_t{x} * 8192 + slot;
}

int SlotOfKey(int64_t key)
{
    return static_cast<int>(((key % 8192) + 8192) % 8192);
}

} // namespace

void CoinsByX::Build(int state, int n)
{
    count = 0;
    for (int slot = 0; slot < n; ++slot) {
        if (coinState[slot] == state) {
            slots[count] = slot;
            keys[count] = Key(coinX[slot], slot);
            ++count;
        }
    }
    std::sort(keys, keys + count);

    runCount = 0;
    for (int k = 0; k < count; ++k) {
        const int slot = SlotOfKey(keys[k]);
        const int x = coinX[slot];
        if (runCount == 0 || runX[runCount - 1] != x) {
            runX[runCount] = x;
            runStart[runCount] = k;
            ++runCount;
        }
        sortedSlots[k] = slot;
        runOfSlot[slot] = runCount - 1;
    }
    runStart[runCount] = count;
    for (int r = 0; r < runCount; ++r)
        runCursor[r] = runStart[r];
}

int CoinsByX::PartnerRuns(int i, int reach, int* head, int* end)
{
    const int x = coinX[i];
    int first = runOfSlot[i];
    while (first > 0 && runX[first - 1] >= x - reach)
        --first;
    int runs = 0;
    for (int r = first; r < runCount && runX[r] <= x + reach; ++r) {
        // i only grows during a pass, so each cursor only moves forward.
        int& later = runCursor[r];
        while (later < runStart[r + 1] && sortedSlots[later] <= i)
            ++later;
        if (later < runStart[r + 1]) {
            head[runs] = later;
            end[runs] = runStart[r + 1];
            ++runs;
        }
    }
    return runs;
}

} // namespace game
