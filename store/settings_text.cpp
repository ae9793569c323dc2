#include "store/settings_text.h"

#include <cstdint>
#include <cstring>

namespace {

struct Line {
    std::size_t begin;
    std::size_t end;   // before the line break
    std::size_t next;  // after it
};

bool StartsWithUtf8Mark(const char* text, std::size_t size) {
    return size >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
           static_cast<unsigned char>(text[1]) == 0xBB &&
           static_cast<unsigned char>(text[2]) == 0xBF;
}

std::size_t FirstLine(const char* text, std::size_t size) {
    return StartsWithUtf8Mark(text, size) ? 3 : 0;
}

// A line ends at "\r\n", "\n" or "\r", as the profile functions end them.
bool NextLine(const char* text, std::size_t size, std::size_t at, Line* line) {
    if (at >= size) {
        return false;
    }
    std::size_t end = at;
    while (end < size && text[end] != '\r' && text[end] != '\n') {
        ++end;
    }
    std::size_t next = end;
    if (next < size && text[next] == '\r') {
        ++next;
    }
    if (next < size && text[next] == '\n' && (next == end || text[next - 1] == '\r')) {
        ++next;
    }
    *line = {at, end, next};
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void Trim(const char* text, std::size_t* begin, std::size_t* end) {
    while (*begin < *end && IsBlank(text[*begin])) {
        ++*begin;
    }
    while (*end > *begin && IsBlank(text[*end - 1])) {
        --*end;
    }
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* text, std::size_t begin, std::size_t end, const char* name) {
    const std::size_t length = std::strlen(name);
    if (end - begin != length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (AsciiLower(text[begin + i]) != AsciiLower(name[i])) {
            return false;
        }
    }
    return true;
}

// A section header: its name's span. Shift-JIS trail bytes can be '[' or
// ']', but a header starts with '[' on its own.
bool SectionName(const char* text, const Line& line, std::size_t* begin, std::size_t* end) {
    std::size_t at = line.begin;
    while (at < line.end && IsBlank(text[at])) {
        ++at;
    }
    if (at == line.end || text[at] != '[') {
        return false;
    }
    *begin = at + 1;
    *end = *begin;
    while (*end < line.end && text[*end] != ']') {
        ++*end;
    }
    Trim(text, begin, end);
    return true;
}

// A "key=value" line: the key's and the value's spans, trimmed.
bool KeyAndValue(const char* text, const Line& line, std::size_t* keyEnd, std::size_t* valueBegin,
                 std::size_t* valueEnd) {
    const void* equals = std::memchr(text + line.begin, '=', line.end - line.begin);
    if (equals == nullptr) {
        return false;
    }
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(equals) - text);
    *keyEnd = at;
    *valueBegin = at + 1;
    *valueEnd = line.end;
    Trim(text, valueBegin, valueEnd);
    return true;
}

// Where a key's line is in the first section of that name, or where a new
// key of that section would go.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
    std::size_t insertAt = 0;  // after the section's last line that is not blank
};

