#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "app/process_globals_win32.h"
#include "app/shell_port.h"
#include "ui/center_window_win32.h"
#include "ui/page_table_win32.h"
#include "ui/texts.h"

namespace {

constexpr DWORD kControlExStyle = WS_EX_CONTROLPARENT;
constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD kOkStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCancelStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr UINT kTickMilliseconds = 20;

HWND CreateControl(HWND parent, HINSTANCE instance, const char* className, int id, const char* text,
                   DWORD style, int x, int y, int width, int height) {
    return CreateWindowExA(kControlExStyle, className, text, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND Hwnd(WindowRef window) {
    return static_cast<HWND>(window);
}

}  // namespace

namespace shell {

bool CreateMainControls(WindowRef mainWindow, InstanceRef instanceRef, MainControls& controls) {
    HWND parent = Hwnd(mainWindow);
    HINSTANCE instance = static_cast<HINSTANCE>(instanceRef);
    HWND tab =
        CreateControl(parent, instance, WC_TABCONTROLA, 900, "", kTabStyle, 12, 12, 455, 255);
    // 100 pixels high including the drop-down list.
    HWND combo =
        CreateControl(parent, instance, "COMBOBOX", 1033, "", kComboStyle, 12, 275, 88, 100);
    HWND ok = CreateControl(parent, instance, "BUTTON", IDOK, "OK", kOkStyle, 281, 275, 88, 21);
    HWND cancel = CreateControl(parent, instance, "BUTTON", IDCANCEL, kTextCancel, kCancelStyle,
                                379, 275, 88, 21);
    controls.tab = tab;
    controls.combo = combo;
    controls.ok = ok;
    controls.cancel = cancel;
    if (tab == nullptr || ok == nullptr || cancel == nullptr) {
        return false;
    }
    MainFont.Create();
    const WPARAM font = reinterpret_cast<WPARAM>(MainFont.Handle());
    for (HWND control : {tab, combo, ok, cancel}) {
        SendMessageA(control, WM_SETFONT, font, FALSE);
    }
    return true;
}

void InitCommonControls() {
    ::InitCommonControls();
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
}

int SelectedTab() {
    return TabPages.CurrentSelection();
}

void ShowPage(int page) {
    TabPages.Select(page);
}

void CenterOnDesktop(WindowRef window) {
    CenterWindow(Hwnd(window), nullptr);
}

void StartTimer(WindowRef window) {
    SetTimer(Hwnd(window), 0, kTickMilliseconds, nullptr);
}

void CloseWindow(WindowRef window) {
    SendMessageA(Hwnd(window), WM_CLOSE, 0, 0);
}

void DestroyWindow(WindowRef window) {
    ::DestroyWindow(Hwnd(window));
}

void EndProcess(int exitCode) {
    std::exit(exitCode);
}

}  // namespace shell
