// The main window laid out at its DPI: its controls from the scaled layout,
// the pages placed and fitted into the tab control, and all of it again when
// the window moves to a monitor of another DPI.
#pragma once

#include <windows.h>

#include "app/shell_port.h"

// The DPI the main window is laid out for: the window's own from its
// creation on, then the one the last WM_DPICHANGED gave.
int MainWindowDpi();
void TakeMainWindowDpi(HWND mainWindow);

// Notes how the dialog manager laid out the pages, at MainWindowDpi: every
// later DPI is scaled from that, so a round trip between monitors ends
// exactly where it began. Where the template's font cannot show the pages'
// texts, gives their controls one that can.
void SetUpPages();

// Places every control for MainWindowDpi. Where a page's controls reach past
// the tab control by half a control or more (a substitute font larger than
// the template's), the tab grows to hold them whole, with the controls below
// and right of it and the window; otherwise the window has the layout's size.
void ApplyMainLayout(HWND mainWindow, const MainControls& controls);

// WM_DPICHANGED: the window takes the rectangle Windows suggests, the fonts
// are made again at the new size, and everything is laid out anew. Nothing
// shown on the pages changes but its size.
void ChangeMainWindowDpi(HWND mainWindow, const MainControls& controls, int dpi,
                         const RECT& suggested);
