// Texts in UTF-16 for the wide ("W") calls, converted at the window boundary:
// Shift-JIS with code page 932 itself, never the system's, so the tool's
// Japanese is right on a Western Windows too; UTF-8 with CP_UTF8.
#pragma once

#include <windows.h>

#include "ui/view_port.h"

class WideText {
  public:
    WideText() = default;
    // A Shift-JIS text.
    explicit WideText(const char* text) { Append(text, TextEncoding::ShiftJis); }
    ~WideText();
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    // A part that cannot be converted (or no memory for it) is left out.
    void Append(const char* text, TextEncoding encoding);
    void Append(const wchar_t* text);
    const wchar_t* Get() const { return text_; }

  private:
    bool Reserve(int length);

    static constexpr int kInline = 256;
    wchar_t inline_[kInline] = {};
    wchar_t* text_ = inline_;
    int length_ = 0;
    int capacity_ = kInline;
};
