#include "game/random.h"
#include "test_support.h"

#include <cstring>

using namespace game;

namespace {

// A generator state whose next draw is (divisible by 20) == stops.
uint32_t StateWhoseNextDrawStops(bool stops)
{
    for (uint32_t state = 1;; ++state) {
        SetRandomState(state);
        if ((game::rand() % 20 == 0) == stops)
            return state;
    }
}

std::vector<std::string> Sounds()
{
    std::vector<std::string> sounds;
    for (const RecordedCall& c : RecordedCalls().Calls()) {
        if (c.kind == CallKind::Sound)
            sounds.push_back(c.Name());
    }
    return sounds;
}

} // namespace

using Catcher = FreshGame;

TEST_F(Catcher, TravelsToAndFroInTwentyFourTicks)
{
    const int course[] = {12, 24, 36, 48, 60, 72, 84, 96, 108, 120, 132, 144,
                          132, 120, 108, 96, 84, 72, 60, 48, 36, 24, 12, 0};
    for (int lap = 0; lap < 2; ++lap) {
        for (int offset : course) {
            CatcherStep();
            ASSERT_EQ(offset, catcherOffset) << "lap " << lap;
        }
    }
    EXPECT_EQ(0, catcherReturning);
}

using Lottery = FreshGame;

TEST_F(Lottery, TheLampWalksTheGridInReadingOrder)
{
    const struct {
        int row, col, nextRow, nextCol;
    } cases[] = {{0, 0, 0, 1}, {0, 7, 1, 0}, {1, 7, 2, 0}, {2, 7, 0, 0}, {2, 3, 2, 4}};
    for (const auto& c : cases) {
        lotteryRunning = 1;
        lampRow = c.row;
        lampCol = c.col;
        SetRandomState(StateWhoseNextDrawStops(false));
        LotteryStep();
        EXPECT_EQ(c.nextRow, lampRow);
        EXPECT_EQ(c.nextCol, lampCol);
        EXPECT_EQ(1, lotteryRunning);
    }
}

TEST_F(Lottery, TheCellTheLampMovesToPays)
{
    const struct {
        int row, col, prize;
    } cases[] = {{0, 0, 0}, {1, 6, 500}, {0, 2, 100}, {2, 5, 70}, {0, 7, 0}};
    for (const auto& c : cases) {
        RecordedCalls().Clear();
        lotteryRunning = 1;
        lampRow = c.row;
        lampCol = c.col;
        coinsOwed = 3;
        SetRandomState(StateWhoseNextDrawStops(true));
        LotteryStep();
        EXPECT_EQ(0, lotteryRunning);
        EXPECT_EQ(3 + c.prize, coinsOwed) << "from " << c.row << "," << c.col;
        EXPECT_EQ((std::vector<std::string>{"s.wav", "stop.wav"}), Sounds());
    }
}

TEST_F(Lottery, AnIdleLotteryDrawsNothingAndPlaysNothing)
{
    const uint32_t state = RandomState();
    LotteryStep();
    EXPECT_EQ(state, RandomState());
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(0, lampCol);
}

TEST_F(Lottery, ACatchDuringALotteryChangesNothingButLosesTheCoin)
{
    lotteryRunning = 1;
    lampRow = 1;
    lampCol = 4;
    PlaceCoin(0, CoinFalling, 130, 134);
    CoinPass();
    EXPECT_EQ(CoinFree, coinState[0]);
    EXPECT_EQ(1, lotteryRunning);
    EXPECT_EQ(1, lampRow);
    EXPECT_EQ(4, lampCol);
}

TEST_F(Lottery, APrizeWonInATickFallsFromTheTopInTheNext)
{
    SetStartValues();
    lotteryRunning = 1;
    lampRow = 1;
    lampCol = 6;
    // The tick's draws come after the pusher step: find a state whose first draw stops the lamp.
    SetRandomState(StateWhoseNextDrawStops(true));
    GameTick(nullptr);
    EXPECT_EQ(500, coinsOwed);
    EXPECT_EQ(1, lampRow);
    EXPECT_EQ(7, lampCol);
    GameTick(nullptr);
    EXPECT_EQ(0, coinsOwed);
    EXPECT_EQ(500, CountState(CoinFalling));
}
