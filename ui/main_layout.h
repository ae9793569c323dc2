// The main window's layout as one plan made from its inputs: the window is
// drawn once in pixels at 96 DPI as a client area and scaled by one factor to
// the window's DPI, so that every display scaling shows the same window, only
// sharper. Where what the system gives (the tab's frame and row, the fonts
// chosen, the texts of the language in use) needs more room than the drawing
// holds, the plan grows it; the frame around the client area is the system's,
// never part of the drawing. The plan is a pure function of its inputs, so
// the window is placed once per cause, and the size answered for another DPI
// is the size the window then takes.
#pragma once

constexpr int kBaseDpi = 96;

// a * b / c, rounded half away from zero as MulDiv rounds; 0 where c is 0.
int MulDivRounded(int a, int b, int c);
// value * toDpi / fromDpi, rounded as MulDiv rounds. A DPI of 0 or less
// (none known) counts as 96.
int DpiRescale(int value, int toDpi, int fromDpi);
// A value of the 96-DPI drawing at a DPI.
inline int DpiScale(int value, int dpi) {
    return DpiRescale(value, dpi, kBaseDpi);
}
// The controls' font at a DPI: LOGFONT lfHeight, negative for a character
// height.
inline int ControlFontHeight(int dpi) {
    return -DpiScale(12, dpi);
}

struct LayoutRect {
    int x;
    int y;
    int width;
    int height;
};

struct LayoutPoint {
    int x;
    int y;
};

// What a frame takes around what it holds: the tab control's frame and row
// of tabs around its display area (TabCtrl_AdjustRect), the window's caption
// and borders around its client area.
struct LayoutInsets {
    int left;
    int top;
    int right;
    int bottom;
};

// The texts the plan measures, each in the font of the control that shows it.
enum class LayoutText { Ok, Cancel, Reset, Hint, ControllerLine };

struct TextExtent {
    int width;
    int height;
};

// Measures a text as its control draws it: on one line where `width` is 0,
// else broken into lines no wider than `width`. The controller line is first
// fitted to the lines it may take at that width (a long product name ends in
// an ellipsis), then measured. The Win32 side measures in the window's fonts
// at the plan's DPI; tests measure by rule.
class TextMeasure {
  public:
    virtual TextExtent Measure(LayoutText text, int width) const = 0;

  protected:
    ~TextMeasure() = default;
};

// An item of the page template, in dialog units. Reset and the hint are
// fitted to their texts; the others keep the template's rectangle.
enum class PageItemRole { Plain, Hint, Reset };
struct PageItem {
    int x;
    int y;
    int width;
    int height;
    PageItemRole role;
};
constexpr int kMostPageItems = 48;

// Where a pass puts the window: centred in the work area (at start), at a
// corner that Windows suggested (a DPI change, which keeps the window under
// the cursor), or where it is, moved only as far as it takes to lie on the
// work area.
enum class WindowPlacement { Centred, At, Kept };

struct LayoutInputs {
    int dpi;
    // Measured in the tab's font at this DPI.
    LayoutInsets tabInsets;
    // The window's frame at this DPI, as it is or as the system documents it.
    LayoutInsets frame;
    // The pages' font's dialog base units: its average Latin letter's width
    // and its height, as the dialog manager takes them.
    int dialogUnitX;
    int dialogUnitY;
    const PageItem* pageItems;
    int pageItemCount;
    LayoutRect workArea;
    WindowPlacement placement;
    // At: the window's top-left corner; Kept: where it is now.
    LayoutPoint corner;
};

struct MainPlan {
    int dpi;
    // The client area; the window's outer size is this with the frame.
    int clientWidth;
    int clientHeight;
    // In the client area.
    LayoutRect tab;
    LayoutRect combo;  // the height includes the drop-down list
    LayoutRect ok;
    LayoutRect cancel;
    LayoutRect controllerLine;
    // The pages' rectangle in the tab control: its display area.
    LayoutRect display;
    // Each page's controls, in the page, in the template's order.
    LayoutRect pageItems[kMostPageItems];
    int pageItemCount;
    // The hint takes more than one line: a vertically centred static shows one.
    bool hintWraps;
    // The outer rectangle, on the screen.
    LayoutRect window;
};

// The whole layout at inputs.dpi: the page controls where the template puts
// them in the pages' font, Reset widened to the left to its text and the hint
// wrapped beside it; the tab grown until every page control lies inside its
// display area, with the controls below and right of it following its edges;
// OK and Cancel widened to their texts with the window; the controller line
// given the lines its text needs; the window's outer rectangle from the
// frame, placed on the work area.
MainPlan PlanMainWindow(const LayoutInputs& inputs, const TextMeasure& texts);

// The top-left corner of a window of the given outer size in a work area:
// centred on each axis where it fits, else at the work area's left or top
// edge, so that the caption is never off-screen or under a taskbar.
LayoutPoint PlaceInWorkArea(const LayoutRect& work, int width, int height);
// The corner nearest to `corner` at which a window of that size lies on the
// work area, or its left or top edge where it is too large.
LayoutPoint KeepInWorkArea(const LayoutRect& work, LayoutPoint corner, int width, int height);
