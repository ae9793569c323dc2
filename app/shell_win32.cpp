#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "app/page_table_win32.h"
#include "app/process_globals_win32.h"
#include "app/shell_port.h"
#include "app/tool_flow.h"
#include "app/window_fonts_win32.h"
#include "app/window_layout_win32.h"
#include "assign/assign_page.h"
#include "res/resource.h"
#include "store/runtime_profiles.h"
#include "ui/accessible_name_win32.h"  // a11y: the edition box's name
#include "ui/center_window_win32.h"
#include "ui/main_layout.h"
#include "ui/wide_text_win32.h"

namespace {

constexpr DWORD kControlExStyle = WS_EX_CONTROLPARENT;
// What every page is made with, kept until the last is made (its texts are
// the start-up's settings, which stay).
RowLabels PageLabels = {};
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
    NameControl(combo, IDS_EDITION);  // a11y: no label names it for screen readers
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
    // Every text the controls may show: their own, the editions' names and
    // the counts' digits (a controller's name is whatever it is).
    WideText sample;
    sample.Append(L"0123456789");
    for (const RuntimeProfile& profile : RuntimeProfiles) {
        sample.Append(profile.typeName, TextEncoding::Utf8);
    }
    const TextId texts[] = {IDS_OK,
                            IDS_CANCEL,
                            IDS_TAB_GAMEPAD,
                            IDS_TAB_KEYBOARD,
                            IDS_CONTROLLER,
                            IDS_CONTROLLERS_UNUSED,
                            IDS_CONTROLLERS_UNOPENED,
                            IDS_NO_CONTROLLER};
    for (TextId text : texts) {
        sample.AppendOwn(text, 0);
    }
    SetControlsFont(controls, MainWindowDpi(), sample.Get());
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
    // The hidden pages wait until the window is shown: the player sees the
    // window sooner, and nothing else. They are made by the first message the
    // loop takes: GetMessage takes posted messages before input and timers,
    // so no key, click or tick reaches a page or its grid before it exists.
    PageLabels = labels;
    TabPages.Build(Hwnd(tab), static_cast<HINSTANCE>(instance), PageTable, initialPage,
                   display.left, display.top, reinterpret_cast<LPARAM>(&PageLabels), true);
    SetUpPages(static_cast<HINSTANCE>(instance));
    PostMessageW(GetParent(Hwnd(tab)), kMakeLaterPagesMessage, 0, 0);
}

int SelectedTab() {
    return TabPages.CurrentSelection();
}

void ShowPage(int page) {
    MakeLaterPages(GetParent(TabPages.Tab()), MainWindowControls);
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
