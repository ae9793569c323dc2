#include "ui/wide_text_win32.h"

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

WideText::~WideText() {
    if (text_ != inline_) {
        HeapFree(GetProcessHeap(), 0, text_);
    }
}

bool WideText::Reserve(int length) {
    if (length <= capacity_) {
        return true;
    }
    const int capacity = 2 * length;
    wchar_t* grown =
        static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t)));
    if (grown == nullptr) {
        return false;
    }
    CopyMemory(grown, text_, (length_ + 1) * sizeof(wchar_t));
    if (text_ != inline_) {
        HeapFree(GetProcessHeap(), 0, text_);
    }
    text_ = grown;
    capacity_ = capacity;
    return true;
}

void WideText::Append(const char* text, TextEncoding encoding) {
    const UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : kShiftJis;
    // Counts the terminator.
    const int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 0 || !Reserve(length_ + needed)) {
        return;
    }
    const int written = MultiByteToWideChar(codePage, 0, text, -1, text_ + length_, needed);
    if (written > 0) {
        length_ += written - 1;
    }
    text_[length_] = L'\0';
}

void WideText::Append(const wchar_t* text) {
    const int length = lstrlenW(text);
    if (!Reserve(length_ + length + 1)) {
        return;
    }
    CopyMemory(text_ + length_, text, (length + 1) * sizeof(wchar_t));
    length_ += length;
}
