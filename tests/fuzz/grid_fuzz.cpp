// Any loaded record and any sequence of edits keep the grids sound, and the
// record built from them rebuilds the same grids.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "assign/assign_page.h"
#include "assign/assign_record.h"
#include "assign/slot_grid.h"
#include "doubles/view_double.h"

namespace {

constexpr int kFirstInput[kPageCount] = {0, 10};
constexpr int kInputsOnPage[kPageCount] = {10, 15};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckInvariants() {
    for (int page = 0; page < kPageCount; ++page) {
        Require(SlotCursor[page] >= 0 && SlotCursor[page] < kSlotCount);
        bool seen[kInputCount + 1] = {};
        for (const auto& row : SlotGrid[page]) {
            for (const std::int32_t value : row) {
                if (value == 0) {
                    continue;
                }
                Require(value > kFirstInput[page] &&
                        value <= kFirstInput[page] + kInputsOnPage[page]);
                Require(!seen[value]);
                seen[value] = true;
            }
        }
    }
}

// Bit r * 32 + v is set when row r of the page shows value v.
void RowSets(int page, std::uint32_t (&sets)[kRowCount]) {
    for (int row = 0; row < kRowCount; ++row) {
        sets[row] = 0;
        for (const std::int32_t value : SlotGrid[page][row]) {
            if (value > 0) {
                sets[row] |= 1u << value;
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kAssignRecordSize) {
        return 0;
    }
    TheView().Reset();
    std::memset(SlotGrid, 0, sizeof SlotGrid);
    SlotCursor[0] = SlotCursor[1] = 0;
    std::memcpy(AssignRecord, data, kAssignRecordSize);
    LoadPageGrid(0);
    LoadPageGrid(1);
    CheckInvariants();

    for (std::size_t i = kAssignRecordSize; i + 1 < size; i += 2) {
        const int page = data[i] & 1;
        const int choice = data[i + 1];
        switch ((data[i] >> 1) % 4) {
            case 0:  // a capture: one of the page's inputs, or -1 for Delete
                AssignSlot(page, kFirstInput[page] + choice % (kInputsOnPage[page] + 1) - 1);
                break;
            case 1:
                AdvanceCursor(page);
                break;
            case 2:
                HandlePageCommand(page, IDC_RESET);
                break;
            default:  // a click on any control id near the page's radio buttons
                HandlePageCommand(page, 995 + choice % 40);
                break;
        }
        CheckInvariants();
        TheView().calls.clear();
    }

    std::uint32_t before[kPageCount][kRowCount];
    RowSets(0, before[0]);
    RowSets(1, before[1]);
    StoreGridsToRecord();
    std::uint8_t folded[kAssignRecordSize];
    std::memcpy(folded, AssignRecord, kAssignRecordSize);
    LoadPageGrid(0);
    LoadPageGrid(1);
    CheckInvariants();
    std::uint32_t after[kPageCount][kRowCount];
    RowSets(0, after[0]);
    RowSets(1, after[1]);
    Require(std::memcmp(before, after, sizeof before) == 0);
    StoreGridsToRecord();
    Require(std::memcmp(folded, AssignRecord, kAssignRecordSize) == 0);
    return 0;
}
