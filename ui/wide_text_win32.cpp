#include "ui/wide_text_win32.h"

#include "ui/texts.h"

namespace {

constexpr UINT kShiftJis = 932;
// RT_STRING keeps 16 strings per block: block id / 16 + 1, each string a
// length in UTF-16 units followed by its units.
constexpr TextId kStringsPerBlock = 16;
// RT_STRING, whose own macro follows the UNICODE setting.
const LPCWSTR kStringTable = MAKEINTRESOURCEW(6);

OwnTextChars FindIn(TextId text, LANGID language) {
    // LoadStringW takes no language: it picks the block by the thread's UI
    // language and the system's fallbacks, which need not be the language
    // chosen (a setting, or a region's Chinese). FindResourceExW is given the
    // block's LANGID. A loaded module's resources stay mapped, so the
    // pointer outlives the call.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, kStringTable,
                                  MAKEINTRESOURCEW(text / kStringsPerBlock + 1), language);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const wchar_t* at =
        loaded != nullptr ? static_cast<const wchar_t*>(LockResource(loaded)) : nullptr;
    if (at == nullptr) {
        return {nullptr, 0};
    }
    const wchar_t* const end = at + SizeofResource(module, found) / sizeof(wchar_t);
    for (TextId skip = text % kStringsPerBlock; skip > 0 && at < end; --skip) {
        at += 1 + static_cast<WORD>(*at);
    }
    if (at >= end || at + 1 + static_cast<WORD>(*at) > end) {
        return {nullptr, 0};
    }
    return {at + 1, static_cast<WORD>(*at)};
}

}  // namespace

OwnTextChars FindOwnText(TextId text) {
    if (text == 0) {
        return {nullptr, 0};
    }
    OwnTextChars found = FindIn(text, TextLanguage);
    if (found.length == 0 && TextLanguage != kFallbackLanguage) {
        found = FindIn(text, kFallbackLanguage);
    }
    return found;
}

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

void WideText::AppendOwn(TextId text, std::uint32_t count, const TextPart* args, int argCount) {
    const OwnTextChars own = FindOwnText(text);
    int from = 0;
    for (int i = 0; i + 1 < own.length; ++i) {
        if (own.chars[i] != L'%') {
            continue;
        }
        const wchar_t next = own.chars[i + 1];
        const int arg = next - L'1';
        if (next == L'u') {
            Append(own.chars + from, i - from);
            wchar_t digits[11];
            int at = 11;
            do {
                digits[--at] = static_cast<wchar_t>(L'0' + count % 10);
                count /= 10;
            } while (count != 0);
            Append(digits + at, 11 - at);
        } else if (arg >= 0 && arg < argCount && arg < 9) {
            Append(own.chars + from, i - from);
            AppendPart(args[arg]);
        } else {
            continue;
        }
        from = i + 2;
        ++i;
    }
    Append(own.chars + from, own.length - from);
}

void WideText::AppendPart(const TextPart& part) {
    if (part.text != 0) {
        AppendOwn(part.text, part.count, part.args, part.argCount);
    } else if (part.bytes != nullptr) {
        Append(part.bytes, part.encoding);
    }
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
    Append(text, lstrlenW(text));
}

void WideText::Append(const wchar_t* chars, int length) {
    if (length <= 0 || !Reserve(length_ + length + 1)) {
        return;
    }
    CopyMemory(text_ + length_, chars, length * sizeof(wchar_t));
    length_ += length;
    text_[length_] = L'\0';
}
