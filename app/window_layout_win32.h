// The main window laid out at its DPI: each pass measures every input (the
// fonts, the texts shown, the tab's frame, the page template, the window's
// frame, the work area), makes the plan from them (ui/main_layout.h) and
// applies it at once; the size the window will take at another DPI; and the
// inputs that a DPI change brings.
#pragma once

#include <windows.h>

#include "app/main_window_state_win32.h"
#include "app/shell_port.h"

// One pass: every control where the plan puts it, in one batch per parent,
// and the window sized and placed once, its frame as it is.
void LayOutMainWindow(MainWindowState& state, const LayoutPass& pass);

// WM_GETDPISCALEDSIZE: the outer size of the plan at `dpi`, with the fonts
// made for it and the frame the system documents there.
SIZE MainWindowSizeAt(MainWindowState& state, int dpi);

// The DPI, the fonts made for it given to every control, and the icons of
// its size.
void TakeMainWindowDpi(MainWindowState& state, int dpi);
void SetWindowIcons(MainWindowState& state);
