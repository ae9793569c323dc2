#include "input/input_device_set.h"

#include <cstdlib>

InputDeviceSet InputDevices;

namespace {

void CloseInputDevicesAtExit() {
    InputDevices.CloseDevices();
}

}  // namespace

void RegisterDeviceCleanup() {
    std::atexit(CloseInputDevicesAtExit);
}
