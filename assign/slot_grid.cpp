#include "assign/slot_grid.h"

#include "assign/assign_record.h"
#include "ui/view_port.h"

std::int32_t SlotGrid[kPageCount][kRowCount][kSlotsPerRow] = {};
std::int32_t SlotCursor[kPageCount] = {};
WindowRef SlotRadios[kPageCount][kSlotCount] = {};
std::int32_t SlotCaptioned[kPageCount][kSlotCount] = {};

namespace {

// Input indices shown by each page: gamepad buttons, then the keyboard keys.
constexpr int kPageFirstInput[kPageCount] = {0, 10};
constexpr int kPageLastInput[kPageCount] = {9, 24};

bool IsPage(int page) {
    return page >= 0 && page < kPageCount;
}

}  // namespace

WindowRef SelectedRadio(int page) {
    const int n = SlotCursor[page];
    return SlotRadios[page][(n % kRowCount) * kSlotsPerRow + n / kRowCount];
}

void LoadPageGrid(int page) {
    if (!IsPage(page)) {
        return;
    }
    std::int32_t(&grid)[kRowCount][kSlotsPerRow] = SlotGrid[page];
    int filled[kRowCount] = {};
    for (auto& row : grid) {
        for (auto& cell : row) {
            cell = 0;
        }
    }
    for (int input = kPageFirstInput[page]; input <= kPageLastInput[page]; ++input) {
        const std::uint8_t code = AssignRecord[input];
        // Codes outside A..R name no row; they are dropped like a fourth input
        // of a row and come back as 0 when the record is rebuilt.
        if (code < kFirstButtonCode || code > kLastButtonCode) {
            continue;
        }
        const int row = code - kFirstButtonCode;
        if (filled[row] < kSlotsPerRow) {
            grid[row][filled[row]++] = input + 1;
        }
    }
    RefreshSlotCaptions(page);
}

void StoreGridsToRecord() {
    for (auto& byte : AssignRecord) {
        byte = 0;
    }
    for (const auto& grid : SlotGrid) {
        for (int row = 0; row < kRowCount; ++row) {
            for (const std::int32_t value : grid[row]) {
                if (value > 0 && value <= kAssignRecordSize) {
                    AssignRecord[value - 1] = static_cast<std::uint8_t>(kFirstButtonCode + row);
                }
            }
        }
    }
}

void AssignSlot(int page, int input) {
    if (!IsPage(page)) {
        return;
    }
    std::int32_t(&grid)[kRowCount][kSlotsPerRow] = SlotGrid[page];
    const int n = SlotCursor[page];
    std::int32_t& selected = grid[n % kRowCount][n / kRowCount];
    if (input < 0) {
        selected = 0;
        return;
    }
    // Only the page's own inputs may enter its grid, so each page keeps
    // showing just its device and no input appears on both.
    if (input < kPageFirstInput[page] || input > kPageLastInput[page]) {
        return;
    }
    const std::int32_t value = input + 1;
    for (auto& row : grid) {
        for (auto& cell : row) {
            if (&cell != &selected && cell == value) {
                cell = selected;
                selected = value;
                return;
            }
        }
    }
    selected = value;
}

void AdvanceCursor(int page) {
    if (IsPage(page)) {
        SlotCursor[page] = (SlotCursor[page] + 1) % kSlotCount;
    }
}

void RefreshSlotCaptions(int page) {
    for (int row = 0; row < kRowCount; ++row) {
        for (int slot = 0; slot < kSlotsPerRow; ++slot) {
            RefreshSlotCaption(page, row, slot);
        }
    }
}

void RefreshSlotCaption(int page, int row, int slot) {
    if (!IsPage(page)) {
        return;
    }
    const std::int32_t value = SlotGrid[page][row][slot];
    const bool named = value >= 0 && value <= kInputCount;
    const int index = row * kSlotsPerRow + slot;
    view::SetText(SlotRadios[page][index], InputNameTable[named ? value : 0]);
    // The name says what the slot holds; a reader on the slot says it again
    // only where that changed, and nothing at the page's first fill.
    std::int32_t& captioned = SlotCaptioned[page][index];
    if (captioned != 0 && captioned != value + 1) {
        view::AnnounceNameChange(SlotRadios[page][index]);
    }
    captioned = value + 1;
}

void SetRadioCheck(WindowRef button, int checked) {
    view::SetButtonCheck(button, checked != 0 ? 1u : 0u);
}
