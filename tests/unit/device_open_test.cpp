#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "doubles/system_double.h"
#include "input/system_library.h"
#include "input_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class DeviceOpenTest : public InputTest {
  protected:
    HResult OpenAll() { return InputDevices.OpenDevices(nullptr, TestWindow(), 1000, 1000); }
    // What CloseDevices asks of the double, in order.
    Lines CloseCalls() {
        const int from = d.logCount;
        EXPECT_EQ(0, InputDevices.CloseDevices());
        return d.CallsFrom(from);
    }
    void Attach(int pads) {
        d.attached = pads;
        for (int i = 0; i < pads && i < kDoubleControllers; ++i) {
            d.controllers[i].axes[0] = kAxisX;
            d.controllers[i].axes[1] = kAxisY;
            d.controllers[i].axisCount = 2;
        }
    }
};

const Lines kKeyboardOpening = {
    "di Create",
    "kbd CreateDevice",
    "kbd SetDataFormat Keyboard",
    "kbd SetCooperativeLevel 6",
    "kbd SetProperty BufferSize 20,16,0,0 8",
    "kbd Acquire",
};
const Lines kMouseOpening = {
    "mouse CreateDevice",
    "mouse SetDataFormat Mouse2",
    "mouse SetCooperativeLevel 6",
    "mouse SetProperty AxisMode 20,16,0,0 1",
    "mouse SetProperty BufferSize 20,16,0,0 8",
    "mouse Acquire",
};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(DeviceOpenTest, OpensEveryDeviceInOrderWithThePublishedRecords) {
    Attach(1);
    ASSERT_EQ(0, OpenAll());
    const Lines expected = Join(
        {kKeyboardOpening,
         kMouseOpening,
         {"di JoystickCount", "di EnumControllers", "pad0 CreateDevice controller",
          "pad0 SetDataFormat Joystick", "pad0 SetCooperativeLevel 6", "pad0 EnumAxes",
          "pad0 SetProperty Range 24,16,258,2 -1000..1000",
          "pad0 SetProperty Range 24,16,514,2 -1000..1000", "pad0 SetProperty AxisMode 20,16,0,0 0",
          "pad0 SetProperty BufferSize 20,16,0,0 8", "pad0 Acquire"}});
    EXPECT_EQ(expected, d.Calls());
    for (int i = 0; i < d.logCount; ++i) {
        if (d.log[i].op == DeviceOp::SetCooperativeLevel) {
            EXPECT_EQ(TestWindow(), d.log[i].window);
        }
    }
    EXPECT_EQ(TestWindow(), InputDevices.window);
    EXPECT_EQ(1000, InputDevices.thresholdX);
    EXPECT_EQ(1000, InputDevices.thresholdY);
    EXPECT_EQ(16u, InputDevices.padLimit);
    EXPECT_EQ(&d.keyboard, InputDevices.keyboard);
    EXPECT_EQ(&d.mouse, InputDevices.mouse);
    EXPECT_EQ(&d.controllers[0], InputDevices.pads[0]);

    EXPECT_EQ((Lines{"kbd Unacquire", "kbd Release", "mouse Unacquire", "mouse Release",
                     "pad0 Unacquire", "pad0 Release", "di Release"}),
              CloseCalls());
    EXPECT_EQ(nullptr, InputDevices.keyboard);
    EXPECT_EQ(0, d.directInputAlive);
}

struct FailingStep {
    const char* name;
    void (*fail)(DeviceDouble&);
    HResult result;  // of OpenDevices
    Lines open;      // devices that stay open, as the double names them
    Lines closing;   // what CloseDevices then does
};

constexpr HResult kRefused = static_cast<HResult>(0x80070057u);  // E_INVALIDARG

const Lines kCloseKeyboard = {"kbd Unacquire", "kbd Release"};
const Lines kCloseMouse = {"mouse Unacquire", "mouse Release"};
const Lines kClosePads = {"pad0 Unacquire", "pad0 Release", "pad1 Unacquire", "pad1 Release"};
const Lines kReleaseDi = {"di Release"};

