#pragma once

#include <windows.h>

// Moves the window so that it is centred on the reference window's right and
// bottom edges (the desktop when reference is null); its size is kept.
void CenterWindow(HWND window, HWND reference);
