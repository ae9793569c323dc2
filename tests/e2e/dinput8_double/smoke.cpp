// Loads dinput8.dll from the system directory as padloom.exe does, opens the
// devices in the tool's order and reads a few scripted events. Expects the
// script "controllers 2" and a writable command file (PADLOOM_DI_COMMANDS).
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    windowClass.lpfnWndProc = DefWindowProcA;
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
    input->Release();
    std::printf("%s\n", failures ? "SMOKE FAILED" : "SMOKE PASSED");
    return failures ? 1 : 0;
}
