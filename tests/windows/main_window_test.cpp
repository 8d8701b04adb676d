// The main window procedure, driven by sending messages to a real window of the game's class.
#include "app/main_window.h"
#include "app/resource.h"
#include "game/game.h"
#include "tests/windows/coins_in_play.h"
#include "tests/windows/main_window_fixture.h"
#include "tests/windows/modal_dialog.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

constexpr std::uint32_t YELLOW = 0xFFFF00;

TEST_F(MainWindow, CreationSetsUpTheCanvasTheTimerAndTheTable)
{
    EXPECT_TRUE(timerWasRunning);
    EXPECT_EQ(0, game::credit);
    EXPECT_EQ(200, CoinsInPlay());
    EXPECT_EQ(140, game::lampLeft);
    EXPECT_EQ(84, game::lampTop);
    const Picture surface = ReadSurface(g_mainCanvas);
    EXPECT_EQ(1200, surface.width);
    EXPECT_EQ(800, surface.height);
}

TEST_F(MainWindow, HasTheTitleAndOuterSizeOfTheGame)
{
    char title[100];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("Vorkelm～５台目～", title);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(400, outer.right - outer.left);
    EXPECT_EQ(450, outer.bottom - outer.top);
    EXPECT_NE(nullptr, GetMenu(window));
}

TEST_F(MainWindow, EveryTimerMessageRunsATickWhateverItsId)
{
    const UINT_PTR timerIds[] = {1, 2, 12345};
    ShowWindow(window, SW_SHOWNOACTIVATE);
    int catcherOffset = game::catcherOffset;
    for (UINT_PTR id : timerIds) {
        SCOPED_TRACE(id);
        g_mainCanvas.ClearWhite();
        ValidateRect(window, nullptr);

        EXPECT_EQ(0, Send(WM_TIMER, id));
        // The catcher moves 12 pixels a tick, the frame is drawn anew and a repaint is asked for.
        EXPECT_EQ(catcherOffset + 12, game::catcherOffset);
        catcherOffset = game::catcherOffset;
        EXPECT_EQ(YELLOW, PixelAt(g_mainCanvas, 148, 84)); // top edge of the lamp square
        EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));
    }
}

TEST_F(MainWindow, PaintCopiesTheCanvasToTheClientArea)
{
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const std::uint32_t colours[] = {WHITE, BLACK};
    for (std::uint32_t colour : colours) {
        SCOPED_TRACE(colour);
        if (colour == WHITE)
            g_mainCanvas.ClearWhite();
        else
            g_mainCanvas.ClearBlack();
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);

        EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
        const HDC dc = GetDC(window);
        const COLORREF pixel = GetPixel(dc, 30, 30);
        ReleaseDC(window, dc);
        EXPECT_EQ(colour, static_cast<std::uint32_t>(
                              (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel)));
    }
}

TEST_F(MainWindow, ArrowKeysDropACoinIntoTheirLaneOnEveryKeyDown)
{
    struct Case {
        WPARAM key;
        int laneX;
    };
    const Case cases[] = {{VK_RIGHT, game::RightLaneX()}, {VK_LEFT, game::LeftLaneX()}};
    // A first press, then an auto-repeated one (the previous-key-state bit set).
    const LPARAM presses[] = {1, 1 | (1 << 30)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        for (LPARAM lParam : presses) {
            game::credit = 3;
            const int slot = game::FindFreeSlot();

            EXPECT_EQ(0, Send(WM_KEYDOWN, c.key, lParam));
            EXPECT_EQ(2, game::credit);
            EXPECT_EQ(game::CoinFalling, game::coinState[slot]);
            EXPECT_EQ(c.laneX, game::coinX[slot]);
            EXPECT_EQ(game::EntryHeight(), game::coinY[slot]);
        }
    }
}

TEST_F(MainWindow, OtherKeysAreConsumedWithoutEffect)
{
    const WPARAM keys[] = {VK_UP, VK_DOWN, VK_SPACE, VK_RETURN, VK_ESCAPE, 'A', VK_NUMPAD4, VK_NUMPAD6};
    game::credit = 3;
    const std::vector<int32_t> before(std::begin(game::coinState), std::end(game::coinState));
    for (WPARAM key : keys) {
        SCOPED_TRACE(key);
        EXPECT_EQ(0, Send(WM_KEYDOWN, key));
        EXPECT_EQ(3, game::credit);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), std::begin(game::coinState)));
    }
}

TEST_F(MainWindow, MouseInputIsIgnored)
{
    game::credit = 3;
    EXPECT_EQ(0, Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100)));
    EXPECT_EQ(0, Send(WM_MOUSEMOVE, 0, MAKELPARAM(210, 100)));
    EXPECT_EQ(3, game::credit);
    EXPECT_EQ(200, CoinsInPlay());
}

TEST_F(MainWindow, AboutCommandShowsTheAboutBoxModally)
{
    // From the menu (high word 0) and from an accelerator (high word 1).
    const WPARAM commands[] = {MAKEWPARAM(IDM_ABOUT, 0), MAKEWPARAM(IDM_ABOUT, 1)};
    for (WPARAM command : commands) {
        SCOPED_TRACE(command);
        char caption[100] = {};
        HWND owner = nullptr;
        BOOL ownerEnabled = TRUE;
        LRESULT result = -1;
        const bool shown = WithModalDialog([&] { result = Send(WM_COMMAND, command); },
                                           [&](HWND dialog) {
                                               GetWindowTextA(dialog, caption, sizeof caption);
                                               owner = GetWindow(dialog, GW_OWNER);
                                               ownerEnabled = IsWindowEnabled(window);
                                               PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                                           });
        ASSERT_TRUE(shown);
        EXPECT_STREQ("ﾊﾞｰｼﾞｮﾝ情報", caption);
        EXPECT_EQ(window, owner);
        EXPECT_FALSE(ownerEnabled);
        EXPECT_EQ(0, result);
        EXPECT_TRUE(IsWindowEnabled(window));
    }
}

TEST_F(MainWindow, ExitCommandDestroysTheWindowAndQuitsWithZero)
{
    WPARAM code = 99;
    EXPECT_EQ(0, Send(WM_COMMAND, MAKEWPARAM(IDM_EXIT, 1)));
    EXPECT_FALSE(IsWindow(window));
    ASSERT_TRUE(QuitPosted(&code));
    EXPECT_EQ(0u, code);
}

TEST_F(MainWindow, ClosingTheWindowQuitsWithZero)
{
    WPARAM code = 99;
    Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_TRUE(QuitPosted(&code));
    EXPECT_EQ(0u, code);
}

TEST_F(MainWindow, OtherCommandsGoToTheDefaultHandling)
{
    const WORD commands[] = {0, IDOK, IDCANCEL, IDD_ABOUTBOX, 106, IDC_VORKELM, 40000};
    game::credit = 3;
    for (WORD command : commands) {
        SCOPED_TRACE(command);
        LRESULT result = -1;
        const bool shown =
            WithModalDialog([&] { result = Send(WM_COMMAND, MAKEWPARAM(command, 0)); },
                            [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_FALSE(shown);
        EXPECT_EQ(DefWindowProcA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0), result);
        EXPECT_TRUE(IsWindow(window));
        WPARAM code;
        EXPECT_FALSE(QuitPosted(&code));
        EXPECT_EQ(3, game::credit);
    }
}

} // namespace
