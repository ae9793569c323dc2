#include <cstdint>
#include <cstring>

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

// What a device's axes are set to: the keyboard has none, the mouse reports
// its moves, and a controller each axis's position within its range.
enum class Axes { None, Relative, Ranged };

struct DeviceSetup {
    DataFormat format;
    Axes axes;
};

constexpr DeviceSetup kKeyboardSetup = {DataFormat::Keyboard, Axes::None};
constexpr DeviceSetup kMouseSetup = {DataFormat::Mouse2, Axes::Relative};
constexpr DeviceSetup kControllerSetup = {DataFormat::Joystick, Axes::Ranged};

// A created device set up for buffered reads: data format, cooperative level,
// the axes' ranges and mode, buffer size, in that order. The first failure
// ends it and is returned.
HResult ConfigureDevice(DeviceRef device, WindowRef window, const DeviceSetup& setup) {
    HResult result = di::SetDataFormat(device, setup.format);
    if (result < 0) {
        return result;
    }
    result = di::SetCooperativeLevel(device, window, kCooperativeForegroundShared);
    if (result < 0) {
        return result;
    }
    if (setup.axes == Axes::Ranged) {
        result = di::EnumAxes(device, &InputDeviceSet::SetAxisRange, device);
        if (result < 0) {
            return result;
        }
    }
    if (setup.axes != Axes::None) {
        const std::uint32_t mode =
            setup.axes == Axes::Relative ? kDiPropAxisModeRel : kDiPropAxisModeAbs;
        result = SetDeviceDword(device, DeviceProperty::AxisMode, mode);
        if (result < 0) {
            return result;
        }
    }
    return SetDeviceDword(device, DeviceProperty::BufferSize, kRecordCapacity);
}

// One enumeration of the attached controllers: which open ones it still
// found, and the new ones it created, in DirectInput's order.
struct ControllerScan {
    InputDeviceSet* set;
    // At start-up the enumeration ends once the limit is reached; later it
    // must see every controller, to know which are gone.
    bool stopWhenFull;
    bool seen[kPadSlots];
    // By slot, the objects this scan made, which are still to be set up: an
    // open controller's new object in place of its lost one, and once the
    // scan is merged, the new controllers' too.
    bool made[kPadSlots];
    DeviceRef fresh[kPadSlots];
    PadInfo freshInfo[kPadSlots];
    std::uint32_t freshCount;
    std::uint32_t attached;
    std::uint32_t unopened;
};

bool SameController(const ControllerId& a, const ControllerId& b) {
    return std::memcmp(a.bytes, b.bytes, sizeof(a.bytes)) == 0;
}

