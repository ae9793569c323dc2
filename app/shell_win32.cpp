#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "app/process_globals_win32.h"
#include "app/shell_port.h"
#include "res/resource.h"
#include "ui/center_window_win32.h"
#include "ui/page_table_win32.h"
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
                   DWORD style, int x, int y, int width, int height) {
    return CreateWindowExW(kControlExStyle, className, WideText(text).Get(), style, x, y, width,
                           height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           instance, nullptr);
}

// Keeps a moved control clear of the tab's border.
constexpr int kTabBorderMargin = 6;

RECT RectIn(HWND window, HWND parent) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveBy(HWND control, HWND parent, int dx, int dy) {
    if (control == nullptr) {
        return;
    }
    const RECT rect = RectIn(control, parent);
    SetWindowPos(control, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GrowBy(HWND window, int dx, int dy) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Hwnd(WindowRef window) {
    return static_cast<HWND>(window);
}

// The dialog manager takes the template's face or whatever the font mapper
// answers for it; on a Western system that may have no kana for the labels
// or the Japanese texts. The pages' controls then get a font that does.
void ShowPageTexts() {
    WideText texts;
    HFONT font = nullptr;
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        HWND page = TabPages.Page(i);
        font = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
        for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[512];  // a label is at most 511 bytes
            GetWindowTextW(child, text, 512);
            texts.Append(text);
        }
    }
    LOGFONTW description = {};
    if (font == nullptr || GetObjectW(font, sizeof(description), &description) == 0 ||
        MissingGlyphs(font, texts.Get()) == 0) {
        return;
    }
    PageFont.CreateShowing(description, texts.Get());
    if (PageFont.Handle() == nullptr) {
        return;
    }
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        for (HWND child = GetWindow(TabPages.Page(i), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(PageFont.Handle()), TRUE);
        }
    }
}

}  // namespace

namespace shell {

bool CreateMainControls(WindowRef mainWindow, InstanceRef instanceRef, MainControls& controls) {
    // The tab control's class must be registered before it is created.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    HWND parent = Hwnd(mainWindow);
    HINSTANCE instance = static_cast<HINSTANCE>(instanceRef);
    HWND tab =
        CreateControl(parent, instance, WC_TABCONTROLW, IDC_TAB, 0, kTabStyle, 12, 12, 455, 255);
    // 100 pixels high including the drop-down list.
    HWND combo =
        CreateControl(parent, instance, L"COMBOBOX", IDC_EDITION, 0, kComboStyle, 12, 275, 88, 100);
    HWND ok = CreateControl(parent, instance, L"BUTTON", IDOK, IDS_OK, kOkStyle, 281, 275, 88, 21);
    HWND cancel = CreateControl(parent, instance, L"BUTTON", IDCANCEL, IDS_CANCEL, kCancelStyle,
                                379, 275, 88, 21);
    // Two lines between the combo box and OK; no prefix, as a product name
    // may hold an '&'.
    HWND line = CreateControl(parent, instance, L"STATIC", IDC_CONTROLLER_LINE, 0, kLineStyle, 108,
                              270, 166, 28);
    controls.tab = tab;
    controls.combo = combo;
    controls.ok = ok;
    controls.cancel = cancel;
    controls.controllerLine = line;
    if (tab == nullptr || ok == nullptr || cancel == nullptr) {
        return false;
    }
    MainFont.Create();
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

void BuildPages(WindowRef tab, InstanceRef instance, int initialPage) {
    TabPages.Build(Hwnd(tab), static_cast<HINSTANCE>(instance), PageTable, initialPage);
    ShowPageTexts();
}

int SelectedTab() {
    return TabPages.CurrentSelection();
}

void ShowPage(int page) {
    TabPages.Select(page);
}

void FitTabToPages(WindowRef mainWindow, const MainControls& controls) {
    HWND main = Hwnd(mainWindow);
    HWND tab = Hwnd(controls.tab);
    // A page is clipped to the tab control. With the template's font a few
    // pixels of Reset already pass its lower edge, as the layout was drawn;
    // only a control cut by half or more (a larger substitute font) makes the
    // tab grow, and then so that every control fits whole.
    RECT area = {};
    GetClientRect(tab, &area);
    LONG right = area.right;
    LONG bottom = area.bottom;
    bool cut = false;
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        for (HWND child = GetWindow(TabPages.Page(i), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const RECT rect = RectIn(child, tab);
            cut = cut || 2 * (rect.right - area.right) >= rect.right - rect.left ||
                  2 * (rect.bottom - area.bottom) >= rect.bottom - rect.top;
            right = rect.right > right ? rect.right : right;
            bottom = rect.bottom > bottom ? rect.bottom : bottom;
        }
    }
    if (!cut) {
        return;
    }
    const int dx = right > area.right ? right - area.right + kTabBorderMargin : 0;
    const int dy = bottom > area.bottom ? bottom - area.bottom + kTabBorderMargin : 0;
    GrowBy(tab, dx, dy);
    MoveBy(Hwnd(controls.combo), main, 0, dy);
    MoveBy(Hwnd(controls.controllerLine), main, 0, dy);
    MoveBy(Hwnd(controls.ok), main, dx, dy);
    MoveBy(Hwnd(controls.cancel), main, dx, dy);
    GrowBy(main, dx, dy);
}

void CenterOnDesktop(WindowRef window) {
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
