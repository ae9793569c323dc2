#include <windows.h>

#include "store/system_port.h"

namespace {

// A UTF-8 path in UTF-16 for the wide calls; empty on failure, which the
// calls then refuse as no such path.
class WidePath {
  public:
    explicit WidePath(const char* utf8) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
        if (length > 0) {
            wide_ = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, length * sizeof(wchar_t)));
        }
        if (wide_ != nullptr && MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide_, length) == 0) {
            wide_[0] = L'\0';
        }
    }
    ~WidePath() {
        if (wide_ != nullptr) {
            HeapFree(GetProcessHeap(), 0, wide_);
        }
    }
    WidePath(const WidePath&) = delete;
    WidePath& operator=(const WidePath&) = delete;
    const wchar_t* Get() const { return wide_ != nullptr ? wide_ : L""; }
    bool Usable() const { return wide_ != nullptr && wide_[0] != L'\0'; }

  private:
    wchar_t* wide_ = nullptr;
};

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// Larger settings files are not the tool's: they are left alone.
constexpr LONGLONG kLargestSettingsFile = 1 << 20;

}  // namespace

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

std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity) {
    if (capacity == 0) {
        return 0;
    }
    wchar_t* wide =
        static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t)));
    if (wide == nullptr) {
        return 0;
    }
    // A count equal to the size means cut (and, before Vista, unterminated).
    const DWORD count = GetModuleFileNameW(nullptr, wide, capacity);
    std::uint32_t written = 0;
    if (count >= capacity) {
        written = capacity;
    } else if (count > 0) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(count), buffer,
                                              static_cast<int>(capacity - 1), nullptr, nullptr);
        // 0 here means the UTF-8 form is longer than the buffer.
        written = bytes > 0 ? static_cast<std::uint32_t>(bytes) : capacity;
    }
    HeapFree(GetProcessHeap(), 0, wide);
    if (written < capacity) {
        buffer[written] = '\0';
    }
    return written;
}

bool SetCurrentDir(const char* path) {
    const WidePath wide(path);
    return wide.Usable() && SetCurrentDirectoryW(wide.Get()) != FALSE;
}

FileRead ReadFileBytes(const char* path, TextBuffer& bytes) {
    bytes.Clear();
    const WidePath wide(path);
    const Handle file(CreateFileW(wide.Get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                              : FileRead::Failed;
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestSettingsFile ||
        !bytes.Reserve(static_cast<std::size_t>(size.QuadPart))) {
        return FileRead::Failed;
    }
    DWORD read = 0;
    if (size.QuadPart > 0 &&
        !ReadFile(file.Get(), bytes.Data(), static_cast<DWORD>(size.QuadPart), &read, nullptr)) {
        return FileRead::Failed;
    }
    bytes.SetSize(read);
    return FileRead::Read;
}

bool ReplaceFileBytes(const char* path, const char* data, std::size_t size) {
    TextBuffer temporary;
    if (!temporary.Assign(path) || !temporary.Append(".new")) {
        return false;
    }
    const WidePath target(path);
    const WidePath fresh(temporary.c_str());
    if (!target.Usable() || !fresh.Usable()) {
        return false;
    }
    bool written = false;
    {
        const Handle file(CreateFileW(fresh.Get(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD count = 0;
        written = file.Valid() &&
                  WriteFile(file.Get(), data, static_cast<DWORD>(size), &count, nullptr) &&
                  count == size && FlushFileBuffers(file.Get());
    }
    if (written && MoveFileExW(fresh.Get(), target.Get(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(fresh.Get());
    return false;
}

std::uint16_t UserUiLanguage() {
    return GetUserDefaultUILanguage();
}

}  // namespace sys
