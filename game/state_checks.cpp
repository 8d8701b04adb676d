#include "game/state_checks.h"

#include "game/game.h"
#include "game/links.h"

namespace game {

namespace {

// The pusher's rearmost reach, where its deck front edge lies furthest back.
constexpr int REARMOST_REACH = -4;

// A coin is jostled sideways once for each tick it ends in the pin zone: after its first four
// moves, and once more for each tick it stalls there (a chance of 1 in 5 each). Forty jostles
// take 36 stalls in one fall, a chance of 5^-36 (1e-25), against at most 5e12 falls in the
// longest game (5000 a tick for GAME_TICKS_LIMIT ticks). Nothing else moves a coin sideways.
constexpr int MOST_JOSTLES = 40;

// Where a coin can lie between ticks. Sideways: from its lane (or the release band between the
// lanes; the set-up's coins lie between them too) jostled MOST_JOSTLES times at most. A falling
// coin lies on the course of its fall: each move adds FALL_ACCELERATION to its speed and then
// its speed to its height, a stall does neither, and it lands before it reaches the landing line.
// A deck coin lies from the landing line on (before the first tick the initial field still lies
// on the deck, past its front edge); a field coin from the deck front edge at the pusher's
// rearmost; both no further than the pay-out line.
bool CoinPlaceHeld(int slot)
{
    const int x = coinX[slot];
    const int y = coinY[slot];
    if (x < LeftLaneX() - JOSTLE_REACH * MOST_JOSTLES ||
        x > RightLaneX() + JOSTLE_REACH * MOST_JOSTLES)
        return false;
    switch (coinState[slot]) {
    case CoinFalling: {
        const int speed = coinSpeed[slot];
        if (speed < 0 || speed % FALL_ACCELERATION != 0 || speed > LandingLine() - EntryHeight())
            return false;
        const int moves = speed / FALL_ACCELERATION;
        return y == EntryHeight() + FALL_ACCELERATION * moves * (moves + 1) / 2 &&
               y < LandingLine();
    }
    case CoinOnPusher:
        return LandingLine() <= y && y <= PayoutLine();
    case CoinOnField:
        return originY + 8 * REARMOST_REACH + 103 <= y && y <= PayoutLine();
    default:
        return true;
    }
}

bool OnMachine(int slot)
{
    return coinState[slot] == CoinOnPusher || coinState[slot] == CoinOnField;
}

} // namespace

int CoinsOnTable()
{
    int count = 0;
    for (int slot = 0; slot < COIN_SLOTS; ++slot)
        count += coinState[slot] != CoinFree;
    return count;
}

std::string FirstBrokenStateInvariant()
{
    if (pusherSpread != pusherReach)
        return "pusherSpread equals pusherReach";
    if (pusherReach < REARMOST_REACH || pusherReach > 1 ||
        (pusherRetracting != 0 && pusherRetracting != 1))
        return "pusherReach lies in -4..1 and pusherRetracting is 0 or 1";
    if ((pusherReach == 1 && pusherRetracting == 0) ||
        (pusherReach == REARMOST_REACH && pusherRetracting == 1))
        return "the pusher turns at the ends of its reach";
    if (catcherOffset % 12 != 0 || catcherOffset < 0 || catcherOffset > 144)
        return "catcherOffset is a multiple of 12 in 0..144";
    if ((catcherReturning != 0 && catcherReturning != 1) ||
        (catcherOffset == 144 && catcherReturning == 0) ||
        (catcherOffset == 0 && catcherReturning == 1))
        return "the catcher turns at the ends of its track";
    if ((lotteryRunning != 0 && lotteryRunning != 1) || lampRow < 0 || lampRow >= LAMP_ROWS ||
        lampCol < 0 || lampCol >= LAMP_COLUMNS)
        return "the lamp stands on the prize board and the lottery runs or not";
    if (credit < 0 || credit > COUNT_LIMIT)
        return "credit lies in 0.." + std::to_string(COUNT_LIMIT);
    if (coinsOwed < 0 || coinsOwed > COUNT_LIMIT)
        return "coinsOwed lies in 0.." + std::to_string(COUNT_LIMIT);
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] < CoinFree || coinState[slot] > CoinOnField)
            return "no slot is paid out (or unknown) between ticks: slot " + std::to_string(slot);
        if (!CoinPlaceHeld(slot))
            return "every coin lies where its state can hold it: slot " + std::to_string(slot);
    }
    int links = 0;
    for (int ahead = 0; ahead < COIN_SLOTS; ++ahead) {
        std::string broken;
        ForEachFollower(ahead, [&](int follower) {
            ++links;
            const int dx = coinX[ahead] - coinX[follower];
            if (broken.empty() && (follower == ahead || !OnMachine(ahead) || !OnMachine(follower) ||
                                   dx < -LINK_REACH_SETUP || dx > LINK_REACH_SETUP))
                broken = "links join two coins on the deck or field, within link reach in x: " +
                         std::to_string(ahead) + " and " + std::to_string(follower);
        });
        if (!broken.empty())
            return broken;
    }
    if (links > MAX_LINKS)
        return "there are at most " + std::to_string(MAX_LINKS) + " links";
    return "";
}

} // namespace game
