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

// What a page control needs beyond the room there is: 0 where it fits, else
// the overflow and the margin.
int Shortfall(int reach, int room, int margin) {
    return reach > room ? reach - room + margin : 0;
}

}  // namespace

MainLayout MainLayoutAt(int dpi) {
    MainLayout layout = {};
    layout.clientWidth = DpiScale(474, dpi);
    layout.clientHeight = DpiScale(303, dpi);
    layout.tab = Scaled(12, 12, 455, 255, dpi);
    layout.combo = Scaled(12, 275, 88, 100, dpi);
    layout.ok = Scaled(281, 275, 88, 21, dpi);
    layout.cancel = Scaled(379, 275, 88, 21, dpi);
    // Two lines between the combo box and OK.
    layout.controllerLine = Scaled(108, 270, 166, 28, dpi);
    layout.fontHeight = -DpiScale(12, dpi);
    layout.fitMargin = DpiScale(6, dpi);
    layout.textPadding = DpiScale(4, dpi);
    return layout;
}

LayoutRect PageArea(const MainLayout& layout, const LayoutInsets& tabInsets) {
    return {tabInsets.left, tabInsets.top, layout.tab.width - tabInsets.left - tabInsets.right,
            layout.tab.height - tabInsets.top - tabInsets.bottom};
}

MainLayout MainLayoutFor(int dpi, const LayoutMeasures& measures) {
    MainLayout layout = MainLayoutAt(dpi);
    const LayoutRect area = PageArea(layout, measures.tabInsets);
    GrowLayout(layout, Shortfall(measures.pageRight, area.width, layout.fitMargin),
               Shortfall(measures.pageBottom, area.height, layout.fitMargin));
    WidenButtons(layout, measures.buttonText + 2 * layout.textPadding);
    // The line is the lowest control: the client area grows by what it gains.
    const int taller = measures.lineHeight - layout.controllerLine.height;
    if (taller > 0) {
        layout.controllerLine.height += taller;
        layout.clientHeight += taller;
    }
    return layout;
}

LayoutMeasures RescaledMeasures(const LayoutMeasures& measures, int toDpi, int fromDpi) {
    const auto scaled = [toDpi, fromDpi](int value) { return DpiRescale(value, toDpi, fromDpi); };
    const LayoutInsets& insets = measures.tabInsets;
    return {{scaled(insets.left), scaled(insets.top), scaled(insets.right), scaled(insets.bottom)},
            scaled(measures.pageRight),
            scaled(measures.pageBottom),
            scaled(measures.buttonText),
            scaled(measures.lineHeight)};
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
    layout.clientWidth += dx;
    layout.clientHeight += dy;
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
