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

// The outer size of a window whose client area is width x height at a DPI,
// for the window's own styles: AdjustWindowRectExForDpi (Windows 10 1607),
// else AdjustWindowRectEx, which knows the system DPI's frame only.
SIZE WindowSizeForClient(HWND window, int width, int height, int dpi);

// The work area (the monitor less its taskbars) of the monitor that holds
// the mouse cursor, or of the primary monitor when the cursor's position
// cannot be read.
LayoutRect CursorMonitorWorkArea();
// The work area of the monitor that holds most of the window.
LayoutRect WindowMonitorWorkArea(HWND window);

// Asks the dialog manager not to rescale a page dialog on a DPI change
// (Windows 10 1703 and later do so for dialogs of a per-monitor-v2 window):
// the tool scales the pages itself, from the geometry they were made with.
void KeepDialogFromRescaling(HWND dialog);
