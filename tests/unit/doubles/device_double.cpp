#include "doubles/device_double.h"

#include <cstdio>
#include <cstring>

namespace {

// What EnumControllers hands out as each controller's DIDEVICEINSTANCEA.
char ControllerInstances[kDoubleControllers];

int Op(DeviceOp op) {
    return static_cast<int>(op);
}

void Log(DeviceOp op, int device, std::uintptr_t arg = 0, WindowRef window = nullptr,
         const PropertyHeader* header = nullptr) {
    DeviceDouble& d = TheDevices();
    if (!d.logging) {
        return;
    }
    if (d.logCount == kDoubleLogSize) {
        d.logOverflowed = true;
        return;
    }
    DeviceCall& call = d.log[d.logCount++];
    call.op = op;
    call.device = device;
    call.arg = arg;
    call.window = window;
    call.property = PropertyRange{};
    if (header != nullptr) {
        const std::uint32_t size =
            header->dwSize < sizeof(PropertyRange) ? header->dwSize : sizeof(PropertyRange);
        std::memcpy(&call.property, header,
                    size < sizeof(PropertyHeader) ? sizeof(PropertyHeader) : size);
    }
}

// The device behind a reference, counted; null for anything the double did
// not hand out.
FakeDevice* Enter(DeviceRef ref, DeviceOp op, int* index) {
    DeviceDouble& d = TheDevices();
    FakeDevice* device = d.Find(ref);
    *index = device != nullptr ? d.IndexOf(device) : -2;
    if (device != nullptr) {
        ++device->calls[Op(op)];
    }
    return device;
}

const char* OpName(DeviceOp op) {
    static const char* const names[kDeviceOpCount] = {
        "Create",        "Release",       "CreateDevice",        "EnumControllers",
        "JoystickCount", "SetDataFormat", "SetCooperativeLevel", "SetProperty",
        "EnumAxes",      "Acquire",       "Unacquire",           "Release",
        "Poll",          "GetDeviceData", "GetDeviceState"};
    return names[Op(op)];
}

std::string DeviceName(int device) {
    if (device == -1)
        return "di";
    if (device == 0)
        return "kbd";
    if (device == 1)
        return "mouse";
    if (device >= 2)
        return "pad" + std::to_string(device - 2);
    return "unknown";
}

std::string Describe(const DeviceCall& call) {
    std::string line = DeviceName(call.device) + " " + OpName(call.op);
    char text[96];
    switch (call.op) {
        case DeviceOp::CreateDevice:
            if (call.device >= 2)
                line += " controller";
            break;
        case DeviceOp::SetDataFormat: {
            static const char* const formats[] = {"Keyboard", "Mouse2", "Joystick"};
            line += " ";
            line += call.arg < 3 ? formats[call.arg] : "?";
            break;
        }
        case DeviceOp::SetCooperativeLevel:
            line += " " + std::to_string(call.arg);
            break;
        case DeviceOp::SetProperty: {
            static const char* const properties[] = {"BufferSize", "AxisMode", "Range"};
            const PropertyHeader& h = call.property.diph;
            line += " ";
            line += call.arg < 3 ? properties[call.arg] : "?";
            if (call.arg == static_cast<std::uintptr_t>(DeviceProperty::Range)) {
                std::snprintf(text, sizeof text, " %u,%u,%u,%u %d..%d", h.dwSize, h.dwHeaderSize,
                              h.dwObj, h.dwHow, call.property.lMin, call.property.lMax);
            } else {
                std::snprintf(text, sizeof text, " %u,%u,%u,%u %u", h.dwSize, h.dwHeaderSize,
                              h.dwObj, h.dwHow, static_cast<std::uint32_t>(call.property.lMin));
            }
            line += text;
            break;
        }
        case DeviceOp::GetDeviceData:
        case DeviceOp::GetDeviceState:
            line += " " + std::to_string(call.arg);
            break;
        default:
            break;
    }
    return line;
}

}  // namespace

void FakeDevice::AnswerNext(DeviceOp op, HResult result) {
    const int o = Op(op);
    if (queuedTail[o] - queuedHead[o] < kDoubleQueued) {
        queued[o][queuedTail[o] % kDoubleQueued] = result;
        ++queuedTail[o];
    }
}

HResult FakeDevice::TakeAnswer(DeviceOp op) {
    const int o = Op(op);
    if (queuedHead[o] != queuedTail[o]) {
        const HResult result = queued[o][queuedHead[o] % kDoubleQueued];
        ++queuedHead[o];
        if (queuedHead[o] == queuedTail[o]) {
            queuedHead[o] = queuedTail[o] = 0;
        }
        return result;
    }
    return answer[o];
}

bool FakeDevice::Push(std::uint32_t offset, std::uint32_t data) {
    if (pendingCount == static_cast<std::uint32_t>(kDoublePending)) {
        return false;
    }
    DeviceRecord& record = pending[pendingCount++];
    record = DeviceRecord{};
    record.dwOfs = offset;
    record.dwData = data;
    record.dwSequence = pendingCount;
    return true;
}

