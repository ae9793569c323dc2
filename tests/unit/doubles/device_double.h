// A scriptable stand-in for DirectInput 8: a keyboard, a mouse and up to 32
// attached controllers, each answering every operation with a scripted result
// and delivering scripted records. Every call is logged in order unless the
// log is switched off; nothing on the read path allocates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/device_port.h"

enum class DeviceOp : std::uint8_t {
    Create,              // DirectInput8Create
    ReleaseDirectInput,  // the DirectInput object's Release
    CreateDevice,
    EnumControllers,
    JoystickCount,
    SetDataFormat,
    SetCooperativeLevel,
    SetProperty,
    EnumAxes,
    Acquire,
    Unacquire,
    Release,
    Poll,
    GetDeviceData,
    GetDeviceState,
};
constexpr int kDeviceOpCount = 15;

constexpr int kDoubleControllers = 32;
constexpr int kDoubleAxes = 8;
constexpr int kDoublePending = 64;
constexpr int kDoubleQueued = 8;
constexpr int kDoubleLogSize = 4096;

struct FakeDevice {
    // Standing answer per operation, used when no queued answer is left.
    HResult answer[kDeviceOpCount] = {};
    // SetProperty answers per property (BufferSize, AxisMode), and for
    // DIPROP_RANGE per axis, by position in `axes`.
    HResult propertyAnswer[3] = {};
    HResult axisAnswer[kDoubleAxes] = {};

    // Records waiting in the device's buffer, oldest first.
    DeviceRecord pending[kDoublePending] = {};
    std::uint32_t pendingCount = 0;
    // When set (>= 0), GetDeviceData reports this count whatever it delivered.
    std::int64_t reportedCount = -1;
    // The immediate state GetDeviceState copies out (256 keyboard bytes).
    std::uint8_t state[256] = {};
    // Axis type ids that EnumAxes hands to its callback, in order.
    std::uint32_t axes[kDoubleAxes] = {};
    int axisCount = 0;

    // Counters kept even with the log off.
    int calls[kDeviceOpCount] = {};
    bool alive = false;  // created and not yet released
    // Unplugged and plugged back at once: listed as ever, but the object made
    // before answers Poll with DIERR_INPUTLOST and Acquire with
    // DIERR_UNPLUGGED until a new one is created.
    bool dead = false;

    // The next answers of one operation, before the standing one.
    HResult queued[kDeviceOpCount][kDoubleQueued] = {};
    std::uint8_t queuedHead[kDeviceOpCount] = {};
    std::uint8_t queuedTail[kDeviceOpCount] = {};

    void Answer(DeviceOp op, HResult result) { answer[static_cast<int>(op)] = result; }
    void AnswerNext(DeviceOp op, HResult result);
    HResult TakeAnswer(DeviceOp op);
    // Queues a record for the next reads; false when the buffer is full.
    bool Push(std::uint32_t offset, std::uint32_t data);
    // A key or button event: bit 7 set for down.
    bool PushKey(std::uint32_t offset, bool down) { return Push(offset, down ? 0x80u : 0u); }
    int Calls(DeviceOp op) const { return calls[static_cast<int>(op)]; }
};

struct DeviceCall {
    DeviceOp op;
    int device;          // -1 the DirectInput object or module, 0 keyboard, 1 mouse, 2+ controllers
    std::uintptr_t arg;  // data format, cooperative flags, property, capacity, size
    WindowRef window;
    PropertyRange property;  // SetProperty: the record as passed (dwData in lMin)
};

struct DeviceDouble {
    FakeDevice keyboard;
    FakeDevice mouse;
    FakeDevice controllers[kDoubleControllers];
    int attached = 0;                         // controllers EnumControllers reports, in index order
    bool unplugged[kDoubleControllers] = {};  // below `attached` but not reported

    HResult createAnswer = 0;
    HResult enumAnswer = 0;  // answered after the attached controllers were enumerated
    HResult joystickAnswer = 0;
    std::uint32_t joystickCount = 16;
    int directInputAlive = 0;
    int enumCallbacks = 0;  // callbacks made by the last EnumControllers

    bool logging = true;
    DeviceCall log[kDoubleLogSize];
    int logCount = 0;
    bool logOverflowed = false;

    void Reset();
    // The log as lines such as "kbd SetProperty BufferSize 20,16,0,0 8".
    std::vector<std::string> Calls() const;
    // Only the lines of the calls after the first `from` entries.
    std::vector<std::string> CallsFrom(int from) const;

    FakeDevice* Find(DeviceRef device);
    int IndexOf(const FakeDevice* device) const;
    DeviceRef Ref(FakeDevice& device) { return &device; }
};

DeviceDouble& TheDevices();
