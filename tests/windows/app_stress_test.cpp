// The main window under floods: ten thousand arrow keys between two ticks, and the About box
// opened and closed two hundred times.
#include "app/resource.h"
#include "canvas/canvas.h"
#include "game/game.h"
#include "tests/windows/coins_in_play.h"
#include "tests/windows/main_window_fixture.h"
#include "tests/windows/modal_dialog.h"
#include "tests/windows/process_usage.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int KEY_PRESSES = 10000;

struct FloodCase {
    int credit;
    int dropped; // at most one coin per credit and per free slot
};

// Right and Left by turns, as a player holding both keys; every key-down counts, auto-repeat
// included. The table starts with 200 of its 5000 slots in use.
TEST_F(MainWindow, KeyFloodBetweenTwoTicksSpendsExactlyTheCredit)
{
    const FloodCase cases[] = {
        {0, 0},
        {1, 1},
        {4000, 4000},
        {4800, 4800}, // every free slot
        {6000, 4800}, // a press on a full table drops nothing and keeps its coin
    };
    for (const FloodCase& c : cases) {
        SCOPED_TRACE(c.credit);
        game::ResetGame();
        game::SetStartValues();
        game::SetupTable();
        Send(WM_TIMER, 1);
        const int coinsBefore = CoinsInPlay();
        ASSERT_EQ(200, coinsBefore);
        game::credit = c.credit;

        int lowest = c.credit;
        for (int press = 0; press < KEY_PRESSES; ++press) {
            Send(WM_KEYDOWN, press % 2 ? VK_LEFT : VK_RIGHT, 1 | (press > 0 ? 1 << 30 : 0));
            lowest = std::min(lowest, game::credit);
        }
        EXPECT_EQ(c.credit - c.dropped, game::credit);
        EXPECT_EQ(coinsBefore + c.dropped, CoinsInPlay());
        EXPECT_GE(lowest, 0);

        // The next tick can only add to the credit.
        const int creditAfterFlood = game::credit;
        Send(WM_TIMER, 1);
        EXPECT_GE(game::credit, creditAfterFlood);
    }
}

// Counts the dialogs of this thread that are set up, and can end each one at once, from its own
// WM_INITDIALOG, before its modal loop first shows it.
class DialogWatch {
public:
    DialogWatch()
    {
        hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterCall, nullptr, GetCurrentThreadId());
    }
    ~DialogWatch() { UnhookWindowsHookEx(hook); }

    static int setUp;
    static bool endAtOnce;

private:
    static LRESULT CALLBACK AfterCall(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_INITDIALOG) {
            ++setUp;
            if (endAtOnce)
                PostMessageA(call->hwnd, WM_COMMAND, IDCANCEL, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook;
};

int DialogWatch::setUp = 0;
bool DialogWatch::endAtOnce = false;

// Opened with the menu command and closed with Esc's command from its own modal loop, as a
// player would. Under Wine without a window manager, taking a shown dialog down costs two
// seconds, so most openings end the box before it is first shown: it is still made from its
// template, sets up its canvas and timer, and is destroyed. A few openings first let the
// platform make what it keeps for dialogs.
TEST_F(MainWindow, AboutBoxOpenedTwoHundredTimesKeepsMemoryAndGdiObjects)
{
    const int warmUp = 40;
    const int openings = 200;
    const int shownEvery = 40;
    const std::size_t memorySlack = 1 << 20;

    DialogWatch watch;
    int shown = 0;
    auto openAndClose = [&](int i) {
        const auto open = [&] { Send(WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0)); };
        DialogWatch::endAtOnce = i % shownEvery != 0;
        if (DialogWatch::endAtOnce)
            open();
        else
            shown += WithModalDialog(open, [](HWND dialog) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            });
    };
    for (int i = 0; i < warmUp; ++i)
        openAndClose(i);
    const ProcessUsage before = MeasureProcess();
    for (int i = 0; i < openings; ++i)
        openAndClose(i);
    const ProcessUsage after = MeasureProcess();
    std::printf("after %d openings: %s\nafter %d more: %s\n", warmUp, Describe(before).c_str(),
                openings, Describe(after).c_str());

    EXPECT_EQ(warmUp + openings, DialogWatch::setUp);
    EXPECT_EQ(1 + openings / shownEvery, shown);
    EXPECT_LE(after.workingSet, before.workingSet + memorySlack);
    EXPECT_LE(after.privateBytes, before.privateBytes + memorySlack);
    if (before.gdiObjects != 0) {
        EXPECT_LE(after.gdiObjects, before.gdiObjects);
    }
    // The last opening left its band as every opening makes it, and the game has its window back.
    const Picture band = ReadSurface(g_aboutCanvas);
    EXPECT_EQ(500, band.width);
    EXPECT_EQ(100, band.height);
    EXPECT_TRUE(IsWindowEnabled(window));
}

} // namespace
