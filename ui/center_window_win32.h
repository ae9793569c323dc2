#pragma once

#include <windows.h>

// Moves the window so that it is centred on the reference window's right and
// bottom edges, or, with no reference, in the work area of its monitor (on
// one monitor without a taskbar, the desktop's centre); its size is kept.
void CenterWindow(HWND window, HWND reference);
