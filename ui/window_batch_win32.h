// Child windows of one parent moved together: one BeginDeferWindowPos batch,
// so each moves once and the parent is repainted once. A window already where
// it goes is left out.
#pragma once

#include <windows.h>

#include "ui/main_layout.h"

// The window's rectangle in its parent's client area.
RECT RectInParent(HWND window);

class WindowBatch {
  public:
    static constexpr int kMostWindows = 48;

    WindowBatch() : batch_(BeginDeferWindowPos(kMostWindows)) {}
    ~WindowBatch();
    WindowBatch(const WindowBatch&) = delete;
    WindowBatch& operator=(const WindowBatch&) = delete;

    void Move(HWND window, const LayoutRect& rect);

  private:
    void MoveAlone(HWND window, const LayoutRect& rect);

    // Null where the batch could not be made or has failed: each window is
    // then moved at once.
    HDWP batch_;
    // What the batch holds, to be moved alone if it fails.
    HWND windows_[kMostWindows] = {};
    LayoutRect rects_[kMostWindows] = {};
    int count_ = 0;
};
