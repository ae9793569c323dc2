#include "ui/dpi_win32.h"

#include <commctrl.h>

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
// GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y).
using GetDpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using SetDialogDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, int, int);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

constexpr int kMdtEffectiveDpi = 0;
constexpr int kDdcDisableAll = 1;

FARPROC User32Function(const char* name) {
    // user32 is loaded in every process with a window; by name it can be no
    // other module.
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

template <typename Call>
Call As(FARPROC function) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(function));
}

// Looked up once each (no guarded statics: they would link in the
// exception machinery the program otherwise does without).
bool LookedUp = false;
GetDpiForWindowCall ForWindow = nullptr;
SetDialogDpiChangeBehaviorCall SetDialogBehavior = nullptr;
AdjustWindowRectExForDpiCall AdjustForDpi = nullptr;
bool ShcoreLookedUp = false;
GetDpiForMonitorCall ForMonitor = nullptr;

void LookUp() {
    if (!LookedUp) {
        LookedUp = true;
        ForWindow = As<GetDpiForWindowCall>(User32Function("GetDpiForWindow"));
        SetDialogBehavior =
            As<SetDialogDpiChangeBehaviorCall>(User32Function("SetDialogDpiChangeBehavior"));
        AdjustForDpi = As<AdjustWindowRectExForDpiCall>(User32Function("AdjustWindowRectExForDpi"));
    }
}

int MonitorDpi(HWND window) {
    if (!ShcoreLookedUp) {
        ShcoreLookedUp = true;
        // shcore exists from Windows 8.1 on, where every system knows the
        // search flag; on older ones the load fails and the system DPI stands.
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        ForMonitor = As<GetDpiForMonitorCall>(
            shcore != nullptr ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr);
    }
    const GetDpiForMonitorCall forMonitor = ForMonitor;
    UINT x = 0;
    UINT y = 0;
    if (forMonitor != nullptr && forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                            kMdtEffectiveDpi, &x, &y) == S_OK) {
        return static_cast<int>(y);
    }
    return 0;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    LookUp();
    int dpi = ForWindow != nullptr ? static_cast<int>(ForWindow(window)) : 0;
    if (dpi <= 0) {
        dpi = MonitorDpi(window);
    }
    return dpi > 0 ? dpi : SystemDpi();
}

LayoutInsets DocumentedFrame(HWND window, int dpi) {
    LookUp();
    RECT rect = {0, 0, 0, 0};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (AdjustForDpi == nullptr ||
        !AdjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return {-rect.left, -rect.top, rect.right, rect.bottom};
}

LayoutInsets FrameAsItIs(HWND window) {
    RECT outer = {};
    RECT client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return {client.left - outer.left, client.top - outer.top, outer.right - client.right,
            outer.bottom - client.bottom};
}

HICON LoadIconOfSize(HINSTANCE instance, int id, int size) {
    using LoadIconWithScaleDownCall = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    // The comctl32 the program is bound to (version 6, by its manifest), by
    // an address in it: another version may be loaded beside it.
    HMODULE comctl32 = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &comctl32);
    const auto scaleDown = As<LoadIconWithScaleDownCall>(
        comctl32 != nullptr ? GetProcAddress(comctl32, "LoadIconWithScaleDown") : nullptr);
    HICON icon = nullptr;
    if (scaleDown != nullptr &&
        scaleDown(instance, MAKEINTRESOURCEW(id), size, size, &icon) == S_OK) {
        return icon;
    }
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

namespace {

LayoutRect WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    const RECT& work = info.rcWork;
    return {work.left, work.top, work.right - work.left, work.bottom - work.top};
}

}  // namespace

LayoutRect CursorMonitorWorkArea() {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    return WorkAreaOf(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY));
}

LayoutRect WindowMonitorWorkArea(HWND window) {
    return WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

void KeepDialogFromRescaling(HWND dialog) {
    LookUp();
    if (SetDialogBehavior != nullptr) {
        SetDialogBehavior(dialog, kDdcDisableAll, kDdcDisableAll);
    }
}
