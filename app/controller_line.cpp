#include "app/controller_line.h"

#include <cstdint>

#include "input/input_device_set.h"
#include "ui/view_port.h"

bool ShowControllerLine(WindowRef line) {
    const InputDeviceSet& set = InputDevices;
    if (set.padCount == 0 && set.unopenedCount == 0) {
        const TextPart none = OwnText(IDS_NO_CONTROLLER);
        return view::SetTextPartsWithin(line, &none, 1, -1, 2);
    }
    // A controller whose object answers as if it were unplugged is not read,
    // whatever the enumeration says: it counts with those not opened.
    std::uint32_t notOpened = set.unopenedCount;
    for (std::uint32_t i = 0; i < set.padCount; ++i) {
        notOpened += set.padInfo[i].lost ? 1 : 0;
    }
    const std::uint32_t selected = set.selectedPad < set.padCount ? set.selectedPad : 0;
    const std::uint32_t read = set.padCount > 0 && !set.padInfo[selected].lost ? 1 : 0;
    const std::uint32_t known = read + notOpened;
    TextPart parts[4] = {
        OwnText(IDS_CONTROLLER),
        OutsideText(read != 0 ? set.padInfo[selected].name : "", TextEncoding::Utf8),
    };
    int count = 2;
    if (set.attachedCount > known) {
        parts[count++] = OwnText(IDS_CONTROLLERS_UNUSED, set.attachedCount - known);
    }
    if (notOpened > 0) {
        parts[count++] = OwnText(IDS_CONTROLLERS_UNOPENED, notOpened);
    }
    // Two lines beside the combo box; a longer name ends in an ellipsis.
    return view::SetTextPartsWithin(line, parts, count, 1, 2);
}
