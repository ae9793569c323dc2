// The seam between the tool's decisions (tool_flow.cpp) and the window shell:
// the main window's controls, the edition combo box, the pages, the timer and
// the end of the process. shell_win32.cpp is the shipping side; tests link a
// recording double.
#pragma once

#include "base/platform_refs.h"

struct RowLabels;

// The main window's four controls.
struct MainControls {
    WindowRef tab = nullptr;
    WindowRef combo = nullptr;
    WindowRef ok = nullptr;
    WindowRef cancel = nullptr;
    WindowRef controllerLine = nullptr;  // shown with the gamepad page
};

namespace shell {

// Registers the common control classes, then creates the tab control, the
// combo box, OK and Cancel as children of the main window, and gives them
// the control font. True when the tab control, OK and Cancel exist.
bool CreateMainControls(WindowRef mainWindow, InstanceRef instance, MainControls& controls);

// The edition combo box.
void AttachEditionCombo(WindowRef combo);
void AddEdition(const char* typeName);
bool SelectEditionByText(const char* typeName, bool fallback);
void SetEditionSelection(int index, bool fallback);
// -1 when nothing is selected.
int EditionSelection();

// Shows or hides one of the main window's controls.
void ShowControl(WindowRef control, bool visible);

// The pages: built once, then one shown at a time. Each page shows the labels
// as it is made; they are not needed afterwards.
void BuildPages(WindowRef tab, InstanceRef instance, int initialPage, const RowLabels& labels);
// -1 when no tab is selected.
int SelectedTab();
void ShowPage(int page);

// Every control placed for the window's DPI, the pages inside the tab. Where
// a page's controls reach past the tab control (a substitute dialog font is
// larger than the template's), the tab, the controls below it and the window
// grow so that every control stays visible.
void LayOutMainWindow(WindowRef mainWindow, const MainControls& controls);
// Centred in the work area of its monitor: the one that held the mouse
// cursor when the window was made.
void CenterOnItsMonitor(WindowRef window);
// Timer 0, every 20 ms, delivered as WM_TIMER.
void StartTimer(WindowRef window);
// Timer 1, once after a short quiet time: a burst of device-change messages
// restarts it and makes one refresh.
void ScheduleDeviceRefresh(WindowRef window);
void StopDeviceRefresh(WindowRef window);
// WM_CLOSE, sent synchronously.
void CloseWindow(WindowRef window);
void DestroyWindow(WindowRef window);
// Ends the process with the global objects' clean-up. The shipping side does
// not return; callers return right after it.
void EndProcess(int exitCode);

}  // namespace shell
