#include "app/window_layout_win32.h"

#include <commctrl.h>

#include "app/pages_win32.h"
#include "res/resource.h"
#include "ui/dialog_units_win32.h"
#include "ui/dpi_win32.h"
#include "ui/text_fit_win32.h"
#include "ui/window_batch_win32.h"

namespace {

// The plan's texts as the window's controls show them, measured in the fonts
// of one DPI: the controls' for OK, Cancel and the controller line, the
// pages' for Reset and the hint.
class WindowTexts final : public TextMeasure {
  public:
    WindowTexts(const MainWindowState& state, HFONT controls, HFONT pages)
        : dc_(CreateCompatibleDC(nullptr)), controls_(controls), pages_(pages), state_(state) {}
    ~WindowTexts() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    WindowTexts(const WindowTexts&) = delete;
    WindowTexts& operator=(const WindowTexts&) = delete;

    TextExtent Measure(LayoutText text, int width) const override {
        switch (text) {
            case LayoutText::Ok:
                return Of(state_.ok, controls_, width, false);
            case LayoutText::Cancel:
                return Of(state_.cancel, controls_, width, false);
            case LayoutText::Reset:
                return Of(pages::Reset(), pages_, width, false);
            case LayoutText::Hint:
                return Of(pages::Hint(), pages_, width, false);
            case LayoutText::ControllerLine:
                return Line(width);
        }
        return {0, 0};
    }

    // The controller line's text as fitted at the width last measured.
    const wchar_t* FittedLine() const { return fittedLine_.Get(); }

  private:
    TextExtent Of(HWND control, HFONT font, int width, bool noPrefix) const {
        if (control == nullptr) {
            return {0, 0};
        }
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        return Extent(MeasureText(dc_, font, text, width, noPrefix));
    }

    // As the static draws it: broken at words, '&' shown as it is.
    TextExtent Line(int width) const {
        TextToFit fit = {};
        fittedLine_.Clear();
        if (!TextToFitOf(state_.controllerLine, fit)) {
            return Of(state_.controllerLine, controls_, width, true);
        }
        if (dc_ != nullptr) {
            FitText(dc_, controls_, fit, width, fittedLine_);
        }
        return Extent(MeasureText(dc_, controls_, fittedLine_.Get(), width, true));
    }

    static TextExtent Extent(SIZE size) { return {size.cx, size.cy}; }

