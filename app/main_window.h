#pragma once

// The main window: its class, its creation and its window procedure, which drives the game.
#include <windows.h>

extern HINSTANCE g_instance;
extern char g_titleText[100];
extern char g_className[100];

// Registers the class named g_className; nobody looks at the atom.
ATOM RegisterMainClass(HINSTANCE instance);
// Creates and shows the main window; 1 when it exists, 0 when creation failed.
BOOL CreateMainWindow(HINSTANCE instance, int showCommand);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
