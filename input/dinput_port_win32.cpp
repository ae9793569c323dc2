// The device seam over DirectInput 8: one call per operation, results passed
// through. dinput8.dll and winmm.dll come from the system directory only and
// are loaded on first use, so the executable imports neither.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <cstddef>
#include <cstring>

#include "input/device_port.h"
#include "input/system_library.h"

static_assert(sizeof(DIDEVICEOBJECTDATA) == sizeof(DeviceRecord), "record layout");
static_assert(offsetof(DIDEVICEOBJECTDATA, dwOfs) == offsetof(DeviceRecord, dwOfs), "dwOfs");
static_assert(offsetof(DIDEVICEOBJECTDATA, dwData) == offsetof(DeviceRecord, dwData), "dwData");
static_assert(offsetof(DIDEVICEOBJECTDATA, uAppData) == offsetof(DeviceRecord, uAppData),
              "uAppData");
static_assert(sizeof(DIPROPHEADER) == sizeof(PropertyHeader), "property header");
static_assert(sizeof(DIPROPDWORD) == sizeof(PropertyDword), "DWORD property");
static_assert(sizeof(DIPROPRANGE) == sizeof(PropertyRange), "range property");
static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "DWORD");
static_assert(DIPH_DEVICE == kDiphDevice && DIPH_BYID == kDiphById, "DIPH_*");
static_assert(DIPROPAXISMODE_ABS == kDiPropAxisModeAbs && DIPROPAXISMODE_REL == kDiPropAxisModeRel,
              "DIPROPAXISMODE_*");
static_assert((DISCL_NONEXCLUSIVE | DISCL_FOREGROUND) == kCooperativeForegroundShared, "DISCL_*");

namespace {

using DirectInput8CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
using JoyGetNumDevsFn = UINT(WINAPI*)();

// A failed load or lookup as a negative code, so the caller's test for
// failure sees it.
HResult LastErrorResult() {
    const DWORD error = GetLastError();
    return error != 0 ? static_cast<HResult>(HRESULT_FROM_WIN32(error)) : kEFail;
}

// Finds an entry point of a DLL from the system directory; the module stays
// loaded for the life of the process. Not GetModuleHandleA first: it would
// answer any module of that name already loaded, from wherever it came.
FARPROC SystemEntryPoint(const char* dll, const char* name) {
    HMODULE module = static_cast<HMODULE>(LoadSystemLibrary(dll));
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

template <typename Fn>
Fn EntryPoint(const char* dll, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemEntryPoint(dll, name)));
}

IDirectInput8A* Api(DirectInputRef ref) {
    return static_cast<IDirectInput8A*>(ref);
}
IDirectInputDevice8A* Device(DeviceRef ref) {
    return static_cast<IDirectInputDevice8A*>(ref);
}

struct ControllerEnumeration {
    ControllerCallback callback;
    void* context;
};

BOOL CALLBACK EachController(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    const auto* enumeration = static_cast<const ControllerEnumeration*>(context);
    return enumeration->callback(instance, enumeration->context);
}

struct AxisEnumeration {
    AxisCallback callback;
    void* context;
};

BOOL CALLBACK EachAxis(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
    const auto* enumeration = static_cast<const AxisEnumeration*>(context);
    return enumeration->callback(object->dwType, enumeration->context);
}

}  // namespace