// Slots a scan may fill: 16 at most, and joyGetNumDevs' count when it gives one.
std::uint32_t SlotLimit(std::uint32_t padLimit) {
    return padLimit != 0 && padLimit < kSlotCount ? padLimit : kSlotCount;
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
    result = ConfigureDevice(keyboard, window, kKeyboardSetup);
    if (result < 0) {
        return result;
    }
    di::Acquire(keyboard);

    device = nullptr;
    result = di::CreateSystemDevice(directInput, SystemDevice::Mouse, &device);
    if (result < 0) {
        return result;
    }
    mouse = device;
    // A mouse that cannot be set up is left out; the controllers are still
    // wanted, and nothing reads the mouse anyway.
    if (ConfigureDevice(mouse, window, kMouseSetup) < 0) {
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
    return ScanControllers(true);
}

int InputDeviceSet::AddGameController(const void* deviceInstance, void* context) {
    ControllerScan& scan = *static_cast<ControllerScan*>(context);
    InputDeviceSet& self = *scan.set;
    ++scan.attached;
    PadInfo info;
    di::DescribeController(deviceInstance, &info.id, info.name, sizeof(info.name));
    for (std::uint32_t i = 0; i < self.padCount; ++i) {
        if (!SameController(self.padInfo[i].id, info.id)) {
            continue;
        }
        scan.seen[i] = true;
        // Listed, yet its object answers as if it were unplugged: plugged
        // back at once, it keeps its slot, but an object made before the
        // unplug may stay dead, and only a new one reads it again. One that
        // cannot be made leaves an empty slot, which the scan drops.
        if (self.padInfo[i].lost) {
            CloseDevice(self.pads[i]);
            DeviceRef pad = nullptr;
            if (di::CreateController(self.directInput, deviceInstance, &pad) < 0 ||
                pad == nullptr) {
                ++scan.unopened;
                return kDiEnumContinue;
            }
            self.pads[i] = pad;
            scan.made[i] = true;
        }
        return kDiEnumContinue;
    }
    // The open ones keep their slots until the scan has seen them all.
    const std::uint32_t limit = SlotLimit(self.padLimit);
    if (self.padCount + scan.freshCount >= limit) {
        return scan.stopWhenFull ? kDiEnumStop : kDiEnumContinue;
    }
    // A controller that cannot be created takes no slot: every slot below
    // padCount holds a device.
    DeviceRef pad = nullptr;
    if (di::CreateController(self.directInput, deviceInstance, &pad) < 0 || pad == nullptr) {
        ++scan.unopened;
        return kDiEnumContinue;
    }
    scan.fresh[scan.freshCount] = pad;
    scan.freshInfo[scan.freshCount] = info;
    ++scan.freshCount;
    if (scan.stopWhenFull && self.padCount + scan.freshCount == limit) {
        return kDiEnumStop;
    }
    return kDiEnumContinue;
}

HResult InputDeviceSet::ScanControllers(bool startingUp) {
    ControllerScan scan = {};
    scan.set = this;
    scan.stopWhenFull = startingUp;
    const HResult result =
        di::EnumControllers(directInput, &InputDeviceSet::AddGameController, &scan);

    // Controllers gone since the last scan, unless the scan itself failed.
    std::uint32_t kept = 0;
    for (std::uint32_t i = 0; i < padCount; ++i) {
        if (pads[i] != nullptr && (result < 0 || scan.seen[i])) {
            pads[kept] = pads[i];
            padInfo[kept] = padInfo[i];
            snapshots[kept] = scan.made[i] ? PadSnapshot{} : snapshots[i];
            scan.made[kept] = scan.made[i];
            ++kept;
        } else {
            CloseDevice(pads[i]);
        }
    }
    for (std::uint32_t i = kept; i < padCount; ++i) {
        pads[i] = nullptr;
    }
    padCount = kept;

    // New ones join after those kept; created devices are the set's to
    // release, whatever happens next.
    for (std::uint32_t i = 0; i < scan.freshCount; ++i) {
        pads[padCount] = scan.fresh[i];
        padInfo[padCount] = scan.freshInfo[i];
        snapshots[padCount] = PadSnapshot{};
        scan.made[padCount] = true;
        ++padCount;
    }
    if (result >= 0) {
        attachedCount = scan.attached;
        unopenedCount = scan.unopened;
    }
    if (startingUp && result < 0) {
        return result;
    }
    for (std::uint32_t i = 0; i < padCount;) {
        if (!scan.made[i]) {
            ++i;
            continue;
        }
        const HResult configured = ConfigureDevice(pads[i], window, kControllerSetup);
        if (configured >= 0) {
            padInfo[i].lost = ControllerGone(di::Acquire(pads[i]));
            ++i;
            continue;
        }
        // At start-up a controller that cannot be set up ends the opening;
        // once the tool runs, it is only left out.
        if (startingUp) {
            return configured;
        }
        CloseDevice(pads[i]);
        for (std::uint32_t k = i + 1; k < padCount; ++k) {
            pads[k - 1] = pads[k];
            padInfo[k - 1] = padInfo[k];
            snapshots[k - 1] = snapshots[k];
            scan.made[k - 1] = scan.made[k];
        }
        pads[--padCount] = nullptr;
        ++unopenedCount;
    }
    return result < 0 ? result : kDiOk;
}

HResult InputDeviceSet::RefreshControllers() {
    refreshRequest = RefreshRequest::None;
    if (directInput == nullptr) {
        return kDiOk;
    }
    return ScanControllers(false);
}

bool InputDeviceSet::TakeRefreshRequest() {
    if (refreshRequest != RefreshRequest::Wanted) {
        return false;
    }
    refreshRequest = RefreshRequest::Asked;
    return true;
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
    padCount = 0;
    if (directInput != nullptr) {
        di::ReleaseDirectInput(directInput);
        directInput = nullptr;
    }
    return kDiOk;
}
