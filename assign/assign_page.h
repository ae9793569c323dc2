// What an assignment page does with its controls, apart from the dialog
// plumbing: both pages come from one template and differ only in the page
// index they pass here.
#pragma once

#include "assign/slot_grid.h"
#include "base/platform_refs.h"
#include "base/text_encoding.h"
#include "res/resource.h"

constexpr int LabelId(int row) {
    return IDC_LABEL(row);
}
constexpr int RadioId(int row, int slot) {
    return IDC_SLOT(row, slot);
}
// The hint's id as a dialog item reports it.
constexpr int kHintId = IDC_HINT & 0xFFFF;

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

// The rows' labels as the start-up hands them to each page it makes: the
// settings file's bytes and how to read them.
struct RowLabels {
    const char* texts[kRowCount];
    TextEncoding encoding;
};
