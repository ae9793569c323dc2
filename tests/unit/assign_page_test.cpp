#include "assign/assign_page.h"
#include "base/text_id.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "assign/assign_record.h"
#include "assign/capture_step.h"
#include "assign/slot_name.h"
#include "doubles/view_double.h"
#include "tool_state.h"

namespace {

class AssignPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolState();
        InstallFakeRadios();
    }
    void TearDown() override { ResetToolState(); }
};

TEST_F(AssignPageTest, RadioIdsSelectTheirSlot) {
    for (int row = 0; row < kRowCount; ++row) {
        for (int slot = 0; slot < kSlotsPerRow; ++slot) {
            HandlePageCommand(1, RadioId(row, slot));
            EXPECT_EQ(SlotCursor[1], row + 8 * slot) << "id " << RadioId(row, slot);
        }
    }
    EXPECT_EQ(SlotCursor[0], 0);
    HandlePageCommand(0, 1023);  // row Z slot 2
    EXPECT_EQ(SlotCursor[0], 21);
    EXPECT_TRUE(TheView().calls.empty()) << "a click changes no caption or check mark";
}

TEST_F(AssignPageTest, OtherIdsDoNothing) {
    SlotCursor[0] = 5;
    for (int id : {0, 1, 2, 999, 1000, 1004, 1028, 1033, 0xFFFF}) {
        HandlePageCommand(0, id);
    }
    EXPECT_EQ(SlotCursor[0], 5);
    EXPECT_TRUE(TheView().calls.empty());
    for (const auto byte : AssignRecord) {
        EXPECT_EQ(byte, 0);
    }
}

TEST_F(AssignPageTest, ResetRestoresOnePageOnly) {
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    LoadPageGrid(0);
    LoadPageGrid(1);
    // Edit both pages, then reset the keyboard page.
    SlotCursor[0] = 8;
    AssignSlot(0, 9);
    SlotCursor[1] = 3;
    AssignSlot(1, 18);
    std::memset(AssignRecord, 0, kAssignRecordSize);
    TheView().Reset();

    HandlePageCommand(1, IDC_RESET);
    EXPECT_EQ(0, std::memcmp(AssignRecord, DefaultAssignRecord, kAssignRecordSize));
    EXPECT_EQ(SlotGrid[1][3][0], 21) << "row X back to A";
    EXPECT_EQ(SlotGrid[0][0][1], 10) << "the gamepad page keeps its edit";
    EXPECT_EQ(SlotCursor[1], 3);
    EXPECT_EQ(SlotCursor[0], 8);
    EXPECT_TRUE(TheView().checks.empty());
    EXPECT_EQ(TheView().texts.size(), 24u);
    EXPECT_EQ(TheView().texts[FakeRadio(1, 3, 0)], "A");

    StoreGridsToRecord();
    std::uint8_t expected[kAssignRecordSize];
    std::memcpy(expected, DefaultAssignRecord, kAssignRecordSize);
    expected[9] = 11;  // button 10 on A
    EXPECT_EQ(0, std::memcmp(AssignRecord, expected, kAssignRecordSize));
}

TEST_F(AssignPageTest, InitTakesControlsChecksCursorAndShowsLabels) {
    ResetToolState();
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    SlotCursor[1] = 10;  // row C slot 1
    PageControls controls = {};
    WindowRef(&labels)[kRowCount] = controls.labels;
    for (int row = 0; row < kRowCount; ++row) {
        labels[row] = reinterpret_cast<WindowRef>(static_cast<std::uintptr_t>(0x500 + row));
        for (int slot = 0; slot < kSlotsPerRow; ++slot) {
            controls.radios[row * kSlotsPerRow + slot] = FakeRadio(1, row, slot);
        }
    }
    controls.hint = reinterpret_cast<WindowRef>(std::uintptr_t{0x600});
    controls.reset = reinterpret_cast<WindowRef>(std::uintptr_t{0x601});
    const char* const texts[kRowCount] = {"決定", "B", "", "X", "Y", "Z", "L", "R"};
    InitPageControls(1, controls, texts, TextEncoding::Utf8);

    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_EQ(SlotRadios[1][i], controls.radios[i]);
        EXPECT_EQ(SlotRadios[0][i], nullptr);
    }
    ASSERT_EQ(TheView().checks.size(), 1u);
    EXPECT_EQ(TheView().checks[FakeRadio(1, 2, 1)], 1u);
    EXPECT_EQ(TheView().calls.front(), "check");
    EXPECT_EQ(TheView().texts[labels[0]], "決定");
    EXPECT_EQ(TheView().texts[labels[2]], "");
    EXPECT_EQ(TheView().texts[labels[7]], "R");
    EXPECT_EQ(TheView().texts[FakeRadio(1, 2, 1)], "Enter");
    // The template's hint and Reset are Japanese; the language in use wins.
    EXPECT_EQ(TheView().texts[controls.hint], Shown(IDS_HINT));
    EXPECT_EQ(TheView().texts[controls.reset], Shown(IDS_RESET));
    EXPECT_EQ(TheView().texts.size(), 8u + 24u + 2u);
}

