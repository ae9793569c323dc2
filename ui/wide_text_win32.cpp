#include "ui/wide_text_win32.h"

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

WideText::~WideText() {
    if (text_ != inline_) {
        HeapFree(GetProcessHeap(), 0, text_);
    }
}

void WideText::Append(const char* text, TextEncoding encoding) {
    const UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : kShiftJis;
    // Counts the terminator.
    const int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 0) {
        return;
    }
    if (length_ + needed > capacity_) {
        const int capacity = 2 * (length_ + needed);
        wchar_t* grown =
            static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t)));
        if (grown == nullptr) {
            return;
        }
        CopyMemory(grown, text_, (length_ + 1) * sizeof(wchar_t));
        if (text_ != inline_) {
            HeapFree(GetProcessHeap(), 0, text_);
        }
        text_ = grown;
        capacity_ = capacity;
    }
    const int written = MultiByteToWideChar(codePage, 0, text, -1, text_ + length_, needed);
    if (written > 0) {
        length_ += written - 1;
    }
    text_[length_] = L'\0';
}
