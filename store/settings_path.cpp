#include "store/settings_path.h"

#include <cstring>

bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

const char* LastPathComponent(const char* path) {
    const char* component = path;
    const char* p = path;
    while (*p != '\0') {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(*p))) {
            // The second byte may be 0x5C, which is part of the character.
            p += (p[1] != '\0') ? 2 : 1;
            continue;
        }
        if (*p == '\\' || *p == '/') {
            component = p + 1;
        }
        ++p;
    }
    return component;
}

std::string DirectoryOfPath(const char* path) {
    const char* component = LastPathComponent(path);
    if (component == path) {
        // No separator at all: there is no directory part to give.
        return std::string();
    }
    // component follows a one-byte separator; drop it and what comes after.
    return std::string(path, static_cast<std::size_t>(component - path) - 1);
}
