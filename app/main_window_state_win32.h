// The main window's state, in one place: its window and controls, the DPI it
// is laid out for, its controls' font, its icons, the plan applied last, the
// control to give the focus back to and the device notification. The pages'
// own state is theirs (app/pages_win32.h); the tool's decisions keep theirs
// (app/tool_flow.h).
#pragma once

#include <windows.h>

#include "app/window_fonts_win32.h"
#include "ui/control_font_win32.h"
#include "ui/main_layout.h"

struct MainWindowState {
    HWND window;
    HWND tab;
    HWND combo;
    HWND ok;
    HWND cancel;
    HWND controllerLine;
    // From the window's creation on; then the one the last WM_DPICHANGED gave.
    int dpi;
    // Chosen once to show the controls' texts; made at `dpi`.
    FontChoice controlsFace;
    ControlFont controlsFont;
    // Made for a DPI that WM_GETDPISCALEDSIZE asked about, taken by the
    // WM_DPICHANGED that follows.
    ControlFont preparedFont;
    int preparedDpi;
    // The caption's and the taskbar's icons at `dpi`.
    HICON icons[2];
    // What the last pass applied: the pages made later are placed by it.
    MainPlan plan;
    bool planned;
    // The control that had the focus when the window was last left.
    HWND focusWhenLeft;
    HDEVNOTIFY hidNotification;
};

extern MainWindowState MainWindow;
