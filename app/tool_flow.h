// The main window's decisions: start-up, the tick, tab changes, the edition
// switch, OK and closing. The window procedure only routes messages here.
#pragma once

#include "app/shell_port.h"
#include "base/platform_refs.h"

extern InstanceRef ModuleInstance;
// The page shown in the tab control, fed to every tick.
extern int CurrentPage;
extern MainControls MainWindowControls;

// The process's first step, before any text is shown: enters the executable's
// folder, reads the settings file once (StartTool takes the edition and the
// labels from what it read) and chooses the texts' language: [Config]
// Language, else the user's UI language.
void PrepareStart();
// WM_CREATE: controls, then StartTool. False when the controls could not be
// made: the window's creation is then to fail.
bool OnMainWindowCreate(WindowRef mainWindow);
// The edition read at start, devices, the edition combo box, the record, the
// pages (with the labels read at start), the layout, centring and the
// timer, in that order. Ends the process when the devices cannot be opened.
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
// once the messages of a burst have stopped coming.
void OnDeviceChange(WindowRef mainWindow);
void OnDeviceRefresh(WindowRef mainWindow);
// The window has taken its fonts and layout at a new DPI: the controller
// line's text is fitted again to its new width.
void OnDpiChange(WindowRef mainWindow);
// The user picked an item in the edition combo box.
void SwitchProfile();
// OK: stores the record and closes; a failed store leaves the window open.
void AcceptAndClose(WindowRef mainWindow);
// WM_CLOSE: remembers the edition, then destroys the window.
void CloseTool(WindowRef mainWindow);
