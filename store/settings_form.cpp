#include "store/settings_form.h"

#include <cstdint>

namespace {

// The length of the whole, valid UTF-8 character at bytes[at] and its code
// point, or 0 when there is none there.
std::size_t Utf8Character(const unsigned char* bytes, std::size_t size, std::size_t at,
                          std::uint32_t* code) {
    const unsigned char lead = bytes[at];
    std::size_t length = 0;
    std::uint32_t min = 0;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, *code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, *code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, *code = lead & 0x07u;
    } else {
        return 0;
    }
    if (size - at < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((bytes[at + k] & 0xC0) != 0x80) {
            return 0;
        }
        *code = (*code << 6) | (bytes[at + k] & 0x3Fu);
    }
    if (*code < min || *code > 0x10FFFF || (*code >= 0xD800 && *code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// A Shift-JIS lead byte and the byte after it are one character.
std::size_t ShiftJisCharacter(unsigned char lead) {
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

// Whether UTF-8 bytes can be Shift-JIS a Japanese Windows wrote: single
// bytes of ASCII and half-width katakana, and lead bytes each with a trail
// byte. (Bytes F5 to FF, which Shift-JIS does not write either, are in no
// UTF-8.)
bool CanBeShiftJis(const unsigned char* bytes, std::size_t size) {
    for (std::size_t at = 0; at < size; ++at) {
        const unsigned char lead = bytes[at];
        if (lead == 0x80 || lead == 0xA0) {
            return false;
        }
        if (ShiftJisCharacter(lead) == 2) {
            if (++at == size) {
                return false;
            }
            const unsigned char trail = bytes[at];
            if (trail < 0x40 || trail == 0x7F) {
                return false;
            }
        }
    }
    return true;
}

// UTF-8 when all of it is UTF-8 and it holds a character of three or four
// bytes, as every kana and kanji is, or cannot be Shift-JIS (as most
// Cyrillic cannot). Shift-JIS text forms valid UTF-8 of two bytes all too
// easily: two half-width katakana (ﾃｽ is C3 BD), or one before a full-width
// character (ﾃｽﾄ１ is C3 BD C4 82 50); three or four bytes only where a rare
// kanji meets half-width katakana or a full-width character.
bool ReadsAsUtf8(const unsigned char* bytes, std::size_t size) {
    bool wide = false;
    std::uint32_t code = 0;
    for (std::size_t at = 0, length = 0; at < size; at += length) {
        length = Utf8Character(bytes, size, at, &code);
        if (length == 0) {
            return false;
        }
        wide = wide || length >= 3;
    }
    return wide || !CanBeShiftJis(bytes, size);
}

std::size_t Utf8Size(std::uint32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

bool AppendUtf8(std::uint32_t code, TextBuffer& out) {
    static const unsigned char kLeads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char bytes[4];
    const std::size_t length = Utf8Size(code);
    for (std::size_t k = length - 1; k > 0; --k, code >>= 6) {
        bytes[k] = static_cast<char>(0x80 | (code & 0x3F));
    }
    bytes[0] = static_cast<char>(kLeads[length] | code);
    return out.Append(bytes, length);
}

bool AppendUtf16(std::uint32_t code, TextBuffer& out) {
    char units[4];
    std::size_t length = 0;
    auto put = [&](std::uint32_t unit) {
        units[length++] = static_cast<char>(unit & 0xFF);
        units[length++] = static_cast<char>(unit >> 8);
    };
    if (code >= 0x10000) {
        code -= 0x10000;
        put(0xD800 | (code >> 10));
        put(0xDC00 | (code & 0x3FF));
    } else {
        put(code);
    }
    return out.Append(units, length);
}

constexpr std::uint32_t kReplacement = 0xFFFD;

// The character at bytes[at] of UTF-16 text, two bytes at least: its code
// point, U+FFFD for a surrogate without its partner, and *length its bytes.
std::uint32_t Utf16Character(const unsigned char* bytes, std::size_t size, std::size_t at,
                             bool bigEndian, std::size_t* length) {
    auto unit = [&](std::size_t i) -> std::uint32_t {
        return bigEndian ? (bytes[i] << 8) | bytes[i + 1] : bytes[i] | (bytes[i + 1] << 8);
    };
    const std::uint32_t code = unit(at);
    *length = 2;
    if (code >= 0xD800 && code <= 0xDBFF && size - at >= 4) {
        const std::uint32_t low = unit(at + 2);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            *length = 4;
            return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return code >= 0xD800 && code <= 0xDFFF ? kReplacement : code;
}

// An odd last byte is no character and is skipped.
bool Utf16ToUtf8(const unsigned char* bytes, std::size_t size, std::size_t at, bool bigEndian,
                 TextBuffer& out) {
    out.Clear();
    if (!out.Reserve(size)) {
        return false;
    }
    for (std::size_t length = 0; size - at >= 2; at += length) {
        if (!AppendUtf8(Utf16Character(bytes, size, at, bigEndian, &length), out)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool StartsWithUtf8Mark(const char* text, std::size_t size) {
    return size >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
           static_cast<unsigned char>(text[1]) == 0xBB &&
           static_cast<unsigned char>(text[2]) == 0xBF;
}

bool DecodeSettings(const char* bytes, std::size_t size, SettingsForm* form, TextBuffer& text) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        *form = SettingsForm::Utf16;
        return Utf16ToUtf8(data, size, 2, false, text);
    }
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        *form = SettingsForm::Utf16Unsure;
        return Utf16ToUtf8(data, size, 2, true, text);
    }
    // No 8-bit settings file starts with a zero byte, or holds one second;
    // a 16-bit one without its mark does, starting with a letter or a bracket.
    if (size >= 2 && (data[0] == 0) != (data[1] == 0)) {
        *form = SettingsForm::Utf16Unsure;
        return Utf16ToUtf8(data, size, 0, data[0] == 0, text);
    }
    *form = StartsWithUtf8Mark(bytes, size) || ReadsAsUtf8(data, size) ? SettingsForm::Utf8
                                                                       : SettingsForm::ShiftJis;
    return text.Assign(bytes, size);
}

TextEncoding ValueEncoding(SettingsForm form) {
    return form == SettingsForm::ShiftJis ? TextEncoding::ShiftJis : TextEncoding::Utf8;
}

std::size_t WholeCharacters(const char* text, std::size_t size, std::size_t limit,
                            TextEncoding encoding) {
    if (size <= limit) {
        return size;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t at = 0;
    for (;;) {
        std::uint32_t code = 0;
        // A character cut off by the end of the text is beyond the limit.
        std::size_t length = encoding == TextEncoding::ShiftJis
                                 ? ShiftJisCharacter(bytes[at])
                                 : Utf8Character(bytes, size, at, &code);
        length = length == 0 ? 1 : length;  // a stray byte stands alone
        if (at + length > limit) {
            return at;
        }
        at += length;
    }
}

std::size_t Utf16Offset(const char* text, std::size_t size, std::size_t at, std::size_t offset) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t decoded = 0, length = 0; decoded < offset && size - at >= 2; at += length) {
        decoded += Utf8Size(Utf16Character(bytes, size, at, false, &length));
    }
    return at;
}

bool Utf8ToUtf16(const char* text, std::size_t size, TextBuffer& out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    out.Clear();
    std::uint32_t code = 0;
    for (std::size_t at = 0, length = 0; at < size; at += length) {
        length = Utf8Character(bytes, size, at, &code);
        if (length == 0) {
            code = kReplacement;
            length = 1;
        }
        if (!AppendUtf16(code, out)) {
            return false;
        }
    }
    return true;
}
