// Counts every allocation of the process while ticks run: a tick must not
// allocate, whatever the devices deliver.
#include <cstdlib>
#include <cstring>
#include <new>

#include "assign/assign_record.h"
#include "assign/capture_step.h"
#include "assign/slot_grid.h"
#include "doubles/view_double.h"
#include "input_fixture.h"
#include "tool_state.h"

namespace {
long Allocations = 0;
}  // namespace

// GCC pairs the inlined malloc below with the deletes' free and warns.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    ++Allocations;
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

class TickAllocationTest : public InputTest {};

// One tick's worth of events on every device: eight records each, on keys
// and buttons that assign and on objects that only pass through.
void Deliver(DeviceDouble& d, int tick, int pads) {
    const bool down = tick % 2 == 0;
    for (int k = 0; k < 8; ++k) {
        d.keyboard.PushKey(
            static_cast<std::uint32_t>(KeyScanTable[(tick + k) % kKeyScanCount].scanCode), down);
        d.mouse.Push(static_cast<std::uint32_t>(k % 5) * 4, static_cast<std::uint32_t>(tick));
    }
    for (int i = 0; i < pads; ++i) {
        FakeDevice& pad = d.controllers[i];
        pad.PushKey(kJoyButton0 + static_cast<std::uint32_t>(tick % 10), true);
        pad.Push(kJoyX, down ? 1000u : static_cast<std::uint32_t>(-1000));
        pad.Push(kJoyY, static_cast<std::uint32_t>(tick * 7));
        pad.Push(kJoyZ, 5);
        for (std::uint32_t b = 0; b < 4; ++b)
            pad.PushKey(kJoyButton0 + 12 + b, down);
    }
}

TEST_F(TickAllocationTest, TicksAllocateNothing) {
    ResetToolState();
    InstallFakeRadios();
    std::memcpy(AssignRecord, DefaultAssignRecord, kAssignRecordSize);
    LoadPageGrid(0);
    LoadPageGrid(1);
    Open(2);
    d.logging = false;
    // Room for the view double's own record of the edits made below; the
    // double, not the tick, would otherwise allocate.
    TheView().calls.reserve(1 << 20);
    TheView().renamed.reserve(1 << 20);
    for (int page = 0; page < kPageCount; ++page) {
        for (WindowRef radio : SlotRadios[page])
            TheView().checks[radio] = 0;
    }
    for (int tick = 0; tick < 64; ++tick) {  // every caption and radio seen once
        Deliver(d, tick, 2);
        CaptureStep(tick / 2 % 2);
    }

    const int edits = static_cast<int>(TheView().calls.size());
    const long before = Allocations;
    for (int tick = 0; tick < 2000; ++tick) {
        Deliver(d, tick, 2);
        CaptureStep(tick / 2 % 2);
        // A controller plugged back at once (its object dead until the
        // refresh), or unplugged and plugged in again between ticks.
        if (tick % 100 == 25) {
            d.controllers[0].dead = true;
        }
        if (tick % 100 == 50) {
            d.unplugged[0] = !d.unplugged[0];
            InputDevices.RefreshControllers();
        }
    }
    EXPECT_EQ(0, Allocations - before);
    EXPECT_GE(d.controllers[0].Calls(DeviceOp::CreateDevice), 10);
    EXPECT_GT(static_cast<int>(TheView().calls.size()), edits);  // edits did happen
    InputDevices.CloseDevices();
    ResetToolState();
}

}  // namespace
