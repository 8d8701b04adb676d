#include "tests/windows/modal_dialog.h"

namespace {

std::function<void(HWND)> g_inside;
bool g_ran;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found)
{
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK OnLoopTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    g_ran = true;
    g_inside(dialog);
}

} // namespace

bool WithModalDialog(const std::function<void()>& open, const std::function<void(HWND dialog)>& inside)
{
    g_inside = inside;
    g_ran = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, OnLoopTimer);
    open();
    KillTimer(nullptr, timer);
    return g_ran;
}
