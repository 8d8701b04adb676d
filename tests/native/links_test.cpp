#include "test_support.h"

#include <random>
#include <vector>

using namespace game;

using Links = FreshGame;

TEST_F(Links, TheLinkWindowAtBothReaches)
{
    const struct {
        int reach, dx, dy, expected;
    } cases[] = {
        {LINK_REACH_SETUP, 12, -12, LinkLowerBehind}, {LINK_REACH_SETUP, -12, 12, LinkLowerAhead},
        {LINK_REACH_SETUP, 13, 0, LinkNone},          {LINK_REACH_SETUP, 0, -13, LinkNone},
        {LINK_REACH_PLAY, 6, 3, LinkLowerAhead},      {LINK_REACH_PLAY, -6, -3, LinkLowerBehind},
        {LINK_REACH_PLAY, 7, 0, LinkNone},            {LINK_REACH_PLAY, -7, 0, LinkNone},
        {LINK_REACH_PLAY, 0, 6, LinkLowerAhead},      {LINK_REACH_PLAY, 0, -6, LinkLowerBehind},
        {LINK_REACH_PLAY, 0, 7, LinkNone},            {LINK_REACH_PLAY, 0, -7, LinkNone},
        {LINK_REACH_PLAY, 2, 0, LinkLowerAhead},      {LINK_REACH_PLAY, 0, -1, LinkLowerBehind},
    };
    for (const auto& c : cases) {
        ClearAllLinks();
        PlaceCoin(3, CoinOnPusher, 200 + c.dx, 200 + c.dy);
        PlaceCoin(8, CoinOnPusher, 200, 200);
        LinkCoins(3, 8, c.reach);
        EXPECT_EQ(c.expected, GetLink(3, 8)) << "reach " << c.reach << " dx " << c.dx << " dy " << c.dy;
    }
}

TEST_F(Links, ALevelPairCountsAsAheadInPlayButBehindOnEnteringTheField)
{
    PlaceCoin(2, CoinOnField, 200, 250);
    PlaceCoin(5, CoinOnField, 204, 250);
    LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
    EXPECT_EQ(LinkLowerAhead, GetLink(2, 5));

    ClearAllLinks();
    LinkFieldEntry(5);
    EXPECT_EQ(LinkLowerBehind, GetLink(2, 5));
}

TEST_F(Links, FieldEntryWindowAndDirection)
{
    const struct {
        int dx, dy, expected; // dy = lower minus higher
    } cases[] = {
        {6, 1, LinkLowerAhead}, {-6, 6, LinkLowerAhead}, {0, 0, LinkLowerBehind},
        {0, -6, LinkLowerBehind}, {7, 0, LinkNone},     {0, 7, LinkNone},
        {0, -7, LinkNone},
    };
    for (const auto& c : cases) {
        ClearAllLinks();
        PlaceCoin(10, CoinOnField, 200 + c.dx, 300 + c.dy);
        PlaceCoin(20, CoinOnField, 200, 300);
        LinkFieldEntry(10); // the entering coin is the lower one here
        EXPECT_EQ(c.expected, GetLink(10, 20)) << "dx " << c.dx << " dy " << c.dy;
        ClearAllLinks();
        LinkFieldEntry(20); // and here the higher one: same pair, same result
        EXPECT_EQ(c.expected, GetLink(10, 20)) << "dx " << c.dx << " dy " << c.dy;
    }
}

TEST_F(Links, OnlyCoinsOfTheSameStateAreLinked)
{
    PlaceCoin(0, CoinOnPusher, 200, 200);
    PlaceCoin(1, CoinOnField, 200, 200);
    PlaceCoin(2, CoinFalling, 200, 200);
    LinkPass(CoinOnPusher, COIN_SLOTS, LINK_REACH_PLAY);
    LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
    LinkFieldEntry(1);
    EXPECT_EQ(0, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead));
}

TEST_F(Links, ALinkKeepsItsDirectionWhenTheCoinsMoveApart)
{
    PlaceCoin(0, CoinOnField, 200, 200);
    PlaceCoin(1, CoinOnField, 200, 205);
    LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
    ASSERT_EQ(LinkLowerBehind, GetLink(0, 1));
    coinY[0] = 260; // now far ahead
    LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
    coinY[0] = 203; // back in reach, on the other side
    LinkPass(CoinOnField, COIN_SLOTS, LINK_REACH_PLAY);
    LinkFieldEntry(0);
    EXPECT_EQ(LinkLowerBehind, GetLink(0, 1));
    EXPECT_TRUE(IsFollower(0, 1));
    EXPECT_FALSE(IsFollower(1, 0));
}

