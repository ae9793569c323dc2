// All physical input of the process: the DirectInput devices, the state read
// from them each tick and the edge state of every key and pad input.
#pragma once

#include <cstdint>

#include "input/device_port.h"

// 0 idle, 1 released, 2 pressed, 3 held.
using EdgeState = std::int32_t;
constexpr EdgeState kEdgeIdle = 0;
constexpr EdgeState kEdgeReleased = 1;
constexpr EdgeState kEdgePressed = 2;
constexpr EdgeState kEdgeHeld = 3;

struct EdgeRecord {
    EdgeState state;
    std::uint8_t current;
    std::uint8_t previous;
};

struct PadSnapshot {
    std::uint8_t buttons[32];
    std::uint8_t directions[4];  // up, down, left, right
    std::int32_t x;
    std::int32_t y;
};

constexpr int kKeyCount = 256;
constexpr int kPadSlots = 16;
constexpr int kPadInputCount = 36;  // 32 buttons, then up, down, left, right
constexpr std::uint32_t kRecordCapacity = 8;

// What the tool knows of an open controller besides its device.
struct PadInfo {
    ControllerId id;
    char name[kControllerNameCapacity];  // UTF-8
    // Its device object answered Acquire as for a controller that is gone.
    // While the enumeration still lists the controller, the object may be
    // one that an unplug left dead (plugged back at once keeps the instance
    // GUID): the next refresh replaces it.
    bool lost = false;
};

// Acquire's answers for an object whose controller went away: DIERR_UNPLUGGED
// or DIERR_INPUTLOST. Microsoft lists neither among Acquire's results (only
// DIERR_OTHERAPPHASPRIO, the window in the background, which says nothing of
// the controller), but DirectInput gives them for an unplugged controller's
// objects, and the code relies on that.
inline bool ControllerGone(HResult acquired) {
    return acquired == kDiErrUnplugged || acquired == kDiErrInputLost;
}

class InputDeviceSet {
  public:
    // Opening and closing (one time each per process).
    HResult OpenDevices(InstanceRef instance, WindowRef mainWindow, std::int32_t horizontal,
                        std::int32_t vertical);
    HResult CloseDevices();
    static int AddGameController(const void* deviceInstance, void* scan);
    static int SetAxisRange(std::uint32_t axisType, void* device);
    // After a device came or went: controllers no longer attached are
    // released, new ones opened after those kept, in DirectInput's order, so
    // the one read stays the one read while it is there. A controller that
    // cannot be opened is left out and counted. Never touches the keyboard or
    // the mouse, and allocates nothing.
    HResult RefreshControllers();
    // True once when the reads have found a controller lost since the last
    // refresh; false from then on until RefreshControllers has run, so that
    // one refresh is asked for at a time.
    bool TakeRefreshRequest();

    // Once per tick.
    void UpdateInputs();
    HResult ReadMouse();
    HResult ReadKeyboard();
    HResult ReadControllers();
    std::uint8_t KeyDown(int scanCode) const { return keyDown[scanCode]; }
    const PadSnapshot* PadSnapshotAt(std::uint32_t index) const {
        return index < padCount ? &snapshots[index] : nullptr;
    }

    std::uint8_t keyDown[kKeyCount] = {};
    std::uint32_t padCount = 0;
    std::uint32_t padLimit = 0;
    PadSnapshot snapshots[kPadSlots] = {};
    std::int32_t thresholdX = 0;
    std::int32_t thresholdY = 0;
    WindowRef window = nullptr;
    DirectInputRef directInput = nullptr;
    DeviceRef keyboard = nullptr;
    DeviceRef mouse = nullptr;
    DeviceRef pads[kPadSlots] = {};
    DeviceRecord recordBuffer[kRecordCapacity] = {};
    std::uint32_t selectedPad = 0;
    EdgeRecord keyEdges[kKeyCount] = {};
    EdgeRecord padEdges[kPadInputCount] = {};
    PadInfo padInfo[kPadSlots] = {};
    // At the last enumeration: controllers attached, and those among them
    // that could not be opened.
    std::uint32_t attachedCount = 0;
    std::uint32_t unopenedCount = 0;
    // Whether the reads want a refresh, and whether TakeRefreshRequest has
    // passed that on.
    enum class RefreshRequest : std::uint8_t { None, Wanted, Asked };
    RefreshRequest refreshRequest = RefreshRequest::None;

  private:
    // Enumerates the controllers: drops those gone, opens the new ones.
    HResult ScanControllers(bool startingUp);
};

// The process's one set; all zero until OpenDevices. Constant-initialised, so
// it exists before any other global; its closing is registered separately
// (RegisterDeviceCleanup) at the place the start-up order gives.
extern InputDeviceSet InputDevices;

// Registers CloseDevices of InputDevices to run at process exit.
void RegisterDeviceCleanup();
