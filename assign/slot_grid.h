// The two pages (0 gamepad, 1 keyboard) as 8 rows (game buttons) by 3 slots,
// each cell holding input index + 1 or 0 for empty, with the selected slot
// and the radio buttons that show them.
#pragma once

#include <cstdint>

#include "base/platform_refs.h"

constexpr int kPageCount = 2;
constexpr int kRowCount = 8;
constexpr int kSlotsPerRow = 3;
constexpr int kSlotCount = kRowCount * kSlotsPerRow;

extern std::int32_t SlotGrid[kPageCount][kRowCount][kSlotsPerRow];
// Selected slot per page: row = n % 8, slot = n / 8.
extern std::int32_t SlotCursor[kPageCount];
// Radio button of (row, slot) at index row * 3 + slot.
extern WindowRef SlotRadios[kPageCount][kSlotCount];
// The grid value each radio button's caption shows, plus 1; 0 before its
// first caption.
extern std::int32_t SlotCaptioned[kPageCount][kSlotCount];

void LoadPageGrid(int page);
void StoreGridsToRecord();
void AssignSlot(int page, int input);
void AdvanceCursor(int page);
void RefreshSlotCaptions(int page);
void RefreshSlotCaption(int page, int row, int slot);
void SetRadioCheck(WindowRef button, int checked);
// The radio button of the page's selected slot.
WindowRef SelectedRadio(int page);