namespace di {

HResult Create(InstanceRef instance, DirectInputRef* out) {
    *out = nullptr;
    const auto create = EntryPoint<DirectInput8CreateFn>("dinput8.dll", "DirectInput8Create");
    if (create == nullptr) {
        return LastErrorResult();
    }
    void* object = nullptr;
    const HRESULT result = create(static_cast<HINSTANCE>(instance), DIRECTINPUT_VERSION,
                                  IID_IDirectInput8A, &object, nullptr);
    *out = SUCCEEDED(result) ? object : nullptr;
    return static_cast<HResult>(result);
}

void ReleaseDirectInput(DirectInputRef directInput) {
    Api(directInput)->Release();
}

HResult CreateSystemDevice(DirectInputRef directInput, SystemDevice which, DeviceRef* out) {
    IDirectInputDevice8A* device = nullptr;
    const HRESULT result =
        Api(directInput)
            ->CreateDevice(which == SystemDevice::Keyboard ? GUID_SysKeyboard : GUID_SysMouse,
                           &device, nullptr);
    *out = SUCCEEDED(result) ? device : nullptr;
    return static_cast<HResult>(result);
}

HResult CreateController(DirectInputRef directInput, const void* deviceInstance, DeviceRef* out) {
    const auto* instance = static_cast<const DIDEVICEINSTANCEA*>(deviceInstance);
    IDirectInputDevice8A* device = nullptr;
    const HRESULT result = Api(directInput)->CreateDevice(instance->guidInstance, &device, nullptr);
    *out = SUCCEEDED(result) ? device : nullptr;
    return static_cast<HResult>(result);
}

void DescribeController(const void* deviceInstance, ControllerId* id, char* name,
                        std::uint32_t capacity) {
    const auto* instance = static_cast<const DIDEVICEINSTANCEA*>(deviceInstance);
    static_assert(sizeof(id->bytes) == sizeof(instance->guidInstance), "GUID size");
    std::memcpy(id->bytes, &instance->guidInstance, sizeof(id->bytes));
    // The A interface gives the name in the system's code page; the tool
    // shows it from UTF-8.
    wchar_t wide[MAX_PATH] = {};
    const int length = MultiByteToWideChar(CP_ACP, 0, instance->tszProductName, -1, wide, MAX_PATH);
    const int written = length > 0
                            ? WideCharToMultiByte(CP_UTF8, 0, wide, -1, name,
                                                  static_cast<int>(capacity), nullptr, nullptr)
                            : 0;
    if (written == 0 && capacity > 0) {
        name[0] = '\0';
    }
}

HResult EnumControllers(DirectInputRef directInput, ControllerCallback callback, void* context) {
    ControllerEnumeration enumeration{callback, context};
    return static_cast<HResult>(
        Api(directInput)
            ->EnumDevices(DI8DEVCLASS_GAMECTRL, EachController, &enumeration, DIEDFL_ATTACHEDONLY));
}

HResult JoystickCount(std::uint32_t* count) {
    const auto joyGetNumDevs = EntryPoint<JoyGetNumDevsFn>("winmm.dll", "joyGetNumDevs");
    if (joyGetNumDevs == nullptr) {
        return LastErrorResult();
    }
    *count = joyGetNumDevs();
    return kDiOk;
}

HResult SetDataFormat(DeviceRef device, DataFormat format) {
    const DIDATAFORMAT* data = format == DataFormat::Keyboard ? &c_dfDIKeyboard
                               : format == DataFormat::Mouse2 ? &c_dfDIMouse2
                                                              : &c_dfDIJoystick;
    return static_cast<HResult>(Device(device)->SetDataFormat(data));
}

HResult SetCooperativeLevel(DeviceRef device, WindowRef window, std::uint32_t flags) {
    return static_cast<HResult>(
        Device(device)->SetCooperativeLevel(static_cast<HWND>(window), flags));
}

HResult SetProperty(DeviceRef device, DeviceProperty property, const PropertyHeader* header) {
    REFGUID which = property == DeviceProperty::BufferSize ? DIPROP_BUFFERSIZE
                    : property == DeviceProperty::AxisMode ? DIPROP_AXISMODE
                                                           : DIPROP_RANGE;
    return static_cast<HResult>(
        Device(device)->SetProperty(which, reinterpret_cast<const DIPROPHEADER*>(header)));
}

HResult EnumAxes(DeviceRef device, AxisCallback callback, void* context) {
    AxisEnumeration enumeration{callback, context};
    return static_cast<HResult>(Device(device)->EnumObjects(EachAxis, &enumeration, DIDFT_AXIS));
}

HResult Acquire(DeviceRef device) {
    return static_cast<HResult>(Device(device)->Acquire());
}

HResult Unacquire(DeviceRef device) {
    return static_cast<HResult>(Device(device)->Unacquire());
}

void Release(DeviceRef device) {
    Device(device)->Release();
}

HResult Poll(DeviceRef device) {
    return static_cast<HResult>(Device(device)->Poll());
}

HResult GetDeviceData(DeviceRef device, std::uint32_t recordSize, DeviceRecord* records,
                      std::uint32_t* count, std::uint32_t flags) {
    DWORD inOut = *count;
    const HRESULT result = Device(device)->GetDeviceData(
        recordSize, reinterpret_cast<DIDEVICEOBJECTDATA*>(records), &inOut, flags);
    *count = inOut;
    return static_cast<HResult>(result);
}

HResult GetDeviceState(DeviceRef device, std::uint32_t size, void* state) {
    return static_cast<HResult>(Device(device)->GetDeviceState(size, state));
}

}  // namespace di
