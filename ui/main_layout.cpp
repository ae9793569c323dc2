#include "ui/main_layout.h"

#include <cstdint>

int DpiRescale(int value, int toDpi, int fromDpi) {
    toDpi = toDpi > 0 ? toDpi : kBaseDpi;
    fromDpi = fromDpi > 0 ? fromDpi : kBaseDpi;
    const std::int64_t product = static_cast<std::int64_t>(value) * toDpi;
    const std::int64_t half = fromDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / fromDpi
                                         : -((-product + half) / fromDpi));
}

namespace {

LayoutRect Scaled(int x, int y, int width, int height, int dpi) {
    return {DpiScale(x, dpi), DpiScale(y, dpi), DpiScale(width, dpi), DpiScale(height, dpi)};
}

int Centred(int start, int extent, int size) {
    return size <= extent ? start + (extent - size) / 2 : start;
}

}  // namespace

MainLayout MainLayoutAt(int dpi) {
    MainLayout layout = {};
    layout.windowWidth = DpiScale(480, dpi);
    layout.windowHeight = DpiScale(328, dpi);
    layout.tab = Scaled(12, 12, 455, 255, dpi);
    layout.combo = Scaled(12, 275, 88, 100, dpi);
    layout.ok = Scaled(281, 275, 88, 21, dpi);
    layout.cancel = Scaled(379, 275, 88, 21, dpi);
    // Two lines between the combo box and OK.
    layout.controllerLine = Scaled(108, 270, 166, 28, dpi);
    layout.pageX = DpiScale(5, dpi);
    layout.pageY = DpiScale(25, dpi);
    layout.fontHeight = -DpiScale(12, dpi);
    // The 96-DPI 5 pixels scaled, and one for the roundings of a page scaled
    // from 96 DPI, which must not make the tab grow where 96 DPI did not.
    layout.fitAllowance = DpiScale(5, dpi) + 1;
    layout.fitMargin = DpiScale(6, dpi);
    layout.textPadding = DpiScale(4, dpi);
    return layout;
}

void GrowLayout(MainLayout& layout, int dx, int dy) {
    layout.tab.width += dx;
    layout.tab.height += dy;
    layout.combo.y += dy;
    layout.controllerLine.y += dy;
    layout.ok.x += dx;
    layout.ok.y += dy;
    layout.cancel.x += dx;
    layout.cancel.y += dy;
    layout.windowWidth += dx;
    layout.windowHeight += dy;
}

void WidenButtons(MainLayout& layout, int width) {
    const int extra = width - layout.ok.width;
    if (extra <= 0) {
        return;
    }
    GrowLayout(layout, 2 * extra, 0);
    layout.ok.x -= 2 * extra;
    layout.ok.width += extra;
    layout.cancel.x -= extra;
    layout.cancel.width += extra;
}

LayoutPoint PlaceInWorkArea(const LayoutRect& work, int width, int height) {
    return {Centred(work.x, work.width, width), Centred(work.y, work.height, height)};
}
