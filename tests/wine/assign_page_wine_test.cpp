// The assignment page as the real dialog manager builds it from template 102.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assign/assign_page.h"
#include "assign/assign_page_win32.h"
#include "assign/assign_record.h"
#include "assign/slot_grid.h"

namespace {

constexpr int kControlCount = 34;
constexpr int kRowY[kRowCount] = {5, 21, 35, 51, 65, 81, 95, 111};
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

struct ExpectedControl {
    int id;
    WORD classAtom;
    DWORD style;
    short x, y, cx, cy;
    std::wstring text;
};

// The 34 controls in template order.
std::vector<ExpectedControl> ExpectedControls() {
    std::vector<ExpectedControl> controls;
    const wchar_t* const letters[kRowCount] = {L"A", L"B", L"C", L"X", L"Y", L"Z", L"L", L"R"};
    for (int row = 0; row < kRowCount; ++row) {
        controls.push_back({LabelId(row), kStaticAtom,
                            WS_CHILD | WS_VISIBLE | WS_GROUP | SS_RIGHT | SS_CENTERIMAGE, 5,
                            static_cast<short>(kRowY[row]), 85, 10, letters[row]});
    }
    for (int row = 0; row < kRowCount; ++row) {
        for (int slot = 0; slot < kSlotsPerRow; ++slot) {
            const DWORD group = row == 0 && slot == 0 ? WS_GROUP : 0;
            controls.push_back({RadioId(row, slot), kButtonAtom,
                                WS_CHILD | WS_VISIBLE | group | BS_AUTORADIOBUTTON,
                                static_cast<short>(95 + 55 * slot), static_cast<short>(kRowY[row]),
                                45, 10, L""});
        }
    }
    controls.push_back({0xFFFF, kStaticAtom,
                        WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_CENTERIMAGE, 5, 130, 190,
                        15, L"※Deleteキーで設定を消せます"});
    controls.push_back({IDC_RESET, kButtonAtom, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        200, 130, 50, 15, L"リセット(&R)"});
    return controls;
}

// Reads a string or ordinal field of a classic dialog template.
const WORD* ReadField(const WORD* p, WORD* ordinal, std::wstring* text) {
    *ordinal = 0;
    text->clear();
    if (*p == 0xFFFF) {
        *ordinal = p[1];
        return p + 2;
    }
    while (*p != 0) {
        text->push_back(static_cast<wchar_t>(*p++));
    }
    return p + 1;
}

std::string WindowText(HWND window) {
    char buffer[128] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

class AssignPageWine : public ::testing::Test {
  protected:
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(window, message, wParam, lParam);
    }

    void SetUp() override {
        std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
        std::memset(SlotGrid, 0, sizeof SlotGrid);
        SlotCursor[0] = SlotCursor[1] = 0;
        labels_ = {{"A", "B", "C", "X", "Y", "Z", "L", "R"}, TextEncoding::ShiftJis};

        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PadloomPageHost";
        RegisterClassA(&windowClass);
        host_ = CreateWindowA("PadloomPageHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
    }

    void TearDown() override { DestroyWindow(host_); }

    HWND CreatePage(DLGPROC procedure) {
        HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ASSIGN_PAGE),
                                       host_, procedure, reinterpret_cast<LPARAM>(&labels_));
        if (page != nullptr) {
            ShowWindow(page, SW_SHOW);
        }
        return page;
    }

    static HWND Radio(HWND page, int row, int slot) { return GetDlgItem(page, RadioId(row, slot)); }

    // The ids of the checked radio buttons of a page.
    static std::vector<int> CheckedRadios(HWND page) {
        std::vector<int> checked;
        for (int row = 0; row < kRowCount; ++row) {
            for (int slot = 0; slot < kSlotsPerRow; ++slot) {
                if (SendMessageA(Radio(page, row, slot), BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    checked.push_back(RadioId(row, slot));
                }
            }
        }
        return checked;
    }

    HWND host_ = nullptr;
    RowLabels labels_ = {};  // what the start-up hands the pages
};

TEST_F(AssignPageWine, TemplateIsTheClassicPageLayout) {
    HRSRC found = FindResourceExA(nullptr, MAKEINTRESOURCEA(5) /* RT_DIALOG */,
                                  MAKEINTRESOURCEA(IDD_ASSIGN_PAGE),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(found, nullptr);
    const WORD* p = static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(p, nullptr);

    DLGTEMPLATE header;
    std::memcpy(&header, p, sizeof header);
    EXPECT_EQ(header.style, static_cast<DWORD>(WS_CHILD | DS_SETFONT)) << "classic, hidden";
    EXPECT_EQ(header.dwExtendedStyle, 0u);
    ASSERT_EQ(header.cdit, kControlCount);
    EXPECT_EQ(header.x, 0);
    EXPECT_EQ(header.y, 0);
    EXPECT_EQ(header.cx, 252);
    EXPECT_EQ(header.cy, 151);
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + 18);
    WORD ordinal;
    std::wstring text;
    p = ReadField(p, &ordinal, &text);
    EXPECT_TRUE(ordinal == 0 && text.empty()) << "no menu";
    p = ReadField(p, &ordinal, &text);
    EXPECT_TRUE(ordinal == 0 && text.empty()) << "default class";
    p = ReadField(p, &ordinal, &text);
    EXPECT_EQ(text, L"") << "no title";
    EXPECT_EQ(*p++, 9) << "point size";
    p = ReadField(p, &ordinal, &text);
    EXPECT_EQ(text, L"ＭＳ Ｐゴシック");

    const std::vector<ExpectedControl> expected = ExpectedControls();
    for (int i = 0; i < kControlCount; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<std::uintptr_t>(p) + 3) &
                                          ~std::uintptr_t{3});
        DLGITEMTEMPLATE item;
        std::memcpy(&item, p, sizeof item);
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + 18);
        WORD classAtom;
        std::wstring className;
        p = ReadField(p, &classAtom, &className);
        WORD textOrdinal;
        std::wstring itemText;
        p = ReadField(p, &textOrdinal, &itemText);
        const WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);

        const ExpectedControl& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(item.dwExtendedStyle, 0u);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(classAtom, want.classAtom);
        EXPECT_TRUE(itemText == want.text);
        EXPECT_EQ(extra, 0);
    }
}

