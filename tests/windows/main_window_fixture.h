#pragma once

// A real main window of the game's class, hidden, whose procedure the tests drive by sending it
// messages. Its timer is stopped: the tests deliver the ticks themselves.
#include <gtest/gtest.h>

#include <windows.h>

// Takes the quit message off the thread's queue, if one was posted; its code goes to *code.
bool QuitPosted(WPARAM* code);

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0)
    {
        return SendMessageA(window, message, wParam, lParam);
    }

    HWND window = nullptr;
    BOOL timerWasRunning = FALSE;
};
