#include "app/main_window_win32.h"

#include <commctrl.h>
#include <dbt.h>

#include "app/main_window_state_win32.h"
#include "app/pages_win32.h"
#include "app/tool_flow.h"
#include "app/window_layout_win32.h"
#include "res/resource.h"
#include "ui/dpi_win32.h"
#include "ui/main_layout.h"
#include "ui/view_port.h"
#include "ui/warning_box.h"
#include "ui/wide_text_win32.h"

MainWindowState MainWindow = {};

namespace {

// A Unicode window, so its title and messages carry any text unconverted.
constexpr wchar_t kMainWindowClass[] = L"Config_WindowClass";
// A pop-up with border, caption and system menu: no minimise, maximise or
// resizing; the layout is drawn for one size, scaled only by the DPI.
constexpr DWORD kMainWindowStyle = WS_POPUPWINDOW | WS_DLGFRAME;
constexpr DWORD kMainWindowExStyle = WS_EX_ACCEPTFILES;
// WM_GETDPISCALEDSIZE, which the headers give for Windows 10 targets only.
constexpr UINT kWmGetDpiScaledSize = 0x02E4;

// GUID_DEVINTERFACE_HID: game controllers are HID devices.
constexpr GUID kHidInterface = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// DBT_DEVNODES_CHANGED reaches every top-level window when a device comes or
// goes; the HID arrival and removal come to the registered window. Wine may
// send only the latter, Windows both.
void ListenForControllers(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterface;
    MainWindow.hidNotification =
        RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

bool ControllersMayHaveChanged(WPARAM event, LPARAM data) {
    if (event == DBT_DEVNODES_CHANGED) {
        return true;
    }
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) {
        return false;
    }
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return header != nullptr && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE;
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PADLOOM));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand, LPVOID parameter) {
    // Made on the monitor it opens on, so that it starts at that monitor's
    // DPI; the start-up's pass sizes it for that DPI and centres it there.
    const LayoutRect work = CursorMonitorWorkArea();
    RECT outer = {0, 0, DpiScale(474, kBaseDpi), DpiScale(303, kBaseDpi)};
    AdjustWindowRectEx(&outer, kMainWindowStyle, FALSE, kMainWindowExStyle);
    HWND window = CreateWindowExW(kMainWindowExStyle, kMainWindowClass, WideText(IDS_TITLE).Get(),
                                  kMainWindowStyle, work.x, work.y, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, parameter);
    if (window == nullptr) {
        return nullptr;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // -1 is the documented way to fail the creation: Windows then
            // destroys the window and CreateWindowExW answers null.
            if (!OnMainWindowCreate(window)) {
                return -1;
            }
            ListenForControllers(window);
            SetWindowIcons(MainWindow);
            return 0;
        case WM_ACTIVATE:
            // The focus goes back where it was, as the dialog manager does
            // for a dialog; DefWindowProcW would give it to the window itself.
            // Given while the window is still hidden, it would activate the
            // window there, which costs Wine a round with the X server.
            if (LOWORD(wParam) == WA_INACTIVE) {
                MainWindow.focusWhenLeft = GetFocus();
            } else if (HIWORD(wParam) == 0) {
                // Not a control of a page hidden meanwhile.
                HWND before = MainWindow.focusWhenLeft;
                const bool back =
                    before != nullptr && IsChild(window, before) && IsWindowVisible(before);
                OnActivate(back ? before : nullptr);
            }
            return 0;
        case pages::kMakeLaterMessage:
            pages::MakeLater(MainWindow.planned ? &MainWindow.plan : nullptr);
            return 0;
        case WM_TIMER:
            if (wParam == IDT_REFRESH) {
                OnDeviceRefresh(window);
            } else {
                OnTick(window);
            }
            return 0;
        case WM_DPICHANGED: {
            // Both words carry the same DPI on Windows; the rectangle keeps
            // the window under the cursor on the new monitor.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            OnDpiChange(window, HIWORD(wParam), suggested->left, suggested->top);
            return 0;
        }
        case kWmGetDpiScaledSize:
            // Windows 10 1703 and later ask before a move to a monitor of
            // another DPI, so that the window reaches its size in one step.
            *reinterpret_cast<SIZE*>(lParam) =
                MainWindowSizeAt(MainWindow, static_cast<int>(wParam));
            return TRUE;
        case WM_SETTINGCHANGE:
            // Windows has kept the outer rectangle and drawn the new frame
            // inside it, or changed the work area.
            if (wParam == SPI_SETNONCLIENTMETRICS) {
                OnFrameChange(window);
            } else if (wParam == SPI_SETWORKAREA) {
                OnDisplayChange(window);
            }
            return 0;
        case WM_THEMECHANGED:
        case WM_DWMCOMPOSITIONCHANGED:
            OnFrameChange(window);
            return 0;
        case WM_DISPLAYCHANGE:
            OnDisplayChange(window);
            return 0;
        case WM_DEVICECHANGE:
            if (ControllersMayHaveChanged(wParam, lParam)) {
                OnDeviceChange(window);
            }
            return TRUE;
        case WM_NOTIFY: {
            // wParam need not be unique; the header names the sender.
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_TAB && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
                OnTabChange();
            }
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                AcceptAndClose(window);
            } else if (LOWORD(wParam) == IDCANCEL) {
                Cancel(window);
            } else if (LOWORD(wParam) == IDC_EDITION && HIWORD(wParam) == CBN_SELCHANGE) {
                SwitchProfile();
            }
            return 0;
        case WM_CLOSE:
            CloseTool(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, IDT_TICK);
            KillTimer(window, IDT_REFRESH);
            if (MainWindow.hidNotification != nullptr) {
                UnregisterDeviceNotification(MainWindow.hidNotification);
                MainWindow.hidNotification = nullptr;
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ModuleInstance = instance;
    // First, so that every text from here on is in the user's language.
    PrepareStart();
    if (!RegisterMainWindowClass(instance)) {
        Warn(IDS_CLASS_FAILED);
        return 0;
    }
    if (CreateMainWindow(instance, SW_SHOW, nullptr) == nullptr) {
        // A window destroyed during its own creation has posted WM_QUIT, which
        // would end the box at once, and can no longer own it.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        MessageBoxOwner = GetDesktopWindow();
        Warn(IDS_WINDOW_FAILED);
        return 0;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
