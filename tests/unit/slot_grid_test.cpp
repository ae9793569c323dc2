#include "assign/slot_grid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assign/assign_record.h"
#include "doubles/view_double.h"
#include "tool_state.h"

namespace {

class SlotGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolState();
        InstallFakeRadios();
    }

    void LoadRecord(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(bytes.size(), static_cast<size_t>(kAssignRecordSize));
        std::memcpy(AssignRecord, bytes.data(), kAssignRecordSize);
        LoadPageGrid(0);
        LoadPageGrid(1);
    }

    // The caption the view shows for (page, row, slot).
    static std::string Caption(int page, int row, int slot) {
        return TheView().texts[FakeRadio(page, row, slot)];
    }

    // Row captions of one page, slot 0 to 2 joined by '|'.
    static std::string RowCaptions(int page, int row) {
        return Caption(page, row, 0) + "|" + Caption(page, row, 1) + "|" + Caption(page, row, 2);
    }
};

TEST_F(SlotGridTest, DefaultRecordIsShownOnBothPages) {
    LoadRecord({DefaultAssignRecord, DefaultAssignRecord + kAssignRecordSize});

    const char* const gamepad[kRowCount] = {
        "Button 1|----|----", "Button 2|----|----", "Button 3|----|----", "Button 4|----|----",
        "Button 5|----|----", "Button 6|----|----", "Button 7|----|----", "Button 8|----|----"};
    const char* const keyboard[kRowCount] = {"Shift|Z|----", "Esc|Num 0|X", "Space|Enter|C",
                                             "A|----|----",  "S|----|----", "D|----|----",
                                             "Q|----|----",  "W|----|----"};
    for (int row = 0; row < kRowCount; ++row) {
        EXPECT_EQ(RowCaptions(0, row), gamepad[row]) << "row " << row;
        EXPECT_EQ(RowCaptions(1, row), keyboard[row]) << "row " << row;
    }
    EXPECT_EQ(TheView().calls.size(), 48u);  // all 24 captions of each page, nothing else
}

TEST_F(SlotGridTest, GridsFoldBackIntoTheSameRecord) {
    LoadRecord({DefaultAssignRecord, DefaultAssignRecord + kAssignRecordSize});
    StoreGridsToRecord();
    EXPECT_EQ(0, std::memcmp(AssignRecord, DefaultAssignRecord, kAssignRecordSize));

    const std::vector<std::uint8_t> edited = {18, 0,  11, 11, 11, 17, 0,  0,  12, 16, 0,  18, 14,
                                              14, 14, 0,  15, 15, 16, 11, 11, 0,  17, 13, 12};
    LoadRecord(edited);
    StoreGridsToRecord();
    EXPECT_EQ(std::vector<std::uint8_t>(AssignRecord, AssignRecord + kAssignRecordSize), edited);
}

TEST_F(SlotGridTest, WhatIsNotShownIsWrittenBackAsZero) {
    std::vector<std::uint8_t> record(kAssignRecordSize, 0);
    record[10] = record[11] = record[12] = record[14] = 11;  // Space, Enter, Esc, Shift on A
    record[0] = 5;                                           // a code below A
    record[1] = 10;
    record[15] = 19;  // codes above R
    record[16] = 255;
    record[2] = 18;
    LoadRecord(record);

    EXPECT_EQ(RowCaptions(1, 0), "Space|Enter|Esc");
    EXPECT_EQ(RowCaptions(0, 7), "Button 3|----|----");
    for (int row = 0; row < kRowCount; ++row) {
        if (row != 0) {
            EXPECT_EQ(RowCaptions(1, row), "----|----|----") << "row " << row;
        }
        if (row != 7) {
            EXPECT_EQ(RowCaptions(0, row), "----|----|----") << "row " << row;
        }
    }

    StoreGridsToRecord();
    std::vector<std::uint8_t> expected(kAssignRecordSize, 0);
    expected[10] = expected[11] = expected[12] = 11;
    expected[2] = 18;
    EXPECT_EQ(std::vector<std::uint8_t>(AssignRecord, AssignRecord + kAssignRecordSize), expected);
}

