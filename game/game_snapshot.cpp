#include "game/game_snapshot.h"

#include "game/links.h"
#include "game/random.h"

#include <algorithm>
#include <string>

namespace game {

namespace {

int32_t* const SCALARS[] = {
    &originX,      &originY,         &pusherSpread,     &pusherReach,    &pusherRetracting,
    &catcherOffset, &catcherOffsetY, &catcherReturning, &lotteryRunning, &coinsOwed,
    &credit,       &lampRow,         &lampCol,          &lampLeft,       &lampTop,
    &lampRight,    &lampBottom,
};
const char* const SCALAR_NAMES[] = {
    "originX",      "originY",        "pusherSpread",     "pusherReach",    "pusherRetracting",
    "catcherOffset", "catcherOffsetY", "catcherReturning", "lotteryRunning", "coinsOwed",
    "credit",       "lampRow",        "lampCol",          "lampLeft",       "lampTop",
    "lampRight",    "lampBottom",
};

} // namespace

GameSnapshot GameSnapshot::Take()
{
    GameSnapshot s;
    std::copy(coinY, coinY + COIN_SLOTS, s.y.begin());
    std::copy(coinX, coinX + COIN_SLOTS, s.x.begin());
    std::copy(coinState, coinState + COIN_SLOTS, s.state.begin());
    std::copy(coinSpeed, coinSpeed + COIN_SLOTS, s.speed.begin());
    for (std::size_t k = 0; k < s.scalars.size(); ++k)
        s.scalars[k] = *SCALARS[k];
    for (int c = 0; c < COIN_SLOTS; ++c)
        ForEachFollower(c, [&](int k) { s.links.emplace_back(c, k); });
    s.random = RandomState();
    return s;
}

void GameSnapshot::Restore() const
{
    std::copy(y.begin(), y.end(), coinY);
    std::copy(x.begin(), x.end(), coinX);
    std::copy(state.begin(), state.end(), coinState);
    std::copy(speed.begin(), speed.end(), coinSpeed);
    for (std::size_t k = 0; k < scalars.size(); ++k)
        *SCALARS[k] = scalars[k];
    ClearAllLinks();
    for (const auto& [ahead, follower] : links) {
        if (follower < ahead)
            SetLink(follower, ahead, LinkLowerBehind);
        else
            SetLink(ahead, follower, LinkLowerAhead);
    }
    SetRandomState(random);
}

bool GameSnapshot::operator==(const GameSnapshot& o) const
{
    return y == o.y && x == o.x && state == o.state && speed == o.speed && scalars == o.scalars &&
           links == o.links && random == o.random;
}

std::string FirstDifference(const GameSnapshot& a, const GameSnapshot& b)
{
    for (int k = 0; k < COIN_SLOTS; ++k) {
        if (a.state[k] != b.state[k] || a.x[k] != b.x[k] || a.y[k] != b.y[k] ||
            a.speed[k] != b.speed[k]) {
            return "slot " + std::to_string(k) + ": state " + std::to_string(a.state[k]) + "/" +
                   std::to_string(b.state[k]) + " x " + std::to_string(a.x[k]) + "/" +
                   std::to_string(b.x[k]) + " y " + std::to_string(a.y[k]) + "/" +
                   std::to_string(b.y[k]);
        }
    }
    for (std::size_t k = 0; k < a.scalars.size(); ++k) {
        if (a.scalars[k] != b.scalars[k])
            return std::string(SCALAR_NAMES[k]) + " " + std::to_string(a.scalars[k]) + "/" +
                   std::to_string(b.scalars[k]);
    }
    if (a.links != b.links)
        return "links: " + std::to_string(a.links.size()) + "/" + std::to_string(b.links.size());
    if (a.random != b.random)
        return "random state";
    return "";
}

} // namespace game
