#include "test_support.h"

int CountState(int state)
{
    int count = 0;
    for (int slot = 0; slot < game::COIN_SLOTS; ++slot)
        count += game::coinState[slot] == state;
    return count;
}
