// The smallest Win32 program with one window of the tool's size: the baseline
// that the tool's start-up time is measured against, and the harness's own
// first target. Its class and title are ASCII so it can be found by either.
// Started with "hang" it stops answering, for the harness's own timeouts.
//
// Built with PADLOOM_THEMED_ANCHOR and the tool's manifest (Common Controls 6,
// per-monitor v2), it also holds a tab control and Cancel: the second anchor,
// which pays what any program in the system's look pays to draw its controls.
//
// Built with PADLOOM_TEMPLATE_ANCHOR as well, and the tool's own resources
// (its icon, manifest and page template), it is the tool's window and nothing
// else: the combo box and both pages from the page template besides, but no
// DirectInput, no settings file, no fonts chosen and no layout. What the tool
// takes beyond it is what its own start-up costs.
#include <windows.h>

#ifdef PADLOOM_THEMED_ANCHOR
#include <commctrl.h>
#endif
#ifdef PADLOOM_TEMPLATE_ANCHOR
#include "res/resource.h"
#define ANCHOR_CLASS L"Template_WindowClass"
#define ANCHOR_TITLE L"Template window"
#elif defined(PADLOOM_THEMED_ANCHOR)
#define ANCHOR_CLASS L"Themed_WindowClass"
#define ANCHOR_TITLE L"Themed window"
#else
#define ANCHOR_CLASS L"Minimal_WindowClass"
#define ANCHOR_TITLE L"Minimal window"
#endif

namespace {

LRESULT CALLBACK MinimalProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

HWND Child(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
           DWORD style, int id, int x, int y, int width, int height) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
}

#ifdef PADLOOM_TEMPLATE_ANCHOR
INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MinimalProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ANCHOR_CLASS;
#ifdef PADLOOM_TEMPLATE_ANCHOR
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PADLOOM));
#endif
    if (RegisterClassW(&wc) == 0) {
        return 1;
    }
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, ANCHOR_TITLE, WS_POPUPWINDOW | WS_DLGFRAME, 0,
                                0, 480, 328, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    Child(hwnd, instance, L"BUTTON", L"OK", BS_DEFPUSHBUTTON, IDOK, 281, 275, 88, 21);
#ifdef PADLOOM_THEMED_ANCHOR
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    Child(hwnd, instance, L"BUTTON", L"Cancel", 0, IDCANCEL, 379, 275, 88, 21);
    HWND tab = Child(hwnd, instance, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 0, 12, 12, 455, 255);
    const wchar_t* captions[2] = {L"One", L"Two"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
#ifdef PADLOOM_TEMPLATE_ANCHOR
        HWND page =
            CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ASSIGN_PAGE), tab, PageProc, 0);
        SetWindowPos(page, HWND_TOP, 5, 25, 0, 0, SWP_NOSIZE);
        ShowWindow(page, i == 0 ? SW_SHOW : SW_HIDE);
#endif
    }
#endif
#ifdef PADLOOM_TEMPLATE_ANCHOR
    HWND combo = Child(hwnd, instance, L"COMBOBOX", L"", CBS_DROPDOWNLIST, 0, 12, 275, 88, 100);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"MAPLE"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"CEDAR"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
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
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