Lines OpenDevicesNamed() {
    Lines open;
    if (InputDevices.directInput != nullptr)
        open.push_back("di");
    if (InputDevices.keyboard != nullptr)
        open.push_back("kbd");
    if (InputDevices.mouse != nullptr)
        open.push_back("mouse");
    for (std::uint32_t i = 0; i < InputDevices.padCount; ++i) {
        open.push_back(InputDevices.pads[i] != nullptr ? "pad" + std::to_string(i) : "EMPTY");
    }
    return open;
}

TEST_F(DeviceOpenTest, EachFailingStepLeavesWhatCloseDevicesReleases) {
    const FailingStep steps[] = {
        {"DirectInput8Create",
         [](DeviceDouble& d) { d.createAnswer = kRefused; },
         kRefused,
         {},
         {}},
        {"keyboard CreateDevice",
         [](DeviceDouble& d) { d.keyboard.Answer(DeviceOp::CreateDevice, kRefused); },
         kRefused,
         {"di"},
         kReleaseDi},
        {"keyboard SetDataFormat",
         [](DeviceDouble& d) { d.keyboard.Answer(DeviceOp::SetDataFormat, kRefused); },
         kRefused,
         {"di", "kbd"},
         Join({kCloseKeyboard, kReleaseDi})},
        {"keyboard SetCooperativeLevel",
         [](DeviceDouble& d) { d.keyboard.Answer(DeviceOp::SetCooperativeLevel, kRefused); },
         kRefused,
         {"di", "kbd"},
         Join({kCloseKeyboard, kReleaseDi})},
        {"keyboard BufferSize",
         [](DeviceDouble& d) {
             d.keyboard.propertyAnswer[int(DeviceProperty::BufferSize)] = kRefused;
         },
         kRefused,
         {"di", "kbd"},
         Join({kCloseKeyboard, kReleaseDi})},
        {"mouse CreateDevice",
         [](DeviceDouble& d) { d.mouse.Answer(DeviceOp::CreateDevice, kRefused); },
         kRefused,
         {"di", "kbd"},
         Join({kCloseKeyboard, kReleaseDi})},
        // The mouse is left out, the controllers still open.
        {"mouse SetDataFormat",
         [](DeviceDouble& d) { d.mouse.Answer(DeviceOp::SetDataFormat, kRefused); },
         0,
         {"di", "kbd", "pad0", "pad1"},
         Join({kCloseKeyboard, kClosePads, kReleaseDi})},
        {"mouse SetCooperativeLevel",
         [](DeviceDouble& d) { d.mouse.Answer(DeviceOp::SetCooperativeLevel, kRefused); },
         0,
         {"di", "kbd", "pad0", "pad1"},
         Join({kCloseKeyboard, kClosePads, kReleaseDi})},
        {"mouse AxisMode",
         [](DeviceDouble& d) { d.mouse.propertyAnswer[int(DeviceProperty::AxisMode)] = kRefused; },
         0,
         {"di", "kbd", "pad0", "pad1"},
         Join({kCloseKeyboard, kClosePads, kReleaseDi})},
        {"mouse BufferSize",
         [](DeviceDouble& d) {
             d.mouse.propertyAnswer[int(DeviceProperty::BufferSize)] = kRefused;
         },
         0,
         {"di", "kbd", "pad0", "pad1"},
         Join({kCloseKeyboard, kClosePads, kReleaseDi})},
        {"joyGetNumDevs missing",
         [](DeviceDouble& d) { d.joystickAnswer = kDiErrNotFound; },
         kDiErrNotFound,
         {"di", "kbd", "mouse"},
         Join({kCloseKeyboard, kCloseMouse, kReleaseDi})},
        // Enumerated before the failure: both controllers were created.
        {"EnumDevices",
         [](DeviceDouble& d) { d.enumAnswer = kRefused; },
         kRefused,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
        {"controller SetDataFormat",
         [](DeviceDouble& d) { d.controllers[1].Answer(DeviceOp::SetDataFormat, kRefused); },
         kRefused,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
        {"controller SetCooperativeLevel",
         [](DeviceDouble& d) { d.controllers[0].Answer(DeviceOp::SetCooperativeLevel, kRefused); },
         kRefused,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
        {"controller EnumObjects",
         [](DeviceDouble& d) { d.controllers[0].Answer(DeviceOp::EnumAxes, kRefused); },
         kRefused,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
        {"controller AxisMode",
         [](DeviceDouble& d) {
             d.controllers[0].propertyAnswer[int(DeviceProperty::AxisMode)] = kRefused;
         },
         kRefused,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
        {"controller BufferSize",
         [](DeviceDouble& d) {
             d.controllers[1].propertyAnswer[int(DeviceProperty::BufferSize)] = kRefused;
         },
         kRefused,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
        // Acquire is never reported.
        {"every Acquire",
         [](DeviceDouble& d) {
             d.keyboard.Answer(DeviceOp::Acquire, kRefused);
             d.mouse.Answer(DeviceOp::Acquire, kRefused);
             d.controllers[0].Answer(DeviceOp::Acquire, kRefused);
             d.controllers[1].Answer(DeviceOp::Acquire, kRefused);
         },
         0,
         {"di", "kbd", "mouse", "pad0", "pad1"},
         Join({kCloseKeyboard, kCloseMouse, kClosePads, kReleaseDi})},
    };
    for (const FailingStep& step : steps) {
        SCOPED_TRACE(step.name);
        ResetInputDevices();
        Attach(2);
        step.fail(d);
        EXPECT_EQ(step.result, OpenAll());
        EXPECT_EQ(step.open, OpenDevicesNamed());
        // A failed opening is never polled, but a tick must still be harmless.
        if (step.result != 0)
            InputDevices.UpdateInputs();
        EXPECT_EQ(step.closing, CloseCalls());
        EXPECT_EQ(0, d.directInputAlive);
        EXPECT_FALSE(d.keyboard.alive || d.mouse.alive || d.controllers[0].alive ||
                     d.controllers[1].alive);
        EXPECT_EQ(Lines{}, CloseCalls());  // a second close finds nothing
    }
}

TEST_F(DeviceOpenTest, RefusedMouseIsReleasedAndNeverRead) {
    Attach(1);
    d.mouse.Answer(DeviceOp::SetCooperativeLevel, kRefused);
    ASSERT_EQ(0, OpenAll());
    EXPECT_EQ(1, d.mouse.Calls(DeviceOp::Release));
    EXPECT_EQ(0, d.mouse.Calls(DeviceOp::Acquire));
    EXPECT_EQ(1u, InputDevices.padCount);
    const int before = d.logCount;
    InputDevices.UpdateInputs();
    EXPECT_EQ((Lines{"kbd GetDeviceData 8", "pad0 Poll", "pad0 GetDeviceData 8"}),
              d.CallsFrom(before));
}

TEST_F(DeviceOpenTest, NoControllerGivesNoSnapshot) {
    ASSERT_EQ(0, OpenAll());
    EXPECT_EQ(0u, InputDevices.padCount);
    EXPECT_EQ(nullptr, InputDevices.PadSnapshotAt(0));
}

TEST_F(DeviceOpenTest, ControllersAreTakenInEnumerationOrderUpToTheLimit) {
    struct Case {
        int attached;
        std::uint32_t padLimit;
        std::uint32_t opened;
        int callbacks;
    };
    const Case cases[] = {
        {2, 16, 2, 2},    // both, in order
        {2, 1, 1, 1},     // the enumeration stops after the first
        {17, 0, 16, 16},  // 0 sets no limit, the 16 slots do
        {17, 40, 16, 16}, {16, 16, 16, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.attached << " attached, padLimit " << c.padLimit);
        ResetInputDevices();
        Attach(c.attached);
        d.joystickCount = c.padLimit;
        ASSERT_EQ(0, OpenAll());
        EXPECT_EQ(c.opened, InputDevices.padCount);
        EXPECT_EQ(c.callbacks, d.enumCallbacks);
        for (std::uint32_t i = 0; i < c.opened; ++i)
            EXPECT_EQ(&d.controllers[i], InputDevices.pads[i]);
        for (int i = static_cast<int>(c.opened); i < c.attached; ++i) {
            EXPECT_EQ(0, d.controllers[i].Calls(DeviceOp::CreateDevice)) << i;
        }
    }

    // A refresh keeps to the limit too, yet sees every controller, so the
    // one read stays although new ones are listed before it.
    ResetInputDevices();
    Attach(3);
    d.joystickCount = 2;
    d.unplugged[0] = d.unplugged[1] = true;
    ASSERT_EQ(0, OpenAll());
    d.unplugged[0] = d.unplugged[1] = false;
    EXPECT_EQ(0, InputDevices.RefreshControllers());
    ASSERT_EQ(2u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[2], InputDevices.pads[0]);
    EXPECT_EQ(&d.controllers[0], InputDevices.pads[1]);
    EXPECT_EQ(0, d.controllers[1].Calls(DeviceOp::CreateDevice));
}

// Controllers plugged in or out while the tool runs: the one read stays read
// while it is there, new ones join after it, gone ones are released, and one
// that cannot be opened is left out and counted. Keyboard and mouse are
// never touched.
TEST_F(DeviceOpenTest, RefreshKeepsTheReadControllerAndAddsOrDropsTheOthers) {
    Attach(4);
    d.attached = 2;
    ASSERT_EQ(0, OpenAll());
    InputDevices.snapshots[1].x = 77;
    d.logCount = 0;

    d.attached = 3;  // controller 2 plugged in
    EXPECT_EQ(0, InputDevices.RefreshControllers());
    EXPECT_EQ(3u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[2], InputDevices.pads[2]);
    EXPECT_STREQ("Pad 0", InputDevices.padInfo[0].name);
    EXPECT_STREQ("Pad 2", InputDevices.padInfo[2].name);
    EXPECT_EQ(1, d.controllers[2].Calls(DeviceOp::Acquire));
    EXPECT_EQ(1, d.controllers[0].Calls(DeviceOp::CreateDevice)) << "the open ones are kept";
    InputDevices.snapshots[2].x = 55;

    d.unplugged[0] = true;  // the one read is unplugged: the next in order is read
    d.logCount = 0;
    EXPECT_EQ(0, InputDevices.RefreshControllers());
    EXPECT_EQ((Lines{"di EnumControllers", "pad0 Unacquire", "pad0 Release"}), d.Calls());
    ASSERT_EQ(2u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[1], InputDevices.pads[0]);
    EXPECT_EQ(77, InputDevices.snapshots[0].x) << "a snapshot moves with its controller";
    EXPECT_STREQ("Pad 1", InputDevices.padInfo[0].name);
    EXPECT_EQ(nullptr, InputDevices.pads[2]);

    d.unplugged[0] = false;  // back again: it joins at the end
    d.attached = 4;
    d.controllers[3].Answer(DeviceOp::SetDataFormat, kRefused);
    EXPECT_EQ(0, InputDevices.RefreshControllers());
    ASSERT_EQ(3u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[1], InputDevices.pads[0]);
    EXPECT_EQ(&d.controllers[0], InputDevices.pads[2]);
    EXPECT_EQ(0, InputDevices.snapshots[2].x) << "a stick position of the slot's last holder";
    EXPECT_FALSE(d.controllers[3].alive) << "the controller that failed is released";
    EXPECT_EQ(4u, InputDevices.attachedCount);
    EXPECT_EQ(1u, InputDevices.unopenedCount);

    // A failed enumeration keeps every controller as it was.
    d.enumAnswer = kRefused;
    d.unplugged[1] = true;
    EXPECT_EQ(kRefused, InputDevices.RefreshControllers());
    EXPECT_EQ(3u, InputDevices.padCount);
    EXPECT_EQ(4u, InputDevices.attachedCount);
    EXPECT_TRUE(d.controllers[1].alive);
    EXPECT_EQ(0, d.keyboard.Calls(DeviceOp::Unacquire) + d.mouse.Calls(DeviceOp::Unacquire));
}

// Unplugged and plugged back at once, a controller keeps its instance GUID
// and so its slot, but its object may stay dead. Its failing reads ask for
// one refresh, which gives it a new object in the same slot; a window in the
// background is no such sign.
TEST_F(DeviceOpenTest, ControllerPluggedBackAtOnceGetsANewObjectInItsSlot) {
    Attach(3);
    ASSERT_EQ(0, OpenAll());
    InputDevices.snapshots[0].y = -1000;
    d.controllers[0].dead = true;
    InputDevices.UpdateInputs();
    EXPECT_TRUE(InputDevices.padInfo[0].lost);
    EXPECT_EQ(0, InputDevices.RefreshControllers());
    EXPECT_EQ(1, d.controllers[0].Calls(DeviceOp::Release));
    EXPECT_EQ(2, d.controllers[0].Calls(DeviceOp::SetDataFormat));
    ASSERT_EQ(3u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[0], InputDevices.pads[0]);
    EXPECT_FALSE(InputDevices.padInfo[0].lost);
    EXPECT_EQ(0, InputDevices.snapshots[0].y) << "the old object's stick position";
    EXPECT_EQ(0u, InputDevices.unopenedCount);
    Controller(0).PushKey(kJoyButton0 + 5, true);
    InputDevices.UpdateInputs();
    EXPECT_EQ(kEdgePressed, Pad(5));

    Controller(0).AnswerNext(DeviceOp::Poll, kDiErrNotAcquired);
    Controller(0).AnswerNext(DeviceOp::Acquire, kDiErrOtherAppHasPrio);
    InputDevices.UpdateInputs();
    EXPECT_FALSE(InputDevices.TakeRefreshRequest());
    // Lost, then read again before the refresh: no longer lost.
    Controller(0).AnswerNext(DeviceOp::Poll, kDiErrNotAcquired);
    Controller(0).AnswerNext(DeviceOp::Acquire, kDiErrInputLost);
    InputDevices.UpdateInputs();
    InputDevices.UpdateInputs();
    EXPECT_FALSE(InputDevices.padInfo[0].lost);

    // The one read unplugged as the next is plugged back at once: the new
    // object moves up and is set up.
    d.unplugged[0] = true;
    d.controllers[1].dead = true;
    InputDevices.UpdateInputs();
    EXPECT_EQ(0, InputDevices.RefreshControllers());
    ASSERT_EQ(2u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[1], InputDevices.pads[0]);
    EXPECT_FALSE(InputDevices.padInfo[0].lost);

    // Dead again, and no new object can be made or set up: left out and
    // counted, and the next one is read.
    for (const DeviceOp refusing : {DeviceOp::CreateDevice, DeviceOp::SetDataFormat}) {
        SCOPED_TRACE(static_cast<int>(refusing));
        ResetInputDevices();
        Attach(2);
        ASSERT_EQ(0, OpenAll());
        d.controllers[0].dead = true;
        InputDevices.UpdateInputs();
        d.controllers[0].Answer(refusing, kRefused);
        EXPECT_EQ(0, InputDevices.RefreshControllers());
        ASSERT_EQ(1u, InputDevices.padCount);
        EXPECT_EQ(&d.controllers[1], InputDevices.pads[0]);
        EXPECT_EQ(nullptr, InputDevices.pads[1]);
        EXPECT_STREQ("Pad 1", InputDevices.padInfo[0].name);
        EXPECT_EQ(1u, InputDevices.unopenedCount);
        EXPECT_FALSE(d.controllers[0].alive);
        EXPECT_EQ(1, d.controllers[1].Calls(DeviceOp::SetDataFormat)) << "kept one set up again";
    }
}

TEST_F(DeviceOpenTest, ControllerThatCannotBeCreatedTakesNoSlot) {
    Attach(3);
    d.joystickCount = 2;
    d.controllers[1].Answer(DeviceOp::CreateDevice, kDiErrDeviceNotReg);
    ASSERT_EQ(0, OpenAll());
    EXPECT_EQ(2u, InputDevices.padCount);
    EXPECT_EQ(&d.controllers[0], InputDevices.pads[0]);
    EXPECT_EQ(&d.controllers[2], InputDevices.pads[1]);
    EXPECT_EQ(nullptr, InputDevices.pads[2]);

    d.logCount = 0;
    InputDevices.UpdateInputs();
    EXPECT_EQ(0, d.controllers[1].Calls(DeviceOp::Poll));
    EXPECT_EQ(1, d.controllers[2].Calls(DeviceOp::Poll));
    EXPECT_EQ(
        (Lines{"kbd Unacquire", "kbd Release", "mouse Unacquire", "mouse Release", "pad0 Unacquire",
               "pad0 Release", "pad2 Unacquire", "pad2 Release", "di Release"}),
        CloseCalls());
}

TEST_F(DeviceOpenTest, AxisRejectingItsRangeSkipsTheRestAndStillOpens) {
    Attach(1);
    d.controllers[0].axes[2] = kAxisZ;
    d.controllers[0].axisCount = 3;
    d.controllers[0].axisAnswer[1] = kRefused;  // Y
    ASSERT_EQ(0, OpenAll());
    Lines ranges;
    for (const std::string& line : d.Calls()) {
        if (line.find("Range") != std::string::npos)
            ranges.push_back(line);
    }
    EXPECT_EQ((Lines{"pad0 SetProperty Range 24,16,258,2 -1000..1000",
                     "pad0 SetProperty Range 24,16,514,2 -1000..1000"}),
              ranges);
    EXPECT_EQ(1u, InputDevices.padCount);
    EXPECT_EQ(1, d.controllers[0].Calls(DeviceOp::Acquire));
}

TEST_F(DeviceOpenTest, ClosingASetNeverOpenedDoesNothing) {
    EXPECT_EQ(Lines{}, CloseCalls());
}

TEST(DeviceCleanupTest, RegisteredCleanupReleasesTheDevicesAtExit) {
    EXPECT_EXIT(
        {
            // Registered first, so it runs after CloseDevices.
            std::atexit([] {
                const DeviceDouble& d = TheDevices();
                if (!d.keyboard.alive && !d.mouse.alive && d.directInputAlive == 0) {
                    std::fputs("all released\n", stderr);
                }
            });
            RegisterDeviceCleanup();
            TheDevices().Reset();
            if (InputDevices.OpenDevices(nullptr, TestWindow(), 1000, 1000) == 0 &&
                TheDevices().keyboard.alive) {
                std::exit(0);
            }
            std::exit(3);
        },
        testing::ExitedWithCode(0), "all released");
}

}  // namespace

namespace {

// DirectInput and winmm come from the system directory only; where the
// system-directory flag is unknown (Vista, Windows 7 before KB2533623) the
// full system path is the way there, never a bare name.
TEST(SystemLibraryTest, FullSystemPathOnlyWhereTheFlagIsRefused) {
    SystemDouble& s = TheSystem();
    s.Reset();
    EXPECT_NE(nullptr, LoadSystemLibrary("dinput8.dll"));
    EXPECT_EQ((Lines{"system32 dinput8.dll"}), s.libraryCalls);

    s.Reset();
    s.systemLoadError = kErrorInvalidParameter;
    EXPECT_NE(nullptr, LoadSystemLibrary("dinput8.dll"));
    EXPECT_EQ((Lines{"system32 dinput8.dll", "path dinput8.dll"}), s.libraryCalls);

    s.Reset();
    s.systemLoadError = 126;  // ERROR_MOD_NOT_FOUND: not there, so not anywhere
    EXPECT_EQ(nullptr, LoadSystemLibrary("winmm.dll"));
    EXPECT_EQ((Lines{"system32 winmm.dll"}), s.libraryCalls);
    s.Reset();
}

}  // namespace
