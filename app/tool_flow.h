// The main window's decisions: start-up, the tick, tab changes, the edition
// switch, OK and closing. The window procedure only routes messages here.
#pragma once

#include "app/shell_port.h"
#include "base/platform_refs.h"

extern InstanceRef ModuleInstance;
// The page shown in the tab control, fed to every tick.
extern int CurrentPage;

// The process's first step, before any text is shown: enters the executable's
// folder, reads the settings file once (StartTool takes the edition and the
// labels from what it read) and chooses the texts' language: [Config]
// Language, else the user's UI language.
void PrepareStart();
// WM_CREATE: controls, then StartTool. False when the controls could not be
// made: the window's creation is then to fail.
bool OnMainWindowCreate(WindowRef mainWindow);
// The edition read at start, devices, the edition combo box, the record, the
// pages (with the labels read at start), the controller line, the layout
// (centred on the cursor's monitor) and the timer, in that order. Ends the
// process when the devices cannot be opened.
void StartTool(WindowRef mainWindow);
// The window is activated (first when it is shown): the keys act on what is
// seen, so the focus goes back to the control that had it when the window
// was left, or at first to the shown page's selected slot.
void OnActivate(WindowRef focusedBefore);
// The capture step; a controller whose reads find it lost asks for a
// refresh, as a device change does.
void OnTick(WindowRef mainWindow);
void OnTabChange();
// A controller may have come or gone: the controllers are brought up to date
// once the messages of a burst have stopped coming, and the window is laid
// out again where the controller line's text changed.
void OnDeviceChange(WindowRef mainWindow);
void OnDeviceRefresh(WindowRef mainWindow);

// The causes that lay the window out while it is open, one pass each. A
// cause that arrives while a pass runs (the pass's own move can make Windows
// send WM_DPICHANGED at once) is taken after it, never inside it.
// WM_DPICHANGED: the new DPI and the top-left corner Windows suggests.
void OnDpiChange(WindowRef mainWindow, int dpi, int left, int top);
// The frame's metrics, the theme or the desktop's composition changed:
// Windows kept the outer rectangle and drew another frame inside it.
void OnFrameChange(WindowRef mainWindow);
// The screen or its work area changed: the window is kept on it.
void OnDisplayChange(WindowRef mainWindow);

// The user picked an item in the edition combo box.
void SwitchProfile();
// OK: stores the record and closes; a failed store leaves the window open.
void AcceptAndClose(WindowRef mainWindow);
// Cancel: closes without storing, as the close box does.
void Cancel(WindowRef mainWindow);
// WM_CLOSE: remembers the edition, then destroys the window.
void CloseTool(WindowRef mainWindow);
