#include "store/ini_scan.h"

#include <cstring>

#include "base/ascii.h"
#include "store/settings_form.h"

namespace {

struct Line {
    std::size_t begin;
    std::size_t end;   // before the line break
    std::size_t next;  // after it
};

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

bool SameName(const char* text, std::size_t begin, std::size_t end, const char* name) {
    const std::size_t length = std::strlen(name);
    return end - begin == length && SameAsciiFolded(text + begin, name, length);
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

// A "key=value" line: the key's and the value's spans, trimmed; the value
// without one pair of enclosing quotes, which are no part of it.
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
    const char quote = *valueEnd - *valueBegin >= 2 ? text[*valueBegin] : '\0';
    if ((quote == '"' || quote == '\'') && text[*valueEnd - 1] == quote) {
        ++*valueBegin;
        --*valueEnd;
    }
    return true;
}

}  // namespace

IniPlace LocateIniKey(const char* text, std::size_t size, const char* section, const char* key) {
    IniPlace place;
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

bool FindIniValue(const char* text, std::size_t size, const char* section, const char* key,
                  std::size_t* begin, std::size_t* end) {
    const IniPlace place = LocateIniKey(text, size, section, key);
    if (!place.keyFound) {
        return false;
    }
    *begin = place.valueBegin;
    *end = place.valueEnd;
    return true;
}
