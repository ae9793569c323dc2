#include <cstdint>

#include "input/edge_state.h"
#include "input/input_device_set.h"

namespace {

constexpr std::uint32_t kSlotCount = kPadSlots;

constexpr std::uint32_t kRecordSize = sizeof(DeviceRecord);
constexpr std::uint32_t kKeyboardStateSize = 256;
constexpr std::uint32_t kDownBit = 0x80;

// c_dfDIJoystick object offsets.
constexpr std::uint32_t kJoyX = 0;
constexpr std::uint32_t kJoyY = 4;
constexpr std::uint32_t kJoyButton0 = 48;
constexpr std::uint32_t kJoyButtonEnd = kJoyButton0 + 32;

// The platform reports the count; the buffer holds no more than its capacity.
std::uint32_t Delivered(std::uint32_t count) {
    return count < kRecordCapacity ? count : kRecordCapacity;
}

std::uint8_t DownBit(std::uint32_t data) {
    return (data & kDownBit) != 0 ? 1 : 0;
}

// How a key found down in the device's state counts at the next update.
enum class DownKeys { Pressed, Held };

void RefreshKeysFromState(InputDeviceSet& set, DownKeys down) {
    std::uint8_t state[kKeyboardStateSize];
    if (di::GetDeviceState(set.keyboard, kKeyboardStateSize, state) < 0) {
        return;
    }
    for (std::uint32_t scanCode = 0; scanCode < kKeyboardStateSize; ++scanCode) {
        const std::uint8_t isDown = DownBit(state[scanCode]);
        set.keyDown[scanCode] = isDown;
        if (isDown != 0 && down == DownKeys::Held) {
            set.keyEdges[scanCode].previous = 1;
        }
    }
}

// Signed and inclusive; widened so that no threshold can overflow.
std::uint8_t AtOrBelow(std::int32_t position, std::int32_t threshold) {
    return static_cast<std::int64_t>(position) <= -static_cast<std::int64_t>(threshold) ? 1 : 0;
}
std::uint8_t AtOrAbove(std::int32_t position, std::int32_t threshold) {
    return position >= threshold ? 1 : 0;
}

}  // namespace

void InputDeviceSet::UpdateInputs() {
    ReadMouse();
    ReadKeyboard();
    ReadControllers();

    for (int scanCode = 0; scanCode < kKeyCount; ++scanCode) {
        StepEdge(keyEdges[scanCode], KeyDown(scanCode));
    }

    const PadSnapshot* pad = PadSnapshotAt(selectedPad);
    if (pad == nullptr) {
        for (EdgeRecord& edge : padEdges) {
            edge.current = 0;
            if (edge.previous != 0) {
                edge.previous = 0;
                edge.state = kEdgeReleased;
            } else {
                edge.state = kEdgeIdle;
            }
        }
        return;
    }
    for (int n = 0; n < 32; ++n) {
        StepEdge(padEdges[n], pad->buttons[n]);
    }
    for (int n = 0; n < 4; ++n) {
        StepEdge(padEdges[32 + n], pad->directions[n]);
    }
}

HResult InputDeviceSet::ReadMouse() {
    if (mouse == nullptr) {
        return kDiOk;
    }
    // Nothing reads the mouse's values; the device only has to be drained.
    std::uint32_t count = kRecordCapacity;
    // DI_BUFFEROVERFLOW is a success: the records came, only older ones were lost.
    if (di::GetDeviceData(mouse, kRecordSize, recordBuffer, &count, 0) < 0) {
        if (di::Acquire(mouse) != kDiOk) {
            return kEFail;
        }
        count = Delivered(count);
        di::GetDeviceData(mouse, kRecordSize, recordBuffer, &count, 0);
    }
    return kDiOk;
}

HResult InputDeviceSet::ReadKeyboard() {
    if (keyboard == nullptr) {
        return kDiOk;
    }
    std::uint32_t count = kRecordCapacity;
    const HResult result = di::GetDeviceData(keyboard, kRecordSize, recordBuffer, &count, 0);
    if (result == kDiOk || result == kDiBufferOverflow) {
        const std::uint32_t delivered = Delivered(count);
        for (std::uint32_t i = 0; i < delivered; ++i) {
            const DeviceRecord& record = recordBuffer[i];
            if (record.dwOfs < static_cast<std::uint32_t>(kKeyCount)) {
                keyDown[record.dwOfs] = DownBit(record.dwData);
            }
        }
        // Events were lost, among them perhaps a release: the device's own
        // picture of the keys is the only one still right. The window had the
        // focus all along, so a key down now was pressed within the tool.
        if (result == kDiBufferOverflow) {
            RefreshKeysFromState(*this, DownKeys::Pressed);
        }
        return kDiOk;
    }
    if (di::Acquire(keyboard) != kDiOk) {
        return kEFail;
    }
    // Back after being lost (the window was in the background): whatever
    // happened meanwhile never reached the buffer, so take the keys as they
    // are. A key already down was pressed elsewhere, such as the Enter that
    // answered a message box, and must not fill the selected slot.
    RefreshKeysFromState(*this, DownKeys::Held);
    return kDiOk;
}

HResult InputDeviceSet::ReadControllers() {
    if (padCount == 0 || pads[0] == nullptr) {
        return kDiOk;
    }
    const std::uint32_t opened = padCount < kSlotCount ? padCount : kSlotCount;
    for (std::uint32_t i = 0; i < opened; ++i) {
        DeviceRef pad = pads[i];
        if (pad == nullptr) {
            continue;
        }
        if (di::Poll(pad) < 0) {
            const HResult acquired = di::Acquire(pad);
            if (acquired != kDiOk) {
                if (ControllerGone(acquired)) {
                    padInfo[i].lost = true;
                    if (refreshRequest == RefreshRequest::None) {
                        refreshRequest = RefreshRequest::Wanted;
                    }
                }
                return kEFail;
            }
            di::Poll(pad);
        }
        padInfo[i].lost = false;
        std::uint32_t count = kRecordCapacity;
        // A failed read delivered nothing; the buffer may hold another
        // device's records.
        if (di::GetDeviceData(pad, kRecordSize, recordBuffer, &count, 0) < 0) {
            count = 0;
        }

        PadSnapshot& snapshot = snapshots[i];
        for (std::uint8_t& button : snapshot.buttons) {
            button = 0;
        }
        for (std::uint8_t& direction : snapshot.directions) {
            direction = 0;
        }
        const std::uint32_t delivered = Delivered(count);
        for (std::uint32_t r = 0; r < delivered; ++r) {
            const DeviceRecord& record = recordBuffer[r];
            if (record.dwOfs == kJoyX) {
                snapshot.x = static_cast<std::int32_t>(record.dwData);
            } else if (record.dwOfs == kJoyY) {
                snapshot.y = static_cast<std::int32_t>(record.dwData);
            } else if (record.dwOfs >= kJoyButton0 && record.dwOfs < kJoyButtonEnd) {
                snapshot.buttons[record.dwOfs - kJoyButton0] = DownBit(record.dwData);
            }
        }
        snapshot.directions[0] = AtOrBelow(snapshot.y, thresholdY);
        snapshot.directions[1] = AtOrAbove(snapshot.y, thresholdY);
        snapshot.directions[2] = AtOrBelow(snapshot.x, thresholdX);
        snapshot.directions[3] = AtOrAbove(snapshot.x, thresholdX);
    }
    return kDiOk;
}
