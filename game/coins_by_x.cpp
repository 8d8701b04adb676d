#include "game/coins_by_x.h"

#include <algorithm>

namespace game {

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
}

int CoinsByX::FirstAtOrAfter(int64_t key) const
{
    return static_cast<int>(std::lower_bound(keys, keys + count, key) - keys);
}

} // namespace game
