#include "app/controller_line.h"

#include <cstdint>

#include "input/input_device_set.h"
#include "ui/view_port.h"

void ShowControllerLine(WindowRef line) {
    const InputDeviceSet& set = InputDevices;
    if (set.padCount == 0 && set.unopenedCount == 0) {
        view::SetText(line, IDS_NO_CONTROLLER);
        return;
    }
    const std::uint32_t read = set.padCount > 0 ? 1 : 0;
    const std::uint32_t known = read + set.unopenedCount;
    TextPart parts[4] = {
        OwnText(IDS_CONTROLLER),
        OutsideText(
            read != 0 ? set.padInfo[set.selectedPad < set.padCount ? set.selectedPad : 0].name : "",
            TextEncoding::Utf8),
    };
    int count = 2;
    if (set.attachedCount > known) {
        parts[count++] = OwnText(IDS_CONTROLLERS_UNUSED, set.attachedCount - known);
    }
    if (set.unopenedCount > 0) {
        parts[count++] = OwnText(IDS_CONTROLLERS_UNOPENED, set.unopenedCount);
    }
    view::SetTextParts(line, parts, count);
}
