// The main window's layout: drawn once in pixels at 96 DPI and scaled by one
// factor to the window's DPI, so that every display scaling shows the same
// window, only sharper. Every pixel value of the main window passes through
// DpiScale; at 96 DPI the geometry is exactly the 96-DPI drawing.
#pragma once

constexpr int kBaseDpi = 96;

// value * toDpi / fromDpi, rounded half away from zero as MulDiv rounds. A
// DPI of 0 or less (none known) counts as 96.
int DpiRescale(int value, int toDpi, int fromDpi);
// A value of the 96-DPI drawing at a DPI.
inline int DpiScale(int value, int dpi) {
    return DpiRescale(value, dpi, kBaseDpi);
}

struct LayoutRect {
    int x;
    int y;
    int width;
    int height;
};

struct MainLayout {
    // The outer size, frame and caption included.
    int windowWidth;
    int windowHeight;
    // In the main window's client area.
    LayoutRect tab;
    LayoutRect combo;  // the height includes the drop-down list
    LayoutRect ok;
    LayoutRect cancel;
    LayoutRect controllerLine;
    // A page's top-left corner in the tab control's client area, below the tabs.
    int pageX;
    int pageY;
    // The controls' font: LOGFONT lfHeight, negative for a character height.
    int fontHeight;
    // The grow-to-fit rule: a page control may reach past the tab's client
    // area by fitAllowance (at 96 DPI Reset passes its lower edge by up to 5
    // pixels under some fonts, as the layout was drawn); beyond that the tab
    // grows to hold every control whole, with fitMargin to spare.
    int fitAllowance;
    int fitMargin;
    // What a push button needs on each side of its text.
    int textPadding;
};

MainLayout MainLayoutAt(int dpi);

// Where a page's controls reach past the tab control by dx, dy pixels: the
// tab and the window grow by that, and what lies below or right of the tab
// moves with its edge.
void GrowLayout(MainLayout& layout, int dx, int dy);
// OK and Cancel widened to `width` (never narrowed): the window and the tab
// grow wider by the room the two need, so that the controller line keeps
// its width and the gaps between them stay.
void WidenButtons(MainLayout& layout, int width);

struct LayoutPoint {
    int x;
    int y;
};

// The top-left corner of a window of the given outer size in a work area:
// centred on each axis where it fits, else at the work area's left or top
// edge, so that the caption is never off-screen or under a taskbar.
LayoutPoint PlaceInWorkArea(const LayoutRect& work, int width, int height);
