#include "game/assets.h"
#include "game/game.h"
#include "game/random.h"

namespace game {

const int PAYOUT_GRID[LAMP_ROWS][LAMP_COLUMNS] = {
    {10, 0, 20, 100, 0, 70, 0, 0},
    {0, 20, 0, 10, 0, 50, 20, 500},
    {0, 20, 0, 50, 10, 0, 70, 0},
};

namespace {
constexpr int CATCHER_STEP = 12;
constexpr int LAMP_STOP_CHANCE = 20;
} // namespace

void CatcherStep()
{
    if (catcherReturning == 0) {
        catcherOffset += CATCHER_STEP;
        if (catcherOffset >= 140)
            catcherReturning = 1;
    } else {
        catcherOffset -= CATCHER_STEP;
        if (catcherOffset <= 0)
            catcherReturning = 0;
    }
}

void LotteryStep()
{
    if (lotteryRunning != 1)
        return;
    PlayWave(LAMP_STEP_SOUND);
    if (lampCol < LAMP_COLUMNS - 1) {
        ++lampCol;
    } else {
        lampCol = 0;
        lampRow = lampRow < LAMP_ROWS - 1 ? lampRow + 1 : 0;
    }
    if (rand() % LAMP_STOP_CHANCE == 0) {
        PlayWave(LAMP_STOP_SOUND);
        lotteryRunning = 0;
        coinsOwed += PAYOUT_GRID[lampRow][lampCol];
    }
}

} // namespace game
