#include <windows.h>
// winbase.h maps this name to the win.ini function WriteProfileStringA.
#undef WriteProfileString

#include "store/system_port.h"

namespace sys {

std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity) {
    return GetModuleFileNameA(nullptr, buffer, capacity);
}

bool SetCurrentDir(const char* path) {
    return SetCurrentDirectoryA(path) != FALSE;
}

std::uint32_t ReadProfileString(const char* section, const char* key, const char* fallback,
                                char* buffer, std::uint32_t capacity, const char* path) {
    return GetPrivateProfileStringA(section, key, fallback, buffer, capacity, path);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

}  // namespace sys
