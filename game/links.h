#pragma once

// Links between coins that lay close together on the deck or on the field. A link records which
// of the two coins lay ahead when it was made; it lasts until one of them is paid out.
#include "game/state.h"

#include <cstdint>
#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace game {

enum LinkValue {
    LinkNone = 0,
    LinkLowerBehind = 1, // the lower-index coin lay behind (smaller y)
    LinkLowerAhead = 2,  // the lower-index coin lay ahead, or level with it
};

constexpr int LINK_REACH_SETUP = 12;
constexpr int LINK_REACH_PLAY = 6;

// The link of the pair lower < higher.
int GetLink(int lower, int higher);
void SetLink(int lower, int higher, int value);
bool Linked(int a, int b);

// Whether l lies behind c by their link: l < c with LinkLowerBehind, or l > c with LinkLowerAhead.
bool IsFollower(int l, int c);

// Calls visit(k) for every follower k of c, in ascending k.
template <typename Visit>
void ForEachFollower(int c, Visit visit);

void LinkCoins(int lower, int higher, int reach);
void LinkPass(int state, int n, int reach);
void LinkFieldEntry(int c);
void UnlinkCoin(int c);
void ClearAllLinks();

// How many links there are, and of which value (for the replay runner and tests).
int CountLinks(int value);

// Links are kept as bit rows: bit k of row c is set when k follows c.
constexpr int LINK_WORDS = (COIN_SLOTS + 63) / 64;
const uint64_t* FollowerRow(int c);
// And bit k of row c is set when c follows k.
const uint64_t* LeaderRow(int c);

inline int LowestSetBit(uint64_t bits)
{
#if defined(_MSC_VER)
    unsigned long index;
    _BitScanForward64(&index, bits);
    return static_cast<int>(index);
#else
    return __builtin_ctzll(bits);
#endif
}

template <typename Visit>
void ForEachSetBit(const uint64_t* row, Visit visit)
{
    for (int w = 0; w < LINK_WORDS; ++w) {
        for (uint64_t bits = row[w]; bits; bits &= bits - 1)
            visit(w * 64 + LowestSetBit(bits));
    }
}

template <typename Visit>
void ForEachFollower(int c, Visit visit)
{
    ForEachSetBit(FollowerRow(c), visit);
}

} // namespace game
