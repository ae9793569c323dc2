#include "app/pages_win32.h"

#include <uxtheme.h>

#include "app/page_table_win32.h"
#include "app/process_globals_win32.h"
#include "app/window_fonts_win32.h"
#include "assign/assign_page.h"
#include "ui/dialog_units_win32.h"
#include "ui/dpi_win32.h"
#include "ui/window_batch_win32.h"
#include "ui/wide_text_win32.h"

namespace {

// Each page's controls by the template's item they come from.
struct MadePage {
    HWND children[kMostPageItems];
    HWND hint;
    HWND reset;
    bool setUp;
};

struct {
    // What every page is made with, kept until the last is made (its texts
    // are the start-up's settings, which stay).
    RowLabels labels;
    // Template 102's items, read once.
    DialogItem dialogItems[kMostPageItems];
    PageItem items[kMostPageItems];
    int itemCount;
    int points;  // its font's
    MadePage made[TabPageSet::kMaxPages];
    FontChoice face;
    bool faceChosen;
    // The font the pages are drawn in: the dialog manager's own where it is
    // the one wanted (each page then keeps its own), else `font`.
    HFONT inUse;
    bool dialogsOwn;
    ControlFont font;
    // Made for a DPI that WM_GETDPISCALEDSIZE asked about.
    ControlFont prepared;
    int preparedDpi;
} Pages = {};

template <typename Each>
void ForEachControl(Each each) {
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        if (Pages.made[i].setUp) {
            for (HWND child : Pages.made[i].children) {
                if (child != nullptr) {
                    each(child);
                }
            }
        }
    }
}

void GiveFont(HFONT font) {
    ForEachControl([font](HWND child) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    });
}

void ReadTemplate(HINSTANCE instance) {
    const int count = ReadDialogItems(instance, IDD_ASSIGN_PAGE, Pages.dialogItems, kMostPageItems,
                                      &Pages.points);
    for (int i = 0; i < count; ++i) {
        const DialogItem& item = Pages.dialogItems[i];
        // The hint's id is 0xFFFF in the template.
        const PageItemRole role = item.id == kHintId     ? PageItemRole::Hint
                                  : item.id == IDC_RESET ? PageItemRole::Reset
                                                         : PageItemRole::Plain;
        Pages.items[i] = {item.x, item.y, item.width, item.height, role};
    }
    Pages.itemCount = count;
}

// Notes a new page's controls by their template item, and draws it on the
// tab's background.
void SetUp(int index) {
    HWND page = TabPages.Page(index);
    MadePage& made = Pages.made[index];
    if (page == nullptr || made.setUp) {
        return;
    }
    made.setUp = true;
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child) & 0xFFFF;
        for (int i = 0; i < Pages.itemCount; ++i) {
            if (Pages.dialogItems[i].id == id) {
                made.children[i] = child;
            }
        }
        made.hint = id == kHintId ? child : made.hint;
        made.reset = id == IDC_RESET ? child : made.reset;
    }
    // Themed Windows draws the page on the tab's own background, as one with
    // it; the classic look is unchanged.
    EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    KeepDialogFromRescaling(page);
}

// The face that shows the first page's texts: the template's, as the dialog
// manager made it, unless it lacks a glyph of them.
void ChooseFace(int index, int dpi, const wchar_t* firstChoice) {
    HWND page = TabPages.Page(index);
    WideText texts;
    for (HWND child : Pages.made[index].children) {
        if (child != nullptr) {
            wchar_t text[512];  // a label is at most 511 bytes
            GetWindowTextW(child, text, 512);
            texts.Append(text);
        }
    }
    LOGFONTW wanted = {};
    HFONT made =
        page != nullptr ? reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0)) : nullptr;
    if (made == nullptr || GetObjectW(made, sizeof(wanted), &wanted) == 0) {
        return;
    }
    // The dialog manager makes it for a DPI that need not be the window's
    // (Wine 10 takes the system's where Windows takes the window's), so the
    // pages are given their own at the window's DPI.
    Pages.face = ChooseFont(wanted, Pages.points > 0 ? Pages.points : 9, 72, dpi, texts.Get(),
                            firstChoice, Pages.font);
    Pages.faceChosen = true;
    LOGFONTW found = {};
    Pages.dialogsOwn = Pages.font.Handle() != nullptr &&
                       GetObjectW(Pages.font.Handle(), sizeof(found), &found) != 0 &&
                       found.lfHeight == wanted.lfHeight &&
                       lstrcmpiW(found.lfFaceName, wanted.lfFaceName) == 0;
    if (Pages.dialogsOwn) {
        Pages.font.Release();
        Pages.inUse = made;
    } else {
        Pages.inUse = Pages.font.Handle();
    }
}

