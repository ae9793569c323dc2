// Loads dinput8.dll from the system directory as padloom.exe does, opens the
// devices in the tool's order, reads a few scripted events and unplugs and
// plugs in controllers. Expects the script "controllers 2" and a writable
// command file (PADLOOM_DI_COMMANDS).
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dbt.h>
#include <dinput.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "di_guids.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what, long value) {
    std::printf("%s %s (%ld / 0x%08lX)\n", ok ? "ok  " : "FAIL", what, value,
                static_cast<unsigned long>(value));
    if (!ok)
        ++failures;
}

// Only the sizes and counts matter to the double; the object lists are the
// tool's business.
DIDATAFORMAT Format(DWORD objects, DWORD size) {
    DIDATAFORMAT format = {
        sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, size, objects, nullptr};
    return format;
}

void Command(const char* line) {
    const char* path = std::getenv("PADLOOM_DI_COMMANDS");
    std::string p = path ? path : "";
    if (!p.empty() && p[0] == '/')
        p = "Z:" + p;
    if (std::FILE* f = std::fopen(p.c_str(), "ab")) {
        std::fputs(line, f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

void SetDword(IDirectInputDevice8A* device, REFGUID property, DWORD value, const char* what) {
    DIPROPDWORD prop = {{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, value};
    Check(device->SetProperty(property, &prop.diph) == DI_OK, what, 0);
}

struct Enumerated {
    IDirectInput8A* input;
    IDirectInputDevice8A* pads[16];
    int count;
};

BOOL CALLBACK AddController(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    auto* set = static_cast<Enumerated*>(context);
    HRESULT hr = set->input->CreateDevice(instance->guidInstance, &set->pads[set->count], nullptr);
    Check(hr == DI_OK, "CreateDevice controller", hr);
    ++set->count;
    return DIENUM_CONTINUE;
}

BOOL CALLBACK SetRange(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
    auto* device = static_cast<IDirectInputDevice8A*>(context);
    DIPROPRANGE range = {
        {sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), object->dwType, DIPH_BYID}, -1000, 1000};
    HRESULT hr = device->SetProperty(DIPROP_RANGE, &range.diph);
    Check(hr == DI_OK, "SetProperty RANGE by id", hr);
    return hr >= 0 ? DIENUM_CONTINUE : DIENUM_STOP;
}

// What EnumDevices lists, e.g. "0 Test Pad 0|2 Spare Pad|": each
// controller's index (from its instance GUID) and product name.
BOOL CALLBACK ListController(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    *static_cast<std::string*>(context) +=
        std::to_string(instance->guidInstance.Data4[7]) + " " + instance->tszProductName + "|";
    return DIENUM_CONTINUE;
}

std::string List(IDirectInput8A* input) {
    std::string list;
    input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListController, &list, DIEDFL_ATTACHEDONLY);
    std::printf("info EnumDevices lists %s\n", list.c_str());
    return list;
}

// The WM_DEVICECHANGE messages that reached the window, posted or sent.
WPARAM firstWhat = 0;
LPARAM firstDetail = 0;
int changeCount = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DEVICECHANGE)
        return DefWindowProcA(window, message, wParam, lParam);
    if (changeCount++ == 0) {
        firstWhat = wParam;
        firstDetail = lParam;
    }
    return TRUE;
}

void RetrieveMessages(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    } while (GetTickCount() - start < ms);
}

// Retrieves messages until `expected` changes have come, and a little longer
// to let an extra one in; returns how many came.
int Delivered(int expected) {
    changeCount = 0;
    firstWhat = 0;
    firstDetail = 0;
    for (int waited = 0; changeCount < expected && waited < 3000; waited += 20)
        RetrieveMessages(20);
    RetrieveMessages(100);
    return changeCount;
}

}  // namespace

