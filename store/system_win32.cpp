#include <windows.h>

#include "store/settings_path.h"
#include "store/system_port.h"

namespace {

wchar_t* NewWide(std::size_t count) {
    return static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(wchar_t)));
}

// A UTF-8 path in UTF-16 for the wide calls; empty on failure, which the
// calls then refuse as no such path. longForm: a long path takes the "\\?\"
// form (LongFormPath), as the file calls need it; the current directory
// has none.
class WidePath {
  public:
    WidePath(const char* utf8, bool longForm) {
        TextBuffer form;
        const char* path = longForm && LongFormPath(utf8, form) ? form.c_str() : utf8;
        const int length = MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0);
        if (length > 0) {
            wide_ = NewWide(static_cast<std::size_t>(length));
        }
        if (wide_ != nullptr && MultiByteToWideChar(CP_UTF8, 0, path, -1, wide_, length) == 0) {
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

FileRead OpenFailure() {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                          : FileRead::Failed;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
    DWORD count = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &count, nullptr) && count == size;
}

// out := the wide text in UTF-8; false for one that has no UTF-8 form.
bool ToUtf8(const wchar_t* wide, TextBuffer& out) {
    const int size =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0 || !out.Reserve(static_cast<std::size_t>(size))) {
        return false;
    }
    const int written = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, out.Data(),
                                            size, nullptr, nullptr);
    out.SetSize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);
    return written > 0;
}

// The file's path with every symbolic link resolved ("\\?\C:\..."), or
// false where the system has none, as for a volume without a drive letter.
bool FinalPath(HANDLE file, TextBuffer& path) {
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, flags);
    if (needed == 0) {
        return false;
    }
    wchar_t* wide = NewWide(needed);
    if (wide == nullptr) {
        return false;
    }
    // On success the count excludes the terminator; a path grown meanwhile
    // answers the size it needs, which is not below `needed`.
    const DWORD count = GetFinalPathNameByHandleW(file, wide, needed, flags);
    const bool found = count > 0 && count < needed && ToUtf8(wide, path);
    HeapFree(GetProcessHeap(), 0, wide);
    return found;
}

}  // namespace

namespace sys {

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
    const WidePath wide(path, false);
    return wide.Usable() && SetCurrentDirectoryW(wide.Get()) != FALSE;
}

FileRead ReadFileBytes(const char* path, TextBuffer& bytes) {
    bytes.Clear();
    const WidePath wide(path, true);
    const Handle file(CreateFileW(wide.Get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return OpenFailure();
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

FileRead InspectFile(const char* path, TextBuffer& target, FileFacts* facts) {
    target.Clear();
    const WidePath wide(path, true);
    // Opened to be looked at only, sharing everything. CreateFileW follows
    // symbolic links, so this is the file a link names.
    const Handle file(CreateFileW(wide.Get(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return OpenFailure();
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(file.Get(), &info)) {
        return FileRead::Failed;
    }
    facts->attributes = info.dwFileAttributes;
    facts->links = info.nNumberOfLinks;
    // Without a final path the file is replaced by the name given, which is
    // right for all but a link.
    if (!FinalPath(file.Get(), target) && !target.Assign(path)) {
        return FileRead::Failed;
    }
    return FileRead::Read;
}

bool WriteNewFile(const char* path, const char* data, std::size_t size, std::uint32_t attributes) {
    const WidePath wide(path, true);
    // The attributes a new file takes. Not read-only, so that a failed
    // replacement can be removed again. Wine 8's ReplaceFileW merges no
    // attributes into the replacement, as Windows' does; given here, they
    // survive there and in the fallback move alike.
    const DWORD kept = attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    const Handle file(CreateFileW(wide.Get(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), data, size) && FlushFileBuffers(file.Get());
}

bool OverwriteFile(const char* path, const char* data, std::size_t size) {
    const WidePath wide(path, true);
    const Handle file(CreateFileW(wide.Get(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), data, size) && SetEndOfFile(file.Get()) &&
           FlushFileBuffers(file.Get());
}

bool ReplaceFileWith(const char* replaced, const char* replacement, const char* backup,
                     std::uint32_t* error) {
    const WidePath replacedWide(replaced, true);
    const WidePath replacementWide(replacement, true);
    const WidePath backupWide(backup, true);
    // REPLACEFILE_IGNORE_MERGE_ERRORS: a file whose security descriptor cannot
    // be carried over is replaced all the same, with what could be kept.
    // REPLACEFILE_WRITE_THROUGH is documented as unsupported; the replacement
    // was flushed when written.
    if (ReplaceFileW(replacedWide.Get(), replacementWide.Get(), backupWide.Get(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    *error = GetLastError();
    return false;
}

bool MoveFileOver(const char* from, const char* to) {
    const WidePath fromWide(from, true);
    const WidePath toWide(to, true);
    return MoveFileExW(fromWide.Get(), toWide.Get(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RenameFile(const char* from, const char* to) {
    const WidePath fromWide(from, true);
    const WidePath toWide(to, true);
    return MoveFileExW(fromWide.Get(), toWide.Get(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RemoveFile(const char* path) {
    const WidePath wide(path, true);
    return DeleteFileW(wide.Get()) != FALSE;
}

std::uint16_t UserUiLanguage() {
    return GetUserDefaultUILanguage();
}

}  // namespace sys
