// The global objects of the process, constructed here in one translation unit
// so that their order is defined: the process end undoes them in reverse (the
// devices closed, the page array freed). The settings read at start
// (app/tool_flow.cpp) are zero bytes that need no order, and the main
// window's state (app/main_window_win32.cpp) and the pages'
// (app/pages_win32.cpp) hold nothing until the window is made; their fonts
// are deleted in whatever order.
#include <windows.h>

#include "app/process_globals_win32.h"
#include "input/input_device_set.h"
#include "ui/view_port.h"

TabPageSet TabPages;
ComboBoxControl EditionCombo;

namespace {

// Each step below runs during static initialisation, between its neighbours.
bool RegisterDevices() {
    RegisterDeviceCleanup();
    return true;
}
const bool devicesRegistered = RegisterDevices();

bool OwnBoxesByDesktop() {
    MessageBoxOwner = GetDesktopWindow();
    return true;
}
const bool boxOwnerSet = OwnBoxesByDesktop();

}  // namespace