void PlacePage(int index, const MainPlan& plan) {
    const MadePage& made = Pages.made[index];
    if (!made.setUp) {
        return;
    }
    // A vertically centred static shows one line only.
    if (made.hint != nullptr) {
        const LONG_PTR style = GetWindowLongPtrW(made.hint, GWL_STYLE);
        const LONG_PTR wanted = plan.hintWraps ? style & ~SS_CENTERIMAGE : style | SS_CENTERIMAGE;
        if (wanted != style) {
            SetWindowLongPtrW(made.hint, GWL_STYLE, wanted);
        }
    }
    WindowBatch batch;
    for (int i = 0; i < plan.pageItemCount; ++i) {
        batch.Move(made.children[i], plan.pageItems[i]);
    }
}

}  // namespace

namespace pages {

void Build(HWND tab, HINSTANCE instance, int initialPage, const RowLabels& labels, int dpi,
           const wchar_t* firstChoice) {
    Pages.labels = labels;
    ReadTemplate(instance);
    // The hidden pages wait until the window is shown: the player sees the
    // window sooner, and nothing else. They are made by the first message the
    // loop takes: GetMessage takes posted messages before input and timers,
    // so no key, click or tick reaches a page or its grid before it exists.
    // The pass that follows places them in the tab's display area.
    TabPages.Build(tab, instance, PageTable, initialPage, 0, 0,
                   reinterpret_cast<LPARAM>(&Pages.labels), true);
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        SetUp(i);
        if (!Pages.faceChosen && Pages.made[i].setUp) {
            ChooseFace(i, dpi, firstChoice);
        }
    }
    if (!Pages.dialogsOwn && Pages.inUse != nullptr) {
        GiveFont(Pages.inUse);
    }
    PostMessageW(GetParent(tab), kMakeLaterMessage, 0, 0);
}

bool MakeLater(const MainPlan* plan) {
    if (!TabPages.MakeLaterPages()) {
        return false;
    }
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        if (!Pages.made[i].setUp) {
            SetUp(i);
            const HFONT font = Pages.dialogsOwn ? nullptr : Pages.inUse;
            for (HWND child : Pages.made[i].children) {
                if (child != nullptr && font != nullptr) {
                    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
                }
            }
        }
    }
    if (plan != nullptr) {
        Place(*plan);
    }
    return true;
}

int SelectedTab() {
    return TabPages.CurrentSelection();
}

void Show(int page) {
    TabPages.Select(page);
}

const PageItem* TemplateItems(int& count) {
    count = Pages.itemCount;
    return Pages.items;
}

HFONT Font() {
    return Pages.inUse;
}

HFONT FontAt(int dpi) {
    if (!Pages.faceChosen) {
        return nullptr;
    }
    if (Pages.preparedDpi != dpi || Pages.prepared.Handle() == nullptr) {
        MakeFontAt(Pages.face, dpi, Pages.prepared);
        Pages.preparedDpi = dpi;
    }
    return Pages.prepared.Handle();
}

void TakeDpi(int dpi) {
    if (FontAt(dpi) == nullptr) {
        return;
    }
    GiveFont(Pages.prepared.Handle());
    // The font replaced is deleted now that no control uses it; the dialog
    // manager's own are its pages' to delete.
    Pages.font.Swap(Pages.prepared);
    Pages.prepared.Release();
    Pages.preparedDpi = 0;
    Pages.inUse = Pages.font.Handle();
    Pages.dialogsOwn = false;
}

HWND Reset() {
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        if (Pages.made[i].reset != nullptr) {
            return Pages.made[i].reset;
        }
    }
    return nullptr;
}

HWND Hint() {
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        if (Pages.made[i].hint != nullptr) {
            return Pages.made[i].hint;
        }
    }
    return nullptr;
}

void Place(const MainPlan& plan) {
    WindowBatch inTab;
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        inTab.Move(TabPages.Page(i), plan.display);
    }
    for (int i = 0; i < TabPages.PageCount(); ++i) {
        PlacePage(i, plan);
    }
}

}  // namespace pages