Place Locate(const char* text, std::size_t size, const char* section, const char* key) {
    Place place;
    bool inSection = false;
    Line line;
    for (std::size_t at = FirstLine(text, size); NextLine(text, size, at, &line); at = line.next) {
        std::size_t begin = 0;
        std::size_t end = 0;
        if (SectionName(text, line, &begin, &end)) {
            if (inSection) {
                break;  // only the first section of the name counts
            }
            inSection = SameName(text, begin, end, section);
            if (inSection) {
                place.sectionFound = true;
                place.insertAt = line.next;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        std::size_t first = line.begin;
        std::size_t last = line.end;
        Trim(text, &first, &last);
        if (first < last) {
            place.insertAt = line.next;
        }
        std::size_t keyEnd = 0;
        if (KeyAndValue(text, line, &keyEnd, &place.valueBegin, &place.valueEnd)) {
            std::size_t keyBegin = line.begin;
            Trim(text, &keyBegin, &keyEnd);
            if (SameName(text, keyBegin, keyEnd, key)) {
                place.keyFound = true;
                return place;
            }
        }
    }
    return place;
}

const char* LineBreakOf(const char* text, std::size_t size) {
    const void* feed = std::memchr(text, '\n', size);
    if (feed == nullptr) {
        return "\r\n";
    }
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(feed) - text);
    return at > 0 && text[at - 1] == '\r' ? "\r\n" : "\n";
}

bool EndsWithBreak(const char* text, std::size_t size) {
    return size > 0 && (text[size - 1] == '\n' || text[size - 1] == '\r');
}

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

// Where in little-endian UTF-16 bytes (from `at`) the character lies that
// starts at `offset` of their UTF-8 decoding.
std::size_t Utf16Offset(const unsigned char* bytes, std::size_t size, std::size_t at,
                        std::size_t offset) {
    for (std::size_t decoded = 0, length = 0; decoded < offset && size - at >= 2; at += length) {
        decoded += Utf8Size(Utf16Character(bytes, size, at, false, &length));
    }
    return at;
}

bool Utf8ToUtf16(const unsigned char* bytes, std::size_t size, TextBuffer& out) {
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

// What setting a key changes: text [at, at + removed) becomes `inserted`.
struct Splice {
    std::size_t at = 0;
    std::size_t removed = 0;
    TextBuffer inserted;
};

bool PlanValue(const char* text, std::size_t size, const char* section, const char* key,
               const char* value, Splice& splice) {
    const Place place = Locate(text, size, section, key);
    const char* lineBreak = LineBreakOf(text, size);
    TextBuffer& out = splice.inserted;
    out.Clear();
    if (place.keyFound) {
        splice.at = place.valueBegin;
        splice.removed = place.valueEnd - place.valueBegin;
        return out.Append(value);
    }
    if (place.sectionFound) {
        splice.at = place.insertAt;
        return (EndsWithBreak(text, splice.at) || out.Append(lineBreak)) && out.Append(key) &&
               out.Append("=") && out.Append(value) && out.Append(lineBreak);
    }
    splice.at = size;
    bool ok = true;
    if (size != FirstLine(text, size)) {
        ok = (EndsWithBreak(text, size) || out.Append(lineBreak)) && out.Append(lineBreak);
    }
    return ok && out.Append("[") && out.Append(section) && out.Append("]") &&
           out.Append(lineBreak) && out.Append(key) && out.Append("=") && out.Append(value) &&
           out.Append(lineBreak);
}

}  // namespace

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

bool FindIniValue(const char* text, std::size_t size, const char* section, const char* key,
                  std::size_t* begin, std::size_t* end) {
    const Place place = Locate(text, size, section, key);
    if (!place.keyFound) {
        return false;
    }
    *begin = place.valueBegin;
    *end = place.valueEnd;
    const char quote = *end - *begin >= 2 ? text[*begin] : '\0';
    if ((quote == '"' || quote == '\'') && text[*end - 1] == quote) {
        ++*begin;
        --*end;
    }
    return true;
}

bool EditSettings(const char* bytes, std::size_t size, const char* section, const char* key,
                  const char* value, TextBuffer& out) {
    SettingsForm form = SettingsForm::ShiftJis;
    TextBuffer text;
    Splice splice;
    if (!DecodeSettings(bytes, size, &form, text) || form == SettingsForm::Utf16Unsure ||
        !PlanValue(text.c_str(), text.Size(), section, key, value, splice)) {
        return false;
    }
    std::size_t from = splice.at;
    std::size_t to = splice.at + splice.removed;
    TextBuffer wide;
    const TextBuffer* inserted = &splice.inserted;
    if (form == SettingsForm::Utf16) {
        // Only the splice is converted: an odd last byte or a lone surrogate
        // elsewhere stays as it was.
        const auto* data = reinterpret_cast<const unsigned char*>(bytes);
        from = Utf16Offset(data, size, 2, from);
        to = Utf16Offset(data, size, 2, to);
        if (!Utf8ToUtf16(reinterpret_cast<const unsigned char*>(inserted->c_str()),
                         inserted->Size(), wide)) {
            return false;
        }
        inserted = &wide;
    }
    out.Clear();
    return out.Append(bytes, from) && out.Append(inserted->c_str(), inserted->Size()) &&
           out.Append(bytes + to, size - to);
}
