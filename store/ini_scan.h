// The settings file's text scanned as the Windows profile functions read it:
// lines end at "\r\n", "\n" or "\r", only the first section of a name
// counts, names compare in ASCII letters of any case, and blanks around
// names and values are ignored, and so is one pair of quotes, double or
// single, around a value. The text is 8-bit (store/settings_form.h).
#pragma once

#include <cstddef>

// Where a key's line is in the first section of that name, or where a new
// key of that section would go.
struct IniPlace {
    bool sectionFound = false;
    bool keyFound = false;
    // The value, blanks around it and one pair of enclosing quotes left out.
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
    std::size_t insertAt = 0;  // after the section's last line that is not blank
};

IniPlace LocateIniKey(const char* text, std::size_t size, const char* section, const char* key);

// The value of `key` in the first section named `section`: [*begin, *end)
// of text, as IniPlace gives it. False when there is none.
bool FindIniValue(const char* text, std::size_t size, const char* section, const char* key,
                  std::size_t* begin, std::size_t* end);
