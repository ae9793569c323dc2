#include "assign/assign_page.h"

#include <cstring>

#include "assign/assign_record.h"
#include "assign/slot_name.h"
#include "ui/view_port.h"

void HandlePageCommand(int page, int id) {
    if (page < 0 || page >= kPageCount) {
        return;
    }
    const int offset = id - IDC_SLOT_FIRST;
    if (offset >= 0 && offset < IDC_IDS_PER_ROW * kRowCount &&
        offset % IDC_IDS_PER_ROW < kSlotsPerRow) {
        // The radio group has already moved the check mark; only the cursor follows.
        const int row = offset / IDC_IDS_PER_ROW;
        const int slot = offset % IDC_IDS_PER_ROW;
        SlotCursor[page] = row + kRowCount * slot;
    } else if (id == IDC_RESET) {
        std::memcpy(AssignRecord, DefaultAssignRecord, sizeof AssignRecord);
        LoadPageGrid(page);
    }
}

void InitPageControls(int page, const PageControls& controls,
                      const char* const (&labelTexts)[kRowCount], TextEncoding labelEncoding) {
    if (page < 0 || page >= kPageCount) {
        return;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        SlotRadios[page][i] = controls.radios[i];
    }
    SetRadioCheck(SelectedRadio(page), 1);
    for (int row = 0; row < kRowCount; ++row) {
        const TextPart label = OutsideText(labelTexts[row], labelEncoding);
        view::SetTextParts(controls.labels[row], &label, 1);
        PageRowLabels[page].texts[row] = labelTexts[row];
    }
    PageRowLabels[page].encoding = labelEncoding;
    view::SetText(controls.hint, IDS_HINT);
    view::SetText(controls.reset, IDS_RESET);
    LoadPageGrid(page);
}
