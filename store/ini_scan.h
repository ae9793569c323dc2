// The settings file's text scanned as the Windows profile functions read it:
// lines end at "\r\n", "\n" or "\r", only the first section of a name
// counts, names compare in ASCII letters of any case, and blanks around
// names and values are ignored. The text is 8-bit (store/settings_form.h).
#pragma once

#include <cstddef>

// Where a key's line is in the first section of that name, or where a new
// key of that section would go.
struct IniPlace {
    bool sectionFound = false;
    bool keyFound = false;
    std::size_t valueBegin = 0;  // the value, blanks around it left out
    std::size_t valueEnd = 0;
    std::size_t insertAt = 0;  // after the section's last line that is not blank
};

IniPlace LocateIniKey(const char* text, std::size_t size, const char* section, const char* key);

// The value of `key` in the first section named `section`, without one pair
// of enclosing quotes: [*begin, *end) of text. False when there is none.
bool FindIniValue(const char* text, std::size_t size, const char* section, const char* key,
                  std::size_t* begin, std::size_t* end);
