// The window toolkit on real controls: the tab control with the two real
// pages (template 102), the combo box, the control font and a pass of the
// window's layout, on the 1024 x 768 screen that wine-run gives.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <set>
#include <string>

#include "app/main_window_state_win32.h"
#include "app/page_table_win32.h"
#include "app/pages_win32.h"
#include "app/window_layout_win32.h"
#include "assign/assign_page.h"
#include "res/resource.h"
#include "ui/combo_box_control_win32.h"
#include "ui/control_font_win32.h"
#include "ui/tab_page_set_win32.h"
#include "ui/texts.h"
#include "ui/wide_text_win32.h"

// The program's globals that the main window's layout works on.
TabPageSet TabPages;
MainWindowState MainWindow = {};

namespace {

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

HWND CreateHost(int width, int height) {
    return CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, Instance(), nullptr);
}

// The rows' labels the pages are made with, as the start-up hands them.
LPARAM Labels() {
    static const RowLabels labels = {{"A", "B", "C", "X", "Y", "Z", "L", "R"},
                                     TextEncoding::ShiftJis};
    return reinterpret_cast<LPARAM>(&labels);
}

bool HasVisibleStyle(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::wstring TabText(HWND tab, int index) {
    wchar_t buffer[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

class TabPageSetTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { InitCommonControls(); }

    void SetUp() override {
        host_ = CreateHost(480, 328);
        ASSERT_NE(host_, nullptr);
        tab_ = CreateWindowExA(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 12, 12, 455,
                               255, host_, nullptr, Instance(), nullptr);
        ASSERT_NE(tab_, nullptr);
    }
    void TearDown() override { DestroyWindow(host_); }

    // Exactly the page of `index` is visible, it sits at (5, 25) in the tab
    // control, and its tab is the selected one.
    void ExpectShown(const TabPageSet& set, int index) {
        ASSERT_EQ(set.PageCount(), 2);
        EXPECT_EQ(set.CurrentSelection(), index);
        for (int i = 0; i < 2; ++i) {
            HWND page = set.Page(i);
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(HasVisibleStyle(page), i == index) << "page " << i;
            RECT rect = {};
            GetWindowRect(page, &rect);
            MapWindowPoints(HWND_DESKTOP, tab_, reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(rect.left, 5) << "page " << i;
            EXPECT_EQ(rect.top, 25) << "page " << i;
        }
    }

    HWND host_ = nullptr;
    HWND tab_ = nullptr;
};

TEST_F(TabPageSetTest, BuildShowsTheInitialPageOrTheFirst) {
    const struct {
        int initial;
        int shown;
    } cases[] = {{-1, 0}, {2, 0}, {5, 0}, {1, 1}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.initial);
        TabPageSet set;
        set.Build(tab_, Instance(), PageTable, c.initial, 5, 25, Labels());
        EXPECT_EQ(set.Tab(), tab_);
        ASSERT_EQ(set.ItemCount(), 2) << "a rebuild left old tabs behind";
        EXPECT_TRUE(TabText(tab_, 0) == L"ゲームパッド");
        EXPECT_TRUE(TabText(tab_, 1) == L"キーボード");
        ExpectShown(set, c.shown);
    }
}

TEST_F(TabPageSetTest, SelectFollowsTheTabOrAnIndex) {
    TabPageSet set;
    set.Build(tab_, Instance(), PageTable, 0, 5, 25, Labels());
    // A click on a tab changes the tab control's selection first.
    SendMessageA(tab_, TCM_SETCURSEL, 1, 0);
    set.Select(-1);
    ExpectShown(set, 1);
    set.Select(0);
    ExpectShown(set, 0);
}

RECT RectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The text's room in the control's own font: one line, or lines of `width`.
SIZE TextRoom(HWND control, int width) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    HDC dc = GetDC(control);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT room = {0, 0, width, 0};
    DrawTextW(dc, text, -1, &room, DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    ReleaseDC(control, dc);
    return {room.right, room.bottom};
}

// Texts longer than any language has today, measured in the controls' own
// fonts by one pass of the window's layout: Reset widens to the left, the
// hint wraps beside it, the page and the tab grow to hold both, and OK and
// Cancel widen with the window; what is already wide enough stays as it is.
TEST_F(TabPageSetTest, LongTextsAreShownWhole) {
    MainWindowState& state = MainWindow;
    state.window = host_;
    state.tab = tab_;
    state.dpi = 96;
    state.ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 281, 275, 88, 21, host_,
                               nullptr, Instance(), nullptr);
    state.cancel = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE, 379, 275, 88, 21,
                                   host_, nullptr, Instance(), nullptr);
    state.controlsFace = ChooseFont(ControlFontDescription(96), 12, 96, 96, L"OK Cancel", nullptr,
                                    state.controlsFont);
    for (HWND control : {state.tab, state.ok, state.cancel}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.controlsFont.Handle()),
                     FALSE);
    }
    static const RowLabels labels = {{"A", "B", "C", "X", "Y", "Z", "L", "R"},
                                     TextEncoding::ShiftJis};
    pages::Build(tab_, Instance(), 0, labels, 96, nullptr);
    const LayoutPass pass = {LayoutCause::FrameChange, 0, 0};
    LayOutMainWindow(state, pass);
    HWND page = TabPages.Page(0);
    HWND hint = GetDlgItem(page, kHintId);
    HWND reset = GetDlgItem(page, IDC_RESET);
    HWND cancel = state.cancel;
    const RECT resetBefore = RectOf(reset);
    const RECT hintBefore = RectOf(hint);
    RECT client = {};
    GetClientRect(host_, &client);
    ASSERT_EQ(client.right, 474);

    SetWindowTextW(reset, L"&Restablecer los valores");
    SetWindowTextW(hint, L"Pulsa Supr para vaciar la casilla elegida, o pulsa otra tecla.");
    SetWindowTextW(cancel, L"Cancelar sin guardar nada");
    LayOutMainWindow(state, pass);

    const RECT resetRect = RectOf(reset);
    EXPECT_EQ(resetRect.right, resetBefore.right);
    EXPECT_LE(TextRoom(reset, 0).cx, resetRect.right - resetRect.left - 8);
    const RECT hintRect = RectOf(hint);
    EXPECT_EQ(hintRect.left, hintBefore.left);
    EXPECT_LT(hintRect.right, resetRect.left);
    EXPECT_EQ(GetWindowLongW(hint, GWL_STYLE) & SS_CENTERIMAGE, 0);
    EXPECT_LE(TextRoom(hint, hintRect.right - hintRect.left).cy, hintRect.bottom - hintRect.top);
    EXPECT_GT(hintRect.bottom, hintBefore.bottom);
    EXPECT_GE(RectOf(page).bottom, hintRect.bottom);
    EXPECT_GT(RectOf(tab_).bottom, hintRect.bottom);
    const RECT cancelRect = RectOf(cancel);
    EXPECT_LE(TextRoom(cancel, 0).cx, cancelRect.right - cancelRect.left - 8);
    EXPECT_EQ(RectOf(state.ok).right - RectOf(state.ok).left, cancelRect.right - cancelRect.left);
    EXPECT_EQ(cancelRect.right, RectOf(tab_).right);
    GetClientRect(host_, &client);
    EXPECT_GT(client.right, 474);
    EXPECT_EQ(client.right, state.plan.clientWidth);
    EXPECT_EQ(client.bottom, state.plan.clientHeight);

    // Short texts again: one line, centred, in the drawing's own place.
    SetWindowTextW(hint, L"Delete");
    LayOutMainWindow(state, pass);
    EXPECT_NE(GetWindowLongW(hint, GWL_STYLE) & SS_CENTERIMAGE, 0);
}

