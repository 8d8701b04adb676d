#include "game/state_checks.h"

#include "game/game.h"
#include "game/links.h"

namespace game {

namespace {

// The pusher's rearmost reach, where its deck front edge lies furthest back.
constexpr int REARMOST_REACH = -4;

// Where a coin of each state can lie between ticks: a falling coin above the landing line, with
// no more speed than its fall's height; a deck coin from the landing line on (before the first
// tick the initial field still lies on the deck, past its front edge); a field coin from the
// deck front edge at the pusher's rearmost; both no further than the pay-out line.
bool CoinPlaceHeld(int slot)
{
    const int x = coinX[slot];
    const int y = coinY[slot];
    if (x < -COIN_X_LIMIT || x > COIN_X_LIMIT)
        return false;
    switch (coinState[slot]) {
    case CoinFalling:
        return EntryHeight() <= y && y < LandingLine() && 0 <= coinSpeed[slot] &&
               coinSpeed[slot] <= LandingLine() - EntryHeight();
    case CoinOnPusher:
        return LandingLine() <= y && y <= PayoutLine();
    case CoinOnField:
        return originY + 8 * REARMOST_REACH + 103 <= y && y <= PayoutLine();
    default:
        return true;
    }
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
    if (credit < 0)
        return "credit is not negative";
    if (coinsOwed < 0)
        return "coinsOwed is not negative";
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] < CoinFree || coinState[slot] > CoinOnField)
            return "no slot is paid out (or unknown) between ticks: slot " + std::to_string(slot);
        if (!CoinPlaceHeld(slot))
            return "every coin lies where its state can hold it: slot " + std::to_string(slot);
    }
    for (int ahead = 0; ahead < COIN_SLOTS; ++ahead) {
        std::string broken;
        ForEachFollower(ahead, [&](int follower) {
            const auto onMachine = [](int s) {
                return coinState[s] == CoinOnPusher || coinState[s] == CoinOnField;
            };
            if (broken.empty() && (follower == ahead || !onMachine(ahead) || !onMachine(follower)))
                broken = "links join two coins on the deck or field: " + std::to_string(ahead) +
                         " and " + std::to_string(follower);
        });
        if (!broken.empty())
            return broken;
    }
    return "";
}

} // namespace game
