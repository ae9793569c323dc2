#include "app/window_layout_win32.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "app/process_globals_win32.h"
#include "app/window_fonts_win32.h"
#include "assign/assign_page.h"
#include "ui/dialog_units_win32.h"
#include "ui/dpi_win32.h"
#include "ui/main_layout.h"
#include "ui/wide_text_win32.h"

namespace {

constexpr int kMostPageChildren = 48;

struct PageGeometry {
    int childCount;
    HWND children[kMostPageChildren];
    // The template's item of each child, by its id.
    const DialogItem* items[kMostPageChildren];
    HWND hint;
    HWND reset;
};

// The pages as they were made; see SetUpPages.
struct {
    int pageCount;
    PageGeometry pages[TabPageSet::kMaxPages];
    DialogItem items[kMostPageChildren];
    int itemCount;
    int points;  // the template's font's
} Made = {};

int LayoutDpi = kBaseDpi;
// What the last layout measured, at LayoutDpi: the start of the size
// answered for another DPI before its fonts exist.
LayoutMeasures Measured = {};
// What the frame takes beyond the one computed for LayoutDpi (or less),
// learnt from the client area the system gave.
SIZE FrameExtra = {};

RECT RectIn(HWND window, HWND parent) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Moves a child window, unless it is there already: a move costs a round of
// messages, and at start-up most controls are where they were made.
void MoveTo(HWND control, const RECT& rect) {
    if (control == nullptr) {
        return;
    }
    const RECT now = RectIn(control, GetParent(control));
    if (now.left != rect.left || now.top != rect.top || now.right != rect.right ||
        now.bottom != rect.bottom) {
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Place(HWND control, const LayoutRect& rect) {
    MoveTo(control, {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
}

HWND Hwnd(WindowRef window) {
    return static_cast<HWND>(window);
}

// The size a control's text takes in its own font: on one line, or broken
// into lines no wider than `width` when that is above 0. `flags` adds to
// DrawTextW's; without DT_NOPREFIX an '&' marks an access key, as a button
// draws it.
SIZE TextSize(HDC dc, HWND control, int width, UINT flags = 0) {
    if (dc == nullptr) {
        return {0, 0};
    }
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    RECT area = {0, 0, width, 0};
    // A control without a font of its own draws in the system font.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    font = font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, text, -1, &area,
              DT_CALCRECT | flags | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    return {area.right - area.left, area.bottom - area.top};
}

// A page's controls where the template puts them in the font they are drawn
// with, the same whichever DPI the page was made at. Reset and the hint show
// their whole text: Reset widens to the left, and the hint keeps to its left
// and wraps onto more lines where its text is longer than the room left.
void PlacePage(const PageGeometry& made, SIZE baseUnits, const MainLayout& layout, HDC dc) {
    RECT hintRect = {};
    RECT resetRect = {};
    for (int c = 0; c < made.childCount; ++c) {
        if (made.items[c] == nullptr) {
            continue;
        }
        const RECT rect = DialogItemPixels(*made.items[c], baseUnits);
        if (made.children[c] == made.hint) {
            hintRect = rect;
        } else if (made.children[c] == made.reset) {
            resetRect = rect;
        } else {
            MoveTo(made.children[c], rect);
        }
    }
    HWND hint = made.hint;
    HWND reset = made.reset;
    if (hint == nullptr || reset == nullptr) {
        return;
    }
    const int gap = resetRect.left - hintRect.right;
    const int resetWidth = TextSize(dc, reset, 0).cx + 2 * layout.textPadding;
    if (resetWidth > resetRect.right - resetRect.left) {
        resetRect.left = resetRect.right - resetWidth;
        hintRect.right = resetRect.left - gap;
    }
    MoveTo(reset, resetRect);
    const int width = hintRect.right - hintRect.left;
    const bool wraps = TextSize(dc, hint, 0).cx > width;
    // A vertically centred static shows one line only.
    const LONG_PTR style = GetWindowLongPtrW(hint, GWL_STYLE);
    const LONG_PTR wanted = wraps ? style & ~SS_CENTERIMAGE : style | SS_CENTERIMAGE;
    if (wanted != style) {
        SetWindowLongPtrW(hint, GWL_STYLE, wanted);
    }
    if (wraps) {
        const LONG height = TextSize(dc, hint, width).cy;
        if (height > hintRect.bottom - hintRect.top) {
            hintRect.bottom = hintRect.top + height;
        }
    }
    MoveTo(hint, hintRect);
}

// Where the pages' controls reach, from a page's top-left corner.
void MeasurePages(LayoutMeasures& measures) {
    for (int i = 0; i < Made.pageCount; ++i) {
        const PageGeometry& made = Made.pages[i];
        for (int c = 0; c < made.childCount; ++c) {
            const RECT rect = RectIn(made.children[c], GetParent(made.children[c]));
            measures.pageRight = rect.right > measures.pageRight ? rect.right : measures.pageRight;
            measures.pageBottom =
                rect.bottom > measures.pageBottom ? rect.bottom : measures.pageBottom;
        }
    }
}

// Everything the layout at LayoutDpi depends on, in the fonts set now; the
// pages' own controls are placed and fitted on the way.
LayoutMeasures Measure(const MainControls& controls) {
    const MainLayout drawn = MainLayoutAt(LayoutDpi);
    LayoutMeasures measures = {};
    const RECT display = TabDisplayArea(Hwnd(controls.tab), drawn.tab.width, drawn.tab.height);
    measures.tabInsets = {display.left, display.top, drawn.tab.width - display.right,
                          drawn.tab.height - display.bottom};
    // One memory DC for every measure: each GetDC of a control costs more.
    HDC dc = CreateCompatibleDC(nullptr);
    if (Made.pageCount > 0 && Made.pages[0].childCount > 0) {
        const SIZE baseUnits = FontDialogUnits(
            reinterpret_cast<HFONT>(SendMessageW(Made.pages[0].children[0], WM_GETFONT, 0, 0)));
        for (int i = 0; i < Made.pageCount; ++i) {
            PlacePage(Made.pages[i], baseUnits, drawn, dc);
        }
    }
    MeasurePages(measures);
    const HWND buttons[] = {Hwnd(controls.ok), Hwnd(controls.cancel)};
    for (HWND button : buttons) {
        const LONG width = button != nullptr ? TextSize(dc, button, 0).cx : 0;
        measures.buttonText = width > measures.buttonText ? width : measures.buttonText;
    }
    // As the static draws it: broken at words, '&' shown as it is.
    if (controls.controllerLine != nullptr) {
        measures.lineHeight = TextSize(dc, Hwnd(controls.controllerLine),
                                       drawn.controllerLine.width, DT_NOPREFIX | DT_EXPANDTABS)
                                  .cy;
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    return measures;
}

// The window's outer size for a client area at a DPI, in its own frame.
SIZE OuterSize(HWND window, const MainLayout& layout, int dpi) {
    return WindowSizeForClient(window, layout.clientWidth, layout.clientHeight, dpi);
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int MainWindowDpi() {
    return LayoutDpi;
}

void TakeMainWindowDpi(HWND mainWindow) {
    LayoutDpi = WindowDpi(mainWindow);
}

RECT TabDisplayArea(HWND tab, int width, int height) {
    RECT area = {0, 0, width, height};
    if (tab != nullptr) {
        TabCtrl_AdjustRect(tab, FALSE, &area);
    }
    return area;
}

void SetUpPages(HINSTANCE instance) {
    if (Made.itemCount == 0) {
        Made.itemCount =
            ReadDialogItems(instance, IDD_ASSIGN_PAGE, Made.items, kMostPageChildren, &Made.points);
    }
    Made.pageCount = TabPages.PageCount();
    for (int i = 0; i < Made.pageCount; ++i) {
        HWND page = TabPages.Page(i);
        PageGeometry& made = Made.pages[i];
        if (page == nullptr || made.childCount > 0) {
            continue;
        }
        for (HWND child = GetWindow(page, GW_CHILD);
             child != nullptr && made.childCount < kMostPageChildren;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            made.hint = id == kHintId ? child : made.hint;
            made.reset = id == IDC_RESET ? child : made.reset;
            made.items[made.childCount] = nullptr;
            for (int t = 0; t < Made.itemCount; ++t) {
                // The hint's id is 0xFFFF in the template, -1 as an int.
                if (Made.items[t].id == (id & 0xFFFF)) {
                    made.items[made.childCount] = &Made.items[t];
                }
            }
            made.children[made.childCount++] = child;
        }
        // Themed Windows draws the page on the tab's own background, as one
        // with it; the classic look is unchanged.
        EnableThemeDialogTexture(page, ETDT_ENABLETAB);
        KeepDialogFromRescaling(page);
    }
    SetPagesFont(Made.points, LayoutDpi);
}

void MakeLaterPages(HWND mainWindow, const MainControls& controls) {
    if (TabPages.MakeLaterPages()) {
        SetUpPages(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow, GWLP_HINSTANCE)));
        ApplyMainLayout(mainWindow, controls);
    }
}

void ApplyMainLayout(HWND mainWindow, const MainControls& controls) {
    Measured = Measure(controls);
    const MainLayout layout = MainLayoutFor(LayoutDpi, Measured);
    HWND tab = Hwnd(controls.tab);
    Place(tab, layout.tab);
    Place(Hwnd(controls.combo), layout.combo);
    Place(Hwnd(controls.controllerLine), layout.controllerLine);
    Place(Hwnd(controls.ok), layout.ok);
    Place(Hwnd(controls.cancel), layout.cancel);
    // The pages fill the display area, so that none draws over the tab's
    // frame; the tab has grown until their controls lie inside it.
    const RECT display = TabDisplayArea(tab, layout.tab.width, layout.tab.height);
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        MoveTo(TabPages.Page(i), display);
    }
    SIZE outer = OuterSize(mainWindow, layout, LayoutDpi);
    outer.cx += FrameExtra.cx;
    outer.cy += FrameExtra.cy;
    RECT window = {};
    GetWindowRect(mainWindow, &window);
    if (window.right - window.left != outer.cx || window.bottom - window.top != outer.cy) {
        Resize(mainWindow, outer.cx, outer.cy);
    }
    // The frame computed is the documented one; a system that draws another
    // (a theme's caption, a padded border, a frame of another DPI) must
    // neither cut the client area nor leave it larger than laid out.
    RECT client = {};
    GetClientRect(mainWindow, &client);
    const LONG dx = layout.clientWidth - client.right;
    const LONG dy = layout.clientHeight - client.bottom;
    if (dx != 0 || dy != 0) {
        FrameExtra.cx += dx;
        FrameExtra.cy += dy;
        Resize(mainWindow, outer.cx + dx, outer.cy + dy);
    }
}

SIZE MainWindowSizeAt(HWND mainWindow, int dpi) {
    const MainLayout layout = MainLayoutFor(dpi, RescaledMeasures(Measured, dpi, LayoutDpi));
    return OuterSize(mainWindow, layout, dpi);
}

void ChangeMainWindowDpi(HWND mainWindow, const MainControls& controls, int dpi,
                         const RECT& suggested) {
    LayoutDpi = dpi > 0 ? dpi : kBaseDpi;
    FrameExtra = {};
    SetWindowPos(mainWindow, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (controls.tab == nullptr) {
        return;
    }
    ChangeFontsDpi(controls, LayoutDpi);
    ApplyMainLayout(mainWindow, controls);
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
