// The About dialog's procedure. Its canvas only ever shows black; the band is redrawn on the
// dialog's own timer for as long as the box is open.
#include "app/about.h"

#include "app/shell.h"
#include "canvas/canvas.h"

namespace {

constexpr UINT_PTR BAND_TIMER = 1;

// The browser's About box answers to the same numbers.
static_assert(DIALOG_OK == IDOK && DIALOG_CANCEL == IDCANCEL);

} // namespace

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        g_aboutCanvas.Setup(dialog, ABOUT_CANVAS_WIDTH, ABOUT_CANVAS_HEIGHT);
        SetTimer(dialog, BAND_TIMER, ABOUT_BAND_REDRAW_MS, nullptr);
        // TRUE gives the focus to the first tab stop, the OK button.
        return TRUE;
    case WM_TIMER:
        g_aboutCanvas.ClearBlack();
        g_aboutCanvas.RequestRepaint(dialog);
        return FALSE;
    case WM_PAINT:
        g_aboutCanvas.Present(dialog);
        return FALSE;
    case WM_COMMAND: {
        // OK and Enter give IDOK; Esc, the close box and the system menu give IDCANCEL.
        const int command = LOWORD(wParam);
        if (command == IDOK || command == IDCANCEL) {
            EndDialog(dialog, command);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}
