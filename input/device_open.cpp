#include <cstdint>

#include "input/input_device_set.h"

namespace {

constexpr std::uint32_t kSlotCount = kPadSlots;

constexpr std::int32_t kAxisMin = -1000;
constexpr std::int32_t kAxisMax = 1000;

PropertyDword DeviceDword(std::uint32_t value) {
    PropertyDword property{};
    property.diph = {sizeof(PropertyDword), sizeof(PropertyHeader), 0, kDiphDevice};
    property.dwData = value;
    return property;
}

HResult SetDeviceDword(DeviceRef device, DeviceProperty which, std::uint32_t value) {
    const PropertyDword property = DeviceDword(value);
    return di::SetProperty(device, which, &property.diph);
}

void CloseDevice(DeviceRef& device) {
    if (device == nullptr) {
        return;
    }
    di::Unacquire(device);
    di::Release(device);
    device = nullptr;
}

// The mouse's configuration; the first failure is returned.
HResult ConfigureMouse(DeviceRef mouse, WindowRef window) {
    HResult result = di::SetDataFormat(mouse, DataFormat::Mouse2);
    if (result < 0)
        return result;
    result = di::SetCooperativeLevel(mouse, window, kCooperativeForegroundShared);
    if (result < 0)
        return result;
    result = SetDeviceDword(mouse, DeviceProperty::AxisMode, kDiPropAxisModeRel);
    if (result < 0)
        return result;
    return SetDeviceDword(mouse, DeviceProperty::BufferSize, kRecordCapacity);
}

HResult ConfigureController(DeviceRef pad, WindowRef window) {
    HResult result = di::SetDataFormat(pad, DataFormat::Joystick);
    if (result < 0)
        return result;
    result = di::SetCooperativeLevel(pad, window, kCooperativeForegroundShared);
    if (result < 0)
        return result;
    result = di::EnumAxes(pad, &InputDeviceSet::SetAxisRange, pad);
    if (result < 0)
        return result;
    result = SetDeviceDword(pad, DeviceProperty::AxisMode, kDiPropAxisModeAbs);
    if (result < 0)
        return result;
    return SetDeviceDword(pad, DeviceProperty::BufferSize, kRecordCapacity);
}

}  // namespace

HResult InputDeviceSet::OpenDevices(InstanceRef instance, WindowRef mainWindow,
                                    std::int32_t horizontal, std::int32_t vertical) {
    window = mainWindow;

    DirectInputRef created = nullptr;
    HResult result = di::Create(instance, &created);
    if (result < 0) {
        return result;
    }
    directInput = created;

    DeviceRef device = nullptr;
    result = di::CreateSystemDevice(directInput, SystemDevice::Keyboard, &device);
    if (result < 0) {
        return result;
    }
    keyboard = device;
    result = di::SetDataFormat(keyboard, DataFormat::Keyboard);
    if (result < 0)
        return result;
    result = di::SetCooperativeLevel(keyboard, window, kCooperativeForegroundShared);
    if (result < 0)
        return result;
    result = SetDeviceDword(keyboard, DeviceProperty::BufferSize, kRecordCapacity);
    if (result < 0)
        return result;
    di::Acquire(keyboard);

    device = nullptr;
    result = di::CreateSystemDevice(directInput, SystemDevice::Mouse, &device);
    if (result < 0) {
        return result;
    }
    mouse = device;
    // A mouse that cannot be set up is left out; the controllers are still
    // wanted, and nothing reads the mouse anyway.
    if (ConfigureMouse(mouse, window) < 0) {
        di::Release(mouse);
        mouse = nullptr;
    } else {
        di::Acquire(mouse);
    }

    result = di::JoystickCount(&padLimit);
    if (result < 0) {
        return result;
    }
    thresholdX = horizontal;
    thresholdY = vertical;

    result = di::EnumControllers(directInput, &InputDeviceSet::AddGameController, this);
    if (result < 0) {
        return result;
    }

    delete[] snapshots;
    snapshots = new PadSnapshot[padCount]();
    for (std::uint32_t i = 0; i < padCount; ++i) {
        result = ConfigureController(pads[i], window);
        if (result < 0) {
            return result;
        }
        di::Acquire(pads[i]);
        snapshots[i] = PadSnapshot{};
    }
    return kDiOk;
}

int InputDeviceSet::AddGameController(const void* deviceInstance, void* set) {
    InputDeviceSet& self = *static_cast<InputDeviceSet*>(set);
    if (self.padCount >= kSlotCount) {
        return kDiEnumStop;
    }
    // A controller that cannot be created takes no slot: every slot below
    // padCount holds a device.
    DeviceRef pad = nullptr;
    if (di::CreateController(self.directInput, deviceInstance, &pad) < 0 || pad == nullptr) {
        return kDiEnumContinue;
    }
    self.pads[self.padCount] = pad;
    ++self.padCount;
    if (self.padCount == self.padLimit || self.padCount == kSlotCount) {
        return kDiEnumStop;
    }
    return kDiEnumContinue;
}

int InputDeviceSet::SetAxisRange(std::uint32_t axisType, void* device) {
    PropertyRange range{};
    range.diph = {sizeof(PropertyRange), sizeof(PropertyHeader), axisType, kDiphById};
    range.lMin = kAxisMin;
    range.lMax = kAxisMax;
    return di::SetProperty(device, DeviceProperty::Range, &range.diph) < 0 ? kDiEnumStop
                                                                           : kDiEnumContinue;
}

HResult InputDeviceSet::CloseDevices() {
    CloseDevice(keyboard);
    CloseDevice(mouse);
    const std::uint32_t opened = padCount < kSlotCount ? padCount : kSlotCount;
    for (std::uint32_t i = 0; i < opened; ++i) {
        CloseDevice(pads[i]);
    }
    delete[] snapshots;
    snapshots = nullptr;
    padCount = 0;
    if (directInput != nullptr) {
        di::ReleaseDirectInput(directInput);
        directInput = nullptr;
    }
    return kDiOk;
}
