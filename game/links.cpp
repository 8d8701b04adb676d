#include "game/links.h"

#include "game/coins_by_x.h"

#include <cstring>

namespace game {

namespace {

// A link is kept as one bit in the row of the coin ahead: followers[c] holds the coins that follow
// c, and leaders[k] the transposed bit, so that a coin's links are found without scanning the
// table. Both together take about 6 MB, against 100 MB for a matrix of 32-bit values.
uint64_t followers[COIN_SLOTS][LINK_WORDS];
uint64_t leaders[COIN_SLOTS][LINK_WORDS];

inline bool TestBit(const uint64_t* row, int k)
{
    return (row[k >> 6] >> (k & 63)) & 1u;
}

inline void SetBit(uint64_t* row, int k)
{
    row[k >> 6] |= uint64_t{1} << (k & 63);
}

inline void ClearBit(uint64_t* row, int k)
{
    row[k >> 6] &= ~(uint64_t{1} << (k & 63));
}

// Records that `follower` lies behind `ahead`.
void Follow(int follower, int ahead)
{
    SetBit(followers[ahead], follower);
    SetBit(leaders[follower], ahead);
}

void Unfollow(int follower, int ahead)
{
    ClearBit(followers[ahead], follower);
    ClearBit(leaders[follower], ahead);
}

} // namespace

int GetLink(int lower, int higher)
{
    if (TestBit(followers[higher], lower))
        return LinkLowerBehind;
    if (TestBit(followers[lower], higher))
        return LinkLowerAhead;
    return LinkNone;
}

void SetLink(int lower, int higher, int value)
{
    Unfollow(lower, higher);
    Unfollow(higher, lower);
    if (value == LinkLowerBehind)
        Follow(lower, higher);
    else if (value == LinkLowerAhead)
        Follow(higher, lower);
}

bool Linked(int a, int b)
{
    return TestBit(followers[a], b) || TestBit(followers[b], a);
}

bool IsFollower(int l, int c)
{
    return TestBit(followers[c], l);
}

const uint64_t* FollowerRow(int c)
{
    return followers[c];
}

const uint64_t* LeaderRow(int c)
{
    return leaders[c];
}

void LinkCoins(int lower, int higher, int reach)
{
    const int dx = coinX[lower] - coinX[higher];
    if (dx < -reach || dx > reach)
        return;
    const int dy = coinY[lower] - coinY[higher];
    if (-reach <= dy && dy <= -1)
        Follow(lower, higher);
    else if (0 <= dy && dy <= reach)
        Follow(higher, lower);
}

void LinkPass(int state, int n, int reach)
{
    // No coin moves during the pass, so the order of the pairs does not matter.
    static CoinsByX candidates;
    candidates.Build(state, n);
    candidates.ForEachPairWithin(reach, [reach](int lower, int higher) {
        if (!Linked(lower, higher))
            LinkCoins(lower, higher, reach);
    });
}

void LinkFieldEntry(int c)
{
    const int x = coinX[c];
    const int y = coinY[c];
    for (int l = 0; l < COIN_SLOTS; ++l) {
        // Cheap position tests first; a pair already linked is skipped last.
        if (coinState[l] != CoinOnField || l == c)
            continue;
        const int dx = coinX[l] - x;
        const int dy = coinY[l] - y;
        if (dx < -6 || dx > 6 || dy < -6 || dy > 6 || Linked(l, c))
            continue;
        // Unlike LinkCoins, a level pair counts as lower-behind here.
        const int lower = l < c ? l : c;
        const int higher = l < c ? c : l;
        if (coinY[lower] > coinY[higher])
            Follow(higher, lower);
        else
            Follow(lower, higher);
    }
}

void UnlinkCoin(int c)
{
    ForEachSetBit(followers[c], [c](int k) { ClearBit(leaders[k], c); });
    ForEachSetBit(leaders[c], [c](int k) { ClearBit(followers[k], c); });
    std::memset(followers[c], 0, sizeof followers[c]);
    std::memset(leaders[c], 0, sizeof leaders[c]);
}

void ClearAllLinks()
{
    std::memset(followers, 0, sizeof followers);
    std::memset(leaders, 0, sizeof leaders);
}

int CountLinks(int value)
{
    int count = 0;
    for (int c = 0; c < COIN_SLOTS; ++c) {
        ForEachSetBit(followers[c], [&](int k) {
            // k follows c: the lower of the two lies behind exactly when k is the lower.
            const int found = k < c ? LinkLowerBehind : LinkLowerAhead;
            if (value == found)
                ++count;
        });
    }
    return count;
}

} // namespace game
