// Any records, offsets, counts and result codes from every device, over many
// ticks: nothing is written outside its field, every edge record is one of
// the four states, and the grids stay sound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "assign/assign_record.h"
#include "assign/capture_step.h"
#include "assign/slot_grid.h"
#include "doubles/device_double.h"
#include "doubles/view_double.h"
#include "input/input_device_set.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t Word() {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i)
            word = word << 8 | Byte();
        return word;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr HResult kAnswers[] = {
    kDiOk, kDiOk, kDiOk, kDiBufferOverflow, kDiErrInputLost, kDiErrNotAcquired, kEFail, 2};

HResult AnyAnswer(Bytes& in) {
    const std::uint8_t pick = in.Byte();
    return pick < 0xF0 ? kAnswers[pick % 8] : static_cast<HResult>(in.Word());
}

std::uint32_t AnyOffset(Bytes& in, std::uint32_t span) {
    const std::uint8_t pick = in.Byte();
    return pick < 0xE0 ? static_cast<std::uint32_t>(in.Byte()) % span : in.Word();
}

std::uint32_t AnyData(Bytes& in) {
    switch (in.Byte() % 6) {
        case 0:
            return 0;
        case 1:
            return 0x80;
        case 2:
            return 1000;
        case 3:
            return static_cast<std::uint32_t>(-1000);
        case 4:
            return static_cast<std::uint32_t>(-999);
        default:
            return in.Word();
    }
}

void Script(FakeDevice& device, Bytes& in, std::uint32_t offsetSpan) {
    device.Answer(DeviceOp::GetDeviceData, AnyAnswer(in));
    device.Answer(DeviceOp::Acquire, AnyAnswer(in));
    device.Answer(DeviceOp::Poll, AnyAnswer(in));
    device.Answer(DeviceOp::GetDeviceState, AnyAnswer(in));
    const std::uint8_t counts = in.Byte();
    device.reportedCount = counts & 0x80 ? static_cast<std::int64_t>(in.Word() % 300) : -1;
    const int records = counts % 12;
    for (int i = 0; i < records; ++i) {
        const std::uint32_t offset = AnyOffset(in, offsetSpan);
        device.Push(offset, AnyData(in));
    }
    const std::uint8_t key = in.Byte();
    device.state[key] = static_cast<std::uint8_t>(in.Byte());
}

void FailOneOpeningStep(DeviceDouble& d, std::uint8_t step) {
    constexpr HResult kRefused = static_cast<HResult>(0x80070057u);
    switch (step) {
        case 1:
            d.createAnswer = kRefused;
            break;
        case 2:
            d.keyboard.Answer(DeviceOp::CreateDevice, kRefused);
            break;
        case 3:
            d.keyboard.Answer(DeviceOp::SetCooperativeLevel, kRefused);
            break;
        case 4:
            d.mouse.Answer(DeviceOp::CreateDevice, kRefused);
            break;
        case 5:
            d.mouse.Answer(DeviceOp::SetDataFormat, kRefused);
            break;
        case 6:
            d.mouse.propertyAnswer[1] = kRefused;
            break;
        case 7:
            d.joystickAnswer = kRefused;
            break;
        case 8:
            d.enumAnswer = kRefused;
            break;
        case 9:
            d.controllers[0].Answer(DeviceOp::EnumAxes, kRefused);
            break;
        case 10:
            d.controllers[1].propertyAnswer[0] = kRefused;
            break;
        default:
            break;
    }
}

void CheckEdges(const EdgeRecord* edges, int count) {
    for (int i = 0; i < count; ++i) {
        const EdgeRecord& edge = edges[i];
        Require(edge.state >= kEdgeIdle && edge.state <= kEdgeHeld);
        const bool down = edge.state >= kEdgePressed;
        Require(edge.current == (down ? 1 : 0));
        Require(edge.previous == (down ? 1 : 0));
    }
}

