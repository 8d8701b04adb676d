// The first tick of the game on the real main canvas, drawn from the real asset files: run with
// the assets folder as the current directory.
#include "canvas/canvas.h"
#include "game/game.h"
#include "tests/windows/bmp_files.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::uint32_t YELLOW = 0xFFFF00;
constexpr int COIN = 15;

struct CoinAt {
    int x;
    int y;
};

Picture TopLeft(const Picture& picture, int w, int h)
{
    Picture part = SolidPicture(w, h, BLACK);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            part.At(x, y) = picture.At(x, y);
    return part;
}

class FirstTick : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_mainCanvas.Setup(nullptr, 1200, 800);
        game::SetStartValues();
        game::SetupTable();
        game::GameTick(nullptr);
        frame = new Picture(ReadSurface(g_mainCanvas));

        // Kept for looking at: the part of the canvas that the window shows.
        if (const char* screenshot = std::getenv("VORKELM_FIRST_TICK_BMP"))
            WriteBmp(screenshot, TopLeft(*frame, 400, 450));
    }

    static void TearDownTestSuite() { delete frame; }

    // Lying coins in drawing order, which is slot order.
    static std::vector<CoinAt> LyingCoins()
    {
        std::vector<CoinAt> coins;
        for (int slot = 0; slot < game::COIN_SLOTS; ++slot)
            if (game::coinState[slot] == game::CoinOnPusher ||
                game::coinState[slot] == game::CoinOnField)
                coins.push_back({game::coinX[slot], game::coinY[slot]});
        return coins;
    }

    static Picture* frame;
};

Picture* FirstTick::frame = nullptr;

TEST_F(FirstTick, LampSquareFramesTheFirstCellInYellow)
{
    // Corners (140, 84) and (157, 101), pen 3 pixels wide.
    for (const CoinAt& p : {CoinAt{148, 84}, CoinAt{148, 83}, CoinAt{148, 85}, CoinAt{157, 92},
                            CoinAt{148, 101}, CoinAt{140, 92}, CoinAt{140, 84}, CoinAt{157, 101}})
        EXPECT_EQ(YELLOW, frame->At(p.x, p.y)) << p.x << "," << p.y;

    // The next cell's far edge shows the top board (drawn opaque at (126, 20)), not the lamp.
    const Picture board = LoadedPicture("top.bmp", 165, 162);
    for (const CoinAt& p : {CoinAt{174, 92}, CoinAt{165, 118}, CoinAt{148, 118}})
        EXPECT_EQ(board.At(p.x - 126, p.y - 20), frame->At(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(FirstTick, CoinsLieWhereTheReplayTracePutsThem)
{
    // From `vorkelm-sim --ticks 1 --trace`: the first, second and last lying coin drawn.
    const std::vector<CoinAt> coins = LyingCoins();
    ASSERT_EQ(200u, coins.size());
    EXPECT_EQ(161, coins.front().x);
    EXPECT_EQ(269, coins.front().y);
    EXPECT_EQ(214, coins[1].x);
    EXPECT_EQ(252, coins[1].y);
    EXPECT_EQ(154, coins.back().x);
    EXPECT_EQ(200, coins.back().y);

    // Where a coin's mask is opaque and no later coin covers it, the frame shows the coin.
    const Picture image = LoadedPicture("coin2.bmp", COIN, COIN);
    const Picture mask = LoadedPicture("coin2mask.bmp", COIN, COIN);
    int checked = 0;
    for (std::size_t i = 0; i < coins.size(); ++i) {
        for (int dy = 0; dy < COIN; ++dy) {
            for (int dx = 0; dx < COIN; ++dx) {
                const int x = coins[i].x + dx;
                const int y = coins[i].y + dy;
                if (mask.At(dx, dy) != WHITE)
                    continue;
                bool covered = false;
                for (std::size_t j = i + 1; j < coins.size() && !covered; ++j)
                    covered = x >= coins[j].x && x < coins[j].x + COIN && y >= coins[j].y &&
                              y < coins[j].y + COIN;
                if (covered)
                    continue;
                ASSERT_EQ(image.At(dx, dy), frame->At(x, y)) << "coin " << i << " at " << x << ","
                                                            << y;
                ++checked;
            }
        }
    }
    // Every coin but the most buried shows some of itself.
    EXPECT_GT(checked, 100 * COIN);
}

TEST_F(FirstTick, TitleAndCreditAreWrittenInWhite)
{
    auto whiteIn = [](int left, int top, int right, int bottom) {
        int white = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                white += frame->At(x, y) == WHITE;
        return white;
    };
    EXPECT_GT(whiteIn(5, 10, 100, 24), 20);  // "Vorkelm", 14 high
    EXPECT_GT(whiteIn(5, 50, 40, 66), 10);   // "0枚", 16 high
    EXPECT_EQ(0, whiteIn(5, 26, 100, 48));   // nothing between them
}

TEST_F(FirstTick, CanvasOutsideTheMachineIsBlack)
{
    for (int y = 0; y < 800; y += 7)
        for (int x = 330; x < 1200; x += 5)
            ASSERT_EQ(BLACK, frame->At(x, y)) << x << "," << y;
}

} // namespace