int main() {
    HMODULE winmm = LoadLibraryExA("winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (winmm) {
        auto joyGetNumDevs = reinterpret_cast<UINT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(winmm, "joyGetNumDevs")));
        if (joyGetNumDevs)
            std::printf("info joyGetNumDevs = %u\n", joyGetNumDevs());
    }
    HMODULE dll = LoadLibraryExA("dinput8.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    Check(dll != nullptr, "LoadLibraryExA dinput8.dll", 0);
    if (!dll)
        return 1;
    using Create = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
    auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DirectInput8Create")));
    Check(create != nullptr, "GetProcAddress DirectInput8Create", 0);
    if (!create)
        return 1;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Smoke_WindowClass";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("Smoke_WindowClass", "smoke", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        std::printf("info CreateWindowA failed (%lu), DISPLAY=%s\n", GetLastError(),
                    std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "unset");
        window = CreateWindowA("Smoke_WindowClass", "smoke", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    IDirectInput8A* input = nullptr;
    HRESULT hr = create(GetModuleHandleA(nullptr), 0x0800, kIDirectInput8A,
                        reinterpret_cast<void**>(&input), nullptr);
    Check(hr == DI_OK && input, "DirectInput8Create", hr);
    if (!input)
        return 1;

    DIDATAFORMAT keyboardFormat = Format(256, 256);
    DIDATAFORMAT mouseFormat = Format(11, 20);
    DIDATAFORMAT joystickFormat = Format(44, 80);
    IDirectInputDevice8A* keyboard = nullptr;
    Check(input->CreateDevice(kSysKeyboard, &keyboard, nullptr) == DI_OK, "CreateDevice keyboard",
          0);
    Check(keyboard->SetDataFormat(&keyboardFormat) == DI_OK, "keyboard SetDataFormat", 0);
    Check(keyboard->SetCooperativeLevel(window, 6) == DI_OK, "keyboard SetCooperativeLevel", 0);
    SetDword(keyboard, DIPROP_BUFFERSIZE, 8, "keyboard BUFFERSIZE");
    Check(keyboard->Acquire() == DI_OK, "keyboard Acquire", 0);
    Check(keyboard->Acquire() == DI_NOEFFECT, "keyboard Acquire again is DI_NOEFFECT", 0);

    IDirectInputDevice8A* mouse = nullptr;
    Check(input->CreateDevice(kSysMouse, &mouse, nullptr) == DI_OK, "CreateDevice mouse", 0);
    Check(mouse->SetDataFormat(&mouseFormat) == DI_OK, "mouse SetDataFormat", 0);
    Check(mouse->SetCooperativeLevel(window, 6) == DI_OK, "mouse SetCooperativeLevel", 0);
    SetDword(mouse, DIPROP_AXISMODE, DIPROPAXISMODE_REL, "mouse AXISMODE");
    SetDword(mouse, DIPROP_BUFFERSIZE, 8, "mouse BUFFERSIZE");
    Check(mouse->Acquire() == DI_OK, "mouse Acquire", 0);

    Enumerated set = {input, {}, 0};
    hr = input->EnumDevices(DI8DEVCLASS_GAMECTRL, AddController, &set, DIEDFL_ATTACHEDONLY);
    Check(hr == DI_OK && set.count == 2, "EnumDevices finds two controllers", set.count);
    for (int i = 0; i < set.count; ++i) {
        IDirectInputDevice8A* pad = set.pads[i];
        Check(pad->SetDataFormat(&joystickFormat) == DI_OK, "controller SetDataFormat", 0);
        Check(pad->SetCooperativeLevel(window, 6) == DI_OK, "controller SetCooperativeLevel", 0);
        Check(pad->EnumObjects(SetRange, pad, DIDFT_AXIS) == DI_OK, "controller EnumObjects", 0);
        SetDword(pad, DIPROP_AXISMODE, DIPROPAXISMODE_ABS, "controller AXISMODE");
        SetDword(pad, DIPROP_BUFFERSIZE, 8, "controller BUFFERSIZE");
        Check(pad->Acquire() == DI_OK, "controller Acquire", 0);
    }

    DIDEVICEOBJECTDATA records[8] = {};
    DWORD count = 8;
    Command("key 0x39 down");
    Command("key 0x1C down");
    hr = keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DI_OK && count == 2, "two key records", static_cast<long>(count));
    Check(records[0].dwOfs == 0x39 && records[0].dwData == 0x80, "first record is Space down",
          records[0].dwOfs);
    Check(records[1].dwOfs == 0x1C && (records[1].dwData & 0x80), "second record is Enter down",
          records[1].dwOfs);

    for (int i = 0; i < 5; ++i) {
        Command("key 0x2C down");
        Command("key 0x2C up");
    }
    count = 8;
    hr = keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DI_BUFFEROVERFLOW && count == 8, "ten events overflow a buffer of eight", hr);
    count = 8;
    hr = keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DI_OK && count == 0, "the excess was dropped", static_cast<long>(count));

    unsigned char keys[256] = {};
    Check(keyboard->GetDeviceState(sizeof keys, keys) == DI_OK, "keyboard GetDeviceState", 0);
    Check(keys[0x39] == 0x80 && keys[0x2C] == 0, "immediate state: Space down, Z up", keys[0x39]);

    Command("button 0 down");
    Command("axis y -1000");
    Command("button 3 down controller1");
    Check(set.pads[0]->Poll() == DI_OK, "controller Poll", 0);
    count = 8;
    hr = set.pads[0]->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DI_OK && count == 2, "two controller records", static_cast<long>(count));
    Check(records[0].dwOfs == 48 && records[0].dwData == 0x80, "button 1 down at offset 48",
          records[0].dwOfs);
    Check(records[1].dwOfs == 4 && static_cast<LONG>(records[1].dwData) == -1000, "Y at -1000",
          records[1].dwOfs);
    count = 8;
    hr = set.pads[1]->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DI_OK && count == 1 && records[0].dwOfs == 51, "second controller's button 4",
          records[0].dwOfs);

    Command("background");
    Command("key 0x39 up");
    count = 8;
    hr = keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DIERR_NOTACQUIRED, "background: DIERR_NOTACQUIRED", hr);
    Check(keyboard->Acquire() == DIERR_OTHERAPPHASPRIO, "background: Acquire refused", 0);
    Command("foreground");
    Check(keyboard->Acquire() == DI_OK, "foreground: Acquire", 0);
    count = 8;
    hr = keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(hr == DI_OK && count == 0, "the release in the background is not delivered",
          static_cast<long>(count));
    Check(keyboard->GetDeviceState(sizeof keys, keys) == DI_OK && keys[0x39] == 0,
          "state shows Space up", keys[0x39]);

    // controller0 goes while acquired, with button 1 held and Y at -1000.
    set.pads[0]->Acquire();
    set.pads[1]->Acquire();
    Delivered(0);
    Command("detach controller0");
    HRESULT poll = set.pads[0]->Poll();
    count = 8;
    hr = set.pads[0]->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0);
    Check(poll == DIERR_INPUTLOST && hr == DIERR_NOTACQUIRED,
          "detached: DIERR_INPUTLOST once, then DIERR_NOTACQUIRED", hr);
    DIJOYSTATE joy = {};
    hr = set.pads[0]->Acquire();
    Check(hr == static_cast<HRESULT>(DIERR_UNPLUGGED) &&
              set.pads[0]->GetDeviceState(sizeof joy, &joy) == DIERR_NOTACQUIRED,
          "detached: Acquire DIERR_UNPLUGGED, GetDeviceState DIERR_NOTACQUIRED", hr);
    IDirectInputDevice8A* pad = nullptr;
    hr = input->CreateDevice(ControllerGuid(0), &pad, nullptr);
    Check(hr == DIERR_DEVICENOTREG && List(input) == "1 Test Pad 1|",
          "detached: not listed, CreateDevice DIERR_DEVICENOTREG", hr);
    int came = Delivered(1);
    Check(came == 1 && firstWhat == DBT_DEVNODES_CHANGED && firstDetail == 0,
          "detach posts DBT_DEVNODES_CHANGED to the cooperative window", came);

    Command("notify interface");
    Command("attach Spare Pad");
    Command("name controller1 Left Pad");
    set.pads[1]->Poll();
    Check(List(input) == "1 Left Pad|2 Spare Pad|", "attach adds controller2 last; names", 0);
    came = Delivered(1);
    auto* arrival = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(firstDetail);
    Check(came == 1 && firstWhat == DBT_DEVICEARRIVAL && arrival &&
              arrival->dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
              IsEqualGUID(arrival->dbcc_classguid, kHidInterface) &&
              std::wcsncmp(arrival->dbcc_name, L"\\\\?\\HID#", 8) == 0,
          "notify interface: only DBT_DEVICEARRIVAL of a HID interface", came);

    Command("notify devnodes");
    Command("attach controller0");
    set.pads[1]->Poll();
    Check(List(input) == "0 Test Pad 0|1 Left Pad|2 Spare Pad|",
          "attach controller0 brings it back first", 0);
    came = Delivered(1);
    Check(came == 1 && firstWhat == DBT_DEVNODES_CHANGED, "attach posts DBT_DEVNODES_CHANGED",
          came);
    hr = set.pads[0]->Acquire();
    Check(hr == static_cast<HRESULT>(DIERR_UNPLUGGED), "back: the old object stays unplugged", hr);
    hr = input->CreateDevice(ControllerGuid(0), &pad, nullptr);
    if (pad) {
        pad->SetDataFormat(&joystickFormat);
        pad->Acquire();
        hr = pad->GetDeviceState(sizeof joy, &joy);
    }
    Check(hr == DI_OK && joy.rgbButtons[0] == 0 && joy.lY == 0, "back: a new object, at rest", hr);

    Command("notify none");
    Command("detach controller2");
    set.pads[1]->Poll();
    Check(List(input) == "0 Test Pad 0|1 Left Pad|" && Delivered(0) == 0,
          "notify none: detached without a message", 0);

    Check(keyboard->Unacquire() == DI_OK, "keyboard Unacquire", 0);
    count = 8;
    Check(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), records, &count, 0) ==
              DIERR_NOTACQUIRED,
          "unacquired: DIERR_NOTACQUIRED", 0);
    keyboard->Release();
    mouse->Unacquire();
    mouse->Release();
    for (int i = 0; i < set.count; ++i) {
        set.pads[i]->Unacquire();
        set.pads[i]->Release();
    }
    if (pad) {
        pad->Unacquire();
        pad->Release();
    }
    input->Release();
    std::printf("%s\n", failures ? "SMOKE FAILED" : "SMOKE PASSED");
    return failures ? 1 : 0;
}
