// The main window's layout: drawn once in pixels at 96 DPI as a client area
// and scaled by one factor to the window's DPI, so that every display scaling
// shows the same window, only sharper. Where what the system gives (the
// tab's frame and row, the fonts chosen, the texts of the language in use)
// needs more room than the drawing holds, the rules below grow it; the frame
// around the client area is the system's, never part of the layout.
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
    // The client area; the window's outer size is this with the system's frame.
    int clientWidth;
    int clientHeight;
    // In the client area.
    LayoutRect tab;
    LayoutRect combo;  // the height includes the drop-down list
    LayoutRect ok;
    LayoutRect cancel;
    LayoutRect controllerLine;
    // The controls' font: LOGFONT lfHeight, negative for a character height.
    int fontHeight;
    // Room kept beyond the pages' controls where the tab grows to hold them.
    int fitMargin;
    // What a push button needs on each side of its text.
    int textPadding;
};

// What the tab control takes from its own rectangle for its frame and its
// row of tabs: its display area (TabCtrl_AdjustRect) is the rest.
struct LayoutInsets {
    int left;
    int top;
    int right;
    int bottom;
};

// What the layout measures in the fonts and texts in use, at its DPI.
struct LayoutMeasures {
    LayoutInsets tabInsets;
    // How far the pages' controls reach from a page's top-left corner, which
    // is the display area's.
    int pageRight;
    int pageBottom;
    // The wider of OK's and Cancel's texts.
    int buttonText;
    // The controller line's text, broken into lines of the line's width.
    int lineHeight;
};

// The 96-DPI drawing at a DPI, before anything is measured.
MainLayout MainLayoutAt(int dpi);
// The layout at a DPI for what was measured there: the tab grows until every
// page control lies inside its display area, OK and Cancel widen to their
// texts, the controller line takes the lines its text needs, and the client
// area grows with them. With measures that fit, the drawing scaled.
MainLayout MainLayoutFor(int dpi, const LayoutMeasures& measures);
// Measures taken at one DPI, scaled to another: what the layout will take
// there, before its fonts exist to be measured.
LayoutMeasures RescaledMeasures(const LayoutMeasures& measures, int toDpi, int fromDpi);
// The pages' rectangle in the tab control: its display area.
LayoutRect PageArea(const MainLayout& layout, const LayoutInsets& tabInsets);

// Where a page's controls need dx, dy more pixels: the tab and the client
// area grow by that, and what lies below or right of the tab moves with its
// edge.
void GrowLayout(MainLayout& layout, int dx, int dy);
// OK and Cancel widened to `width` (never narrowed): the client area and the
// tab grow wider by the room the two need, so that the controller line keeps
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
