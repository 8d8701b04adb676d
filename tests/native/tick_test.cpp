// The first ticks of an unplayed game, against the figures the game was designed to.
#include "plain_pusher.h"
#include "test_support.h"

#include <cstring>
#include <string>

using namespace game;

using FirstTicks = FreshGame;

TEST_F(FirstTicks, TickOneTurnsTheFieldGroupIntoTheField)
{
    StartGame();
    RunTicks(1);
    EXPECT_EQ(139, CountState(CoinOnField));
    EXPECT_EQ(61, CountState(CoinOnPusher));
    for (int slot = 0; slot < 90; ++slot)
        EXPECT_EQ(CoinOnField, coinState[slot]) << "slot " << slot;
    EXPECT_EQ(679, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead));
    EXPECT_EQ(0, lastPusherCounts.pushes);
}

TEST_F(FirstTicks, PushesFollowersPayOutsAndLinksOfTheFirstFiveTicks)
{
    StartGame();
    const struct {
        int pushes, followerShifts, credit;
    } expected[] = {{0, 0, 0}, {15, 91, 0}, {34, 154, 0}, {40, 173, 9}, {0, 0, 9}};
    int tick = 0;
    for (const auto& e : expected) {
        ++tick;
        RunTicks(1);
        EXPECT_EQ(e.pushes, lastPusherCounts.pushes) << "tick " << tick;
        EXPECT_EQ(e.followerShifts, lastPusherCounts.followerShifts) << "tick " << tick;
        EXPECT_EQ(e.credit, credit) << "tick " << tick;
    }
    EXPECT_EQ(200 - 9, CountState(CoinOnField) + CountState(CoinOnPusher));
}

TEST_F(FirstTicks, ThePlainPairOrderGivesTheSameFigures)
{
    StartGame();
    const int pushes[] = {0, 15, 34, 40, 0};
    const int shifts[] = {0, 91, 154, 173, 0};
    for (int t = 0; t < 5; ++t) {
        const PusherCounts made = plain::TickWithoutFrame();
        EXPECT_EQ(pushes[t], made.pushes) << "tick " << t + 1;
        EXPECT_EQ(shifts[t], made.followerShifts) << "tick " << t + 1;
    }
    EXPECT_EQ(9, credit);
}

TEST_F(FirstTicks, TickFiveLinksTheSettledField)
{
    StartGame();
    RunTicks(4);
    ASSERT_EQ(1, pusherRetracting);
    const int before = CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead);
    RunTicks(1);
    EXPECT_EQ(54, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead) - before);
}

TEST_F(FirstTicks, AfterTickFourNothingIsPushedAndNoCoinLeaves)
{
    StartGame();
    RunTicks(5);
    const int links = CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead);
    for (int t = 6; t <= 40; ++t) {
        RunTicks(1);
        ASSERT_EQ(0, lastPusherCounts.pushes) << "tick " << t;
    }
    EXPECT_EQ(links, CountLinks(LinkLowerBehind) + CountLinks(LinkLowerAhead));
    EXPECT_EQ(9, credit);
    EXPECT_EQ(61, CountState(CoinOnPusher));
}

namespace {

std::string Describe(const RecordedCall& c)
{
    const int* a = c.args;
    const int* s = c.style;
    char line[200];
    switch (c.kind) {
    case CallKind::ClearBlack:
        return "clear";
    case CallKind::Repaint:
        return "repaint";
    case CallKind::Sprite:
        std::snprintf(line, sizeof line, "sprite %s %s %d %d %d %d", c.Name(), c.mask, a[0], a[1], a[2],
                      a[3]);
        return line;
    case CallKind::Text:
        std::snprintf(line, sizeof line, "text %d %d %d %d %d %d %s", a[0], a[1], s[0], s[1], s[2],
                      s[3], c.Name());
        return line;
    case CallKind::Line:
        std::snprintf(line, sizeof line, "line %d %d %d %d %d %d %d %d", a[0], a[1], a[2], a[3],
                      s[0], s[1], s[2], s[3]);
        return line;
    case CallKind::Sound:
        return std::string("sound ") + c.Name();
    default:
        return "other";
    }
}

} // namespace

