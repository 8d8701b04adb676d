#pragma once

// The operations of the coin pusher game. The application calls SetStartValues and SetupTable at
// window creation, GameTick on every timer message and DropPlayerCoin on the arrow keys.
#include "canvas/canvas.h"
#include "game/state.h"

namespace game {

// Lamp position, lamp square corners and credit, as at window creation.
void SetStartValues();
// Frees every slot, places the 200 initial coins and links them.
void SetupTable();

// One step of the game and its whole frame on g_mainCanvas; then asks `window` to repaint. The
// shell runs it every GAME_TICK_MS.
constexpr int GAME_TICK_MS = 200;
void GameTick(WindowHandle window);

// Spends one credit and drops a coin at lane x, if there is credit and a free slot.
void DropPlayerCoin(int x);
// An arrow key's press: the coin goes into the right lane for Right, the left lane for Left.
void PressArrowKey(bool right);

// The steps of a tick, in the order GameTick runs them.
void ReleaseOwedCoins();
void PusherStep();
void CatcherStep();
void LotteryStep();
void CoinPass();

// Pushes the pair i < j of the pass over `state` apart and moves the followers of i.
void PushApart(int i, int j, int state, int dy);

// Prize of each lamp cell, by row and column.
constexpr int LAMP_ROWS = 3;
constexpr int LAMP_COLUMNS = 8;
extern const int PAYOUT_GRID[LAMP_ROWS][LAMP_COLUMNS];

// What the last PusherStep did, for tests and the replay runner.
struct PusherCounts {
    int pushes;
    int followerShifts;
};
extern PusherCounts lastPusherCounts;

} // namespace game
