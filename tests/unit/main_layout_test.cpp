// The scaling helper, the fitting rules and the placement rule, where the
// end-to-end runs (one monitor, no taskbar, a few DPIs and fonts) cannot reach.
#include <gtest/gtest.h>

#include "ui/main_layout.h"

namespace {

// What a system measures where everything fits the drawing just: pages that
// reach the display area's edges, buttons and line texts of the drawn size.
LayoutMeasures FittingMeasures(int dpi) {
    const MainLayout drawn = MainLayoutAt(dpi);
    const LayoutInsets insets = {DpiScale(2, dpi), DpiScale(22, dpi), DpiScale(3, dpi),
                                 DpiScale(3, dpi)};
    const LayoutRect area = PageArea(drawn, insets);
    return {insets, area.width, area.height, drawn.ok.width - 2 * drawn.textPadding,
            drawn.controllerLine.height};
}

bool SameRect(const LayoutRect& a, const LayoutRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(MainLayout, ScalesAsMulDivRoundsAndLeavesNinetySixAlone) {
    EXPECT_EQ(DpiScale(5, 144), 8);  // 7.5 rounds up
    EXPECT_EQ(DpiScale(-12, 144), -18);
    EXPECT_EQ(DpiScale(-3, 144), -5);  // -4.5 rounds away from zero
    EXPECT_EQ(DpiScale(455, 0), 455);  // no DPI known
    EXPECT_EQ(DpiRescale(683, 96, 144), 455);
    const MainLayout at96 = MainLayoutAt(96);
    EXPECT_EQ(at96.clientWidth, 474);
    EXPECT_EQ(at96.clientHeight, 303);
    EXPECT_EQ(at96.fontHeight, -12);
}

TEST(MainLayout, WhatFitsKeepsTheDrawingAtEveryDpi) {
    for (int dpi = 96; dpi <= 480; ++dpi) {
        const MainLayout drawn = MainLayoutAt(dpi);
        const MainLayout fitted = MainLayoutFor(dpi, FittingMeasures(dpi));
        EXPECT_EQ(fitted.clientWidth, drawn.clientWidth) << dpi;
        EXPECT_EQ(fitted.clientHeight, drawn.clientHeight) << dpi;
        EXPECT_TRUE(SameRect(fitted.tab, drawn.tab) && SameRect(fitted.ok, drawn.ok) &&
                    SameRect(fitted.cancel, drawn.cancel) &&
                    SameRect(fitted.controllerLine, drawn.controllerLine))
            << dpi;
    }
}

TEST(MainLayout, TheTabGrowsUntilEveryPageControlIsInsideItsDisplayArea) {
    // A font larger than the template's (a Linux CJK face, a language's
    // fallback): the pages reach 15 pixels past the bottom and 1 past the
    // right; a taller tab row takes more from the display area.
    LayoutMeasures measures = FittingMeasures(96);
    measures.pageBottom += 15;
    measures.pageRight += 1;
    measures.tabInsets.top += 4;
    const MainLayout drawn = MainLayoutAt(96);
    const MainLayout grown = MainLayoutFor(96, measures);
    const int dx = 1 + drawn.fitMargin;
    const int dy = 15 + 4 + drawn.fitMargin;
    const LayoutRect area = PageArea(grown, measures.tabInsets);
    EXPECT_GE(area.width, measures.pageRight);
    EXPECT_GE(area.height, measures.pageBottom);
    EXPECT_EQ(grown.tab.width, drawn.tab.width + dx);
    EXPECT_EQ(grown.tab.height, drawn.tab.height + dy);
    EXPECT_EQ(grown.clientWidth, drawn.clientWidth + dx);
    EXPECT_EQ(grown.clientHeight, drawn.clientHeight + dy);
    // What lies below the tab moves down with its edge; OK and Cancel keep
    // to its right edge, the combo box and the line to the left.
    EXPECT_EQ(grown.combo.y, drawn.combo.y + dy);
    EXPECT_EQ(grown.controllerLine.y, drawn.controllerLine.y + dy);
    EXPECT_EQ(grown.ok.x, drawn.ok.x + dx);
    EXPECT_EQ(grown.cancel.x + grown.cancel.width, grown.tab.x + grown.tab.width);
    EXPECT_EQ(grown.combo.x, drawn.combo.x);
}

TEST(MainLayout, TheControllerLineTakesTheLinesItNeedsAndButtonsTheirTexts) {
    LayoutMeasures measures = FittingMeasures(144);
    const MainLayout drawn = MainLayoutAt(144);
    // Two lines of a fallback font taller than the drawing's 14 pixels.
    measures.lineHeight = drawn.controllerLine.height + 9;
    measures.buttonText = drawn.ok.width;
    const MainLayout fitted = MainLayoutFor(144, measures);
    EXPECT_EQ(fitted.controllerLine.height, drawn.controllerLine.height + 9);
    EXPECT_EQ(fitted.clientHeight, drawn.clientHeight + 9);
    EXPECT_EQ(fitted.combo.y, drawn.combo.y);
    // OK and Cancel hold their texts with padding; the line keeps its width
    // and the gap to OK.
    EXPECT_EQ(fitted.ok.width, drawn.ok.width + 2 * drawn.textPadding);
    EXPECT_EQ(fitted.cancel.width, fitted.ok.width);
    EXPECT_EQ(fitted.controllerLine.width, drawn.controllerLine.width);
    EXPECT_EQ(fitted.ok.x - (fitted.controllerLine.x + fitted.controllerLine.width),
              drawn.ok.x - (drawn.controllerLine.x + drawn.controllerLine.width));
    EXPECT_EQ(fitted.clientWidth, drawn.clientWidth + 4 * drawn.textPadding);
}

TEST(MainLayout, MeasuresRescaledToAnotherDpiGiveItsLayout) {
    // Measured at 96 DPI, the pages 15 pixels too tall: the size answered for
    // 192 DPI before its fonts exist is the layout measured there.
    LayoutMeasures at96 = FittingMeasures(96);
    at96.pageBottom += 15;
    LayoutMeasures at192 = FittingMeasures(192);
    at192.pageBottom += 30;
    const MainLayout answered = MainLayoutFor(192, RescaledMeasures(at96, 192, 96));
    const MainLayout measured = MainLayoutFor(192, at192);
    EXPECT_EQ(answered.clientWidth, measured.clientWidth);
    EXPECT_EQ(answered.clientHeight, measured.clientHeight);
}

TEST(MainLayout, PlacesInTheWorkAreaOrAtItsCorner) {
    // A taskbar on the left of a second monitor: centred in what is left.
    LayoutPoint at = PlaceInWorkArea({1920 + 48, 0, 1280 - 48, 1024}, 720, 492);
    EXPECT_EQ(at.x, 1920 + 48 + (1280 - 48 - 720) / 2);
    EXPECT_EQ(at.y, (1024 - 492) / 2);
    // A monitor left of and above the primary one.
    at = PlaceInWorkArea({-1024, -768, 1024, 728}, 480, 328);
    EXPECT_EQ(at.x, -1024 + 272);
    EXPECT_EQ(at.y, -768 + 200);
    // Too small on one axis: that axis starts at the work area's edge.
    at = PlaceInWorkArea({0, 40, 800, 560}, 960, 680);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 40);
    at = PlaceInWorkArea({0, 0, 1024, 600}, 960, 680);
    EXPECT_EQ(at.x, 32);
    EXPECT_EQ(at.y, 0);
}

}  // namespace
