#include "ui/main_layout.h"

#include <cstdint>

int MulDivRounded(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

int DpiRescale(int value, int toDpi, int fromDpi) {
    return MulDivRounded(value, toDpi > 0 ? toDpi : kBaseDpi, fromDpi > 0 ? fromDpi : kBaseDpi);
}

namespace {

LayoutRect Scaled(int x, int y, int width, int height, int dpi) {
    return {DpiScale(x, dpi), DpiScale(y, dpi), DpiScale(width, dpi), DpiScale(height, dpi)};
}

int Right(const LayoutRect& rect) {
    return rect.x + rect.width;
}

int Bottom(const LayoutRect& rect) {
    return rect.y + rect.height;
}

int Larger(int a, int b) {
    return a > b ? a : b;
}

// What a page control needs beyond the room there is: 0 where it fits, else
// the overflow and the margin.
int Shortfall(int reach, int room, int margin) {
    return reach > room ? reach - room + margin : 0;
}

int Centred(int start, int extent, int size) {
    return size <= extent ? start + (extent - size) / 2 : start;
}

int Kept(int at, int start, int extent, int size) {
    if (size > extent || at < start) {
        return start;
    }
    return at + size > start + extent ? start + extent - size : at;
}

// The template's items in the pages' font: corner and size each converted,
// as the dialog manager places a control; then Reset and the hint fitted to
// their texts. Reset widens to the left and the hint, which keeps its left
// edge and the gap to Reset, wraps onto more lines where its text is longer
// than the room left.
void PlacePageItems(const LayoutInputs& in, const TextMeasure& texts, int padding, MainPlan& plan) {
    int hint = -1;
    int reset = -1;
    plan.pageItemCount = in.pageItemCount < kMostPageItems ? in.pageItemCount : kMostPageItems;
    for (int i = 0; i < plan.pageItemCount; ++i) {
        const PageItem& item = in.pageItems[i];
        plan.pageItems[i] = {MulDivRounded(item.x, in.dialogUnitX, 4),
                             MulDivRounded(item.y, in.dialogUnitY, 8),
                             MulDivRounded(item.width, in.dialogUnitX, 4),
                             MulDivRounded(item.height, in.dialogUnitY, 8)};
        hint = item.role == PageItemRole::Hint ? i : hint;
        reset = item.role == PageItemRole::Reset ? i : reset;
    }
    if (hint < 0 || reset < 0) {
        return;
    }
    LayoutRect& hintRect = plan.pageItems[hint];
    LayoutRect& resetRect = plan.pageItems[reset];
    const int gap = resetRect.x - Right(hintRect);
    const int resetWidth = texts.Measure(LayoutText::Reset, 0).width + 2 * padding;
    if (resetWidth > resetRect.width) {
        resetRect.x = Right(resetRect) - resetWidth;
        resetRect.width = resetWidth;
        hintRect.width = resetRect.x - gap - hintRect.x;
    }
    plan.hintWraps = texts.Measure(LayoutText::Hint, 0).width > hintRect.width;
    if (plan.hintWraps) {
        hintRect.height =
            Larger(hintRect.height, texts.Measure(LayoutText::Hint, hintRect.width).height);
    }
}

// The tab grows by dx, dy: what lies below it moves down with its bottom
// edge, OK and Cancel keep to its right edge, and the client area grows.
void GrowTab(MainPlan& plan, int dx, int dy) {
    plan.tab.width += dx;
    plan.tab.height += dy;
    plan.combo.y += dy;
    plan.controllerLine.y += dy;
    plan.ok.x += dx;
    plan.ok.y += dy;
    plan.cancel.x += dx;
    plan.cancel.y += dy;
    plan.clientWidth += dx;
    plan.clientHeight += dy;
}

// OK and Cancel widened to `width`, never narrowed: the tab and the client
// area grow by the room the two need, so that the controller line keeps its
// width and the gaps between them stay.
void WidenButtons(MainPlan& plan, int width) {
    const int extra = width - plan.ok.width;
    if (extra <= 0) {
        return;
    }
    GrowTab(plan, 2 * extra, 0);
    plan.ok.x -= 2 * extra;
    plan.ok.width += extra;
    plan.cancel.x -= extra;
    plan.cancel.width += extra;
}

}  // namespace

MainPlan PlanMainWindow(const LayoutInputs& in, const TextMeasure& texts) {
    const int dpi = in.dpi > 0 ? in.dpi : kBaseDpi;
    MainPlan plan = {};
    plan.dpi = dpi;
    plan.clientWidth = DpiScale(474, dpi);
    plan.clientHeight = DpiScale(303, dpi);
    plan.tab = Scaled(12, 12, 455, 255, dpi);
    plan.combo = Scaled(12, 275, 88, 100, dpi);
    plan.ok = Scaled(281, 275, 88, 21, dpi);
    plan.cancel = Scaled(379, 275, 88, 21, dpi);
    // Two lines between the combo box and OK.
    plan.controllerLine = Scaled(108, 270, 166, 28, dpi);
    // Room kept beyond the pages' controls where the tab grows to hold them,
    // and what a push button needs on each side of its text.
    const int fitMargin = DpiScale(6, dpi);
    const int padding = DpiScale(4, dpi);

    PlacePageItems(in, texts, padding, plan);
    int pageRight = 0;
    int pageBottom = 0;
    for (int i = 0; i < plan.pageItemCount; ++i) {
        pageRight = Larger(pageRight, Right(plan.pageItems[i]));
        pageBottom = Larger(pageBottom, Bottom(plan.pageItems[i]));
    }
    const LayoutInsets& tab = in.tabInsets;
    GrowTab(plan, Shortfall(pageRight, plan.tab.width - tab.left - tab.right, fitMargin),
            Shortfall(pageBottom, plan.tab.height - tab.top - tab.bottom, fitMargin));
    WidenButtons(plan, Larger(texts.Measure(LayoutText::Ok, 0).width,
                              texts.Measure(LayoutText::Cancel, 0).width) +
                           2 * padding);
    // The line is the lowest control: the client area grows by what it gains.
    const int taller = texts.Measure(LayoutText::ControllerLine, plan.controllerLine.width).height -
                       plan.controllerLine.height;
    if (taller > 0) {
        plan.controllerLine.height += taller;
        plan.clientHeight += taller;
    }
    plan.display = {tab.left, tab.top, plan.tab.width - tab.left - tab.right,
                    plan.tab.height - tab.top - tab.bottom};

    const LayoutInsets& frame = in.frame;
    const int width = plan.clientWidth + frame.left + frame.right;
    const int height = plan.clientHeight + frame.top + frame.bottom;
    LayoutPoint corner = in.corner;
    if (in.placement == WindowPlacement::Centred) {
        corner = PlaceInWorkArea(in.workArea, width, height);
    } else if (in.placement == WindowPlacement::Kept) {
        corner = KeepInWorkArea(in.workArea, in.corner, width, height);
    }
    plan.window = {corner.x, corner.y, width, height};
    return plan;
}

LayoutPoint PlaceInWorkArea(const LayoutRect& work, int width, int height) {
    return {Centred(work.x, work.width, width), Centred(work.y, work.height, height)};
}

LayoutPoint KeepInWorkArea(const LayoutRect& work, LayoutPoint corner, int width, int height) {
    return {Kept(corner.x, work.x, work.width, width), Kept(corner.y, work.y, work.height, height)};
}
