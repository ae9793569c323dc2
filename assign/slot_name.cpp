#include "assign/slot_name.h"

#include "assign/assign_record.h"

RowLabels PageRowLabels[kPageCount] = {};

namespace {

const char* const kRowLetters[kRowCount] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};

}  // namespace

void ComposeSlotName(int page, int row, int slot, SlotName& name) {
    name.text = OwnText(0);
    if (page < 0 || page >= kPageCount || row < 0 || row >= kRowCount || slot < 0 ||
        slot >= kSlotsPerRow) {
        return;
    }
    const RowLabels& labels = PageRowLabels[page];
    const char* const label = labels.texts[row];
    name.args[0] = label != nullptr && label[0] != '\0'
                       ? OutsideText(label, labels.encoding)
                       : OutsideText(kRowLetters[row], TextEncoding::Utf8);
    const std::int32_t value = SlotGrid[page][row][slot];
    name.args[1] = value > 0 && value <= kInputCount
                       ? OutsideText(InputNameTable[value], TextEncoding::Utf8)
                       : OwnText(IDS_SLOT_EMPTY);
    name.text = OwnTextWith(IDS_SLOT_NAME, static_cast<std::uint32_t>(slot + 1), name.args, 2);
}
