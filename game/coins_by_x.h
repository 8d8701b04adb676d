#pragma once

// The coins of one state ordered by x, then by slot. No pair pass changes a coin's x or state,
// so the partners of a coin within some dx of it stay one stretch of this order for a whole pass,
// and a pass need not look at the millions of slot pairs that can never qualify.
#include "game/state.h"

#include <cstdint>

namespace game {

class CoinsByX {
public:
    // Indexes the coins of `state` among slots 0 to n - 1.
    void Build(int state, int n);

    int Count() const { return count; }
    // The indexed slots in ascending order.
    int SlotAt(int k) const { return slots[k]; }

    // Calls visit(j) for every indexed j > i with |coinX[j] - coinX[i]| <= reach, in ascending j.
    template <typename Visit>
    void ForEachLaterPartner(int i, int reach, Visit visit) const;

private:
    static int64_t Key(int x, int slot) { return int64_t{x} * 8192 + slot; }
    static int KeyX(int64_t key) { return static_cast<int>((key - KeySlot(key)) / 8192); }
    static int KeySlot(int64_t key) { return static_cast<int>(((key % 8192) + 8192) % 8192); }
    int FirstAtOrAfter(int64_t key) const;

    int count = 0;
    int slots[COIN_SLOTS];
    int64_t keys[COIN_SLOTS];
};

template <typename Visit>
void CoinsByX::ForEachLaterPartner(int i, int reach, Visit visit) const
{
    // One run per x value in reach; each run is ascending by slot, so a merge of the runs
    // visits the partners in the order of a plain pair loop.
    constexpr int MAX_RUNS = 2 * 12 + 1;
    int head[MAX_RUNS];
    int end[MAX_RUNS];
    int runs = 0;
    const int x = coinX[i];
    int at = FirstAtOrAfter(Key(x - reach, 0));
    while (at < count && KeyX(keys[at]) <= x + reach) {
        const int runX = KeyX(keys[at]);
        const int runEnd = FirstAtOrAfter(Key(runX + 1, 0));
        const int first = FirstAtOrAfter(Key(runX, i + 1));
        if (first < runEnd) {
            head[runs] = first;
            end[runs] = runEnd;
            ++runs;
        }
        at = runEnd;
    }
    for (;;) {
        int best = -1;
        for (int r = 0; r < runs; ++r) {
            if (head[r] < end[r] && (best < 0 || KeySlot(keys[head[r]]) < KeySlot(keys[head[best]])))
                best = r;
        }
        if (best < 0)
            return;
        visit(KeySlot(keys[head[best]]));
        ++head[best];
    }
}

} // namespace game
