#pragma once

// The whole game state: the coin table, the counters of the pusher, catcher and lottery, the
// owed prize and the credit, and the playfield lines that every step measures against.
#include <cstdint>

namespace game {

constexpr int COIN_SLOTS = 5000;

enum CoinState : int32_t {
    CoinFree = 0,
    CoinFalling = 1,
    CoinOnPusher = 2,
    CoinOnField = 3,
    CoinPaidOut = 4,
};

// The coin table: one entry per slot; a slot's index is its coin's identity.
extern int32_t coinY[COIN_SLOTS];
extern int32_t coinX[COIN_SLOTS];
extern int32_t coinState[COIN_SLOTS];
extern int32_t coinSpeed[COIN_SLOTS];

extern int32_t originX;
extern int32_t originY;
extern int32_t pusherSpread;
extern int32_t pusherReach;
extern int32_t pusherRetracting;
extern int32_t catcherOffset;
extern int32_t catcherOffsetY;
extern int32_t catcherReturning;
extern int32_t lotteryRunning;
extern int32_t coinsOwed;
extern int32_t credit;
extern int32_t lampRow;
extern int32_t lampCol;
extern int32_t lampLeft;
extern int32_t lampTop;
extern int32_t lampRight;
extern int32_t lampBottom;

// The lowest free slot, or -1 when all are in use.
int FindFreeSlot();

// Puts every variable, the links and the random generator back to their process-start values,
// so that a replay or a test can start from a fresh process.
void ResetGame();

// Playfield lines. Larger y is nearer the front edge.
inline int EntryHeight() { return originY - 140; }
inline int LeftLaneX() { return originX + 60; }
inline int RightLaneX() { return originX + 138; }
inline int PinZoneLimit() { return originY - 66; }
inline int LandingLine() { return originY + 25; }
inline int DeckFrontEdge() { return originY + 8 * pusherReach + 103; }
inline int FieldPushLine() { return originY + 8 * pusherReach + 118; }
inline int PayoutLine() { return originY + 193; }

// A falling coin wholly inside this box drops into the catcher.
inline bool InCatchBand(int x, int y)
{
    return originY + catcherOffsetY - 25 < y && y < originY + catcherOffsetY + 15 &&
           originX + catcherOffset + 26 <= x && x + 15 <= originX + catcherOffset + 51;
}

// Makes a free slot a falling coin at the entry height with no speed.
void StartFallingCoin(int slot, int x);

// A falling coin gains this much speed a tick; in the pin zone it is jostled sideways by up to
// JOSTLE_REACH pixels either way.
constexpr int FALL_ACCELERATION = 6;
constexpr int JOSTLE_REACH = 10;

} // namespace game
