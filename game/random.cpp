#include "game/random.h"

namespace game {

namespace {
uint32_t g_randomState = 1;
}

int rand()
{
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int>((g_randomState >> 16) & 0x7FFF);
}

uint32_t RandomState()
{
    return g_randomState;
}

void SetRandomState(uint32_t state)
{
    g_randomState = state;
}

} // namespace game
