#include "bench/bench_tables.h"

#include "game/game.h"

#include <random>

using namespace game;

void LayInitialTable()
{
    ResetGame();
    SetStartValues();
    SetupTable();
}

void LayFullTable()
{
    LayInitialTable();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(116, 285), deckY(175, 254), fieldY(244, 340);
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] != CoinFree)
            continue;
        const bool onDeck = slot % 2 == 0;
        coinState[slot] = onDeck ? CoinOnPusher : CoinOnField;
        coinX[slot] = x(random);
        coinY[slot] = onDeck ? deckY(random) : fieldY(random);
        coinSpeed[slot] = 0;
    }
}

int CoinsInPlay()
{
    int count = 0;
    for (int slot = 0; slot < COIN_SLOTS; ++slot)
        count += coinState[slot] != CoinFree;
    return count;
}
