#include "assign/capture_step.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "assign/assign_record.h"
#include "assign/slot_grid.h"
#include "doubles/view_double.h"
#include "input/input_device_set.h"
#include "tool_state.h"

namespace {

constexpr std::uint8_t kSpace = 0x39;
constexpr std::uint8_t kEnter = 0x1C;
constexpr std::uint8_t kLeftShift = 0x2A;
constexpr std::uint8_t kRightShift = 0x36;
constexpr std::uint8_t kKeypadEnter = 0x9C;
constexpr std::uint8_t kUpArrow = 0xC8;

class CaptureStepTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetToolState();
        InstallFakeRadios();
        std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
        LoadPageGrid(0);
        LoadPageGrid(1);
        TheView().Reset();
    }
    void TearDown() override { ResetToolState(); }

    // With no devices opened, a tick takes the key state from keyDown as it stands.
    static void Tick(int page) { CaptureStep(page); }

    // A controller whose snapshot the test writes by hand: slot 0 holds no
    // device, so the reads leave the snapshot as set here.
    PadSnapshot& AttachPad() {
        InputDevices.snapshots[0] = PadSnapshot{};
        InputDevices.padCount = 1;
        return InputDevices.snapshots[0];
    }

    static std::string Caption(int page, int row, int slot) {
        return TheView().texts[FakeRadio(page, row, slot)];
    }

    static void ExpectGridUnchanged(int page,
                                    const std::int32_t (&before)[kRowCount][kSlotsPerRow]) {
        EXPECT_EQ(0, std::memcmp(before, SlotGrid[page], sizeof before));
    }
};

TEST_F(CaptureStepTest, OnePressFillsTheSelectedSlotAndMovesOn) {
    SlotCursor[1] = 9;  // row B slot 1, "Num 0"
    InputDevices.keyDown[kSpace] = 1;
    Tick(1);

    EXPECT_EQ(SlotGrid[1][1][1], 11);
    EXPECT_EQ(SlotGrid[1][2][0], 14);
    EXPECT_EQ(SlotCursor[1], 10);
    EXPECT_EQ(Caption(1, 1, 1), "Space");
    EXPECT_EQ(Caption(1, 2, 0), "Num 0");
    EXPECT_EQ(TheView().texts.size(), 24u) << "every caption of the page is rewritten";
    EXPECT_EQ(TheView().checks[FakeRadio(1, 1, 1)], 0u);
    EXPECT_EQ(TheView().checks[FakeRadio(1, 2, 1)], 1u);
    EXPECT_EQ(TheView().focused, FakeRadio(1, 2, 1));
    ASSERT_FALSE(TheView().calls.empty());
    EXPECT_EQ(TheView().calls.back(), "focus") << "the focus follows the selection, not before it";

    // Held: no second edit.
    TheView().Reset();
    Tick(1);
    EXPECT_EQ(SlotCursor[1], 10);
    EXPECT_TRUE(TheView().calls.empty());

    StoreGridsToRecord();
    EXPECT_EQ(AssignRecord[10], 12);
    EXPECT_EQ(AssignRecord[13], 13);
    for (int i = 0; i < kAssignRecordSize; ++i) {
        if (i != 10 && i != 13) {
            EXPECT_EQ(AssignRecord[i], DefaultAssignRecord[i]) << "byte " << i;
        }
    }
}

TEST_F(CaptureStepTest, ReleaseAndPressAgainMakesTheNextEdit) {
    SlotCursor[1] = 3;  // row X slot 0, "A"
    InputDevices.keyDown[kSpace] = 1;
    Tick(1);
    Tick(1);
    InputDevices.keyDown[kSpace] = 0;
    Tick(1);
    Tick(1);
    EXPECT_EQ(SlotCursor[1], 4);
    InputDevices.keyDown[kSpace] = 1;
    Tick(1);
    EXPECT_EQ(SlotCursor[1], 5);
    // Space moved on from row X to row Y, swapping with S each time.
    EXPECT_EQ(SlotGrid[1][4][0], 11);
    EXPECT_EQ(SlotGrid[1][3][0], 22);
    EXPECT_EQ(SlotGrid[1][2][0], 21);
}

