// The start-up figures' third anchor: the tool's window and nothing else. It
// is built from the tool's own resources (icon, manifest, page template),
// and makes the main window with the tab control, the combo box, OK, Cancel
// and both pages from the page template; no DirectInput, no settings file,
// no fonts chosen and no layout. What the tool takes beyond it is what its
// own start-up costs.
#include <windows.h>

#include <commctrl.h>

#include "res/resource.h"

namespace {

LRESULT CALLBACK TemplateProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

HWND Child(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
           DWORD style, int id, int x, int y, int width, int height) {
    return CreateWindowExW(WS_EX_CONTROLPARENT, className, text, WS_CHILD | WS_VISIBLE | style, x,
                           y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TemplateProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PADLOOM));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"Template_WindowClass";
    if (RegisterClassW(&wc) == 0) {
        return 1;
    }
    HWND hwnd = CreateWindowExW(WS_EX_ACCEPTFILES, wc.lpszClassName, L"Template window",
                                WS_POPUPWINDOW | WS_DLGFRAME, 0, 0, 480, 328, nullptr, nullptr,
                                instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tab = Child(hwnd, instance, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, IDC_TAB,
                     12, 12, 455, 255);
    HWND combo = Child(hwnd, instance, L"COMBOBOX", L"", WS_TABSTOP | CBS_DROPDOWNLIST,
                       IDC_EDITION, 12, 275, 88, 100);
    Child(hwnd, instance, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 281, 275, 88, 21);
    Child(hwnd, instance, L"BUTTON", L"Cancel", WS_TABSTOP, IDCANCEL, 379, 275, 88, 21);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"MAPLE"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"CEDAR"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    const wchar_t* captions[2] = {L"Gamepad", L"Keyboard"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        HWND page = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ASSIGN_PAGE), tab, PageProc, 0);
        SetWindowPos(page, HWND_TOP, 5, 25, 0, 0, SWP_NOSIZE);
        if (i == 0) {
            ShowWindow(page, SW_SHOW);
        }
    }
    RECT r = {};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
