// The seam between the tool's decisions (tool_flow.cpp) and the window shell:
// the main window's controls, the edition combo box, the pages, the layout,
// the timer and the end of the process. shell_win32.cpp is the shipping side;
// tests link a recording double.
#pragma once

#include "base/platform_refs.h"

struct RowLabels;

// The main window's controls, as the flow addresses them.
struct MainControls {
    WindowRef tab = nullptr;
    WindowRef combo = nullptr;
    WindowRef ok = nullptr;
    WindowRef cancel = nullptr;
    WindowRef controllerLine = nullptr;  // shown with the gamepad page
};

// What lays the window out: each cause makes one pass, from every input
// measured anew.
enum class LayoutCause {
    Start,          // centred in the work area of the cursor's monitor
    DpiChange,      // at the corner Windows suggests
    DeviceRefresh,  // the controller line's text changed
    FrameChange,    // the frame's metrics, the theme or the desktop's composition
    DisplayChange,  // the screen or its work area: the window is kept on it
};
constexpr int kLayoutCauseCount = 5;

struct LayoutPass {
    LayoutCause cause;
    // DpiChange: the window's top-left corner on the screen.
    int left;
    int top;
};

namespace shell {

// Registers the common control classes, then creates the tab control, the
// combo box, OK, Cancel and the controller line as children of the main
// window, and gives them the controls' font. True when the tab control, OK
// and Cancel exist.
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
// as it is made; the shell keeps them until the last page is made.
void BuildPages(WindowRef tab, InstanceRef instance, int initialPage, const RowLabels& labels);
// -1 when no tab is selected.
int SelectedTab();
void ShowPage(int page);

// The inputs of a DPI change that are not measured by a pass: the DPI, the
// fonts made for it and the icons of its size.
void TakeDpi(WindowRef mainWindow, int dpi);
// One pass: every input measured, the plan made from them and applied at
// once. Never entered again while it runs (the flow sees to that).
void LayOutMainWindow(WindowRef mainWindow, const LayoutPass& pass);

// Timer 0, every 20 ms, delivered as WM_TIMER.
void StartTimer(WindowRef window);
// Timer 1, once after a short quiet time: a burst of device-change messages
// restarts it and makes one refresh.
void ScheduleDeviceRefresh(WindowRef window);
void StopDeviceRefresh(WindowRef window);
// Asks the window to close, as its close box does: WM_CLOSE, sent.
void SendClose(WindowRef window);
void DestroyMainWindow(WindowRef window);
// Ends the process with the global objects' clean-up. The shipping side does
// not return; callers return right after it.
void EndProcess(int exitCode);

}  // namespace shell
