#include "tools/invariants.h"

#include "game/game.h"
#include "game/links.h"

#include <cstring>

using namespace game;

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
    if (pusherReach < -4 || pusherReach > 1)
        return "pusherReach lies in -4..1";
    if (catcherOffset % 12 != 0 || catcherOffset < 0 || catcherOffset > 144)
        return "catcherOffset is a multiple of 12 in 0..144";
    if (credit < 0)
        return "credit is not negative";
    if (coinsOwed < 0)
        return "coinsOwed is not negative";
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] < CoinFree || coinState[slot] > CoinOnField)
            return "no slot is paid out (or unknown) between ticks: slot " + std::to_string(slot);
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

InvariantChecker::InvariantChecker() : coinsExpected(CoinsOnTable()), owedBeforeTick(coinsOwed) {}

void InvariantChecker::BeforeKeyPress()
{
    creditBeforePress = credit;
}

void InvariantChecker::AfterKeyPress()
{
    if (credit < creditBeforePress) {
        ++dropped;
        ++coinsExpected;
    }
}

std::string InvariantChecker::AfterTick(const CallLog& calls)
{
    // Pay-outs and catches each sound once; a stopping lamp pays the cell it stands on.
    int prize = 0;
    for (const RecordedCall& call : calls.Calls()) {
        if (call.kind != CallKind::Sound)
            continue;
        if (std::strcmp(call.Name(), "coin.wav") == 0) {
            ++paidOut;
            --coinsExpected;
        } else if (std::strcmp(call.Name(), "in.wav") == 0) {
            ++caught;
            --coinsExpected;
        } else if (std::strcmp(call.Name(), "stop.wav") == 0) {
            ++lotteries;
            prize = PAYOUT_GRID[lampRow][lampCol];
        }
    }
    // Prize coins released this tick: what was owed, plus this tick's prize, less what still is.
    const int releasedNow = owedBeforeTick + prize - coinsOwed;
    released += releasedNow;
    coinsExpected += releasedNow;
    owedBeforeTick = coinsOwed;

    std::string broken = FirstBrokenStateInvariant();
    if (!broken.empty())
        return broken;
    if (releasedNow < 0)
        return "coinsOwed grows only by a prize";
    if (CoinsOnTable() != coinsExpected)
        return "coins are conserved: " + std::to_string(CoinsOnTable()) + " on the table, " +
               std::to_string(coinsExpected) + " accounted for";
    return "";
}
