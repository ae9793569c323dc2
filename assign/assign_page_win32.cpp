#include "assign/assign_page_win32.h"

#include <cstdint>

#include "assign/assign_page.h"
#include "assign/slot_name.h"
#include "ui/accessible_name_win32.h"
#include "ui/wide_text_win32.h"

namespace {

// Keyed page * 24 + row * 3 + slot.
void SlotAccessibleName(std::uintptr_t key, WideText& name) {
    const int page = static_cast<int>(key / kSlotCount);
    const int index = static_cast<int>(key % kSlotCount);
    SlotName composed;
    ComposeSlotName(page, index / kSlotsPerRow, index % kSlotsPerRow, composed);
    name.AppendPart(composed.text);
}

}  // namespace

INT_PTR CALLBACK GamepadPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AssignPageProc(0, window, message, wParam, lParam);
}

INT_PTR CALLBACK KeyboardPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AssignPageProc(1, window, message, wParam, lParam);
}

INT_PTR AssignPageProc(int page, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // lParam: the creation parameter, the labels.
            InitAssignPage(page, window, *reinterpret_cast<const RowLabels*>(lParam));
            // FALSE: the dialog manager would focus each page's first control
            // as it is made, leaving the focus on the hidden last page, where
            // arrow keys and Space would act unseen. The tool focuses the
            // shown page's selected slot once the pages are built.
            return FALSE;
        case WM_COMMAND:
            // The notification code is not looked at: any command from Reset resets.
            HandlePageCommand(page, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void InitAssignPage(int page, HWND window, const RowLabels& labels) {
    PageControls controls = {};
    for (int row = 0; row < kRowCount; ++row) {
        controls.labels[row] = GetDlgItem(window, LabelId(row));
        for (int slot = 0; slot < kSlotsPerRow; ++slot) {
            const int index = row * kSlotsPerRow + slot;
            controls.radios[index] = GetDlgItem(window, RadioId(row, slot));
            NameControl(static_cast<HWND>(controls.radios[index]), SlotAccessibleName,
                        static_cast<std::uintptr_t>(page * kSlotCount + index));
        }
    }
    controls.hint = GetDlgItem(window, kHintId);
    controls.reset = GetDlgItem(window, IDC_RESET);
    InitPageControls(page, controls, labels.texts, labels.encoding);
}
