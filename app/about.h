#pragma once

// The About box: the icon, the name and version, OK, and a black band redrawn on its own timer.
#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
