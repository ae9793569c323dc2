// What an assignment page does with its controls, apart from the dialog
// plumbing: both pages come from one template and differ only in the page
// index they pass here.
#pragma once

#include "assign/slot_grid.h"
#include "ui/platform_refs.h"
#include "ui/view_port.h"

constexpr int kAssignPageTemplate = 102;
// Row r's label is 1000 + 4r; its slot s radio button is 1001 + 4r + s.
constexpr int kLabelIdBase = 1000;
constexpr int kRadioIdBase = 1001;
constexpr int kIdsPerRow = 4;
constexpr int kResetId = 1032;
constexpr int kHintId = 0xFFFF;  // -1 in the template

constexpr int LabelId(int row) {
    return kLabelIdBase + kIdsPerRow * row;
}
constexpr int RadioId(int row, int slot) {
    return kRadioIdBase + kIdsPerRow * row + slot;
}

// A WM_COMMAND from control `id`: a radio button selects its slot, Reset puts
// the built-in record back and reloads this page only; anything else is ignored.
void HandlePageCommand(int page, int id);

// A page's controls as the dialog holds them: labels by row, radio buttons
// at row * 3 + slot, the Delete hint and Reset.
struct PageControls {
    WindowRef labels[kRowCount];
    WindowRef radios[kSlotCount];
    WindowRef hint;
    WindowRef reset;
};

// Takes the page's radio buttons, checks the selected slot, shows the labels
// (read in the given encoding) and the texts of the language in use, and
// loads the grid from the record.
void InitPageControls(int page, const PageControls& controls,
                      const char* const (&labelTexts)[kRowCount], TextEncoding labelEncoding);
