#include <cstring>
#include <string>
#include <vector>

#include "assign/assign_record.h"
#include "assign/capture_step.h"
#include "assign/slot_grid.h"
#include "input_fixture.h"
#include "tool_state.h"

namespace {

using Lines = std::vector<std::string>;

class InputPollTest : public InputTest {};

TEST_F(InputPollTest, KeyEdgesFollowTheEventsOfEachTick) {
    Open(0);
    d.keyboard.PushKey(kSpaceKey, true);
    std::vector<EdgeState> seen;
    for (int i = 0; i < 3; ++i) {
        Tick();
        seen.push_back(Key(kSpaceKey));
    }
    d.keyboard.PushKey(kSpaceKey, false);
    for (int i = 0; i < 2; ++i) {
        Tick();
        seen.push_back(Key(kSpaceKey));
    }
    EXPECT_EQ((std::vector<EdgeState>{2, 3, 3, 1, 0}), seen);

    // Down and up within one tick: the press is never seen.
    d.keyboard.PushKey(kEnterKey, true);
    d.keyboard.PushKey(kEnterKey, false);
    Tick();
    EXPECT_EQ(0, InputDevices.KeyDown(kEnterKey));
    EXPECT_EQ(kEdgeIdle, Key(kEnterKey));
}

TEST_F(InputPollTest, ReadsRunMouseKeyboardControllersInTurnEvenWhenOneFails) {
    Open(1);
    d.mouse.Answer(DeviceOp::GetDeviceData, kDiErrInputLost);
    d.mouse.Answer(DeviceOp::Acquire, kDiNoEffect);  // not exactly 0, so no second read
    Tick();
    EXPECT_EQ((Lines{"mouse GetDeviceData 8", "mouse Acquire", "kbd GetDeviceData 8", "pad0 Poll",
                     "pad0 GetDeviceData 8"}),
              d.Calls());
}

TEST_F(InputPollTest, RepeatedMouseReadNeverAsksForMoreThanTheBuffer) {
    Open(0);
    d.mouse.AnswerNext(DeviceOp::GetDeviceData, kDiErrInputLost);
    d.mouse.reportedCount = 50;
    Tick();
    EXPECT_EQ((Lines{"mouse GetDeviceData 8", "mouse Acquire", "mouse GetDeviceData 8",
                     "kbd GetDeviceData 8"}),
              d.Calls());
}

TEST_F(InputPollTest, RecordsOutsideTheirFieldAreIgnoredAndCountsClamped) {
    Open(1);
    InputDeviceSet before = InputDevices;
    d.keyboard.Push(256, 0x80);
    d.keyboard.Push(0xFFFFFFFFu, 0x80);
    d.keyboard.PushKey(kSpaceKey, true);
    d.keyboard.reportedCount = 1000;  // the platform claims more than the buffer holds
    Controller(0).Push(kJoyZ, 0x80);
    Controller(0).Push(20, 0x80);  // a POV hat
    Controller(0).Push(80, 0x80);  // past button 32
    Controller(0).Push(0xFFFFFFF0u, 0x80);
    Controller(0).Push(kJoyButton0 + 31, 0x80);
    Controller(0).reportedCount = 1000;
    Tick();

    EXPECT_EQ(1, InputDevices.KeyDown(kSpaceKey));
    int down = 0;
    for (int k = 0; k < kKeyCount; ++k)
        down += InputDevices.KeyDown(k);
    EXPECT_EQ(1, down);
    const PadSnapshot& pad = *InputDevices.PadSnapshotAt(0);
    EXPECT_EQ(1, pad.buttons[31]);
    int buttons = 0;
    for (std::uint8_t b : pad.buttons)
        buttons += b;
    EXPECT_EQ(1, buttons);
    EXPECT_EQ(0, pad.x);
    EXPECT_EQ(0, pad.y);
    // Everything that is not input state is as it was.
    EXPECT_EQ(before.padCount, InputDevices.padCount);
    EXPECT_EQ(before.padLimit, InputDevices.padLimit);
    EXPECT_EQ(before.thresholdX, InputDevices.thresholdX);
    EXPECT_EQ(before.thresholdY, InputDevices.thresholdY);
    EXPECT_EQ(before.window, InputDevices.window);
    EXPECT_EQ(before.directInput, InputDevices.directInput);
    EXPECT_EQ(0, std::memcmp(before.pads, InputDevices.pads, sizeof before.pads));
    EXPECT_EQ(0u, InputDevices.selectedPad);
}

TEST_F(InputPollTest, ControllerButtonsShowOnlyInTheTickOfTheirPress) {
    Open(1);
    Controller(0).PushKey(kJoyButton0 + 2, true);
    std::vector<EdgeState> held;
    for (int i = 0; i < 3; ++i) {
        Tick();
        held.push_back(Pad(2));
    }
    EXPECT_EQ((std::vector<EdgeState>{2, 1, 0}), held);

    Controller(0).PushKey(kJoyButton0 + 4, true);
    Controller(0).PushKey(kJoyButton0 + 4, false);
    Tick();
    EXPECT_EQ(kEdgeIdle, Pad(4));
}

TEST_F(InputPollTest, DirectionsCountOnlyAtFullDeflectionAndPersist) {
    Open(1);
    constexpr int kUp = 32, kDown = 33, kLeft = 34, kRight = 35;
    Controller(0).Push(kJoyY, static_cast<std::uint32_t>(-1000));
    std::vector<EdgeState> up;
    for (int i = 0; i < 3; ++i) {
        Tick();
        up.push_back(Pad(kUp));
    }
    EXPECT_EQ((std::vector<EdgeState>{2, 3, 3}), up);

    // An X event alone leaves y, and so up, where it was.
    Controller(0).Push(kJoyX, 1000);
    Tick();
    EXPECT_EQ(kEdgeHeld, Pad(kUp));
    EXPECT_EQ(kEdgePressed, Pad(kRight));
    EXPECT_EQ(-1000, InputDevices.PadSnapshotAt(0)->y);

    Controller(0).Push(kJoyY, static_cast<std::uint32_t>(-999));
    Controller(0).Push(kJoyX, static_cast<std::uint32_t>(-999));
    Tick();
    EXPECT_EQ(kEdgeReleased, Pad(kUp));
    Tick();
    EXPECT_EQ(kEdgeIdle, Pad(kUp));
    EXPECT_EQ(kEdgeIdle, Pad(kDown));
    EXPECT_EQ(kEdgeIdle, Pad(kLeft));

    Controller(0).Push(kJoyY, 1000);
    Tick();
    EXPECT_EQ(kEdgePressed, Pad(kDown));
}

TEST_F(InputPollTest, OnlyTheFirstControllerFeedsThePadEdges) {
    Open(2);
    Controller(1).PushKey(kJoyButton0, true);
    Controller(1).Push(kJoyX, static_cast<std::uint32_t>(-1000));
    Tick();
    EXPECT_EQ(1, InputDevices.PadSnapshotAt(1)->buttons[0]);
    EXPECT_EQ(1, InputDevices.PadSnapshotAt(1)->directions[2]);
    for (int n = 0; n < kPadInputCount; ++n)
        EXPECT_EQ(kEdgeIdle, Pad(n)) << n;

    Controller(0).PushKey(kJoyButton0 + 1, true);
    Tick();
    EXPECT_EQ(kEdgePressed, Pad(1));
}

TEST_F(InputPollTest, ControllerThatCannotBeReacquiredStopsTheControllerReads) {
    Open(2);
    Controller(0).PushKey(kJoyButton0, true);
    Tick();
    ASSERT_EQ(kEdgePressed, Pad(0));

    Controller(0).Answer(DeviceOp::Poll, kDiErrInputLost);
    Controller(0).Answer(DeviceOp::Acquire, kDiNoEffect);  // not exactly 0 either
    Controller(1).PushKey(kJoyButton0, true);
    d.logCount = 0;
    EXPECT_EQ(kEFail, InputDevices.ReadControllers());
    EXPECT_EQ((Lines{"pad0 Poll", "pad0 Acquire"}), d.Calls());
    EXPECT_EQ(0, InputDevices.PadSnapshotAt(1)->buttons[0]);

    // Last tick's snapshot stands, so the button now reads as held.
    Tick();
    EXPECT_EQ(kEdgeHeld, Pad(0));

    // Back once it can be acquired: polled again after the acquire.
    Controller(0).Answer(DeviceOp::Acquire, kDiOk);
    Controller(0).AnswerNext(DeviceOp::Poll, kDiErrInputLost);
    d.logCount = 0;
    EXPECT_EQ(kDiOk, InputDevices.ReadControllers());
    EXPECT_EQ((Lines{"pad0 Poll", "pad0 Acquire", "pad0 Poll", "pad0 GetDeviceData 8", "pad1 Poll",
                     "pad1 GetDeviceData 8"}),
              d.Calls());
}

TEST_F(InputPollTest, FailedControllerReadAppliesNoLeftoverRecords) {
    Open(1);
    // The keyboard's records stay in the shared buffer; one at offset 48
    // would read as button 1 of the controller.
    d.keyboard.Push(kJoyButton0, 0x80);
    Controller(0).Answer(DeviceOp::GetDeviceData, kDiErrNotAcquired);
    Controller(0).reportedCount = 8;
    Tick();
    EXPECT_EQ(0, InputDevices.PadSnapshotAt(0)->buttons[0]);
    EXPECT_EQ(kEdgeIdle, Pad(0));
}

TEST_F(InputPollTest, WithoutAControllerThePadEdgesStayIdle) {
    Open(0);
    ASSERT_EQ(nullptr, InputDevices.PadSnapshotAt(0));
    for (int i = 0; i < 3; ++i) {
        Tick();
        for (int n = 0; n < kPadInputCount; ++n)
            EXPECT_EQ(kEdgeIdle, Pad(n));
    }
    // Before anything was opened every read, and a refresh, finds no device.
    ResetInputDevices();
    InputDevices.RefreshControllers();
    Tick();
    EXPECT_EQ(0, d.logCount);
}

TEST_F(InputPollTest, SpecifiedKeyboardFailuresApplyNothing) {
    Open(0);
    // A read failure while the device is still acquired: Acquire answers
    // DI_NOEFFECT and the tick's records wait.
    d.keyboard.PushKey(kSpaceKey, true);
    d.keyboard.AnswerNext(DeviceOp::GetDeviceData, kDiErrInputLost);
    d.keyboard.AnswerNext(DeviceOp::Acquire, kDiNoEffect);
    EXPECT_EQ(kEFail, InputDevices.ReadKeyboard());
    EXPECT_EQ(0, InputDevices.KeyDown(kSpaceKey));
    EXPECT_EQ(0, d.keyboard.Calls(DeviceOp::GetDeviceState));
}

// A key released while its events could not be read must not stay down.
class KeyRecoveryTest : public InputTest {
  protected:
    void SetUp() override {
        InputTest::SetUp();
        ResetToolState();
        InstallFakeRadios();
        std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
        LoadPageGrid(1);
        Open(0);
        d.keyboard.PushKey(kSpaceKey, true);
        d.keyboard.state[kSpaceKey] = 0x80;
        CaptureStep(1);
        CaptureStep(1);
        ASSERT_EQ(kEdgeHeld, Key(kSpaceKey));
    }
    void TearDown() override {
        InputTest::TearDown();
        ResetToolState();
    }

