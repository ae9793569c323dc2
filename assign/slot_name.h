// What a screen reader says for a slot: its row's label as the page shows
// it, the slot's number and what the slot holds, in the language in use. One
// text per language places them, so each language keeps its own word order.
#pragma once

#include "assign/assign_page.h"
#include "assign/slot_grid.h"
#include "ui/view_port.h"

// The labels each page shows, kept for the names: the settings read at start,
// which stay for the process.
extern RowLabels PageRowLabels[kPageCount];

// IDS_SLOT_NAME with "%1" the label (the row's letter where the label is
// empty, as the row would otherwise go unnamed), "%u" the slot's number from
// 1, and "%2" the input's name or IDS_SLOT_EMPTY. `text` points into `args`,
// so a name is filled in place and never copied.
struct SlotName {
    TextPart args[2];
    TextPart text;

    SlotName() = default;
    SlotName(const SlotName&) = delete;
    SlotName& operator=(const SlotName&) = delete;
};

// Leaves `name` without text for a page, row or slot that does not exist.
void ComposeSlotName(int page, int row, int slot, SlotName& name);