    HDC dc_;
    HFONT controls_;
    HFONT pages_;
    const MainWindowState& state_;
    mutable WideText fittedLine_;
};

// What the tab's frame and row take from it, in its font.
LayoutInsets TabInsets(HWND tab) {
    constexpr int kSide = 1000;
    RECT area = {0, 0, kSide, kSide};
    if (tab != nullptr) {
        TabCtrl_AdjustRect(tab, FALSE, &area);
    }
    return {area.left, area.top, kSide - area.right, kSide - area.bottom};
}

// The inputs every pass and every answer share; the frame, the work area and
// the placement are the caller's.
LayoutInputs InputsAt(int dpi, HFONT pagesFont) {
    LayoutInputs inputs = {};
    inputs.dpi = dpi;
    const SIZE units = FontDialogUnits(pagesFont);
    inputs.dialogUnitX = units.cx;
    inputs.dialogUnitY = units.cy;
    inputs.pageItems = pages::TemplateItems(inputs.pageItemCount);
    return inputs;
}

bool Same(const RECT& rect, const LayoutRect& planned) {
    return rect.left == planned.x && rect.top == planned.y &&
           rect.right - rect.left == planned.width && rect.bottom - rect.top == planned.height;
}

void SetWindowRect(HWND window, const LayoutRect& rect) {
    SetWindowPos(window, nullptr, rect.x, rect.y, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void Apply(MainWindowState& state, const MainPlan& plan, const wchar_t* line) {
    if (state.controllerLine != nullptr) {
        ShowText(state.controllerLine, line);
    }
    {
        WindowBatch batch;
        batch.Move(state.tab, plan.tab);
        batch.Move(state.combo, plan.combo);
        batch.Move(state.controllerLine, plan.controllerLine);
        batch.Move(state.ok, plan.ok);
        batch.Move(state.cancel, plan.cancel);
    }
    pages::Place(plan);
    state.plan = plan;
    state.planned = true;
    RECT outer = {};
    GetWindowRect(state.window, &outer);
    if (!Same(outer, plan.window)) {
        SetWindowRect(state.window, plan.window);
    }
    // The frame taken is the one the window has. A system that draws another
    // once the window is sized (a frame that depends on the size, or one of
    // another DPI drawn after WM_DPICHANGED) gets one more move with the
    // frame it drew: the one exception to a single move.
    RECT client = {};
    GetClientRect(state.window, &client);
    if (client.right != plan.clientWidth || client.bottom != plan.clientHeight) {
        const LayoutInsets frame = FrameAsItIs(state.window);
        LayoutRect again = plan.window;
        again.width = plan.clientWidth + frame.left + frame.right;
        again.height = plan.clientHeight + frame.top + frame.bottom;
        SetWindowRect(state.window, again);
    }
}

}  // namespace

void LayOutMainWindow(MainWindowState& state, const LayoutPass& pass) {
    if (state.tab == nullptr) {
        return;
    }
    const HFONT pagesFont = pages::Font();
    LayoutInputs inputs = InputsAt(state.dpi, pagesFont);
    inputs.tabInsets = TabInsets(state.tab);
    inputs.frame = FrameAsItIs(state.window);
    inputs.workArea = WindowMonitorWorkArea(state.window);
    RECT outer = {};
    GetWindowRect(state.window, &outer);
    inputs.corner = {outer.left, outer.top};
    switch (pass.cause) {
        case LayoutCause::Start:
            inputs.placement = WindowPlacement::Centred;
            break;
        case LayoutCause::DpiChange:
            inputs.placement = WindowPlacement::At;
            inputs.corner = {pass.left, pass.top};
            break;
        default:
            inputs.placement = WindowPlacement::Kept;
            break;
    }
    const WindowTexts texts(state, state.controlsFont.Handle(), pagesFont);
    const MainPlan plan = PlanMainWindow(inputs, texts);
    Apply(state, plan, texts.FittedLine());
    if (pass.cause == LayoutCause::DpiChange || pass.cause == LayoutCause::FrameChange) {
        // The controls were given their fonts without a redraw.
        RedrawWindow(state.window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

SIZE MainWindowSizeAt(MainWindowState& state, int dpi) {
    if (state.preparedDpi != dpi || state.preparedFont.Handle() == nullptr) {
        MakeFontAt(state.controlsFace, dpi, state.preparedFont);
        state.preparedDpi = dpi;
    }
    const HFONT controls = state.preparedFont.Handle();
    const HFONT pagesFont = pages::FontAt(dpi);
    LayoutInputs inputs = InputsAt(dpi, pagesFont);
    // The tab still has the present DPI's font: its row is its font's line
    // and a padding of its own, its frame fixed, so the row at `dpi` is the
    // row now with the new font's line.
    inputs.tabInsets = TabInsets(state.tab);
    inputs.tabInsets.top += FontLineHeight(controls) - FontLineHeight(state.controlsFont.Handle());
    inputs.frame = DocumentedFrame(state.window, dpi);
    inputs.placement = WindowPlacement::At;
    const WindowTexts texts(state, controls, pagesFont);
    const MainPlan plan = PlanMainWindow(inputs, texts);
    return {plan.window.width, plan.window.height};
}

void TakeMainWindowDpi(MainWindowState& state, int dpi) {
    state.dpi = dpi > 0 ? dpi : kBaseDpi;
    if (state.preparedDpi != state.dpi || state.preparedFont.Handle() == nullptr) {
        MakeFontAt(state.controlsFace, state.dpi, state.preparedFont);
    }
    state.controlsFont.Swap(state.preparedFont);
    const HWND controls[] = {state.tab, state.combo, state.ok, state.cancel, state.controllerLine};
    for (HWND control : controls) {
        if (control != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.controlsFont.Handle()),
                         FALSE);
        }
    }
    // The font replaced is deleted now that no control uses it.
    state.preparedFont.Release();
    state.preparedDpi = 0;
    pages::TakeDpi(state.dpi);
    SetWindowIcons(state);
}

void SetWindowIcons(MainWindowState& state) {
    // The class icon is made for the system DPI only.
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(state.window, GWLP_HINSTANCE));
    const int sizes[2] = {DpiScale(16, state.dpi), DpiScale(32, state.dpi)};
    const WPARAM kinds[2] = {ICON_SMALL, ICON_BIG};
    for (int i = 0; i < 2; ++i) {
        HICON icon = LoadIconOfSize(instance, IDI_PADLOOM, sizes[i]);
        if (icon == nullptr) {
            continue;
        }
        SendMessageW(state.window, WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icon));
        if (state.icons[i] != nullptr) {
            DestroyIcon(state.icons[i]);
        }
        state.icons[i] = icon;
    }
}
