#include <windows.h>

#include "input/library_port.h"

namespace sys {

ModuleRef LoadFromSystemDirectory(const char* name, std::uint32_t* error) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    *error = module == nullptr ? GetLastError() : ERROR_SUCCESS;
    return module;
}

ModuleRef LoadBySystemPath(const char* name) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    // 0 is a failure, a length of MAX_PATH or more the size it would need.
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::size_t nameLength = static_cast<std::size_t>(lstrlenA(name));
    if (length + 1 + nameLength >= MAX_PATH) {
        return nullptr;
    }
    path[length] = '\\';
    CopyMemory(path + length + 1, name, nameLength + 1);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace sys
