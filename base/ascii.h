// ASCII case folding, the only folding the tool's names take (settings
// sections and keys, language names, the registry's "Software\"): a
// locale-aware fold would let the bytes of Shift-JIS characters match letters.
#pragma once

#include <cstddef>

inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the first `length` bytes of a and b are the same but for the case
// of ASCII letters. It stops at the first difference, so a terminated text
// compared with one that holds no zero byte is not read past its terminator.
inline bool SameAsciiFolded(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}