TEST_F(FirstTicks, TheFirstFrameDrawsTheMachineTextAndLampSquareBeforeTheCoins)
{
    StartGame();
    RunTicks(1);
    const CallLog& calls = RecordedCalls();
    const char* const frameStart[] = {
        "clear",
        "sprite back.bmp back.bmp 101 20 215 368",
        "sprite base.bmp basemask.bmp 100 150 217 240",
        "sprite bar.bmp barmask.bmp 116 162 185 95",
        "sprite top.bmp top.bmp 126 20 165 162",
        "sprite move.bmp movemask.bmp 138 140 25 20",
        "text 5 10 14 255 255 255 Vorkelm",
        "text 5 50 16 255 255 255 0\x96\x87",
        "line 140 84 157 84 3 255 255 0",
        "line 157 84 157 101 3 255 255 0",
        "line 157 101 140 101 3 255 255 0",
        "line 140 101 140 84 3 255 255 0",
    };
    const std::size_t n = sizeof frameStart / sizeof frameStart[0];
    ASSERT_GT(calls.Size(), n);
    for (std::size_t k = 0; k < n; ++k)
        EXPECT_EQ(frameStart[k], Describe(calls[k])) << "call " << k;

    // Then one lying coin per coin on the table, in slot order, and the repaint last.
    int coinsDrawn = 0;
    int lastSlot = -1;
    for (std::size_t k = n; k + 1 < calls.Size(); ++k) {
        ASSERT_EQ(CallKind::Sprite, calls[k].kind);
        EXPECT_STREQ("coin2.bmp", calls[k].Name());
        ++coinsDrawn;
        int slot = lastSlot + 1;
        while (slot < COIN_SLOTS && coinState[slot] == CoinFree)
            ++slot;
        EXPECT_EQ(coinX[slot], calls[k].args[0]);
        EXPECT_EQ(coinY[slot], calls[k].args[1]);
        lastSlot = slot;
    }
    EXPECT_EQ(200, coinsDrawn);
    EXPECT_EQ(CallKind::Repaint, calls[calls.Size() - 1].kind);
}

TEST_F(FirstTicks, TheCreditShownLagsThePayOutsByOneTick)
{
    StartGame();
    RunTicks(4);
    EXPECT_EQ(9, credit);
    int sounds = 0;
    int trayCoins = 0;
    for (const RecordedCall& c : RecordedCalls().Calls()) {
        if (c.kind == CallKind::Text && c.args[1] == 50) {
            EXPECT_STREQ("0\x96\x87", c.Name());
        }
        sounds += c.kind == CallKind::Sound && std::strcmp(c.Name(), "coin.wav") == 0;
        if (c.kind == CallKind::Sprite && std::strcmp(c.Name(), "coin.bmp") == 0) {
            ++trayCoins;
            EXPECT_GE(c.args[1], 343);
            EXPECT_LE(c.args[1], 382);
        }
    }
    EXPECT_EQ(9, sounds);
    EXPECT_EQ(9, trayCoins);
    RunTicks(1);
    for (const RecordedCall& c : RecordedCalls().Calls()) {
        if (c.kind == CallKind::Text && c.args[1] == 50) {
            EXPECT_STREQ("9\x96\x87", c.Name());
        }
    }
}

TEST_F(FirstTicks, TheLampSquareFramesTheLastCell)
{
    StartGame();
    lampCol = 7;
    lampRow = 2;
    RunTicks(1);
    std::vector<std::string> lines;
    for (const RecordedCall& c : RecordedCalls().Calls()) {
        if (c.kind == CallKind::Line)
            lines.push_back(Describe(c));
    }
    const std::vector<std::string> expected = {
        "line 259 118 276 118 3 255 255 0",
        "line 276 118 276 135 3 255 255 0",
        "line 276 135 259 135 3 255 255 0",
        "line 259 135 259 118 3 255 255 0",
    };
    EXPECT_EQ(expected, lines);
}

TEST_F(FirstTicks, AnEmptyTableStillDrawsTheWholeMachine)
{
    SetStartValues();
    RunTicks(1);
    const CallLog& calls = RecordedCalls();
    ASSERT_EQ(13u, calls.Size()); // clear, 5 layers, 2 texts, 4 lines, repaint
    EXPECT_EQ(CallKind::ClearBlack, calls[0].kind);
    EXPECT_EQ(CallKind::Repaint, calls[12].kind);
}
