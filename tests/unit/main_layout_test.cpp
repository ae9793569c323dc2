// The window's plan from its inputs, where the end-to-end runs (one monitor,
// a few DPIs, the fonts two Wines ship) cannot reach: other DPIs, fonts and
// texts, frames and work areas.
#include <gtest/gtest.h>

#include <vector>

#include "ui/main_layout.h"

namespace {

// The page template: a label and three slots in each of eight rows, then the
// hint and Reset side by side, in dialog units.
std::vector<PageItem> PageTemplate() {
    const int rows[] = {5, 21, 35, 51, 65, 81, 95, 111};
    std::vector<PageItem> items;
    for (int y : rows) {
        items.push_back({5, y, 85, 10, PageItemRole::Plain});
    }
    for (int y : rows) {
        for (int x : {95, 150, 205}) {
            items.push_back({x, y, 45, 10, PageItemRole::Plain});
        }
    }
    items.push_back({5, 130, 190, 15, PageItemRole::Hint});
    items.push_back({200, 130, 50, 15, PageItemRole::Reset});
    return items;
}

// Texts measured by rule: so many characters of one width, lines of one
// height; the controller line is fitted to two lines, as the window fits it.
class RuleMeasure final : public TextMeasure {
  public:
    RuleMeasure(int charWidth, int lineHeight) : charWidth_(charWidth), lineHeight_(lineHeight) {}
    void Set(LayoutText text, int characters) { chars_[static_cast<int>(text)] = characters; }

    TextExtent Measure(LayoutText text, int width) const override {
        const int whole = chars_[static_cast<int>(text)] * charWidth_;
        if (width <= 0) {
            return {whole, lineHeight_};
        }
        int lines = whole > width ? (whole + width - 1) / width : 1;
        lines = text == LayoutText::ControllerLine && lines > 2 ? 2 : lines;
        return {whole < width ? whole : width, lines * lineHeight_};
    }

  private:
    int charWidth_;
    int lineHeight_;
    int chars_[5] = {2, 6, 10, 20, 20};
};

struct Case {
    std::vector<PageItem> items = PageTemplate();
    LayoutInputs inputs = {};

