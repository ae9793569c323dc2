// One timer tick (device reads, edge states, capture) over the device double,
// and the two grid operations of loading and storing a record.
#include <benchmark/benchmark.h>

#include <cstring>

#include "assign/assign_record.h"
#include "assign/capture_step.h"
#include "assign/slot_grid.h"
#include "doubles/device_double.h"
#include "input/input_device_set.h"

namespace {

constexpr std::uint32_t kJoyX = 0;
constexpr std::uint32_t kJoyY = 4;
constexpr std::uint32_t kJoyButton0 = 48;

// Eight records on every device, none of which edits a grid on the gamepad
// page: keys (pressed and released), mouse motion and buttons, controller
// axes and buttons above 10.
void LoadEvents(DeviceDouble& d, int pads) {
    d.keyboard.pendingCount = 0;
    d.mouse.pendingCount = 0;
    for (std::uint32_t k = 0; k < 8; ++k) {
        d.keyboard.PushKey(0x10 + k / 2, k % 2 == 0);
        d.mouse.Push((k % 3) * 4 + (k >= 6 ? 12 : 0), k);
    }
    for (int i = 0; i < pads; ++i) {
        FakeDevice& pad = d.controllers[i];
        pad.pendingCount = 0;
        pad.Push(kJoyX, static_cast<std::uint32_t>(-1000));
        pad.Push(kJoyY, 400);
        for (std::uint32_t b = 0; b < 6; ++b)
            pad.PushKey(kJoyButton0 + 12 + b, b % 2 == 0);
    }
}

// A read takes the records out of the device's buffer but leaves them in
// place, so putting them back is only a count.
void Refill(DeviceDouble& d, int pads) {
    d.keyboard.pendingCount = 8;
    d.mouse.pendingCount = 8;
    for (int i = 0; i < pads; ++i)
        d.controllers[i].pendingCount = 8;
}

void OpenOver(int pads) {
    InputDevices.CloseDevices();
    InputDevices = InputDeviceSet();
    DeviceDouble& d = TheDevices();
    d.Reset();
    d.logging = false;
    d.attached = pads;
    InputDevices.OpenDevices(nullptr, nullptr, 1000, 1000);
    LoadEvents(d, pads);
}

void Tick(benchmark::State& state) {
    const int pads = static_cast<int>(state.range(0));
    OpenOver(pads);
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    LoadPageGrid(0);
    DeviceDouble& d = TheDevices();
    for (auto _ : state) {
        Refill(d, pads);
        CaptureStep(0);
    }
    benchmark::DoNotOptimize(InputDevices.keyEdges);
    InputDevices.CloseDevices();
}
BENCHMARK(Tick)->Arg(1)->Arg(16);

void LoadGrid(benchmark::State& state) {
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    int page = 0;
    for (auto _ : state) {
        LoadPageGrid(page);
        page ^= 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(LoadGrid);

void StoreGrids(benchmark::State& state) {
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    LoadPageGrid(0);
    LoadPageGrid(1);
    for (auto _ : state) {
        StoreGridsToRecord();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(StoreGrids);

}  // namespace

BENCHMARK_MAIN();
