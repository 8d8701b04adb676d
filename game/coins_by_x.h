#pragma once

// The coins of one state ordered by x, then by slot. No pair pass changes a coin's x or state,
// so the partners of a coin within some dx of it stay the same few runs of this order for a whole
// pass, and a pass need not look at the millions of slot pairs that can never qualify.
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

    // Calls visit(j) for every indexed j > i with |coinX[j] - coinX[i]| <= reach, in ascending j,
    // as a plain loop over slot pairs meets them. i must be indexed, and successive calls must
    // come in ascending i, as a pair loop makes them.
    template <typename Visit>
    void ForEachLaterPartner(int i, int reach, Visit visit);

    // Calls visit(lower, higher) once for every pair of indexed coins with |dx| <= reach, in no
    // particular order, for passes whose result does not depend on it.
    template <typename Visit>
    void ForEachPairWithin(int reach, Visit visit) const;

    static constexpr int MAX_REACH = 12;

private:
    // The stretches [head, end) of the runs within reach that hold partners of i; returns how many.
    int PartnerRuns(int i, int reach, int* head, int* end);

    int count = 0;
    int slots[COIN_SLOTS];
    int64_t keys[COIN_SLOTS];      // x * 8192 + slot, ascending
    int sortedSlots[COIN_SLOTS];   // the slot of each key
    int runCount = 0;
    int runX[COIN_SLOTS];          // one run per distinct x, ascending
    int runStart[COIN_SLOTS + 1];  // the first key of each run, then the end of the last
    int runOfSlot[COIN_SLOTS];
    int runCursor[COIN_SLOTS];     // per run, the first key whose slot lies above the last i asked
};

template <typename Visit>
void CoinsByX::ForEachLaterPartner(int i, int reach, Visit visit)
{
    // Each run is ascending by slot, so merging the runs gives ascending j.
    int head[2 * MAX_REACH + 1];
    int end[2 * MAX_REACH + 1];
    const int runs = PartnerRuns(i, reach, head, end);
    for (;;) {
        int best = -1;
        for (int r = 0; r < runs; ++r) {
            if (head[r] < end[r] && (best < 0 || sortedSlots[head[r]] < sortedSlots[head[best]]))
                best = r;
        }
        if (best < 0)
            return;
        visit(sortedSlots[head[best]]);
        ++head[best];
    }
}

template <typename Visit>
void CoinsByX::ForEachPairWithin(int reach, Visit visit) const
{
    for (int p = 0; p < count; ++p) {
        const int a = sortedSlots[p];
        const int reachEnd = coinX[a] + reach;
        for (int q = p + 1; q < count && coinX[sortedSlots[q]] <= reachEnd; ++q) {
            const int b = sortedSlots[q];
            if (a < b)
                visit(a, b);
            else
                visit(b, a);
        }
    }
}

} // namespace game
