#include "game/game.h"

namespace game {

void DropPlayerCoin(int x)
{
    if (credit <= 0)
        return;
    // With every slot in use the press does nothing, so the player's coin is not lost.
    const int slot = FindFreeSlot();
    if (slot < 0)
        return;
    --credit;
    StartFallingCoin(slot, x);
}

void PressArrowKey(bool right)
{
    DropPlayerCoin(right ? RightLaneX() : LeftLaneX());
}

} // namespace game
