#include "ui/center_window_win32.h"

#include "ui/dpi_win32.h"
#include "ui/main_layout.h"

void CenterWindow(HWND window, HWND reference) {
    RECT own = {};
    GetWindowRect(window, &own);
    LayoutRect area = WindowMonitorWorkArea(window);
    if (reference != nullptr) {
        RECT rect = {};
        GetWindowRect(reference, &rect);
        // The reference's left and top do not enter, as for the desktop.
        area = {0, 0, rect.right, rect.bottom};
    }
    const LayoutPoint at = PlaceInWorkArea(area, own.right - own.left, own.bottom - own.top);
    SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);
}
