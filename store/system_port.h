// The seam between the settings logic and kernel32: the module path, the
// current directory, whole files, the user's language and system DLLs.
// Paths cross it as UTF-8; the Win32 side takes them in UTF-16, so a folder
// name is right whatever the system's code page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/text_buffer.h"

using ModuleRef = void*;

constexpr std::uint32_t kErrorInvalidParameter = 87;

enum class FileRead { Read, Missing, Failed };

namespace sys {

// LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); on failure
// *error is GetLastError().
ModuleRef LoadFromSystemDirectory(const char* name, std::uint32_t* error);
// LoadLibraryExA of GetSystemDirectoryA's folder + "\\" + name, with
// LOAD_WITH_ALTERED_SEARCH_PATH so its own imports come from there too.
ModuleRef LoadBySystemPath(const char* name);

// The executable's path (GetModuleFileNameW) as UTF-8 in buffer: the count
// of bytes written, terminated; equal to capacity when it did not fit.
std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity);
// SetCurrentDirectoryW.
bool SetCurrentDir(const char* path);
// The whole file; Missing when there is none, Failed when it is there but
// cannot be read.
FileRead ReadFileBytes(const char* path, TextBuffer& bytes);
// Replaces the file whole (a new file, then moved over the old one), so a
// failure never leaves it half written.
bool ReplaceFileBytes(const char* path, const char* data, std::size_t size);
// GetUserDefaultUILanguage.
std::uint16_t UserUiLanguage();

}  // namespace sys
