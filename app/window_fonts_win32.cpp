#include "app/window_fonts_win32.h"

#include "app/process_globals_win32.h"
#include "ui/control_font_win32.h"
#include "ui/wide_text_win32.h"

namespace {

ControlFont ControlsFont;
// Only where the pages' template font is not the one wanted.
ControlFont PagesFont;

// The faces chosen, and the pages' point size, for every later DPI.
LOGFONTW ControlsFace = {};
LOGFONTW PagesFace = {};
int PagePoints = 0;
int PagesDpi = 0;

void Give(HWND control, HFONT font, BOOL redraw) {
    if (control != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
}

void GiveControls(const MainControls& controls, HFONT font, BOOL redraw) {
    const WindowRef users[] = {controls.tab, controls.combo, controls.ok, controls.cancel,
                               controls.controllerLine};
    for (WindowRef control : users) {
        Give(static_cast<HWND>(control), font, redraw);
    }
}

// Calls `each` for every control of every page made.
template <typename Each>
void ForEachPageControl(Each each) {
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        for (HWND child = GetWindow(TabPages.Page(i), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            each(child);
        }
    }
}

LOGFONTW PagesFaceAt(int dpi) {
    LOGFONTW description = PagesFace;
    description.lfHeight =
        PagePoints > 0 ? -MulDiv(PagePoints, dpi, 72) : MulDiv(PagesFace.lfHeight, dpi, PagesDpi);
    description.lfWidth = 0;
    return description;
}

}  // namespace

void SetControlsFont(const MainControls& controls, int dpi, const wchar_t* sample) {
    ControlsFont.CreateShowing(ControlFontDescription(dpi), sample);
    if (ControlsFont.Handle() == nullptr ||
        GetObjectW(ControlsFont.Handle(), sizeof(ControlsFace), &ControlsFace) == 0) {
        ControlsFace = ControlFontDescription(dpi);
    }
    GiveControls(controls, ControlsFont.Handle(), FALSE);
}

void SetPagesFont(int points, int dpi) {
    if (PagesDpi != 0) {
        // Chosen with the first page: the later ones share its template.
        const HFONT font = PagesFont.Handle();
        if (font != nullptr) {
            ForEachPageControl([font](HWND child) { Give(child, font, FALSE); });
        }
        return;
    }
    PagePoints = points;
    PagesDpi = dpi;
    // The dialog manager's font, and every text the pages show.
    HFONT made = reinterpret_cast<HFONT>(SendMessageW(TabPages.Page(0), WM_GETFONT, 0, 0));
    WideText texts;
    ForEachPageControl([&texts](HWND child) {
        wchar_t text[512];  // a label is at most 511 bytes
        GetWindowTextW(child, text, 512);
        texts.Append(text);
    });
    if (made == nullptr || GetObjectW(made, sizeof(PagesFace), &PagesFace) == 0) {
        return;
    }
    // The dialog manager makes it for a DPI that need not be the window's
    // (Wine 10 takes the system's where Windows takes the window's).
    const LOGFONTW wanted = PagesFaceAt(dpi);
    if (wanted.lfHeight == PagesFace.lfHeight && MissingGlyphs(made, texts.Get()) == 0) {
        return;
    }
    PagesFont.CreateShowing(wanted, texts.Get(), ControlsFace.lfFaceName);
    if (PagesFont.Handle() == nullptr) {
        return;
    }
    GetObjectW(PagesFont.Handle(), sizeof(PagesFace), &PagesFace);
    const HFONT font = PagesFont.Handle();
    ForEachPageControl([font](HWND child) { Give(child, font, FALSE); });
}

void ChangeFontsDpi(const MainControls& controls, int dpi) {
    ControlFont next;
    LOGFONTW description = ControlsFace;
    description.lfHeight = ControlFontDescription(dpi).lfHeight;
    description.lfWidth = 0;
    next.CreateShowing(description, L"");
    GiveControls(controls, next.Handle(), TRUE);
    // The font replaced is deleted with `next`, now that no control uses it.
    ControlsFont.Swap(next);
    if (PagesFace.lfFaceName[0] == L'\0') {
        return;
    }
    ControlFont pages;
    pages.CreateShowing(PagesFaceAt(dpi), L"");
    if (pages.Handle() == nullptr) {
        return;
    }
    const HFONT font = pages.Handle();
    ForEachPageControl([font](HWND child) { Give(child, font, TRUE); });
    // The dialog manager's own font stays the page dialog's, which deletes it.
    PagesFont.Swap(pages);
}
