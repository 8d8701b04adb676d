// The About dialog procedure, run in the real modal dialog made from the program's template.
#include "app/about.h"
#include "app/resource.h"
#include "canvas/canvas.h"
#include "tests/windows/modal_dialog.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>
#include <vector>

namespace {

INT_PTR OpenAboutBox(const std::function<void(HWND dialog)>& inside)
{
    INT_PTR result = -1;
    const bool shown = WithModalDialog(
        [&] {
            result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX),
                                     nullptr, AboutDlgProc, 0);
        },
        inside);
    EXPECT_TRUE(shown);
    return result;
}

TEST(AboutBox, EndsWithTheCommandOfWhatClosedIt)
{
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        bool toFocus; // keys go to the focused control, the rest to the dialog
        INT_PTR result;
    };
    const Case cases[] = {
        {"Enter", WM_KEYDOWN, VK_RETURN, true, IDOK},
        {"Esc", WM_KEYDOWN, VK_ESCAPE, true, IDCANCEL},
        {"OK button", WM_COMMAND, IDOK, false, IDOK},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, false, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int focusId = 0;
        const INT_PTR result = OpenAboutBox([&](HWND dialog) {
            focusId = GetDlgCtrlID(GetFocus());
            PostMessageA(c.toFocus ? GetFocus() : dialog, c.message, c.wParam, 0);
        });
        EXPECT_EQ(IDOK, focusId);
        EXPECT_EQ(c.result, result);
    }
}

TEST(AboutBox, SetsUpItsBandAtEveryOpeningAndStartsItsTimer)
{
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        g_aboutCanvas.Setup(nullptr, 7, 7);
        int width = 0;
        int height = 0;
        BOOL timerRunning = FALSE;
        OpenAboutBox([&](HWND dialog) {
            const Picture band = ReadSurface(g_aboutCanvas);
            width = band.width;
            height = band.height;
            timerRunning = KillTimer(dialog, 1);
            EndDialog(dialog, IDOK);
        });
        EXPECT_EQ(500, width);
        EXPECT_EQ(100, height);
        EXPECT_TRUE(timerRunning);
    }
}

TEST(AboutBox, TimerBlackensTheBandAndPaintShowsIt)
{
    std::uint32_t corners[2] = {WHITE, WHITE};
    std::uint32_t shown = WHITE;
    BOOL repaintAsked = FALSE;
    LRESULT timerResult = -1;
    OpenAboutBox([&](HWND dialog) {
        KillTimer(dialog, 1);
        g_aboutCanvas.ClearWhite();
        ValidateRect(dialog, nullptr);

        timerResult = AboutDlgProc(dialog, WM_TIMER, 1, 0);
        corners[0] = PixelAt(g_aboutCanvas, 0, 0);
        corners[1] = PixelAt(g_aboutCanvas, 499, 99);
        repaintAsked = GetUpdateRect(dialog, nullptr, FALSE);

        UpdateWindow(dialog);
        const HDC dc = GetDC(dialog);
        shown = GetPixel(dc, 5, 5) & 0xFFFFFF;
        ReleaseDC(dialog, dc);
        EndDialog(dialog, IDOK);
    });
    EXPECT_FALSE(timerResult);
    EXPECT_EQ(BLACK, corners[0]);
    EXPECT_EQ(BLACK, corners[1]);
    EXPECT_TRUE(repaintAsked);
    EXPECT_EQ(BLACK, shown);
}

TEST(AboutBox, OtherCommandsAreLeftAlone)
{
    const WORD commands[] = {0, IDC_ABOUT_ICON + 1, IDM_ABOUT, IDM_EXIT};
    std::vector<INT_PTR> handled;
    BOOL stillShown = FALSE;
    OpenAboutBox([&](HWND dialog) {
        for (WORD command : commands)
            handled.push_back(AboutDlgProc(dialog, WM_COMMAND, MAKEWPARAM(command, 0), 0));
        stillShown = IsWindowVisible(dialog);
        EndDialog(dialog, IDOK);
    });
    EXPECT_EQ(std::vector<INT_PTR>(std::size(commands), FALSE), handled);
    EXPECT_TRUE(stillShown);
}

} // namespace