TEST_F(CaptureStepTest, DeleteWinsOverAnyOtherPress) {
    SlotCursor[1] = 2;  // row C slot 0, "Space"
    InputDevices.keyDown[kDeleteScanCode] = 1;
    InputDevices.keyDown[kEnter] = 1;
    Tick(1);
    EXPECT_EQ(SlotGrid[1][2][0], 0);
    EXPECT_EQ(SlotGrid[1][2][1], 12) << "Enter stays where it was";
    EXPECT_EQ(SlotCursor[1], 3);

    // Delete works on the gamepad page too, and an empty slot still moves on.
    SlotCursor[0] = 8;
    InputDevices.keyDown[kDeleteScanCode] = 0;
    Tick(0);
    InputDevices.keyDown[kDeleteScanCode] = 1;
    Tick(0);
    EXPECT_EQ(SlotCursor[0], 9);
    EXPECT_EQ(SlotGrid[0][0][0], 1);
}

TEST_F(CaptureStepTest, TableOrderDecidesBetweenKeysOfOneTick) {
    SlotCursor[1] = 3;  // row X slot 0
    InputDevices.keyDown[kEnter] = 1;
    InputDevices.keyDown[kSpace] = 1;
    Tick(1);
    EXPECT_EQ(SlotGrid[1][3][0], 11) << "Space comes first";
    Tick(1);
    EXPECT_EQ(SlotCursor[1], 4) << "held Enter is not taken later";
}

TEST_F(CaptureStepTest, BothShiftKeysGiveShift) {
    for (std::uint8_t shift : {kLeftShift, kRightShift}) {
        SetUp();
        SlotCursor[1] = 7;  // row R slot 0, "W"
        InputDevices.keyDown[shift] = 1;
        Tick(1);
        EXPECT_EQ(SlotGrid[1][7][0], 15) << "scan code " << int(shift);
        EXPECT_EQ(Caption(1, 7, 0), "Shift");
    }
}

TEST_F(CaptureStepTest, EveryTableKeyReachesItsInput) {
    for (const KeyScanEntry& entry : KeyScanTable) {
        SetUp();
        SlotCursor[1] = 15;  // row R slot 1, empty
        InputDevices.keyDown[entry.scanCode] = 1;
        Tick(1);
        EXPECT_EQ(SlotGrid[1][7][1], entry.input + 1) << "scan code " << int(entry.scanCode);
    }
}

TEST_F(CaptureStepTest, PagesListenOnlyToTheirOwnInputs) {
    std::int32_t gamepad[kRowCount][kSlotsPerRow];
    std::int32_t keyboard[kRowCount][kSlotsPerRow];
    std::memcpy(gamepad, SlotGrid[0], sizeof gamepad);
    std::memcpy(keyboard, SlotGrid[1], sizeof keyboard);
    AttachPad();

    // The keyboard page: a gamepad button and keys outside the table.
    InputDevices.snapshots[0].buttons[0] = 1;
    InputDevices.keyDown[kKeypadEnter] = 1;
    InputDevices.keyDown[kUpArrow] = 1;
    Tick(1);
    EXPECT_EQ(SlotCursor[1], 0);

    // The gamepad page: a table key, button 11 and a full stick deflection.
    InputDevices.snapshots[0].buttons[10] = 1;
    InputDevices.snapshots[0].x = 1000;
    InputDevices.keyDown[kSpace] = 1;
    Tick(0);
    EXPECT_EQ(SlotCursor[0], 0);

    ExpectGridUnchanged(0, gamepad);
    ExpectGridUnchanged(1, keyboard);
    EXPECT_TRUE(TheView().calls.empty());
}

TEST_F(CaptureStepTest, LowestGamepadButtonOfOneTickWins) {
    AttachPad();
    SlotCursor[0] = 8;  // row A slot 1
    InputDevices.snapshots[0].buttons[2] = 1;
    InputDevices.snapshots[0].buttons[4] = 1;
    Tick(0);
    EXPECT_EQ(SlotGrid[0][0][1], 3);
    EXPECT_EQ(SlotGrid[0][2][0], 0);
    EXPECT_EQ(SlotCursor[0], 9);
}

TEST_F(CaptureStepTest, LastSlotWrapsToTheFirst) {
    SlotCursor[1] = 23;              // row R slot 2
    InputDevices.keyDown[0x2F] = 1;  // V
    Tick(1);
    EXPECT_EQ(SlotGrid[1][7][2], 19);
    EXPECT_EQ(SlotCursor[1], 0);
    EXPECT_EQ(TheView().checks[FakeRadio(1, 7, 2)], 0u);
    EXPECT_EQ(TheView().checks[FakeRadio(1, 0, 0)], 1u);
    EXPECT_EQ(TheView().focused, FakeRadio(1, 0, 0));
    EXPECT_EQ(TheView().checks.size(), 2u);
}

}  // namespace