void CheckGrids() {
    constexpr int kFirstValue[kPageCount] = {1, 11};
    constexpr int kLastValue[kPageCount] = {10, 25};
    for (int page = 0; page < kPageCount; ++page) {
        Require(SlotCursor[page] >= 0 && SlotCursor[page] < kSlotCount);
        bool seen[kInputCount + 1] = {};
        for (const auto& row : SlotGrid[page]) {
            for (const std::int32_t value : row) {
                if (value == 0)
                    continue;
                Require(value >= kFirstValue[page] && value <= kLastValue[page]);
                Require(!seen[value]);
                seen[value] = true;
            }
        }
    }
}

void ResetAll() {
    InputDevices.CloseDevices();
    InputDevices = InputDeviceSet();
    TheDevices().Reset();
    TheDevices().logging = false;
    TheView().Reset();
    std::memset(SlotGrid, 0, sizeof SlotGrid);
    std::memset(SlotCursor, 0, sizeof SlotCursor);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    ResetAll();
    DeviceDouble& d = TheDevices();
    d.attached = in.Byte() % 20;
    d.joystickCount = in.Byte() % 20;
    for (int i = 0; i < d.attached; ++i) {
        FakeDevice& pad = d.controllers[i];
        if (in.Byte() % 8 == 0)
            pad.Answer(DeviceOp::CreateDevice, kDiErrDeviceNotReg);
        pad.axisCount = in.Byte() % 4;
        for (int a = 0; a < pad.axisCount; ++a) {
            pad.axes[a] = 0x102u + 0x100u * static_cast<std::uint32_t>(a);
            pad.axisAnswer[a] = in.Byte() % 4 == 0 ? kEFail : kDiOk;
        }
    }
    FailOneOpeningStep(d, in.Byte() % 24);
    for (std::uint8_t& byte : AssignRecord)
        byte = in.Byte() % 20;
    LoadPageGrid(0);
    LoadPageGrid(1);
    SlotCursor[0] = in.Byte() % kSlotCount;
    SlotCursor[1] = in.Byte() % kSlotCount;

    InputDevices.OpenDevices(nullptr, nullptr, 1000, 1000);
    const InputDeviceSet opened = InputDevices;
    Require(opened.padCount <= static_cast<std::uint32_t>(kPadSlots));

    for (int tick = 0; tick < 256 && !in.Empty(); ++tick) {
        const int page = in.Byte() & 1;
        Script(d.keyboard, in, 256);
        Script(d.mouse, in, 20);
        const int pads = d.attached < kDoubleControllers ? d.attached : kDoubleControllers;
        for (int i = 0; i < pads; ++i)
            Script(d.controllers[i], in, 96);

        CaptureStep(page);

        Require(InputDevices.padCount == opened.padCount);
        Require(InputDevices.padLimit == opened.padLimit);
        Require(InputDevices.thresholdX == 1000 || opened.thresholdX == 0);
        Require(InputDevices.thresholdX == opened.thresholdX);
        Require(InputDevices.thresholdY == opened.thresholdY);
        Require(InputDevices.window == opened.window);
        Require(InputDevices.directInput == opened.directInput);
        Require(InputDevices.keyboard == opened.keyboard);
        Require(InputDevices.mouse == opened.mouse);
        Require(std::memcmp(InputDevices.pads, opened.pads, sizeof opened.pads) == 0);
        Require(InputDevices.selectedPad == 0);
        for (std::uint8_t down : InputDevices.keyDown)
            Require(down <= 1);
        for (std::uint32_t i = 0; i < InputDevices.padCount; ++i) {
            for (std::uint8_t b : InputDevices.snapshots[i].buttons)
                Require(b <= 1);
            for (std::uint8_t dir : InputDevices.snapshots[i].directions)
                Require(dir <= 1);
        }
        CheckEdges(InputDevices.keyEdges, kKeyCount);
        CheckEdges(InputDevices.padEdges, kPadInputCount);
        CheckGrids();
    }
    ResetAll();
    return 0;
}
