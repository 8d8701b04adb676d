#pragma once

// What the two shells, the Windows program and the browser page, share. Plain #defines that
// include nothing: windres reads them through resource.h, the browser shell includes them without
// <windows.h>, and the browser build hands each to the page's HTML and CSS by its name.

// Menu commands: File > Exit and Help > About (also Alt+? and Alt+/).
#define IDM_ABOUT 104
#define IDM_EXIT 105

// The About box's buttons, by Windows' numbers IDOK and IDCANCEL.
#define DIALOG_OK 1
#define DIALOG_CANCEL 2

// The About box's black band is redrawn on this period while the box is open.
#define ABOUT_BAND_REDRAW_MS 50

// The client area of the 400 by 450 window, where the game's canvas shows, as the page draws the
// window's frame, caption and menu bar around it.
#define CLIENT_WIDTH 392
#define CLIENT_HEIGHT 396
