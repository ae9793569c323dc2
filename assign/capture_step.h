// One tick of capture: poll the devices, then turn the first fresh press that
// the shown page listens to into an edit of its selected slot.
#pragma once

#include <cstdint>

struct KeyScanEntry {
    std::uint8_t scanCode;  // DirectInput DIK_ code
    std::int32_t input;     // input index in the record
};

constexpr int kKeyScanCount = 16;
constexpr std::uint8_t kDeleteScanCode = 0xD3;  // DIK_DELETE

extern const KeyScanEntry KeyScanTable[kKeyScanCount];

void CaptureStep(int page);
void AssignAndAdvance(int page, int input);
