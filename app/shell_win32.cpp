#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdlib>

#include "app/page_table_win32.h"
#include "app/process_globals_win32.h"
#include "app/shell_port.h"
#include "app/window_layout_win32.h"
#include "res/resource.h"
#include "ui/center_window_win32.h"
#include "ui/main_layout.h"
#include "ui/wide_text_win32.h"

namespace {

constexpr DWORD kControlExStyle = WS_EX_CONTROLPARENT;
constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD kOkStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCancelStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr UINT kTickMilliseconds = 20;
// Long enough for a burst of device messages, short enough to feel at once.
constexpr UINT kRefreshDelayMilliseconds = 300;

HWND CreateControl(HWND parent, HINSTANCE instance, const wchar_t* className, int id, TextId text,
                   DWORD style, const LayoutRect& rect) {
    return CreateWindowExW(kControlExStyle, className, WideText(text).Get(), style, rect.x, rect.y,
                           rect.width, rect.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND Hwnd(WindowRef window) {
    return static_cast<HWND>(window);
}

}  // namespace

namespace shell {

bool CreateMainControls(WindowRef mainWindow, InstanceRef instanceRef, MainControls& controls) {
    // The tab control's class must be registered before it is created.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    HWND parent = Hwnd(mainWindow);
    HINSTANCE instance = static_cast<HINSTANCE>(instanceRef);
    TakeMainWindowDpi(parent);
    const MainLayout layout = MainLayoutAt(MainWindowDpi());
    HWND tab = CreateControl(parent, instance, WC_TABCONTROLW, IDC_TAB, 0, kTabStyle, layout.tab);
    HWND combo =
        CreateControl(parent, instance, L"COMBOBOX", IDC_EDITION, 0, kComboStyle, layout.combo);
    HWND ok = CreateControl(parent, instance, L"BUTTON", IDOK, IDS_OK, kOkStyle, layout.ok);
    HWND cancel = CreateControl(parent, instance, L"BUTTON", IDCANCEL, IDS_CANCEL, kCancelStyle,
                                layout.cancel);
    // No prefix, as a product name may hold an '&'.
    HWND line = CreateControl(parent, instance, L"STATIC", IDC_CONTROLLER_LINE, 0, kLineStyle,
                              layout.controllerLine);
    controls.tab = tab;
    controls.combo = combo;
    controls.ok = ok;
    controls.cancel = cancel;
    controls.controllerLine = line;
    if (tab == nullptr || ok == nullptr || cancel == nullptr) {
        return false;
    }
    MainFont.Create(MainWindowDpi());
    const WPARAM font = reinterpret_cast<WPARAM>(MainFont.Handle());
    const HWND fontUsers[] = {tab, combo, ok, cancel, line};
    for (HWND control : fontUsers) {
        SendMessageW(control, WM_SETFONT, font, FALSE);
    }
    return true;
}

void AttachEditionCombo(WindowRef combo) {
    EditionCombo.Attach(Hwnd(combo));
}

void AddEdition(const char* typeName) {
    EditionCombo.AddItem(typeName, -1);
}

bool SelectEditionByText(const char* typeName, bool fallback) {
    return EditionCombo.SelectByText(typeName, fallback);
}

void SetEditionSelection(int index, bool fallback) {
    EditionCombo.SetSelection(index, fallback);
}

int EditionSelection() {
    return EditionCombo.CurrentSelection();
}

void BuildPages(WindowRef tab, InstanceRef instance, int initialPage, const RowLabels& labels) {
    RECT tabRect = {};
    GetClientRect(Hwnd(tab), &tabRect);
    const RECT display = TabDisplayArea(Hwnd(tab), tabRect.right, tabRect.bottom);
    TabPages.Build(Hwnd(tab), static_cast<HINSTANCE>(instance), PageTable, initialPage,
                   display.left, display.top, reinterpret_cast<LPARAM>(&labels));
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        // Themed Windows draws the page on the tab's own background, as one
        // with it; the classic look is unchanged.
        EnableThemeDialogTexture(TabPages.Page(i), ETDT_ENABLETAB);
    }
    SetUpPages(static_cast<HINSTANCE>(instance));
}

int SelectedTab() {
    return TabPages.CurrentSelection();
}

void ShowPage(int page) {
    TabPages.Select(page);
}

void LayOutMainWindow(WindowRef mainWindow, const MainControls& controls) {
    ApplyMainLayout(Hwnd(mainWindow), controls);
}

void CenterOnItsMonitor(WindowRef window) {
    CenterWindow(Hwnd(window), nullptr);
}

void StartTimer(WindowRef window) {
    SetTimer(Hwnd(window), IDT_TICK, kTickMilliseconds, nullptr);
}

void ScheduleDeviceRefresh(WindowRef window) {
    SetTimer(Hwnd(window), IDT_REFRESH, kRefreshDelayMilliseconds, nullptr);
}

void StopDeviceRefresh(WindowRef window) {
    KillTimer(Hwnd(window), IDT_REFRESH);
}

void ShowControl(WindowRef control, bool visible) {
    if (control != nullptr) {
        ShowWindow(Hwnd(control), visible ? SW_SHOW : SW_HIDE);
    }
}

void CloseWindow(WindowRef window) {
    SendMessageW(Hwnd(window), WM_CLOSE, 0, 0);
}

void DestroyWindow(WindowRef window) {
    ::DestroyWindow(Hwnd(window));
}

void EndProcess(int exitCode) {
    std::exit(exitCode);
}

}  // namespace shell
