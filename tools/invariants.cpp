#include "tools/invariants.h"

#include "game/assets.h"
#include "game/game.h"
#include "game/state_checks.h"

#include <cstring>

using namespace game;

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
        if (std::strcmp(call.Name(), PAYOUT_SOUND) == 0) {
            ++paidOut;
            --coinsExpected;
        } else if (std::strcmp(call.Name(), CATCH_SOUND) == 0) {
            ++caught;
            --coinsExpected;
        } else if (std::strcmp(call.Name(), LAMP_STOP_SOUND) == 0) {
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
