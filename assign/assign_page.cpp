#include "assign/assign_page.h"

#include <cstring>

#include "assign/assign_record.h"
#include "ui/view_port.h"

void HandlePageCommand(int page, int id) {
    if (page < 0 || page >= kPageCount) {
        return;
    }
    const int offset = id - kRadioIdBase;
    if (offset >= 0 && offset < kIdsPerRow * kRowCount && offset % kIdsPerRow < kSlotsPerRow) {
        // The radio group has already moved the check mark; only the cursor follows.
        const int row = offset / kIdsPerRow;
        const int slot = offset % kIdsPerRow;
        SlotCursor[page] = row + kRowCount * slot;
    } else if (id == kResetId) {
        std::memcpy(AssignRecord, DefaultAssignRecord, sizeof AssignRecord);
        LoadPageGrid(page);
    }
}

void InitPageControls(int page, const WindowRef (&labels)[kRowCount],
                      const WindowRef (&radios)[kSlotCount],
                      const std::string (&labelTexts)[kRowCount]) {
    if (page < 0 || page >= kPageCount) {
        return;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        SlotRadios[page][i] = radios[i];
    }
    SetRadioCheck(SelectedRadio(page), 1);
    for (int row = 0; row < kRowCount; ++row) {
        view::SetText(labels[row], labelTexts[row].c_str());
    }
    LoadPageGrid(page);
}
