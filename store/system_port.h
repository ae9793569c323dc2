// The seam between the settings logic and kernel32: the module path, the
// current directory, private profile (INI) strings and system DLLs.
#pragma once

#include <cstdint>

using ModuleRef = void*;

constexpr std::uint32_t kErrorInvalidParameter = 87;

namespace sys {

// LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); on failure
// *error is GetLastError().
ModuleRef LoadFromSystemDirectory(const char* name, std::uint32_t* error);
// LoadLibraryExA of GetSystemDirectoryA's folder + "\" + name, with
// LOAD_WITH_ALTERED_SEARCH_PATH so its own imports come from there too.
ModuleRef LoadBySystemPath(const char* name);

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