TEST_F(SlotGridTest, EachPageShowsOnlyItsOwnInputs) {
    std::vector<std::uint8_t> record(kAssignRecordSize, 0);
    record[9] = 11;   // gamepad button 10 on A
    record[10] = 12;  // Space on B
    std::memcpy(AssignRecord, record.data(), kAssignRecordSize);
    SlotCursor[0] = 5;
    SlotCursor[1] = 17;
    SlotGrid[1][3][2] = 22;  // stale cell of the keyboard page

    LoadPageGrid(0);
    EXPECT_EQ(SlotGrid[0][0][0], 10);
    EXPECT_EQ(SlotGrid[0][1][0], 0);
    EXPECT_EQ(SlotGrid[1][3][2], 22) << "loading one page leaves the other alone";
    EXPECT_EQ(SlotCursor[0], 5);
    EXPECT_EQ(SlotCursor[1], 17);
    EXPECT_EQ(TheView().checks.size(), 0u);

    LoadPageGrid(1);
    EXPECT_EQ(SlotGrid[1][0][0], 0);
    EXPECT_EQ(SlotGrid[1][1][0], 11);
    EXPECT_EQ(SlotGrid[1][3][2], 0);
}

TEST_F(SlotGridTest, AssignSwapsMovesAndEmpties) {
    LoadRecord({DefaultAssignRecord, DefaultAssignRecord + kAssignRecordSize});

    // Space (row C slot 0) onto Esc (row B slot 0): they change places.
    SlotCursor[1] = 1;
    AssignSlot(1, 10);
    EXPECT_EQ(SlotGrid[1][1][0], 11);
    EXPECT_EQ(SlotGrid[1][2][0], 13);

    // Space onto an empty slot (row X slot 1): it moves and leaves a hole.
    SlotCursor[1] = 11;
    AssignSlot(1, 10);
    EXPECT_EQ(SlotGrid[1][3][1], 11);
    EXPECT_EQ(SlotGrid[1][1][0], 0);

    // The input the slot already shows: nothing changes.
    std::int32_t before[kRowCount][kSlotsPerRow];
    std::memcpy(before, SlotGrid[1], sizeof before);
    AssignSlot(1, 10);
    EXPECT_EQ(0, std::memcmp(before, SlotGrid[1], sizeof before));

    // -1 empties the selected slot only.
    SlotCursor[1] = 2;  // row C slot 0, now Esc
    AssignSlot(1, -1);
    before[2][0] = 0;
    EXPECT_EQ(0, std::memcmp(before, SlotGrid[1], sizeof before));

    // A new input where nothing showed it yet.
    SlotCursor[0] = 8;  // row A slot 1
    AssignSlot(0, 9);
    EXPECT_EQ(SlotGrid[0][0][1], 10);
    EXPECT_EQ(SlotGrid[0][0][0], 1);

    // Another page's input never enters a page.
    std::memcpy(before, SlotGrid[0], sizeof before);
    AssignSlot(0, 10);
    AssignSlot(1, 3);
    EXPECT_EQ(0, std::memcmp(before, SlotGrid[0], sizeof before));
    EXPECT_EQ(SlotGrid[1][2][0], 0);

    // The grid changes, the captions wait for the caller's refresh.
    EXPECT_EQ(TheView().calls.size(), 48u);
}

TEST_F(SlotGridTest, CursorRunsDownAColumnThenWraps) {
    SlotCursor[1] = 7;
    AdvanceCursor(1);
    EXPECT_EQ(SlotCursor[1], 8);
    SlotCursor[1] = 23;
    AdvanceCursor(1);
    EXPECT_EQ(SlotCursor[1], 0);
    EXPECT_EQ(SlotCursor[0], 0);
}

TEST_F(SlotGridTest, RadioCheckSendsOneOrZero) {
    SetRadioCheck(FakeRadio(0, 2, 1), 7);
    SetRadioCheck(FakeRadio(0, 2, 2), 0);
    EXPECT_EQ(TheView().checks[FakeRadio(0, 2, 1)], 1u);
    EXPECT_EQ(TheView().checks[FakeRadio(0, 2, 2)], 0u);
}

}  // namespace
