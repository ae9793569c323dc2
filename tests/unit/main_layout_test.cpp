// The scaling helper and the placement rule, where the end-to-end runs (one
// monitor, no taskbar, a few DPIs) cannot reach.
#include <gtest/gtest.h>

#include "ui/main_layout.h"

namespace {

TEST(MainLayout, ScalesAsMulDivRoundsAndLeavesNinetySixAlone) {
    EXPECT_EQ(DpiScale(5, 144), 8);  // 7.5 rounds up
    EXPECT_EQ(DpiScale(-12, 144), -18);
    EXPECT_EQ(DpiScale(-3, 144), -5);  // -4.5 rounds away from zero
    EXPECT_EQ(DpiScale(455, 0), 455);  // no DPI known
    EXPECT_EQ(DpiRescale(683, 96, 144), 455);
    const MainLayout at96 = MainLayoutAt(96);
    EXPECT_EQ(at96.windowWidth, 480);
    EXPECT_EQ(at96.windowHeight, 328);
    EXPECT_EQ(at96.fontHeight, -12);
    // A page control that passes the tab's lower edge by at most 5 pixels at
    // 96 DPI, its page moved and scaled to another DPI, must not make the tab
    // grow there: the roundings of origin, bottom and tab must stay inside.
    for (int dpi = 96; dpi <= 480; ++dpi) {
        const MainLayout layout = MainLayoutAt(dpi);
        for (int bottom = 200; bottom + 25 <= 255 + 5; ++bottom) {
            const int overhang = layout.pageY + DpiRescale(bottom, dpi, 96) - layout.tab.height;
            EXPECT_LE(overhang, layout.fitAllowance) << dpi << " " << bottom;
        }
    }
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
