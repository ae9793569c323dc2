// The DPI a window is drawn at, and the monitor a window opens on. The calls
// that tell a window's or a monitor's own DPI are newer than Vista, so they
// are looked up at run time, with the system DPI where they are missing.
#pragma once

#include <windows.h>

#include "ui/main_layout.h"

// GetDpiForWindow (Windows 10 1607), else GetDpiForMonitor of the window's
// monitor (8.1), else the system DPI (Vista and 7, which scale every window
// by one system-wide DPI).
int WindowDpi(HWND window);

// The frame the system documents for the window's own styles at a DPI:
// AdjustWindowRectExForDpi (Windows 10 1607), else AdjustWindowRectEx, which
// knows the system DPI's frame only.
LayoutInsets DocumentedFrame(HWND window, int dpi);
// The frame the window has now: its outer rectangle less its client area,
// whatever drew it (a theme, a high-contrast caption, a padded border).
LayoutInsets FrameAsItIs(HWND window);

// The work area (the monitor less its taskbars) of the monitor that holds
// the mouse cursor, or of the primary monitor when the cursor's position
// cannot be read.
LayoutRect CursorMonitorWorkArea();
// The work area of the monitor that holds most of the window.
LayoutRect WindowMonitorWorkArea(HWND window);

// The icon resource's image of a size: LoadIconWithScaleDown (comctl32 6 on
// Vista and later) scales down from the largest image, so sizes the icon
// lacks stay sharp; LoadImageW, where that is missing, stretches the nearest.
HICON LoadIconOfSize(HINSTANCE instance, int id, int size);

// Asks the dialog manager not to rescale a page dialog on a DPI change
// (Windows 10 1703 and later do so for dialogs of a per-monitor-v2 window):
// the tool places the pages' controls itself, from the page template.
void KeepDialogFromRescaling(HWND dialog);
