#include "app/window_layout_win32.h"

#include "app/process_globals_win32.h"
#include "assign/assign_page.h"
#include "ui/dpi_win32.h"
#include "ui/main_layout.h"
#include "ui/wide_text_win32.h"

namespace {

constexpr int kMostPageChildren = 48;

struct PageGeometry {
    int size[2];  // width, height
    int childCount;
    HWND children[kMostPageChildren];
    RECT childRects[kMostPageChildren];  // in the page's client area
    HWND hint;
    HWND reset;
};

// The pages as they were made; see SetUpPages.
struct {
    int dpi;
    int pageCount;
    PageGeometry pages[TabPageSet::kMaxPages];
    // Their controls' font as made, noted at the first change of DPI.
    LOGFONTW font;
    bool hasFont;
} Made = {};

int LayoutDpi = kBaseDpi;
// The DPI the pages' controls are placed for now.
int PagesDpi = kBaseDpi;

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

int Rescaled(int value) {
    return DpiRescale(value, LayoutDpi, Made.dpi);
}

// The pages at LayoutDpi: at the DPI they were made at, as the dialog
// manager placed them; at any other, that geometry scaled.
void PlacePages(const MainLayout& layout) {
    const bool rescale = LayoutDpi != PagesDpi;
    PagesDpi = LayoutDpi;
    for (int i = 0; i < TabPages.PageCount() && i < Made.pageCount; ++i) {
        HWND page = TabPages.Page(i);
        const PageGeometry& made = Made.pages[i];
        RECT pageRect = RectIn(page, GetParent(page));
        OffsetRect(&pageRect, layout.pageX - pageRect.left, layout.pageY - pageRect.top);
        if (rescale) {
            pageRect.right = pageRect.left + Rescaled(made.size[0]);
            pageRect.bottom = pageRect.top + Rescaled(made.size[1]);
        }
        MoveTo(page, pageRect);
        for (int c = 0; rescale && c < made.childCount; ++c) {
            const RECT& r = made.childRects[c];
            MoveTo(made.children[c],
                   {Rescaled(r.left), Rescaled(r.top), Rescaled(r.right), Rescaled(r.bottom)});
        }
    }
}

// How far the tab must grow to hold the pages' controls whole, where one
// reaches past its client area by more than the layout allows; 0, 0 otherwise.
void PageOverflow(HWND tab, const MainLayout& layout, int* dx, int* dy) {
    // The tab control has no border: its client area is its whole size.
    const RECT area = {0, 0, layout.tab.width, layout.tab.height};
    LONG right = area.right;
    LONG bottom = area.bottom;
    bool cut = false;
    for (int i = 0; i < Made.pageCount; ++i) {
        for (int c = 0; c < Made.pages[i].childCount; ++c) {
            const RECT rect = RectIn(Made.pages[i].children[c], tab);
            cut = cut || rect.right - area.right > layout.fitAllowance ||
                  rect.bottom - area.bottom > layout.fitAllowance;
            right = rect.right > right ? rect.right : right;
            bottom = rect.bottom > bottom ? rect.bottom : bottom;
        }
    }
    *dx = cut && right > area.right ? right - area.right + layout.fitMargin : 0;
    *dy = cut && bottom > area.bottom ? bottom - area.bottom + layout.fitMargin : 0;
}

// The size the control's text takes in its own font: on one line, or broken
// into lines no wider than `width` when that is above 0. An '&' marks an
// access key, as the control draws it.
SIZE TextSize(HDC dc, HWND control, int width) {
    if (dc == nullptr) {
        return {0, 0};
    }
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    RECT area = {0, 0, width, 0};
    // A control without a font of its own draws in the system font.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    font = font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, text, -1, &area, DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    return {area.right - area.left, area.bottom - area.top};
}

// Reset and the hint show their whole text in the page's font: Reset widens
// to the left, the hint keeps to its left and wraps onto more lines where its
// text is longer than the room left, and the page grows to hold them.
void FitPageTexts(HWND page, const PageGeometry& made, const MainLayout& layout, HDC dc) {
    HWND hint = made.hint;
    HWND reset = made.reset;
    if (hint == nullptr || reset == nullptr) {
        return;
    }
    RECT hintRect = RectIn(hint, page);
    RECT resetRect = RectIn(reset, page);
    const int gap = resetRect.left - hintRect.right;
    const int resetWidth = TextSize(dc, reset, 0).cx + 2 * layout.textPadding;
    if (resetWidth > resetRect.right - resetRect.left) {
        resetRect.left = resetRect.right - resetWidth;
        hintRect.right = resetRect.left - gap;
        MoveTo(reset, resetRect);
    }
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
    RECT pageRect = {};
    GetClientRect(page, &pageRect);
    const LONG bottom = (hintRect.bottom > resetRect.bottom ? hintRect.bottom : resetRect.bottom) +
                        layout.fitMargin;
    if (bottom > pageRect.bottom) {
        SetWindowPos(page, nullptr, 0, 0, pageRect.right, bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// OK and Cancel show their whole text in the controls' font.
void FitButtons(MainLayout& layout, HWND ok, HWND cancel, HDC dc) {
    const LONG okWidth = ok != nullptr ? TextSize(dc, ok, 0).cx : 0;
    const LONG cancelWidth = cancel != nullptr ? TextSize(dc, cancel, 0).cx : 0;
    WidenButtons(layout, (okWidth > cancelWidth ? okWidth : cancelWidth) + 2 * layout.textPadding);
}

void SetFont(HWND control, HFONT font) {
    if (control != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

void SetPageFont(HFONT font) {
    for (int i = 0; i < Made.pageCount; ++i) {
        for (int c = 0; c < Made.pages[i].childCount; ++c) {
            SetFont(Made.pages[i].children[c], font);
        }
    }
}

// The dialog manager takes the template's face or whatever the font mapper
// answers for it, which may lack glyphs of the language's texts or the
// labels: the pages' controls then get a font that has them.
void ShowPageTexts() {
    WideText texts;
    HFONT font = nullptr;
    for (int i = 0; i < Made.pageCount; ++i) {
        font = reinterpret_cast<HFONT>(SendMessageW(TabPages.Page(i), WM_GETFONT, 0, 0));
        for (int c = 0; c < Made.pages[i].childCount; ++c) {
            wchar_t text[512];  // a label is at most 511 bytes
            GetWindowTextW(Made.pages[i].children[c], text, 512);
            texts.Append(text);
        }
    }
    LOGFONTW description = {};
    if (font == nullptr || GetObjectW(font, sizeof(description), &description) == 0 ||
        MissingGlyphs(font, texts.Get()) == 0) {
        return;
    }
    PageFont.CreateShowing(description, texts.Get());
    if (PageFont.Handle() != nullptr) {
        SetPageFont(PageFont.Handle());
    }
}

// The pages' font at LayoutDpi, from the one they were made with. The dialog
// manager's own font stays the page dialog's: it deletes it with the page.
void RescalePageFont() {
    if (!Made.hasFont && Made.pageCount > 0 && Made.pages[0].childCount > 0) {
        const HFONT font =
            reinterpret_cast<HFONT>(SendMessageW(Made.pages[0].children[0], WM_GETFONT, 0, 0));
        Made.hasFont = font != nullptr && GetObjectW(font, sizeof(Made.font), &Made.font) != 0;
    }
    if (!Made.hasFont) {
        return;
    }
    LOGFONTW description = Made.font;
    description.lfHeight = Rescaled(description.lfHeight);
    description.lfWidth = Rescaled(description.lfWidth);
    ControlFont next;
    next.CreateShowing(description, L"");
    if (next.Handle() == nullptr) {
        return;
    }
    SetPageFont(next.Handle());
    // The font replaced is deleted with `next`, now that no control uses it.
    PageFont.Swap(next);
}

void RescaleControlFont(const MainControls& controls) {
    ControlFont next;
    next.Create(LayoutDpi);
    const HWND users[] = {Hwnd(controls.tab), Hwnd(controls.combo), Hwnd(controls.ok),
                          Hwnd(controls.cancel), Hwnd(controls.controllerLine)};
    for (HWND control : users) {
        SetFont(control, next.Handle());
    }
    MainFont.Swap(next);
}

}  // namespace

int MainWindowDpi() {
    return LayoutDpi;
}

void TakeMainWindowDpi(HWND mainWindow) {
    LayoutDpi = WindowDpi(mainWindow);
}

void SetUpPages() {
    Made.dpi = LayoutDpi;
    PagesDpi = LayoutDpi;
    Made.pageCount = TabPages.PageCount();
    for (int i = 0; i < Made.pageCount; ++i) {
        HWND page = TabPages.Page(i);
        PageGeometry& made = Made.pages[i];
        RECT size = {};
        GetWindowRect(page, &size);
        made.size[0] = size.right - size.left;
        made.size[1] = size.bottom - size.top;
        made.childCount = 0;
        for (HWND child = GetWindow(page, GW_CHILD);
             child != nullptr && made.childCount < kMostPageChildren;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            made.hint = id == kHintId ? child : made.hint;
            made.reset = id == IDC_RESET ? child : made.reset;
            made.children[made.childCount] = child;
            made.childRects[made.childCount++] = RectIn(child, page);
        }
        KeepDialogFromRescaling(page);
    }
    ShowPageTexts();
}

void ApplyMainLayout(HWND mainWindow, const MainControls& controls) {
    MainLayout layout = MainLayoutAt(LayoutDpi);
    HWND tab = Hwnd(controls.tab);
    PlacePages(layout);
    // One memory DC for every measure: each GetDC of a control costs more.
    HDC dc = CreateCompatibleDC(nullptr);
    for (int i = 0; i < Made.pageCount; ++i) {
        FitPageTexts(TabPages.Page(i), Made.pages[i], layout, dc);
    }
    int dx = 0;
    int dy = 0;
    PageOverflow(tab, layout, &dx, &dy);
    GrowLayout(layout, dx, dy);
    FitButtons(layout, Hwnd(controls.ok), Hwnd(controls.cancel), dc);
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    Place(tab, layout.tab);
    Place(Hwnd(controls.combo), layout.combo);
    Place(Hwnd(controls.controllerLine), layout.controllerLine);
    Place(Hwnd(controls.ok), layout.ok);
    Place(Hwnd(controls.cancel), layout.cancel);
    RECT window = {};
    GetWindowRect(mainWindow, &window);
    if (window.right - window.left != layout.windowWidth ||
        window.bottom - window.top != layout.windowHeight) {
        SetWindowPos(mainWindow, nullptr, 0, 0, layout.windowWidth, layout.windowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ChangeMainWindowDpi(HWND mainWindow, const MainControls& controls, int dpi,
                         const RECT& suggested) {
    LayoutDpi = dpi > 0 ? dpi : kBaseDpi;
    SetWindowPos(mainWindow, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (controls.tab == nullptr) {
        return;
    }
    RescaleControlFont(controls);
    RescalePageFont();
    ApplyMainLayout(mainWindow, controls);
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
