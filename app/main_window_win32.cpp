#include "app/main_window_win32.h"

#include <commctrl.h>

#include "app/tool_flow.h"
#include "ui/texts.h"
#include "ui/view_port.h"
#include "ui/warning_box.h"

namespace {

constexpr char kMainWindowClass[] = "Config_WindowClass";
constexpr WORD kIconId = 101;
constexpr int kTabControlId = 900;
constexpr int kEditionComboId = 1033;
// A pop-up with border, caption and system menu: no minimise, maximise or
// resizing, since the layout is in fixed pixels.
constexpr DWORD kMainWindowStyle = WS_POPUPWINDOW | WS_DLGFRAME;
constexpr int kMainWindowWidth = 480;
constexpr int kMainWindowHeight = 328;

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconId));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand, LPVOID parameter) {
    HWND window = CreateWindowExA(WS_EX_ACCEPTFILES, kMainWindowClass, kTextWindowTitle,
                                  kMainWindowStyle, 0, 0, kMainWindowWidth, kMainWindowHeight,
                                  nullptr, nullptr, instance, parameter);
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
            OnMainWindowCreate(window);
            return 0;
        case WM_TIMER:
            OnTick();
            return 0;
        case WM_NOTIFY:
            if (wParam == kTabControlId &&
                reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
                OnTabChange();
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                AcceptAndClose(window);
            } else if (LOWORD(wParam) == IDCANCEL) {
                SendMessageA(window, WM_CLOSE, 0, 0);
            } else if (LOWORD(wParam) == kEditionComboId && HIWORD(wParam) == CBN_SELCHANGE) {
                SwitchProfile();
            }
            return 0;
        case WM_CLOSE:
            CloseTool(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, 0);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ModuleInstance = instance;
    if (!RegisterMainWindowClass(instance)) {
        Warn(kTextClassInitFailed);
        return 0;
    }
    if (CreateMainWindow(instance, SW_SHOW, nullptr) == nullptr) {
        // A window destroyed during its own creation has posted WM_QUIT, which
        // would end the box at once, and can no longer own it.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        MessageBoxOwner = GetDesktopWindow();
        Warn(kTextWindowCreateFailed);
        return 0;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