    // Pressing the key again is a fresh press that assigns.
    void ExpectNextPressAssigns() {
        ASSERT_EQ(0, InputDevices.KeyDown(kSpaceKey));
        const int cursor = SlotCursor[1];
        d.keyboard.PushKey(kSpaceKey, true);
        CaptureStep(1);
        EXPECT_EQ(kEdgePressed, Key(kSpaceKey));
        EXPECT_EQ((cursor + 1) % kSlotCount, SlotCursor[1]);
        const int row = cursor % kRowCount, slot = cursor / kRowCount;
        EXPECT_EQ(10 + 1, SlotGrid[1][row][slot]);  // Space
    }
};

TEST_F(KeyRecoveryTest, ReleaseLostInAnOverflowIsTakenFromTheDeviceState) {
    for (int i = 0; i < 8; ++i)
        d.keyboard.PushKey(0x10 + i, i % 2 == 0);
    d.keyboard.PushKey(kSpaceKey, false);  // the ninth event, lost
    d.keyboard.pendingCount = 8;
    d.keyboard.state[kSpaceKey] = 0;
    d.keyboard.state[0x10] = 0x80;
    d.keyboard.AnswerNext(DeviceOp::GetDeviceData, kDiBufferOverflow);
    CaptureStep(1);
    EXPECT_EQ(kEdgeReleased, Key(kSpaceKey));
    EXPECT_EQ(1, InputDevices.KeyDown(0x10));
    EXPECT_EQ(kEdgePressed, Key(0x10));                 // its press was lost, the focus never was
    EXPECT_EQ(0, InputDevices.KeyDown(0x11));           // its own record said up
    EXPECT_EQ(1, d.keyboard.Calls(DeviceOp::Acquire));  // the one at opening
    ExpectNextPressAssigns();
}

TEST_F(KeyRecoveryTest, ReleaseInTheBackgroundIsTakenFromTheDeviceStateOnReturn) {
    // In the background: reads fail and acquiring is refused; the key stays as it was.
    d.keyboard.Answer(DeviceOp::GetDeviceData, kDiErrNotAcquired);
    d.keyboard.Answer(DeviceOp::Acquire, kDiErrNotAcquired);
    d.keyboard.state[kSpaceKey] = 0;
    CaptureStep(1);
    EXPECT_EQ(kEdgeHeld, Key(kSpaceKey));

    // Back in the foreground: the first read still fails, Acquire succeeds.
    d.keyboard.Answer(DeviceOp::Acquire, kDiOk);
    d.keyboard.AnswerNext(DeviceOp::GetDeviceData, kDiErrNotAcquired);
    d.keyboard.Answer(DeviceOp::GetDeviceData, kDiOk);
    d.logCount = 0;
    CaptureStep(1);
    EXPECT_EQ(kEdgeReleased, Key(kSpaceKey));
    const Lines calls = d.Calls();
    EXPECT_EQ((Lines{"kbd GetDeviceData 8", "kbd Acquire", "kbd GetDeviceState 256"}),
              Lines(calls.begin() + 1, calls.begin() + 4));
    ExpectNextPressAssigns();
}

// The Enter that answered a message box is still down when the keyboard is
// acquired again: held, not a press that fills the selected slot.
TEST_F(KeyRecoveryTest, KeyDownWhenAcquiredAgainIsHeldNotPressed) {
    d.keyboard.Answer(DeviceOp::GetDeviceData, kDiErrNotAcquired);
    d.keyboard.Answer(DeviceOp::Acquire, kDiErrNotAcquired);
    CaptureStep(1);
    d.keyboard.state[kSpaceKey] = 0;
    d.keyboard.state[kEnterKey] = 0x80;
    d.keyboard.Answer(DeviceOp::Acquire, kDiOk);
    d.keyboard.AnswerNext(DeviceOp::GetDeviceData, kDiErrNotAcquired);
    d.keyboard.Answer(DeviceOp::GetDeviceData, kDiOk);
    const int cursor = SlotCursor[1];
    CaptureStep(1);
    EXPECT_EQ(kEdgeHeld, Key(kEnterKey));
    EXPECT_EQ(cursor, SlotCursor[1]);

    d.keyboard.PushKey(kEnterKey, false);
    CaptureStep(1);
    EXPECT_EQ(kEdgeReleased, Key(kEnterKey));
    ExpectNextPressAssigns();
}

TEST_F(KeyRecoveryTest, UnreadableDeviceStateLeavesTheRecordsApplied) {
    d.keyboard.PushKey(kEnterKey, true);
    d.keyboard.AnswerNext(DeviceOp::GetDeviceData, kDiBufferOverflow);
    d.keyboard.AnswerNext(DeviceOp::GetDeviceState, kDiErrInputLost);
    d.keyboard.state[kSpaceKey] = 0;
    CaptureStep(1);
    EXPECT_EQ(1, InputDevices.KeyDown(kEnterKey));
    EXPECT_EQ(1, InputDevices.KeyDown(kSpaceKey));
}

}  // namespace
