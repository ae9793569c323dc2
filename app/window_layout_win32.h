// The main window laid out at its DPI: its controls from the scaled layout,
// the pages placed and fitted into the tab's display area, the window's
// outer size from the client area the layout needs and the system's frame,
// and all of it again when the window moves to a monitor of another DPI.
#pragma once

#include <windows.h>

#include "app/shell_port.h"

// The DPI the main window is laid out for: the window's own from its
// creation on, then the one the last WM_DPICHANGED gave.
int MainWindowDpi();
void TakeMainWindowDpi(HWND mainWindow);

// Notes the controls of the pages made so far and their template's items,
// from which the layout places them at every DPI, and gives them their font
// (app/window_fonts_win32.h): whatever the way to a DPI, the pages there are
// the same.
void SetUpPages(HINSTANCE instance);

// Posted to the main window while it is made: the pages left for later.
constexpr UINT kMakeLaterPagesMessage = WM_APP + 1;

// The pages that BuildPages left for later, made, set up and laid out like
// the first; nothing when there are none.
void MakeLaterPages(HWND mainWindow, const MainControls& controls);

// The display area of a tab control of the given size, in its client area.
RECT TabDisplayArea(HWND tab, int width, int height);

// Places every control for MainWindowDpi, measured in the fonts and texts in
// use: the tab grows until every page control lies inside its display area,
// OK and Cancel widen to their texts, the controller line takes the lines its
// text needs, and the window takes the outer size that gives the client area
// all that needs, whatever the frame.
void ApplyMainLayout(HWND mainWindow, const MainControls& controls);

// WM_GETDPISCALEDSIZE: the outer size the layout will take at `dpi`.
SIZE MainWindowSizeAt(HWND mainWindow, int dpi);

// WM_DPICHANGED: the window goes where Windows suggests, the fonts are made
// again at the new size, and everything is laid out anew. Nothing shown on
// the pages changes but its size.
void ChangeMainWindowDpi(HWND mainWindow, const MainControls& controls, int dpi,
                         const RECT& suggested);
