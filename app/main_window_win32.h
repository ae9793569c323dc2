// The main window: its class, its creation and its window procedure.
#pragma once

#include <windows.h>

// True when RegisterClassA gave a class atom.
bool RegisterMainWindowClass(HINSTANCE instance);
// The whole start-up runs inside, on WM_CREATE; a created window is then shown
// with the show command. Null when no window results.
HWND CreateMainWindow(HINSTANCE instance, int showCommand, LPVOID parameter);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
