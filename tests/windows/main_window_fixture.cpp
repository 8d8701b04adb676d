#include "tests/windows/main_window_fixture.h"

#include "app/main_window.h"
#include "app/resource.h"
#include "game/game.h"

bool QuitPosted(WPARAM* code)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    *code = message.wParam;
    return true;
}

void MainWindow::SetUp()
{
    game::ResetGame();
    // Left over from an earlier run: creation must put these back.
    game::credit = 55;
    game::lampLeft = 0;

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    LoadStringA(instance, IDS_APP_TITLE, g_titleText, sizeof g_titleText);
    LoadStringA(instance, IDC_VORKELM, g_className, sizeof g_className);
    RegisterMainClass(instance);
    // Hidden unless a test needs the screen: Wine takes seconds to take a shown window down
    // without a window manager.
    ASSERT_TRUE(CreateMainWindow(instance, SW_HIDE));
    window = FindWindowA(g_className, g_titleText);
    ASSERT_NE(nullptr, window);
    // Nothing here pumps messages but the About box; keep its modal loop from ticking.
    timerWasRunning = KillTimer(window, 1);
}

void MainWindow::TearDown()
{
    if (IsWindow(window))
        DestroyWindow(window);
    WPARAM code;
    while (QuitPosted(&code)) {
    }
}
