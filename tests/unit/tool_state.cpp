#include "tool_state.h"

#include <cstdint>

#include "assign/assign_record.h"
#include "assign/slot_grid.h"
#include "assign/slot_name.h"
#include "doubles/view_double.h"
#include "input/input_device_set.h"

void ResetToolState() {
    for (auto& byte : AssignRecord) {
        byte = 0;
    }
    for (int page = 0; page < kPageCount; ++page) {
        for (auto& row : SlotGrid[page]) {
            for (auto& cell : row) {
                cell = 0;
            }
        }
        SlotCursor[page] = 0;
        for (auto& radio : SlotRadios[page]) {
            radio = nullptr;
        }
        for (auto& captioned : SlotCaptioned[page]) {
            captioned = 0;
        }
        PageRowLabels[page] = RowLabels();
    }
    InputDevices = InputDeviceSet();
    TheView().Reset();
}

WindowRef FakeRadio(int page, int row, int slot) {
    return reinterpret_cast<WindowRef>(
        static_cast<std::uintptr_t>(0x1000 + page * 0x100 + row * kSlotsPerRow + slot));
}

void InstallFakeRadios() {
    for (int page = 0; page < kPageCount; ++page) {
        for (int row = 0; row < kRowCount; ++row) {
            for (int slot = 0; slot < kSlotsPerRow; ++slot) {
                SlotRadios[page][row * kSlotsPerRow + slot] = FakeRadio(page, row, slot);
            }
        }
    }
}
