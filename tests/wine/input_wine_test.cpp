// The device set against Wine's real DirectInput 8, on a real top-level
// window. The key press comes from outside: input_keyboard_driver.sh runs
// this program and, through files in PADLOOM_SYNC_DIR, clicks the window,
// gives it the X input focus and holds down the A key.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "input/input_device_set.h"

namespace {

constexpr char kTitle[] = "padloom input wine test";
constexpr int kKeyA = 0x1E;  // DIK_A

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTopLevelWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PadloomInputWineTest";
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                        100, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    return window;
}

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// The files through which the driver and this program take turns.
class Sync {
  public:
    Sync() {
        const char* dir = std::getenv("PADLOOM_SYNC_DIR");
        if (dir != nullptr)
            dir_ = std::string("Z:") + dir + "/";
    }
    bool Usable() const { return !dir_.empty(); }
    void Signal(const char* name) const {
        if (FILE* file = std::fopen((dir_ + name).c_str(), "w"))
            std::fclose(file);
    }
    bool Seen(const char* name) const {
        return GetFileAttributesA((dir_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

  private:
    std::string dir_;
};

// One 20 ms timer tick as the tool has it: messages, then the reads.
void Tick() {
    Pump(20);
    InputDevices.UpdateInputs();
}

TEST(InputWineTest, KeyPressFromXReachesTheEdgesAndClosingReleasesAll) {
    const Sync sync;
    ASSERT_TRUE(sync.Usable()) << "run through input_keyboard_driver.sh (PADLOOM_SYNC_DIR)";
    HWND window = CreateTopLevelWindow();
    ASSERT_NE(nullptr, window);
    Pump(200);

    ASSERT_EQ(0, InputDevices.OpenDevices(GetModuleHandleA(nullptr), window, 1000, 1000));
    EXPECT_NE(nullptr, InputDevices.directInput);
    EXPECT_NE(nullptr, InputDevices.keyboard);
    EXPECT_NE(nullptr, InputDevices.mouse);
    EXPECT_EQ(0u, InputDevices.padCount);
    sync.Signal("ready");

    // The driver clicks and focuses the window; the keyboard is acquired once
    // a repeated Acquire answers DI_NOEFFECT.
    bool acquired = false;
    for (int tick = 0; tick < 1500 && !acquired; ++tick) {
        Tick();
        acquired = sync.Seen("focused") && di::Acquire(InputDevices.keyboard) == kDiNoEffect;
    }
    ASSERT_TRUE(acquired) << "the keyboard was never acquired";
    sync.Signal("acquired");

    EdgeState first = kEdgeIdle;
    for (int tick = 0; tick < 1500 && first == kEdgeIdle; ++tick) {
        Tick();
        first = InputDevices.keyEdges[kKeyA].state;
    }
    EXPECT_EQ(kEdgePressed, first);
    Tick();
    EXPECT_EQ(kEdgeHeld, InputDevices.keyEdges[kKeyA].state);
    sync.Signal("seen");

    EdgeState after = kEdgeHeld;
    for (int tick = 0; tick < 1500 && after == kEdgeHeld; ++tick) {
        Tick();
        after = InputDevices.keyEdges[kKeyA].state;
    }
    EXPECT_EQ(kEdgeReleased, after);
    Tick();
    EXPECT_EQ(kEdgeIdle, InputDevices.keyEdges[kKeyA].state);
    for (int n = 0; n < kPadInputCount; ++n)
        EXPECT_EQ(kEdgeIdle, InputDevices.padEdges[n].state);

    EXPECT_EQ(0, InputDevices.CloseDevices());
    EXPECT_EQ(nullptr, InputDevices.keyboard);
    EXPECT_EQ(nullptr, InputDevices.mouse);
    EXPECT_EQ(nullptr, InputDevices.directInput);
    DestroyWindow(window);
}

// Loaded by path from the system directory, never imported (the import
// table is checked by objdump elsewhere).
bool LoadedFromSystemDirectory(const char* dll) {
    HMODULE module = GetModuleHandleA(dll);
    if (module == nullptr)
        return false;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    return length > 0 && _strnicmp(path, system, length) == 0 && path[length] == '\\';
}

TEST(InputWineTest, DirectInputAndJoystickCountComeFromTheSystemDirectory) {
    DirectInputRef directInput = nullptr;
    ASSERT_EQ(0, di::Create(GetModuleHandleA(nullptr), &directInput));
    ASSERT_NE(nullptr, directInput);
    EXPECT_TRUE(LoadedFromSystemDirectory("dinput8.dll"));
    di::ReleaseDirectInput(directInput);

    std::uint32_t count = 99;
    EXPECT_EQ(0, di::JoystickCount(&count));
    EXPECT_TRUE(LoadedFromSystemDirectory("winmm.dll"));
}

}  // namespace
