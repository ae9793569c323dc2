// The seam between the input logic and DirectInput 8. Each operation is one
// DirectInput call with its HRESULT passed through unchanged; the Win32 side
// (dinput_port_win32.cpp) loads dinput8.dll and winmm.dll from the system
// directory, tests link a scriptable double.
#pragma once

#include <cstdint>

#include "base/platform_refs.h"

using HResult = std::int32_t;
using DirectInputRef = void*;
using DeviceRef = void*;

constexpr HResult kDiOk = 0;
constexpr HResult kDiBufferOverflow = 1;  // S_FALSE: records delivered, some were lost
constexpr HResult kDiNoEffect = 1;        // S_FALSE: e.g. Acquire on an acquired device
constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
constexpr HResult kDiErrNotAcquired = static_cast<HResult>(0x8007000Cu);
constexpr HResult kDiErrInputLost = static_cast<HResult>(0x8007001Eu);
constexpr HResult kDiErrDeviceNotReg = static_cast<HResult>(0x80040154u);
constexpr HResult kDiErrNotFound = static_cast<HResult>(0x80070002u);
constexpr HResult kDiErrUnplugged = static_cast<HResult>(0x80040209u);
constexpr HResult kDiErrOtherAppHasPrio = static_cast<HResult>(0x80070005u);

constexpr int kDiEnumStop = 0;
constexpr int kDiEnumContinue = 1;

// DISCL_NONEXCLUSIVE | DISCL_FOREGROUND.
constexpr std::uint32_t kCooperativeForegroundShared = 6;

// Same layout as DIDEVICEOBJECTDATA (DirectInput 8) on 32- and 64-bit
// Windows, so the adapter hands the buffer to GetDeviceData as it is.
struct DeviceRecord {
    std::uint32_t dwOfs;
    std::uint32_t dwData;
    std::uint32_t dwTimeStamp;
    std::uint32_t dwSequence;
    std::uintptr_t uAppData;
};

// Same layouts as DIPROPHEADER, DIPROPDWORD and DIPROPRANGE.
struct PropertyHeader {
    std::uint32_t dwSize;
    std::uint32_t dwHeaderSize;
    std::uint32_t dwObj;
    std::uint32_t dwHow;
};
struct PropertyDword {
    PropertyHeader diph;
    std::uint32_t dwData;
};
struct PropertyRange {
    PropertyHeader diph;
    std::int32_t lMin;
    std::int32_t lMax;
};

constexpr std::uint32_t kDiphDevice = 0;
constexpr std::uint32_t kDiphById = 2;
constexpr std::uint32_t kDiPropAxisModeAbs = 0;
constexpr std::uint32_t kDiPropAxisModeRel = 1;

enum class SystemDevice { Keyboard, Mouse };
enum class DataFormat { Keyboard, Mouse2, Joystick };       // c_dfDI*
enum class DeviceProperty { BufferSize, AxisMode, Range };  // DIPROP_*

// A controller's identity: its instance GUID's bytes. Windows keeps it for
// the same device plugged in again.
struct ControllerId {
    std::uint8_t bytes[16];
};
// Product names are at most 259 characters, up to three UTF-8 bytes each.
constexpr std::uint32_t kControllerNameCapacity = 3 * 260;

// EnumDevices callback: deviceInstance is the platform's DIDEVICEINSTANCEA,
// only ever handed back to CreateController and DescribeController.
using ControllerCallback = int (*)(const void* deviceInstance, void* context);
// EnumObjects(DIDFT_AXIS) callback: the axis's type id (dwType).
using AxisCallback = int (*)(std::uint32_t axisType, void* context);

namespace di {

// DirectInput8Create(instance, 0x0800, IID_IDirectInput8A, out, nullptr).
HResult Create(InstanceRef instance, DirectInputRef* out);
void ReleaseDirectInput(DirectInputRef directInput);
// CreateDevice(GUID_SysKeyboard / GUID_SysMouse).
HResult CreateSystemDevice(DirectInputRef directInput, SystemDevice which, DeviceRef* out);
// CreateDevice(guidInstance of an enumerated controller).
HResult CreateController(DirectInputRef directInput, const void* deviceInstance, DeviceRef* out);
// The enumerated controller's instance GUID and its product name in UTF-8.
void DescribeController(const void* deviceInstance, ControllerId* id, char* name,
                        std::uint32_t capacity);
// EnumDevices(DI8DEVCLASS_GAMECTRL, callback, context, DIEDFL_ATTACHEDONLY).
HResult EnumControllers(DirectInputRef directInput, ControllerCallback callback, void* context);
// joyGetNumDevs(); fails only when winmm.dll cannot be loaded.
HResult JoystickCount(std::uint32_t* count);

HResult SetDataFormat(DeviceRef device, DataFormat format);
HResult SetCooperativeLevel(DeviceRef device, WindowRef window, std::uint32_t flags);
HResult SetProperty(DeviceRef device, DeviceProperty property, const PropertyHeader* header);
// EnumObjects(callback, context, DIDFT_AXIS).
HResult EnumAxes(DeviceRef device, AxisCallback callback, void* context);
HResult Acquire(DeviceRef device);
HResult Unacquire(DeviceRef device);
void Release(DeviceRef device);
HResult Poll(DeviceRef device);
// GetDeviceData(recordSize, records, count, flags): count holds the capacity
// on entry and the records delivered on return.
HResult GetDeviceData(DeviceRef device, std::uint32_t recordSize, DeviceRecord* records,
                      std::uint32_t* count, std::uint32_t flags);
HResult GetDeviceState(DeviceRef device, std::uint32_t size, void* state);

}  // namespace di