    explicit Case(int dpi) {
        inputs.dpi = dpi;
        inputs.tabInsets = {DpiScale(4, dpi), DpiScale(23, dpi), DpiScale(4, dpi),
                            DpiScale(4, dpi)};
        inputs.frame = {3, DpiScale(22, dpi), 3, 3};
        // The template's own font: 6 x 12 pixels at 96 DPI.
        inputs.dialogUnitX = DpiScale(6, dpi);
        inputs.dialogUnitY = DpiScale(12, dpi);
        inputs.pageItems = items.data();
        inputs.pageItemCount = static_cast<int>(items.size());
        inputs.workArea = {0, 0, 4000, 3000};
        inputs.placement = WindowPlacement::At;
    }
};

int Right(const LayoutRect& r) {
    return r.x + r.width;
}
int Bottom(const LayoutRect& r) {
    return r.y + r.height;
}

bool Inside(const LayoutRect& r, int width, int height) {
    return r.x >= 0 && r.y >= 0 && Right(r) <= width && Bottom(r) <= height;
}

bool SameRect(const LayoutRect& a, const LayoutRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(MainLayout, ScalesAsMulDivRounds) {
    EXPECT_EQ(DpiScale(5, 144), 8);  // 7.5 rounds up
    EXPECT_EQ(DpiScale(-12, 144), -18);
    EXPECT_EQ(DpiScale(-3, 144), -5);  // -4.5 rounds away from zero
    EXPECT_EQ(DpiScale(455, 0), 455);  // no DPI known
    EXPECT_EQ(DpiRescale(683, 96, 144), 455);
    EXPECT_EQ(MulDivRounded(7, 3, -2), -11);
    EXPECT_EQ(MulDivRounded(7, 3, 0), 0);
}

// What fits the drawing keeps it, scaled, at every DPI: the system's own
// 480 x 328 window at 96 DPI with Wine 8's frame.
TEST(MainLayout, WhatFitsKeepsTheDrawingAtEveryDpi) {
    const RuleMeasure texts(DpiScale(6, 96), 14);
    Case at96(96);
    const MainPlan plan = PlanMainWindow(at96.inputs, texts);
    EXPECT_EQ(plan.clientWidth, 474);
    EXPECT_EQ(plan.clientHeight, 303);
    EXPECT_EQ(plan.window.width, 480);
    EXPECT_EQ(plan.window.height, 328);
    EXPECT_TRUE(SameRect(plan.tab, {12, 12, 455, 255}));
    EXPECT_TRUE(SameRect(plan.ok, {281, 275, 88, 21}));
    EXPECT_TRUE(SameRect(plan.cancel, {379, 275, 88, 21}));
    EXPECT_TRUE(SameRect(plan.controllerLine, {108, 270, 166, 28}));
    EXPECT_TRUE(SameRect(plan.pageItems[32], {8, 195, 285, 23})) << "the hint";
    EXPECT_FALSE(plan.hintWraps);
    for (int dpi = 96; dpi <= 480; dpi += 3) {
        const RuleMeasure scaled(DpiScale(6, dpi), DpiScale(14, dpi));
        const MainPlan at = PlanMainWindow(Case(dpi).inputs, scaled);
        EXPECT_EQ(at.clientWidth, DpiScale(474, dpi)) << dpi;
        EXPECT_EQ(at.clientHeight, DpiScale(303, dpi)) << dpi;
        EXPECT_TRUE(SameRect(
            at.tab, {DpiScale(12, dpi), DpiScale(12, dpi), DpiScale(455, dpi), DpiScale(255, dpi)}))
            << dpi;
    }
}

// Taller fonts, longer texts, a taller tab row and a taller frame at every
// scaling Windows offers: the tab grows until every page control lies inside
// its display area (its border on every side), what lies below and right of
// it follows its edges, OK and Cancel hold their texts and keep to the
// window's right margin, and the margins and padding are the DPI's.
TEST(MainLayout, EverythingWholeWhateverTheFontsTextsAndFrame) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        SCOPED_TRACE(dpi);
        Case c(dpi);
        // A CJK face with taller lines than the template's (Noto Sans CJK).
        c.inputs.dialogUnitX = DpiScale(7, dpi);
        c.inputs.dialogUnitY = DpiScale(17, dpi);
        c.inputs.tabInsets = {DpiScale(2, dpi), DpiScale(30, dpi), DpiScale(5, dpi),
                              DpiScale(3, dpi)};
        c.inputs.frame = {DpiScale(8, dpi), DpiScale(40, dpi), DpiScale(8, dpi), DpiScale(8, dpi)};
        RuleMeasure texts(DpiScale(7, dpi), DpiScale(17, dpi));
        texts.Set(LayoutText::Ok, 16);
        texts.Set(LayoutText::Cancel, 22);
        texts.Set(LayoutText::Reset, 18);
        texts.Set(LayoutText::Hint, 60);
        texts.Set(LayoutText::ControllerLine, 80);
        const MainPlan plan = PlanMainWindow(c.inputs, texts);

        const LayoutRect controls[] = {plan.tab, plan.combo, plan.ok, plan.cancel,
                                       plan.controllerLine};
        for (const LayoutRect& r : controls) {
            // The combo box's height holds its drop-down list.
            EXPECT_TRUE(Inside(r, plan.clientWidth, &r == &controls[1] ? 10000 : plan.clientHeight))
                << r.x << "," << r.y << " " << r.width << "x" << r.height;
        }
        const LayoutInsets& tab = c.inputs.tabInsets;
        EXPECT_TRUE(
            SameRect(plan.display, {tab.left, tab.top, plan.tab.width - tab.left - tab.right,
                                    plan.tab.height - tab.top - tab.bottom}));
        for (int i = 0; i < plan.pageItemCount; ++i) {
            EXPECT_TRUE(Inside(plan.pageItems[i], plan.display.width, plan.display.height)) << i;
        }
        // The tab grew by what the pages lacked and the DPI's margin.
        const int margin = DpiScale(6, dpi);
        const LayoutRect& hint = plan.pageItems[32];
        EXPECT_EQ(plan.display.height, Bottom(hint) + margin);
        // The hint wraps beside a widened Reset and holds its lines.
        const LayoutRect& reset = plan.pageItems[33];
        const int padding = DpiScale(4, dpi);
        EXPECT_EQ(reset.width, 18 * DpiScale(7, dpi) + 2 * padding);
        EXPECT_EQ(Right(reset), MulDivRounded(200, c.inputs.dialogUnitX, 4) +
                                    MulDivRounded(50, c.inputs.dialogUnitX, 4));
        EXPECT_TRUE(plan.hintWraps);
        EXPECT_LT(Right(hint), reset.x);
        EXPECT_GE(hint.height, texts.Measure(LayoutText::Hint, hint.width).height);
        // OK and Cancel: their texts with the DPI's padding, below the tab by
        // the drawing's gap, the window's margin right of Cancel.
        const auto drawn = [dpi](int a, int b, int c) {
            return DpiScale(a, dpi) - DpiScale(b, dpi) - DpiScale(c, dpi);
        };
        EXPECT_EQ(plan.ok.width, 22 * DpiScale(7, dpi) + 2 * padding);
        EXPECT_EQ(plan.cancel.width, plan.ok.width);
        EXPECT_EQ(plan.ok.y - Bottom(plan.tab), drawn(275, 12, 255));
        EXPECT_EQ(plan.cancel.y, plan.ok.y);
        EXPECT_EQ(plan.combo.y, plan.ok.y);
        EXPECT_EQ(Right(plan.cancel), Right(plan.tab));
        EXPECT_EQ(plan.clientWidth - Right(plan.cancel), drawn(474, 379, 88));
        EXPECT_EQ(plan.cancel.x - Right(plan.ok), drawn(379, 281, 88));
        // The controller line keeps its width and takes its two lines.
        EXPECT_EQ(plan.controllerLine.width, DpiScale(166, dpi));
        EXPECT_EQ(plan.controllerLine.height, 2 * DpiScale(17, dpi));
        EXPECT_EQ(plan.clientHeight - Bottom(plan.controllerLine), drawn(303, 270, 28));
        // The window is the client area in its frame.
        const LayoutInsets& frame = c.inputs.frame;
        EXPECT_EQ(plan.window.width, plan.clientWidth + frame.left + frame.right);
        EXPECT_EQ(plan.window.height, plan.clientHeight + frame.top + frame.bottom);
    }
}

