// The seam between the settings logic and kernel32: the module path, the
// current directory and private profile (INI) strings.
#pragma once

#include <cstdint>

namespace sys {

// GetModuleFileNameA(nullptr, buffer, capacity): the count of bytes copied;
// equal to capacity when the path was cut to fit.
std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity);
// SetCurrentDirectoryA.
bool SetCurrentDir(const char* path);
// GetPrivateProfileStringA.
std::uint32_t ReadIniString(const char* section, const char* key, const char* fallback,
                            char* buffer, std::uint32_t capacity, const char* path);
// WritePrivateProfileStringA.
bool WriteIniString(const char* section, const char* key, const char* value, const char* path);

}  // namespace sys
