#pragma once

// Lets a test act inside a modal dialog's loop: a thread timer fires once the loop runs and hands
// the test the dialog, which the test must end.
#include <windows.h>

#include <functional>

// Runs `open`; if it shows a dialog of this thread, calls `inside` with it from the dialog's own
// loop. Returns whether `inside` ran.
bool WithModalDialog(const std::function<void()>& open, const std::function<void(HWND dialog)>& inside);
