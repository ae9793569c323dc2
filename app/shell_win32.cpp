#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "app/main_window_state_win32.h"
#include "app/pages_win32.h"
#include "app/process_globals_win32.h"
#include "app/shell_port.h"
#include "app/window_layout_win32.h"
#include "res/resource.h"
#include "store/runtime_profiles.h"
#include "ui/accessible_name_win32.h"
#include "ui/dpi_win32.h"
#include "ui/wide_text_win32.h"

namespace {

constexpr DWORD kControlExStyle = WS_EX_CONTROLPARENT;
constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD kOkStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCancelStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
// No prefix, as a product name may hold an '&'.
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr UINT kTickMilliseconds = 20;
// Long enough for a burst of device messages, short enough to feel at once.
constexpr UINT kRefreshDelayMilliseconds = 300;

// Where the drawing puts a control before anything is measured: the first
// pass moves only what the fonts and texts need elsewhere.
class NothingMeasured final : public TextMeasure {
  public:
    TextExtent Measure(LayoutText, int) const override { return {0, 0}; }
};

HWND CreateControl(HWND parent, HINSTANCE instance, const wchar_t* className, int id, TextId text,
                   DWORD style, const LayoutRect& rect) {
    return CreateWindowExW(kControlExStyle, className, WideText(text).Get(), style, rect.x, rect.y,
                           rect.width, rect.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND Hwnd(WindowRef window) {
    return static_cast<HWND>(window);
}

// The controls' face: the template's, unless it lacks a glyph of what the
// controls may show: their own texts, the editions' names and the counts'
// digits (a controller's name is whatever it is).
void ChooseControlsFont(MainWindowState& state) {
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
    state.controlsFace = ChooseFont(ControlFontDescription(kBaseDpi), 12, kBaseDpi, state.dpi,
                                    sample.Get(), nullptr, state.controlsFont);
    const HWND controls[] = {state.tab, state.combo, state.ok, state.cancel, state.controllerLine};
    for (HWND control : controls) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.controlsFont.Handle()),
                     FALSE);
    }
}

}  // namespace

namespace shell {

bool CreateMainControls(WindowRef mainWindow, InstanceRef instanceRef, MainControls& controls) {
    // The tab control's class must be registered before it is created.
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    MainWindowState& state = MainWindow;
    HWND parent = Hwnd(mainWindow);
    HINSTANCE instance = static_cast<HINSTANCE>(instanceRef);
    state.window = parent;
    state.dpi = WindowDpi(parent);
    LayoutInputs drawing = {};
    drawing.dpi = state.dpi;
    const MainPlan drawn = PlanMainWindow(drawing, NothingMeasured());
    state.tab = CreateControl(parent, instance, WC_TABCONTROLW, IDC_TAB, 0, kTabStyle, drawn.tab);
    state.combo =
        CreateControl(parent, instance, L"COMBOBOX", IDC_EDITION, 0, kComboStyle, drawn.combo);
    // No label names it for a screen reader.
    NameControl(state.combo, IDS_EDITION);
    state.ok = CreateControl(parent, instance, L"BUTTON", IDOK, IDS_OK, kOkStyle, drawn.ok);
    state.cancel = CreateControl(parent, instance, L"BUTTON", IDCANCEL, IDS_CANCEL, kCancelStyle,
                                 drawn.cancel);
    state.controllerLine = CreateControl(parent, instance, L"STATIC", IDC_CONTROLLER_LINE, 0,
                                         kLineStyle, drawn.controllerLine);
    controls.tab = state.tab;
    controls.combo = state.combo;
    controls.ok = state.ok;
    controls.cancel = state.cancel;
    controls.controllerLine = state.controllerLine;
    if (state.tab == nullptr || state.ok == nullptr || state.cancel == nullptr) {
        return false;
    }
    ChooseControlsFont(state);
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
    pages::Build(Hwnd(tab), static_cast<HINSTANCE>(instance), initialPage, labels, MainWindow.dpi,
                 MainWindow.controlsFace.face.lfFaceName);
}

int SelectedTab() {
    return pages::SelectedTab();
}

void ShowPage(int page) {
    pages::MakeLater(MainWindow.planned ? &MainWindow.plan : nullptr);
    pages::Show(page);
}

void TakeDpi(WindowRef, int dpi) {
    TakeMainWindowDpi(MainWindow, dpi);
}

void LayOutMainWindow(WindowRef, const LayoutPass& pass) {
    ::LayOutMainWindow(MainWindow, pass);
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

void SendClose(WindowRef window) {
    SendMessageW(Hwnd(window), WM_CLOSE, 0, 0);
}

void DestroyMainWindow(WindowRef window) {
    DestroyWindow(Hwnd(window));
}

void EndProcess(int exitCode) {
    std::exit(exitCode);
}

}  // namespace shell
