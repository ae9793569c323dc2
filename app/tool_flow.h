// The main window's decisions: start-up, the tick, tab changes, the edition
// switch, OK and closing. The window procedure only routes messages here.
#pragma once

#include "app/shell_port.h"
#include "ui/platform_refs.h"

extern InstanceRef ModuleInstance;
// The page shown in the tab control, fed to every tick.
extern int CurrentPage;
extern MainControls MainWindowControls;

// WM_CREATE: controls, then StartTool; a failure destroys the window.
void OnMainWindowCreate(WindowRef mainWindow);
// Settings, devices, the edition combo box, the record, the pages, centring
// and the timer, in that order. Ends the process when the devices cannot be
// opened.
void StartTool(WindowRef mainWindow);
void OnTick();
void OnTabChange();
// The user picked an item in the edition combo box.
void SwitchProfile();
// OK: stores the record and closes; a failed store leaves the window open.
void AcceptAndClose(WindowRef mainWindow);
// WM_CLOSE: remembers the edition, then destroys the window.
void CloseTool(WindowRef mainWindow);
