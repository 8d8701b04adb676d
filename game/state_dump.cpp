#include "game/state_dump.h"

#include "game/links.h"
#include "game/state.h"

#include <cstdarg>
#include <cstdio>

namespace game {

namespace {

void AppendLine(std::string& out, const char* format, ...)
{
    char line[96];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

} // namespace

std::string StateDump(int64_t ticks)
{
    std::string out;
    AppendLine(out, "tick %lld\n", static_cast<long long>(ticks));
    AppendLine(out, "credit %d\n", credit);
    AppendLine(out, "coinsOwed %d\n", coinsOwed);
    AppendLine(out, "lottery %d %d %d\n", lotteryRunning, lampRow, lampCol);
    AppendLine(out, "pusher %d %d %d\n", pusherSpread, pusherReach, pusherRetracting);
    AppendLine(out, "catcher %d %d\n", catcherOffset, catcherReturning);
    for (int slot = 0; slot < COIN_SLOTS; ++slot) {
        if (coinState[slot] == CoinFree)
            continue;
        const int speed = coinState[slot] == CoinFalling ? coinSpeed[slot] : 0;
        AppendLine(out, "coin %d %d %d %d %d\n", slot, coinState[slot], coinX[slot], coinY[slot],
                   speed);
    }
    for (int lower = 0; lower < COIN_SLOTS; ++lower) {
        for (int higher = lower + 1; higher < COIN_SLOTS; ++higher) {
            const int value = GetLink(lower, higher);
            if (value != LinkNone)
                AppendLine(out, "link %d %d %d\n", lower, higher, value);
        }
    }
    return out;
}

} // namespace game