TEST_F(TabPageSetTest, AttachRemovesTabsAndIgnoresNull) {
    TabPageSet set;
    set.Attach(tab_);
    set.InsertItem(L"one", -1);
    set.InsertItem(L"two", -1);
    set.InsertItem(L"zero", 0);
    ASSERT_EQ(set.ItemCount(), 3);
    EXPECT_TRUE(TabText(tab_, 0) == L"zero");
    EXPECT_TRUE(TabText(tab_, 2) == L"two");

    set.Attach(nullptr);
    EXPECT_EQ(set.Tab(), tab_);
    EXPECT_EQ(set.ItemCount(), 3);

    set.Attach(tab_);
    EXPECT_EQ(set.ItemCount(), 0);
}

class ComboBoxTest : public testing::Test {
  protected:
    void SetUp() override {
        host_ = CreateHost(480, 328);
        HWND combo = CreateWindowExA(0, "COMBOBOX", "",
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 12, 275,
                                     88, 100, host_, nullptr, Instance(), nullptr);
        ASSERT_NE(combo, nullptr);
        combo_.Attach(combo);
        combo_.Attach(nullptr);
        ASSERT_EQ(combo_.Window(), combo);
    }
    void TearDown() override { DestroyWindow(host_); }

    void AddEditions() {
        EXPECT_EQ(combo_.AddItem("MAPLE", -1), 0);
        EXPECT_EQ(combo_.AddItem("CEDAR", -1), 1);
    }

    HWND host_ = nullptr;
    ComboBoxControl combo_;
};

