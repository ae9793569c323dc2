#include <windows.h>

#include "store/system_port.h"

namespace sys {

std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity) {
    return GetModuleFileNameA(nullptr, buffer, capacity);
}

bool SetCurrentDir(const char* path) {
    return SetCurrentDirectoryA(path) != FALSE;
}

std::uint32_t ReadIniString(const char* section, const char* key, const char* fallback,
                            char* buffer, std::uint32_t capacity, const char* path) {
    return GetPrivateProfileStringA(section, key, fallback, buffer, capacity, path);
}

bool WriteIniString(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

}  // namespace sys
