// The main window procedure: a routing table from window messages to the game's operations.
#include "app/main_window.h"

#include "app/about.h"
#include "app/resource.h"
#include "game/game.h"

namespace {

// The game's one timer; every message of it is one tick, whatever its identifier says.
constexpr UINT_PTR GAME_TIMER = 1;

LRESULT OnCreate(HWND window)
{
    game::SetStartValues();
    g_mainCanvas.Setup(window, MAIN_CANVAS_WIDTH, MAIN_CANVAS_HEIGHT);
    SetTimer(window, GAME_TIMER, game::GAME_TICK_MS, nullptr);
    game::SetupTable();
    return 0;
}

LRESULT OnTimer(HWND window)
{
    game::GameTick(window);
    return 0;
}

LRESULT OnPaint(HWND window)
{
    g_mainCanvas.Present(window);
    return 0;
}

// Every key-down counts, auto-repeat included; no key reaches the default handling.
LRESULT OnKeyDown(WPARAM key)
{
    if (key == VK_RIGHT)
        game::DropPlayerCoin(game::RightLaneX());
    else if (key == VK_LEFT)
        game::DropPlayerCoin(game::LeftLaneX());
    return 0;
}

// Menu items and accelerators alike: the high word of wParam is not looked at.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_ABOUT:
        DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUTBOX), window, AboutDlgProc, 0);
        return 0;
    case IDM_EXIT:
        DestroyWindow(window);
        return 0;
    default:
        return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
}

LRESULT OnDestroy()
{
    PostQuitMessage(0);
    return 0;
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_TIMER:
        return OnTimer(window);
    case WM_PAINT:
        return OnPaint(window);
    case WM_KEYDOWN:
        return OnKeyDown(wParam);
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy();
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        // The game takes no mouse input.
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