TEST_F(AssignPageWine, PageShowsItsControlsLabelsAndGrid) {
    labels_.texts[0] = "\x8c\x88\x92\xe8";  // 決定 in Shift-JIS
    labels_.texts[3] = "";
    HWND page = CreatePage(KeyboardPageProc);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(GetWindowLongA(page, GWL_STYLE) & WS_CAPTION);

    const std::vector<ExpectedControl> expected = ExpectedControls();
    HWND child = GetWindow(page, GW_CHILD);
    for (int i = 0; i < kControlCount; ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        ASSERT_NE(child, nullptr);
        const ExpectedControl& want = expected[i];
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(className, want.classAtom == kButtonAtom ? "Button" : "Static");
        // The platform gives the checked radio button WS_TABSTOP, so that tabbing
        // reaches the group; the template gives it to none of them.
        const bool radio = want.id >= RadioId(0, 0) && want.id <= RadioId(7, 2);
        const bool checked = want.id == RadioId(0, 0);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        EXPECT_EQ(style, want.style | (radio && checked ? WS_TABSTOP : 0));
        if (i >= kControlCount - 2) {
            wchar_t text[64] = {};
            GetWindowTextW(child, text, 64);
            EXPECT_TRUE(want.text == text);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);

    // Labels from the settings, captions from the default record.
    EXPECT_EQ(WindowText(GetDlgItem(page, LabelId(0))), "\x8c\x88\x92\xe8");
    EXPECT_EQ(WindowText(GetDlgItem(page, LabelId(1))), "B");
    EXPECT_EQ(WindowText(GetDlgItem(page, LabelId(3))), "");
    EXPECT_EQ(WindowText(Radio(page, 1, 0)), "Esc");
    EXPECT_EQ(WindowText(Radio(page, 1, 1)), "Num 0");
    EXPECT_EQ(WindowText(Radio(page, 7, 2)), "----");
    EXPECT_EQ(CheckedRadios(page), std::vector<int>{RadioId(0, 0)});
    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_EQ(SlotRadios[1][i], Radio(page, i / kSlotsPerRow, i % kSlotsPerRow));
    }

    // Tab goes from the checked radio button to Reset and back.
    HWND checked = Radio(page, 0, 0);
    EXPECT_EQ(GetNextDlgTabItem(page, checked, FALSE), GetDlgItem(page, IDC_RESET));
    EXPECT_EQ(GetNextDlgTabItem(page, GetDlgItem(page, IDC_RESET), FALSE), checked);
}

TEST_F(AssignPageWine, ClickMovesCheckMarkAndCursor) {
    HWND gamepad = CreatePage(GamepadPageProc);
    ASSERT_NE(gamepad, nullptr);
    HWND keyboard = CreatePage(KeyboardPageProc);
    ASSERT_NE(keyboard, nullptr);

    SendMessageA(Radio(gamepad, 5, 2), BM_CLICK, 0, 0);  // row Z, slot 2
    EXPECT_EQ(SlotCursor[0], 21);
    EXPECT_EQ(SlotCursor[1], 0);
    EXPECT_EQ(CheckedRadios(gamepad), std::vector<int>{1023});
    EXPECT_EQ(CheckedRadios(keyboard), std::vector<int>{1001});

    SendMessageA(Radio(keyboard, 1, 1), BM_CLICK, 0, 0);
    EXPECT_EQ(SlotCursor[1], 9);
    EXPECT_EQ(CheckedRadios(keyboard), std::vector<int>{1006});
    EXPECT_EQ(WindowText(Radio(keyboard, 1, 1)), "Num 0") << "captions do not move";
}

TEST_F(AssignPageWine, ResetRestoresItsOwnPageOnly) {
    HWND gamepad = CreatePage(GamepadPageProc);
    ASSERT_NE(gamepad, nullptr);
    HWND keyboard = CreatePage(KeyboardPageProc);
    ASSERT_NE(keyboard, nullptr);

    SendMessageA(Radio(keyboard, 3, 0), BM_CLICK, 0, 0);  // row X slot 0, "A"
    AssignSlot(1, 18);                                    // V there instead
    RefreshSlotCaptions(1);
    SlotCursor[0] = 8;
    AssignSlot(0, 9);
    RefreshSlotCaptions(0);
    ASSERT_EQ(WindowText(Radio(keyboard, 3, 0)), "V");

    SendMessageA(keyboard, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    EXPECT_EQ(WindowText(Radio(keyboard, 3, 0)), "V") << "id 1 is not Reset";

    SendMessageA(keyboard, WM_COMMAND, MAKEWPARAM(IDC_RESET, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(keyboard, IDC_RESET)));
    EXPECT_EQ(WindowText(Radio(keyboard, 3, 0)), "A");
    EXPECT_EQ(WindowText(Radio(keyboard, 0, 0)), "Shift");
    EXPECT_EQ(SlotCursor[1], 3);
    EXPECT_EQ(CheckedRadios(keyboard), std::vector<int>{1013});
    EXPECT_EQ(WindowText(Radio(gamepad, 0, 1)), "Button 10") << "the gamepad page keeps its edit";
    EXPECT_EQ(SlotCursor[0], 8);
}

}  // namespace