TEST_F(Links, ADeckLinkSurvivesTheDropToTheField)
{
    PlaceCoin(4, CoinOnPusher, 200, 230);
    PlaceCoin(9, CoinOnPusher, 203, 226);
    LinkPass(CoinOnPusher, COIN_SLOTS, LINK_REACH_PLAY);
    ASSERT_EQ(LinkLowerAhead, GetLink(4, 9));
    coinState[4] = CoinOnField;
    LinkFieldEntry(4);
    coinState[9] = CoinOnField;
    coinY[9] = 230; // level now: a new field-entry link would be lower-behind
    LinkFieldEntry(9);
    EXPECT_EQ(LinkLowerAhead, GetLink(4, 9));
}

TEST_F(Links, FollowersByIndexOrderAndValue)
{
    SetLink(3, 7, LinkLowerBehind);
    SetLink(7, 12, LinkLowerAhead);
    SetLink(1, 7, LinkLowerAhead);
    SetLink(7, 20, LinkLowerBehind);
    EXPECT_TRUE(IsFollower(3, 7));   // lower, behind
    EXPECT_TRUE(IsFollower(12, 7));  // higher, lower coin ahead
    EXPECT_FALSE(IsFollower(1, 7));  // lower, but ahead
    EXPECT_FALSE(IsFollower(20, 7)); // higher, but the lower coin lay behind
    EXPECT_TRUE(IsFollower(7, 1));
    EXPECT_TRUE(IsFollower(7, 20));
    EXPECT_FALSE(IsFollower(7, 7));
    std::vector<int> followers;
    ForEachFollower(7, [&](int k) { followers.push_back(k); });
    EXPECT_EQ((std::vector<int>{3, 12}), followers);
}

TEST_F(Links, UnlinkingACoinLeavesOtherLinksAlone)
{
    SetLink(0, 5, LinkLowerAhead);
    SetLink(5, 4999, LinkLowerBehind);
    SetLink(2, 5, LinkLowerBehind);
    SetLink(0, 2, LinkLowerBehind);
    SetLink(2, 4999, LinkLowerAhead);
    UnlinkCoin(5);
    EXPECT_EQ(LinkNone, GetLink(0, 5));
    EXPECT_EQ(LinkNone, GetLink(5, 4999));
    EXPECT_EQ(LinkNone, GetLink(2, 5));
    EXPECT_EQ(LinkLowerBehind, GetLink(0, 2));
    EXPECT_EQ(LinkLowerAhead, GetLink(2, 4999));
    EXPECT_EQ(2, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead));
}

TEST_F(Links, TheBitStoreAgreesWithAPlainMatrix)
{
    // Random writes and unlinks over a spread of slots, checked against one byte per pair.
    std::mt19937 random(11);
    std::vector<int> slots;
    for (int k = 0; k < 120; ++k)
        slots.push_back(k < 60 ? k : COIN_SLOTS - 1 - (k - 60) * 37);
    const int n = static_cast<int>(slots.size());
    std::vector<int> matrix(n * n, LinkNone);
    auto at = [&](int a, int b) -> int& { return slots[a] < slots[b] ? matrix[a * n + b] : matrix[b * n + a]; };
    std::uniform_int_distribution<int> pick(0, n - 1);
    std::uniform_int_distribution<int> value(0, 2);
    for (int step = 0; step < 20000; ++step) {
        const int a = pick(random);
        const int b = pick(random);
        if (a == b)
            continue;
        if (step % 50 == 0) {
            UnlinkCoin(slots[a]);
            for (int k = 0; k < n; ++k) {
                if (k != a)
                    at(a, k) = LinkNone;
            }
            continue;
        }
        const int v = value(random);
        SetLink(std::min(slots[a], slots[b]), std::max(slots[a], slots[b]), v);
        at(a, b) = v;
    }
    int links = 0;
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            if (slots[a] < slots[b]) {
                ASSERT_EQ(at(a, b), GetLink(slots[a], slots[b])) << slots[a] << "," << slots[b];
                links += at(a, b) != LinkNone;
            }
        }
    }
    EXPECT_EQ(links, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead));
}
