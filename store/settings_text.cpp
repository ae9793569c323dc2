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

bool IsValidUtf8(const unsigned char* bytes, std::size_t size, bool* anyWide) {
    *anyWide = false;
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        *anyWide = true;
        std::size_t length = 0;
        std::uint32_t min = 0;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, min = 0x80, code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, min = 0x800, code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, min = 0x10000, code = lead & 0x07u;
        } else {
            return false;
        }
        if (size - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (bytes[i + k] & 0x3Fu);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool AppendUtf8(std::uint32_t code, TextBuffer& out) {
    char bytes[4];
    std::size_t length = 0;
    if (code < 0x80) {
        bytes[length++] = static_cast<char>(code);
    } else if (code < 0x800) {
        bytes[length++] = static_cast<char>(0xC0 | (code >> 6));
        bytes[length++] = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes[length++] = static_cast<char>(0xE0 | (code >> 12));
        bytes[length++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes[length++] = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes[length++] = static_cast<char>(0xF0 | (code >> 18));
        bytes[length++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes[length++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes[length++] = static_cast<char>(0x80 | (code & 0x3F));
    }
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

bool Utf16ToUtf8(const unsigned char* bytes, std::size_t size, TextBuffer& out) {
    out.Clear();
    if (!out.Reserve(size)) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        std::uint32_t code = bytes[i] | (bytes[i + 1] << 8);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < size) {
            const std::uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (!AppendUtf8(code, out)) {
            return false;
        }
    }
    return true;
}

bool Utf8ToUtf16(const unsigned char* bytes, std::size_t size, TextBuffer& out) {
    out.Clear();
    if (!out.Reserve(2 * size + 2) || !AppendUtf16(0xFEFF, out)) {
        return false;
    }
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t code = length == 1   ? lead
                             : length == 2 ? lead & 0x1Fu
                             : length == 3 ? lead & 0x0Fu
                                           : lead & 0x07u;
        bool whole = i + length <= size;
        for (std::size_t k = 1; whole && k < length; ++k) {
            whole = (bytes[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (bytes[i + k] & 0x3Fu);
        }
        if (!whole || code > 0x10FFFF) {
            code = kReplacement;
            length = 1;
        }
        if (!AppendUtf16(code, out)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

bool DecodeSettings(const char* bytes, std::size_t size, SettingsForm* form, TextBuffer& text) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        *form = SettingsForm::Utf16;
        return Utf16ToUtf8(data + 2, size - 2, text);
    }
    bool anyWide = false;
    const bool utf8 = IsValidUtf8(data, size, &anyWide);
    // Shift-JIS text seldom forms valid UTF-8; ASCII alone is read alike.
    *form = StartsWithUtf8Mark(bytes, size) || (utf8 && anyWide) ? SettingsForm::Utf8
                                                                 : SettingsForm::ShiftJis;
    return text.Assign(bytes, size);
}

bool EncodeSettings(SettingsForm form, const char* text, std::size_t size, TextBuffer& bytes) {
    if (form == SettingsForm::Utf16) {
        return Utf8ToUtf16(reinterpret_cast<const unsigned char*>(text), size, bytes);
    }
    return bytes.Assign(text, size);
}

TextEncoding ValueEncoding(SettingsForm form) {
    return form == SettingsForm::ShiftJis ? TextEncoding::ShiftJis : TextEncoding::Utf8;
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

bool SetIniValue(const char* text, std::size_t size, const char* section, const char* key,
                 const char* value, TextBuffer& out) {
    const Place place = Locate(text, size, section, key);
    const char* lineBreak = LineBreakOf(text, size);
    out.Clear();
    if (place.keyFound) {
        return out.Append(text, place.valueBegin) && out.Append(value) &&
               out.Append(text + place.valueEnd, size - place.valueEnd);
    }
    if (place.sectionFound) {
        const std::size_t at = place.insertAt;
        return out.Append(text, at) && (EndsWithBreak(text, at) || out.Append(lineBreak)) &&
               out.Append(key) && out.Append("=") && out.Append(value) && out.Append(lineBreak) &&
               out.Append(text + at, size - at);
    }
    const bool empty = size == FirstLine(text, size);
    bool ok = out.Append(text, size);
    if (!empty) {
        ok = ok && (EndsWithBreak(text, size) || out.Append(lineBreak)) && out.Append(lineBreak);
    }
    return ok && out.Append("[") && out.Append(section) && out.Append("]") &&
           out.Append(lineBreak) && out.Append(key) && out.Append("=") && out.Append(value) &&
           out.Append(lineBreak);
}
