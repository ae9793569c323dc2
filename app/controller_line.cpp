#include "app/controller_line.h"

#include <cstdint>

#include "input/input_device_set.h"
#include "ui/texts.h"
#include "ui/view_port.h"

namespace {

// The format with its "%u" replaced by the count. The texts are Shift-JIS,
// whose second bytes never fall below 0x40, so a '%' byte is always '%'.
void FormatCount(const char* format, std::uint32_t count, char* out, std::size_t capacity) {
    char digits[12];
    int length = 0;
    do {
        digits[length++] = static_cast<char>('0' + count % 10);
        count /= 10;
    } while (count != 0);
    std::size_t at = 0;
    for (const char* p = format; *p != '\0' && at + 1 < capacity; ++p) {
        if (p[0] == '%' && p[1] == 'u') {
            for (int i = length - 1; i >= 0 && at + 1 < capacity; --i) {
                out[at++] = digits[i];
            }
            ++p;
        } else {
            out[at++] = *p;
        }
    }
    out[at] = '\0';
}

}  // namespace

void ShowControllerLine(WindowRef line) {
    const InputDeviceSet& set = InputDevices;
    if (set.padCount == 0 && set.unopenedCount == 0) {
        view::SetText(line, Texts->noController);
        return;
    }
    char unused[64] = "";
    char unopened[64] = "";
    // A controller whose object answers as if it were unplugged is not read,
    // whatever the enumeration says: it counts with those not opened.
    std::uint32_t notOpened = set.unopenedCount;
    for (std::uint32_t i = 0; i < set.padCount; ++i) {
        notOpened += set.padInfo[i].lost ? 1 : 0;
    }
    const std::uint32_t selected = set.selectedPad < set.padCount ? set.selectedPad : 0;
    const std::uint32_t read = set.padCount > 0 && !set.padInfo[selected].lost ? 1 : 0;
    const std::uint32_t known = read + notOpened;
    if (set.attachedCount > known) {
        FormatCount(Texts->controllersUnused, set.attachedCount - known, unused, sizeof(unused));
    }
    if (notOpened > 0) {
        FormatCount(Texts->controllersUnopened, notOpened, unopened, sizeof(unopened));
    }
    const TextPart parts[] = {
        {Texts->controller, TextEncoding::ShiftJis},
        {read != 0 ? set.padInfo[selected].name : "", TextEncoding::Utf8},
        {unused, TextEncoding::ShiftJis},
        {unopened, TextEncoding::ShiftJis},
    };
    view::SetTextParts(line, parts, 4);
}