TEST_F(ComboBoxTest, SelectByTextMatchesWholeTextCaseSensitively) {
    AddEditions();
    wchar_t text[300] = {};
    EXPECT_EQ(combo_.ItemText(1, text, 300), 5);
    EXPECT_STREQ(text, L"CEDAR");

    EXPECT_TRUE(combo_.SelectByText("CEDAR", true));
    EXPECT_EQ(combo_.CurrentSelection(), 1);

    EXPECT_FALSE(combo_.SelectByText("cedar", false));
    EXPECT_EQ(combo_.CurrentSelection(), 1);
    EXPECT_FALSE(combo_.SelectByText("CEDA", false));
    EXPECT_EQ(combo_.CurrentSelection(), 1);

    EXPECT_FALSE(combo_.SelectByText("cedar", true));
    EXPECT_EQ(combo_.CurrentSelection(), 0);
}

TEST_F(ComboBoxTest, EmptyListSelectsNothing) {
    EXPECT_FALSE(combo_.SelectByText("MAPLE", true));
    EXPECT_FALSE(combo_.SelectByText("MAPLE", false));
    EXPECT_EQ(combo_.CurrentSelection(), -1);
    combo_.SetSelection(0, true);
    EXPECT_EQ(combo_.CurrentSelection(), -1);
}

TEST_F(ComboBoxTest, SetSelectionFallsBackToTheFirstItem) {
    AddEditions();
    // Windows clears the selection for an index past the end, Wine keeps it;
    // from no selection both leave nothing selected.
    combo_.SetSelection(5, false);
    EXPECT_EQ(combo_.CurrentSelection(), -1);
    combo_.SetSelection(5, true);
    EXPECT_EQ(combo_.CurrentSelection(), 0);
    combo_.SetSelection(1, true);
    EXPECT_EQ(combo_.CurrentSelection(), 1);
    combo_.SetSelection(-1, true);
    EXPECT_EQ(combo_.CurrentSelection(), 0);
}

TEST_F(ComboBoxTest, ItemTextLongerThanTheBufferIsNotCopied) {
    const std::string longText(400, 'x');
    combo_.AddItem(longText.c_str(), -1);
    combo_.AddItem("MAPLE", -1);
    wchar_t text[300] = {};
    EXPECT_EQ(combo_.ItemText(0, text, 300), CB_ERR);
    EXPECT_STREQ(text, L"");
    EXPECT_TRUE(combo_.SelectByText("MAPLE", false));
    EXPECT_EQ(combo_.CurrentSelection(), 1);
}

TEST(ControlFont, IsTheShiftJisGothicAtTwelvePixels) {
    const LOGFONTW description = ControlFontDescription(96);
    LOGFONTW expected = {};
    expected.lfHeight = -12;
    expected.lfWeight = 400;
    expected.lfCharSet = 128;
    expected.lfOutPrecision = 3;
    expected.lfClipPrecision = 2;
    expected.lfQuality = 1;
    expected.lfPitchAndFamily = 0x31;
    // ＭＳ Ｐゴシック, whatever the system's code page.
    const wchar_t face[] = {0xFF2D, 0xFF33, 0x0020, 0xFF30, 0x30B4, 0x30B7, 0x30C3, 0x30AF};
    std::memcpy(expected.lfFaceName, face, sizeof(face));
    EXPECT_EQ(std::memcmp(&description, &expected, sizeof(expected)), 0);

    ControlFont font;
    font.CreateShowing(description, L"");
    ASSERT_NE(font.Handle(), nullptr);
    const HFONT first = font.Handle();
    font.CreateShowing(description, L"");
    EXPECT_NE(font.Handle(), nullptr);
    // The replaced font was deleted.
    LOGFONTA left = {};
    EXPECT_EQ(GetObjectA(first, sizeof(left), &left), 0);
}

// Every language's block is found by the choice table's LANGID, and the
// controls' and pages' texts of each show in a face with all their glyphs.
TEST(ControlFont, ShowsTheTextsOfEveryLanguage) {
    std::set<std::wstring> questions;
    for (int i = 0; i < LanguageCount; ++i) {
        SCOPED_TRACE(Languages[i].name);
        UseLanguage(Languages[i].texts);
        WideText texts;
        for (TextId text = IDS_OK; text <= IDS_NO_CONTROLLER; ++text) {
            texts.AppendOwn(text, 0);
        }
        EXPECT_TRUE(questions.insert(WideText(IDS_ASK_SAVE).Get()).second)
            << "the same block as another language";
        ControlFont font;
        font.CreateShowing(ControlFontDescription(96), texts.Get());
        ASSERT_NE(font.Handle(), nullptr);
        EXPECT_EQ(MissingGlyphs(font.Handle(), texts.Get()), 0);
    }
    UseLanguage(0x0411);
}

}  // namespace
