#include "ui/center_window_win32.h"

void CenterWindow(HWND window, HWND reference) {
    if (reference == nullptr) {
        reference = GetDesktopWindow();
    }
    RECT own = {};
    RECT area = {};
    GetWindowRect(window, &own);
    GetWindowRect(reference, &area);
    // The reference's left and top do not enter: for the desktop they are 0.
    const int x = (area.right - (own.right - own.left)) / 2;
    const int y = (area.bottom - (own.bottom - own.top)) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}
