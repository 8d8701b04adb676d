#pragma once

// What must hold between any two ticks of any game, checked from the outside: the counters stay
// in their ranges, no coin is caught between states, links join only coins lying on the machine,
// and no coin appears or vanishes unaccounted for.
#include "canvas/canvas_record.h"
#include "game/state_checks.h"

#include <string>

class InvariantChecker {
public:
    // Takes the table as it stands (after set-up) as the starting count.
    InvariantChecker();

    // Call before each key press; a press that took a credit dropped a coin.
    void BeforeKeyPress();
    void AfterKeyPress();

    // Call after each tick with the calls it made; returns the first broken invariant, or "".
    std::string AfterTick(const CallLog& calls);

    long long PaidOut() const { return paidOut; }
    long long Caught() const { return caught; }
    long long Dropped() const { return dropped; }
    long long Released() const { return released; }
    long long Lotteries() const { return lotteries; }

private:
    long long coinsExpected;
    int owedBeforeTick;
    int creditBeforePress = 0;
    long long paidOut = 0;
    long long caught = 0;
    long long dropped = 0;
    long long released = 0;
    long long lotteries = 0;
};
