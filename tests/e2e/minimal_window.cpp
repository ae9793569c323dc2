// The smallest Win32 program with one window of the tool's size: the baseline
// that the tool's start-up time is measured against, and the harness's own
// first target. Its class and title are ASCII so it can be found by either.
// Started with "hang" it stops answering, for the harness's own timeouts.
//
// Built with PADLOOM_THEMED_ANCHOR and the tool's manifest (Common Controls 6,
// per-monitor v2), it also holds a tab control and Cancel: the second anchor,
// which pays what any program in the system's look pays to draw its controls.
#include <windows.h>

#ifdef PADLOOM_THEMED_ANCHOR
#include <commctrl.h>
#define ANCHOR_CLASS "Themed_WindowClass"
#define ANCHOR_TITLE "Themed window"
#else
#define ANCHOR_CLASS "Minimal_WindowClass"
#define ANCHOR_TITLE "Minimal window"
#endif

namespace {

LRESULT CALLBACK MinimalProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MinimalProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ANCHOR_CLASS;
    if (RegisterClassA(&wc) == 0) {
        return 1;
    }
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, ANCHOR_TITLE, WS_POPUPWINDOW | WS_DLGFRAME, 0,
                                0, 480, 328, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 281, 275, 88, 21,
                    hwnd, reinterpret_cast<HMENU>(IDOK), instance, nullptr);
#ifdef PADLOOM_THEMED_ANCHOR
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE, 379, 275, 88, 21, hwnd,
                    reinterpret_cast<HMENU>(IDCANCEL), instance, nullptr);
    HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 12,
                               12, 455, 255, hwnd, nullptr, instance, nullptr);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("One");
    SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<char*>("Two");
    SendMessageA(tab, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
#endif
    RECT r = {};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    // "hang": stop answering messages, as a hung program does.
    if (lstrcmpA(command_line, "hang") == 0) {
        Sleep(INFINITE);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