void DeviceDouble::Reset() {
    keyboard = FakeDevice{};
    mouse = FakeDevice{};
    for (FakeDevice& controller : controllers) {
        controller = FakeDevice{};
    }
    attached = 0;
    for (bool& gone : unplugged) {
        gone = false;
    }
    createAnswer = enumAnswer = joystickAnswer = 0;
    joystickCount = 16;
    directInputAlive = 0;
    enumCallbacks = 0;
    logging = true;
    logCount = 0;
    logOverflowed = false;
}

FakeDevice* DeviceDouble::Find(DeviceRef device) {
    const int index = IndexOf(static_cast<const FakeDevice*>(device));
    if (index < 0)
        return nullptr;
    if (index == 0)
        return &keyboard;
    if (index == 1)
        return &mouse;
    return &controllers[index - 2];
}

int DeviceDouble::IndexOf(const FakeDevice* device) const {
    const auto at = reinterpret_cast<std::uintptr_t>(device);
    if (at == reinterpret_cast<std::uintptr_t>(&keyboard))
        return 0;
    if (at == reinterpret_cast<std::uintptr_t>(&mouse))
        return 1;
    const auto first = reinterpret_cast<std::uintptr_t>(&controllers[0]);
    if (at >= first && at < first + sizeof controllers && (at - first) % sizeof(FakeDevice) == 0) {
        return 2 + static_cast<int>((at - first) / sizeof(FakeDevice));
    }
    return -2;
}

std::vector<std::string> DeviceDouble::Calls() const {
    return CallsFrom(0);
}

std::vector<std::string> DeviceDouble::CallsFrom(int from) const {
    std::vector<std::string> lines;
    for (int i = from; i < logCount; ++i) {
        lines.push_back(Describe(log[i]));
    }
    return lines;
}

DeviceDouble& TheDevices() {
    static DeviceDouble devices;
    return devices;
}

namespace di {

HResult Create(InstanceRef, DirectInputRef* out) {
    DeviceDouble& d = TheDevices();
    Log(DeviceOp::Create, -1);
    if (d.createAnswer < 0) {
        *out = nullptr;
        return d.createAnswer;
    }
    ++d.directInputAlive;
    *out = &d;
    return d.createAnswer;
}

void ReleaseDirectInput(DirectInputRef) {
    Log(DeviceOp::ReleaseDirectInput, -1);
    --TheDevices().directInputAlive;
}

HResult CreateSystemDevice(DirectInputRef, SystemDevice which, DeviceRef* out) {
    FakeDevice& device =
        which == SystemDevice::Keyboard ? TheDevices().keyboard : TheDevices().mouse;
    ++device.calls[Op(DeviceOp::CreateDevice)];
    Log(DeviceOp::CreateDevice, which == SystemDevice::Keyboard ? 0 : 1);
    const HResult result = device.TakeAnswer(DeviceOp::CreateDevice);
    if (result < 0) {
        *out = nullptr;
        return result;
    }
    device.alive = true;
    *out = &device;
    return result;
}

HResult CreateController(DirectInputRef, const void* deviceInstance, DeviceRef* out) {
    DeviceDouble& d = TheDevices();
    const char* token = static_cast<const char*>(deviceInstance);
    const int index = static_cast<int>(token - ControllerInstances);
    if (index < 0 || index >= kDoubleControllers) {
        Log(DeviceOp::CreateDevice, -2);
        *out = nullptr;
        return kDiErrNotFound;
    }
    FakeDevice& device = d.controllers[index];
    ++device.calls[Op(DeviceOp::CreateDevice)];
    Log(DeviceOp::CreateDevice, 2 + index);
    const HResult result = device.TakeAnswer(DeviceOp::CreateDevice);
    if (result < 0) {
        *out = nullptr;
        return result;
    }
    device.alive = true;
    device.dead = false;
    *out = &device;
    return result;
}

void DescribeController(const void* deviceInstance, ControllerId* id, char* name,
                        std::uint32_t capacity) {
    const int index =
        static_cast<int>(static_cast<const char*>(deviceInstance) - ControllerInstances);
    *id = ControllerId{};
    id->bytes[0] = static_cast<std::uint8_t>(index);
    id->bytes[15] = 0xC0;
    std::snprintf(name, capacity, "Pad %d", index);
}

HResult EnumControllers(DirectInputRef, ControllerCallback callback, void* context) {
    DeviceDouble& d = TheDevices();
    Log(DeviceOp::EnumControllers, -1);
    d.enumCallbacks = 0;
    const int attached = d.attached < kDoubleControllers ? d.attached : kDoubleControllers;
    for (int i = 0; i < attached; ++i) {
        if (d.unplugged[i]) {
            continue;
        }
        ++d.enumCallbacks;
        if (callback(&ControllerInstances[i], context) == kDiEnumStop) {
            break;
        }
    }
    return d.enumAnswer;
}

HResult JoystickCount(std::uint32_t* count) {
    DeviceDouble& d = TheDevices();
    Log(DeviceOp::JoystickCount, -1);
    if (d.joystickAnswer < 0) {
        return d.joystickAnswer;
    }
    *count = d.joystickCount;
    return d.joystickAnswer;
}

HResult SetDataFormat(DeviceRef ref, DataFormat format) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::SetDataFormat, &index);
    Log(DeviceOp::SetDataFormat, index, static_cast<std::uintptr_t>(format));
    return device != nullptr ? device->TakeAnswer(DeviceOp::SetDataFormat) : kEFail;
}

