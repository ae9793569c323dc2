#include <windows.h>
#include <winioctl.h>

#include <cstring>

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

// A folder's handle needs FILE_FLAG_BACKUP_SEMANTICS; with it, its final
// path has every junction and symbolic link on the way followed.
bool FolderFinalPath(const char* folder, TextBuffer& path) {
    const WidePath wide(folder, true);
    const Handle handle(CreateFileW(wide.Get(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return handle.Valid() && FinalPath(handle.Get(), path);
}

// A symbolic link's or a junction's reparse data, as the driver kit's
// REPARSE_DATA_BUFFER (ntifs.h, not in the SDK) lays it out: the tag, then
// the offset and byte count of the substitute name in the path buffer,
// which starts after the flags of a symbolic link.
constexpr std::size_t kSubstituteName = 8;
constexpr std::size_t kJunctionPaths = 16;
constexpr std::size_t kSymbolicLinkFlags = 16;
constexpr std::size_t kSymbolicLinkPaths = 20;
constexpr DWORD kSymbolicLinkRelative = 1;  // SYMLINK_FLAG_RELATIVE

template <typename T>
T Field(const unsigned char* data, std::size_t at) {
    T value;
    std::memcpy(&value, data + at, sizeof(value));
    return value;
}

bool StartsWith(const TextBuffer& text, const char* start) {
    return std::strncmp(text.c_str(), start, std::strlen(start)) == 0;
}

// path := the folder's path joined to a relative target, "." and ".." taken
// (GetFullPathNameW, which leaves a "\\?\" path as it is, so the folder
// drops that form first).
bool JoinRelative(const TextBuffer& folder, const TextBuffer& relative, TextBuffer& path) {
    TextBuffer joined;
    const bool unc = StartsWith(folder, "\\\\?\\UNC\\");
    const char* plain = folder.c_str() + (unc ? 8 : StartsWith(folder, "\\\\?\\") ? 4 : 0);
    if (!joined.Assign(unc ? "\\\\" : "") || !joined.Append(plain) || !joined.Append("\\") ||
        !joined.Append(relative.c_str())) {
        return false;
    }
    const WidePath wide(joined.c_str(), false);
    const DWORD needed = GetFullPathNameW(wide.Get(), 0, nullptr, nullptr);
    wchar_t* full = needed > 0 ? NewWide(needed) : nullptr;
    if (full == nullptr) {
        return false;
    }
    const DWORD count = GetFullPathNameW(wide.Get(), needed, full, nullptr);
    const bool joinedWhole = count > 0 && count < needed && ToUtf8(full, path);
    HeapFree(GetProcessHeap(), 0, full);
    return joinedWhole;
}

// next := the full path the reparse data names: an absolute target
// ("\??\C:\x") in the "\\?\" form, a relative one beside the link, in the
// final path of the link's folder.
bool NamedTarget(const unsigned char* data, DWORD size, const char* link, TextBuffer& next) {
    if (size < kJunctionPaths) {
        return false;
    }
    const DWORD tag = Field<DWORD>(data, 0);
    const bool symbolic = tag == static_cast<DWORD>(IO_REPARSE_TAG_SYMLINK);
    if (!symbolic && tag != static_cast<DWORD>(IO_REPARSE_TAG_MOUNT_POINT)) {
        return false;
    }
    const std::size_t paths = symbolic ? kSymbolicLinkPaths : kJunctionPaths;
    const std::size_t offset = Field<WORD>(data, kSubstituteName);
    const std::size_t bytes = Field<WORD>(data, kSubstituteName + 2);
    if (paths + offset + bytes > size || bytes == 0 || bytes % 2 != 0) {
        return false;
    }
    wchar_t* wide = NewWide(bytes / 2 + 1);
    if (wide == nullptr) {
        return false;
    }
    std::memcpy(wide, data + paths + offset, bytes);
    wide[bytes / 2] = L'\0';
    TextBuffer name;
    const bool named = ToUtf8(wide, name);
    HeapFree(GetProcessHeap(), 0, wide);
    if (!named) {
        return false;
    }
    if (symbolic && (Field<DWORD>(data, kSymbolicLinkFlags) & kSymbolicLinkRelative) != 0) {
        TextBuffer folder;
        TextBuffer final;
        return DirectoryOfPath(link, folder) && FolderFinalPath(folder.c_str(), final) &&
               JoinRelative(final, name, next);
    }
    // The object manager's "\??\" is the "\\?\" of the Win32 calls.
    return StartsWith(name, "\\??\\") && next.Assign("\\\\?\\") && next.Append(name.c_str() + 4);
}

// next := where the symbolic link or junction at `path` points; false where
// the path is none (FSCTL_GET_REPARSE_POINT on the link itself, opened with
// FILE_FLAG_OPEN_REPARSE_POINT).
bool LinkTarget(const char* path, TextBuffer& next) {
    const WidePath wide(path, true);
    const Handle link(
        CreateFileW(wide.Get(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!link.Valid()) {
        return false;
    }
    auto* data = static_cast<unsigned char*>(
        HeapAlloc(GetProcessHeap(), 0, MAXIMUM_REPARSE_DATA_BUFFER_SIZE));
    DWORD size = 0;
    const bool found = data != nullptr &&
                       DeviceIoControl(link.Get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data,
                                       MAXIMUM_REPARSE_DATA_BUFFER_SIZE, &size, nullptr) &&
                       NamedTarget(data, size, path, next);
    if (data != nullptr) {
        HeapFree(GetProcessHeap(), 0, data);
    }
    return found;
}

// Windows itself follows at most 63 links in a name.
constexpr int kMostLinks = 63;

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

// Wine 8 and 10 differ: a link of the host's (a Linux symbolic link in the
// prefix's drive) is followed by CreateFileW and GetFinalPathNameByHandleW
// as on Windows, but is never shown as one: FILE_FLAG_OPEN_REPARSE_POINT
// opens its target, FSCTL_GET_REPARSE_POINT answers
// ERROR_NOT_A_REPARSE_POINT, and one whose target is missing is answered
// ERROR_FILE_NOT_FOUND, its folder there or not. Such a link is Missing at
// the path given; NameIsFree tells it from no file.
FileRead LocateFile(const char* path, TextBuffer& final, FileFacts* facts) {
    if (!final.Assign(path)) {
        return FileRead::Failed;
    }
    for (int link = 0; link <= kMostLinks; ++link) {
        // Opened to be looked at only, sharing everything; CreateFileW
        // follows the links on the way. A folder of that name is no file to
        // replace.
        const WidePath wide(final.c_str(), true);
        const Handle file(CreateFileW(wide.Get(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (file.Valid()) {
            BY_HANDLE_FILE_INFORMATION info = {};
            if (!GetFileInformationByHandle(file.Get(), &info) ||
                (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return FileRead::Failed;
            }
            facts->attributes = info.dwFileAttributes;
            facts->links = info.nNumberOfLinks;
            // Without a final path (a volume without a drive letter) the
            // file is replaced by the name it was found at.
            TextBuffer found;
            if (FinalPath(file.Get(), found) && !final.Assign(found.c_str())) {
                return FileRead::Failed;
            }
            return FileRead::Read;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            return FileRead::Failed;
        }
        // Not there: a link whose target is missing leads on; at the last
        // name, ERROR_PATH_NOT_FOUND says its folder is missing as well.
        TextBuffer next;
        if (!LinkTarget(final.c_str(), next)) {
            return error == ERROR_PATH_NOT_FOUND ? FileRead::NoFolder : FileRead::Missing;
        }
        if (!final.Assign(next.c_str())) {
            return FileRead::Failed;
        }
    }
    return FileRead::Failed;
}

bool NameIsFree(const char* path) {
    const WidePath wide(path, true);
    // The file made is gone again when its handle is closed.
    const Handle made(CreateFileW(wide.Get(), DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    const DWORD error = made.Valid() ? ERROR_SUCCESS : GetLastError();
    // A folder that refuses new files refuses the new file as well.
    return error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS;
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

bool OverwriteFile(const char* path, std::size_t offset, const char* data, std::size_t size,
                   bool setEnd) {
    const WidePath wide(path, true);
    const Handle file(CreateFileW(wide.Get(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at = {};
    at.QuadPart = static_cast<LONGLONG>(offset);
    // SetEndOfFile ends the file where the write left the file pointer.
    return file.Valid() && SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
           WriteAll(file.Get(), data, size) && (!setEnd || SetEndOfFile(file.Get())) &&
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
