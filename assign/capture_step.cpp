#include "assign/capture_step.h"

#include "assign/slot_grid.h"
#include "input/input_device_set.h"
#include "ui/view_port.h"

const KeyScanEntry KeyScanTable[kKeyScanCount] = {
    {0x39, 10},  // Space
    {0x1C, 11},  // Enter (main keyboard)
    {0x01, 12},  // Esc
    {0x52, 13},  // keypad 0
    {0x2A, 14},  // left Shift
    {0x36, 14},  // right Shift
    {0x2C, 15},  // Z
    {0x2D, 16},  // X
    {0x2E, 17},  // C
    {0x2F, 18},  // V
    {0x30, 19},  // B
    {0x1E, 20},  // A
    {0x1F, 21},  // S
    {0x20, 22},  // D
    {0x10, 23},  // Q
    {0x11, 24},  // W
};

namespace {

constexpr int kGamepadPage = 0;
constexpr int kKeyboardPage = 1;
constexpr int kGamepadButtons = 10;  // pad inputs 0..9 are input indices 0..9

}  // namespace

void CaptureStep(int page) {
    InputDevices.UpdateInputs();
    // Only a press in this very update counts, so holding an input edits once.
    if (InputDevices.keyEdges[kDeleteScanCode].state == kEdgePressed) {
        AssignAndAdvance(page, -1);
        return;
    }
    if (page == kGamepadPage) {
        for (int i = 0; i < kGamepadButtons; ++i) {
            if (InputDevices.padEdges[i].state == kEdgePressed) {
                AssignAndAdvance(page, i);
                return;
            }
        }
    } else if (page == kKeyboardPage) {
        for (const KeyScanEntry& entry : KeyScanTable) {
            if (InputDevices.keyEdges[entry.scanCode].state == kEdgePressed) {
                AssignAndAdvance(page, entry.input);
                return;
            }
        }
    }
}

void AssignAndAdvance(int page, int input) {
    if (page != kGamepadPage && page != kKeyboardPage) {
        return;
    }
    SetRadioCheck(SelectedRadio(page), 0);
    AssignSlot(page, input);
    AdvanceCursor(page);
    RefreshSlotCaptions(page);
    WindowRef selected = SelectedRadio(page);
    SetRadioCheck(selected, 1);
    view::Focus(selected);
}
