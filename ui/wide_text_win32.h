// Texts in UTF-16 for the wide ("W") calls. The tool's own texts come from
// the string tables of padloom.rc in the language in use; text from outside
// is converted at the window boundary: Shift-JIS labels with code page 932
// itself, never the system's, and UTF-8 with CP_UTF8.
#pragma once

#include <windows.h>

#include "ui/view_port.h"

// A text of the tool's own as the resources hold it: `length` UTF-16 units,
// not NUL-terminated. English where the block of the language in use lacks
// it; empty where that lacks it too.
struct OwnTextChars {
    const wchar_t* chars;
    int length;
};
OwnTextChars FindOwnText(TextId text);

class WideText {
  public:
    WideText() = default;
    explicit WideText(TextId text) { AppendOwn(text, 0); }
    WideText(const char* text, TextEncoding encoding) { Append(text, encoding); }
    ~WideText();
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    // A text of the tool's own, with `count` in decimal for its "%u" and
    // args[n - 1] for its "%n" (1 to 9); a placeholder without an argument
    // stays as it is.
    void AppendOwn(TextId text, std::uint32_t count, const TextPart* args = nullptr,
                   int argCount = 0);
    void AppendPart(const TextPart& part);
    // A part that cannot be converted (or no memory for it) is left out.
    void Append(const char* text, TextEncoding encoding);
    void Append(const wchar_t* text);
    void Append(const wchar_t* chars, int length);
    // Empty again; what was reserved stays.
    void Clear() {
        length_ = 0;
        text_[0] = L'\0';
    }
    const wchar_t* Get() const { return text_; }
    int Length() const { return length_; }

  private:
    bool Reserve(int length);

    static constexpr int kInline = 256;
    wchar_t inline_[kInline] = {};
    wchar_t* text_ = inline_;
    int length_ = 0;
    int capacity_ = kInline;
};
