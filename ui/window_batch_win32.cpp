#include "ui/window_batch_win32.h"

namespace {

constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

}  // namespace

RECT RectInParent(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

WindowBatch::~WindowBatch() {
    if (batch_ != nullptr) {
        EndDeferWindowPos(batch_);
    }
}

void WindowBatch::MoveAlone(HWND window, const LayoutRect& rect) {
    SetWindowPos(window, nullptr, rect.x, rect.y, rect.width, rect.height, kMoveFlags);
}

void WindowBatch::Move(HWND window, const LayoutRect& rect) {
    if (window == nullptr) {
        return;
    }
    const RECT now = RectInParent(window);
    if (now.left == rect.x && now.top == rect.y && now.right - now.left == rect.width &&
        now.bottom - now.top == rect.height) {
        return;
    }
    if (batch_ == nullptr || count_ == kMostWindows) {
        MoveAlone(window, rect);
        return;
    }
    windows_[count_] = window;
    rects_[count_++] = rect;
    batch_ = DeferWindowPos(batch_, window, nullptr, rect.x, rect.y, rect.width, rect.height,
                            kMoveFlags);
    if (batch_ == nullptr) {
        // The positions deferred so far are abandoned with the batch, and
        // EndDeferWindowPos must not be called.
        for (int i = 0; i < count_; ++i) {
            MoveAlone(windows_[i], rects_[i]);
        }
    }
}
