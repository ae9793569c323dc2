// The seam between the loading of system DLLs (input/system_library.h) and
// kernel32: a DLL from the Windows system directory, in either of the two
// ways the Windows versions allow. library_win32.cpp is the shipping side;
// tests link a scriptable double.
#pragma once

#include <cstdint>

using ModuleRef = void*;

// ERROR_INVALID_PARAMETER.
constexpr std::uint32_t kErrorInvalidParameter = 87;

namespace sys {

// LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); on failure
// *error is GetLastError().
ModuleRef LoadFromSystemDirectory(const char* name, std::uint32_t* error);
// LoadLibraryExA of GetSystemDirectoryA's folder + "\\" + name, with
// LOAD_WITH_ALTERED_SEARCH_PATH so its own imports come from there too.
ModuleRef LoadBySystemPath(const char* name);

}  // namespace sys
