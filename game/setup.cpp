#include "game/game.h"
#include "game/links.h"
#include "game/random.h"

namespace game {

namespace {
constexpr int FIELD_GROUP_END = 90;
constexpr int INITIAL_COINS = 200;
} // namespace

void SetStartValues()
{
    lampCol = 0;
    lampRow = 0;
    lampTop = originY - 66;
    lampBottom = lampTop + 17;
    lampLeft = originX + 40;
    lampRight = lampLeft + 17;
    credit = 0;
}

void SetupTable()
{
    for (int slot = 0; slot < COIN_SLOTS; ++slot)
        coinState[slot] = CoinFree;

    // Every initial coin starts on the deck; those laid out from the field push line become the
    // field in the first tick, when the pusher carries them past the deck front edge.
    for (int slot = 0; slot < FIELD_GROUP_END; ++slot) {
        coinState[slot] = CoinOnPusher;
        coinX[slot] = originX + 20 + rand() % 160;
        coinY[slot] = FieldPushLine() + rand() % 50;
    }
    for (int slot = FIELD_GROUP_END; slot < INITIAL_COINS; ++slot) {
        coinState[slot] = CoinOnPusher;
        coinX[slot] = originX + 16 + rand() % 170;
        coinY[slot] = LandingLine() + rand() % 80;
    }
    LinkPass(CoinOnPusher, INITIAL_COINS, LINK_REACH_SETUP);
}

} // namespace game