// A slot's name as the double renders it: "{IDS_SLOT_NAME:number|label|content}".
std::string NameOf(int page, int row, int slot) {
    SlotName name;
    ComposeSlotName(page, row, slot, name);
    return Shown(name.text);
}

std::string Named(int number, const std::string& label, const std::string& content) {
    return "{" + std::to_string(IDS_SLOT_NAME) + ":" + std::to_string(number) + "|" + label + "|" +
           content + "}";
}

TEST_F(AssignPageTest, SlotNamesSayTheRowTheNumberAndWhatTheSlotHolds) {
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    PageControls controls = {};
    for (int i = 0; i < kSlotCount; ++i) {
        controls.radios[i] = FakeRadio(0, i / kSlotsPerRow, i % kSlotsPerRow);
    }
    // Shift-JIS "決定" as the settings file may hold it, and an empty label.
    const char* const texts[kRowCount] = {"\x8C\x88\x92\xE8", "", "C", "X", "Y", "Z", "L", "R"};
    InitPageControls(0, controls, texts, TextEncoding::ShiftJis);

    const std::string empty = Shown(IDS_SLOT_EMPTY);
    EXPECT_EQ(NameOf(0, 0, 0), Named(1, "\x8C\x88\x92\xE8", "Button 1"));
    EXPECT_EQ(NameOf(0, 0, 2), Named(3, "\x8C\x88\x92\xE8", empty));
    EXPECT_EQ(NameOf(0, 1, 0), Named(1, "B", "Button 2")) << "an empty label names by the letter";
    EXPECT_EQ(NameOf(0, 7, 1), Named(2, "R", empty));
    SlotName name;
    ComposeSlotName(0, 0, 0, name);
    EXPECT_EQ(name.args[0].encoding, TextEncoding::ShiftJis)
        << "the label read as the page shows it";

    // Read when asked: the name follows the grid.
    SlotCursor[0] = 16;  // row A slot 2
    AssignSlot(0, 9);
    EXPECT_EQ(NameOf(0, 0, 2), Named(3, "\x8C\x88\x92\xE8", "Button 10"));
    ComposeSlotName(2, 8, 3, name);
    EXPECT_EQ(Shown(name.text), "") << "no slot, no name";
}

TEST_F(AssignPageTest, OnlySlotsWhoseContentChangedAreAnnounced) {
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    LoadPageGrid(1);
    EXPECT_TRUE(TheView().renamed.empty()) << "the first fill announces nothing";

    // Space into row B slot 1 (Num 0): the two slots that swapped, before the
    // focus moves on.
    SlotCursor[1] = 9;
    AssignAndAdvance(1, 10);
    EXPECT_EQ(TheView().renamed, (std::vector<WindowRef>{FakeRadio(1, 1, 1), FakeRadio(1, 2, 0)}));
    const std::vector<std::string>& calls = TheView().calls;
    const auto focus = std::find(calls.begin(), calls.end(), "focus");
    EXPECT_EQ(std::count(calls.begin(), focus, "renamed"), 2)
        << "announced while the filled slot still has the focus";

    // What the slot holds already, and Delete on an empty slot: nothing.
    TheView().Reset();
    SlotCursor[1] = 9;
    AssignAndAdvance(1, 10);
    SlotCursor[1] = 16;  // row A slot 2, empty
    AssignAndAdvance(1, -1);
    EXPECT_TRUE(TheView().renamed.empty());

    // Delete of a held slot, then Reset: the slots it gives back.
    AssignAndAdvance(1, -1);  // row B slot 2, X
    EXPECT_EQ(TheView().renamed, std::vector<WindowRef>{FakeRadio(1, 1, 2)});
    TheView().Reset();
    HandlePageCommand(1, IDC_RESET);
    EXPECT_EQ(TheView().renamed,
              (std::vector<WindowRef>{FakeRadio(1, 1, 1), FakeRadio(1, 1, 2), FakeRadio(1, 2, 0)}));
}

}  // namespace
