// Shared set-up of the input tests: the process's device set and the device
// double back at their start, and a set opened over the double.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "doubles/device_double.h"
#include "input/input_device_set.h"

constexpr std::uint8_t kSpaceKey = 0x39;
constexpr std::uint8_t kEnterKey = 0x1C;
constexpr std::uint32_t kJoyX = 0;
constexpr std::uint32_t kJoyY = 4;
constexpr std::uint32_t kJoyZ = 8;
constexpr std::uint32_t kJoyButton0 = 48;
// DIDFT_ABSAXIS instance ids as the platform reports them for X, Y and Z.
constexpr std::uint32_t kAxisX = 0x00000102;
constexpr std::uint32_t kAxisY = 0x00000202;
constexpr std::uint32_t kAxisZ = 0x00000302;

inline WindowRef TestWindow() {
    return reinterpret_cast<WindowRef>(std::uintptr_t{0x5150});
}

inline void ResetInputDevices() {
    InputDevices.CloseDevices();
    InputDevices = InputDeviceSet();
    TheDevices().Reset();
}

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetInputDevices(); }
    void TearDown() override { ResetInputDevices(); }

    // Keyboard, mouse and `pads` controllers (two axes each), every step
    // answering success; the log starts empty afterwards.
    void Open(int pads) {
        d.attached = pads;
        for (int i = 0; i < pads && i < kDoubleControllers; ++i) {
            d.controllers[i].axes[0] = kAxisX;
            d.controllers[i].axes[1] = kAxisY;
            d.controllers[i].axisCount = 2;
        }
        ASSERT_EQ(0, InputDevices.OpenDevices(nullptr, TestWindow(), 1000, 1000));
        d.logCount = 0;
    }

    static void Tick() { InputDevices.UpdateInputs(); }
    static EdgeState Key(int scanCode) { return InputDevices.keyEdges[scanCode].state; }
    static EdgeState Pad(int input) { return InputDevices.padEdges[input].state; }
    FakeDevice& Controller(int i) { return d.controllers[i]; }

    DeviceDouble& d = TheDevices();
};