TEST(MainLayout, PlacesTheWindowOnTheWorkArea) {
    const RuleMeasure texts(6, 14);
    Case c(96);
    // Centred at start, here on a second monitor with a taskbar on its left.
    c.inputs.placement = WindowPlacement::Centred;
    c.inputs.workArea = {1920 + 48, 0, 1280 - 48, 1024};
    MainPlan plan = PlanMainWindow(c.inputs, texts);
    EXPECT_EQ(plan.window.x, 1920 + 48 + (1280 - 48 - 480) / 2);
    EXPECT_EQ(plan.window.y, (1024 - 328) / 2);
    // Where Windows suggests after a DPI change, whatever the work area.
    c.inputs.placement = WindowPlacement::At;
    c.inputs.corner = {-30, 5000};
    plan = PlanMainWindow(c.inputs, texts);
    EXPECT_EQ(plan.window.x, -30);
    EXPECT_EQ(plan.window.y, 5000);
    // Kept where it is, moved only as far as it takes to lie on a work area
    // that shrank; at its corner on an axis too short for it.
    c.inputs.placement = WindowPlacement::Kept;
    c.inputs.workArea = {0, 0, 800, 560};
    c.inputs.corner = {500, 100};
    plan = PlanMainWindow(c.inputs, texts);
    EXPECT_EQ(plan.window.x, 800 - 480);
    EXPECT_EQ(plan.window.y, 100);
    c.inputs.corner = {-50, 400};
    c.inputs.workArea = {0, 40, 1024, 300};
    plan = PlanMainWindow(c.inputs, texts);
    EXPECT_EQ(plan.window.x, 0);
    EXPECT_EQ(plan.window.y, 40);
}

}  // namespace