HResult SetCooperativeLevel(DeviceRef ref, WindowRef window, std::uint32_t flags) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::SetCooperativeLevel, &index);
    Log(DeviceOp::SetCooperativeLevel, index, flags, window);
    return device != nullptr ? device->TakeAnswer(DeviceOp::SetCooperativeLevel) : kEFail;
}

HResult SetProperty(DeviceRef ref, DeviceProperty property, const PropertyHeader* header) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::SetProperty, &index);
    Log(DeviceOp::SetProperty, index, static_cast<std::uintptr_t>(property), nullptr, header);
    if (device == nullptr) {
        return kEFail;
    }
    const int o = Op(DeviceOp::SetProperty);
    if (device->queuedHead[o] != device->queuedTail[o]) {
        return device->TakeAnswer(DeviceOp::SetProperty);
    }
    if (property == DeviceProperty::Range) {
        for (int i = 0; i < device->axisCount && i < kDoubleAxes; ++i) {
            if (device->axes[i] == header->dwObj) {
                return device->axisAnswer[i];
            }
        }
        return kDiErrNotFound;
    }
    return device->propertyAnswer[static_cast<int>(property)];
}

HResult EnumAxes(DeviceRef ref, AxisCallback callback, void* context) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::EnumAxes, &index);
    Log(DeviceOp::EnumAxes, index);
    if (device == nullptr) {
        return kEFail;
    }
    const HResult result = device->TakeAnswer(DeviceOp::EnumAxes);
    if (result < 0) {
        return result;
    }
    for (int i = 0; i < device->axisCount && i < kDoubleAxes; ++i) {
        if (callback(device->axes[i], context) == kDiEnumStop) {
            break;
        }
    }
    return result;
}

HResult Acquire(DeviceRef ref) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::Acquire, &index);
    Log(DeviceOp::Acquire, index);
    if (device != nullptr && device->dead) {
        return kDiErrUnplugged;
    }
    return device != nullptr ? device->TakeAnswer(DeviceOp::Acquire) : kEFail;
}

HResult Unacquire(DeviceRef ref) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::Unacquire, &index);
    Log(DeviceOp::Unacquire, index);
    return device != nullptr ? device->TakeAnswer(DeviceOp::Unacquire) : kEFail;
}

void Release(DeviceRef ref) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::Release, &index);
    Log(DeviceOp::Release, index);
    if (device != nullptr) {
        device->alive = false;
    }
}

HResult Poll(DeviceRef ref) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::Poll, &index);
    Log(DeviceOp::Poll, index);
    if (device != nullptr && device->dead) {
        return kDiErrInputLost;
    }
    return device != nullptr ? device->TakeAnswer(DeviceOp::Poll) : kEFail;
}

HResult GetDeviceData(DeviceRef ref, std::uint32_t recordSize, DeviceRecord* records,
                      std::uint32_t* count, std::uint32_t flags) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::GetDeviceData, &index);
    Log(DeviceOp::GetDeviceData, index, *count);
    if (device == nullptr || recordSize != sizeof(DeviceRecord) || flags != 0) {
        return kEFail;
    }
    const HResult result = device->TakeAnswer(DeviceOp::GetDeviceData);
    std::uint32_t delivered = 0;
    if (result >= 0) {
        delivered = *count < device->pendingCount ? *count : device->pendingCount;
        std::memcpy(records, device->pending, delivered * sizeof(DeviceRecord));
        device->pendingCount -= delivered;
        std::memmove(device->pending, device->pending + delivered,
                     device->pendingCount * sizeof(DeviceRecord));
    }
    *count =
        device->reportedCount >= 0 ? static_cast<std::uint32_t>(device->reportedCount) : delivered;
    return result;
}

HResult GetDeviceState(DeviceRef ref, std::uint32_t size, void* state) {
    int index;
    FakeDevice* device = Enter(ref, DeviceOp::GetDeviceState, &index);
    Log(DeviceOp::GetDeviceState, index, size);
    if (device == nullptr) {
        return kEFail;
    }
    const HResult result = device->TakeAnswer(DeviceOp::GetDeviceState);
    if (result >= 0) {
        std::memcpy(state, device->state,
                    size < sizeof device->state ? size : sizeof device->state);
    }
    return result;
}

}  // namespace di
