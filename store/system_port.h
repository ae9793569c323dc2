// The seam between the store and kernel32: the module path, the current
// directory, whole files and their replacement; and the user's UI language,
// by which the start-up chooses the texts' language.
// Paths cross it as UTF-8; the Win32 side takes them in UTF-16, so a folder
// name is right whatever the system's code page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/text_buffer.h"

// ReplaceFileW: the replaced file now has the backup's name, the replacement
// still its own.
constexpr std::uint32_t kErrorUnableToMoveReplacement2 = 1177;
constexpr std::uint32_t kFileAttributeReadOnly = 0x1;

// NoFolder: missing, and so is the folder it would be in; beside the tool
// that is the folder a link leads to.
enum class FileRead { Read, Missing, NoFolder, Failed };

namespace sys {

// The executable's path (GetModuleFileNameW) as UTF-8 in buffer: the count
// of bytes written, terminated; equal to capacity when it did not fit.
std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity);
// SetCurrentDirectoryW.
bool SetCurrentDir(const char* path);
// The whole file; Missing when there is none, Failed when it is there but
// cannot be read.
FileRead ReadFileBytes(const char* path, TextBuffer& bytes);

// The steps of replacing a file, each one call; the order, and what is done
// when one fails, are the logic's (store/file_rewrite.h). Paths of any
// length: the Win32 side gives long ones the "\\?\" form.

// What a file is, symbolic links followed.
struct FileFacts {
    std::uint32_t attributes;  // GetFileInformationByHandle
    std::uint32_t links;       // its names: more than one when hard-linked
};
// Where the file that the path names is: final := its final path
// (GetFinalPathNameByHandleW), every symbolic link and junction on the way
// followed; facts are set when it is Read. Where there is none, final :=
// where it would be: the target of a symbolic link whose target is missing
// (FSCTL_GET_REPARSE_POINT, link after link), else the path as given.
FileRead LocateFile(const char* path, TextBuffer& final, FileFacts* facts);
// Whether nothing has the name: CreateFileW with CREATE_NEW can make a file
// there (deleted again at once). Wine, which shows a link whose target is
// missing as no file, answers ERROR_FILE_EXISTS for it; on Windows
// LocateFile has followed such a link already.
bool NameIsFree(const char* path);
// A new file holding the bytes, with these attributes, flushed to disk
// (CreateFileW, CREATE_ALWAYS).
bool WriteNewFile(const char* path, const char* data, std::size_t size, std::uint32_t attributes);
// The existing file's bytes from `offset` overwritten with `size` bytes in
// one WriteFile, then, where setEnd, the file ended after them
// (SetEndOfFile), and flushed (FlushFileBuffers): it stays the same file.
bool OverwriteFile(const char* path, std::size_t offset, const char* data, std::size_t size,
                   bool setEnd);
// ReplaceFileW(replaced, replacement, backup); on failure *error is its
// GetLastError.
bool ReplaceFileWith(const char* replaced, const char* replacement, const char* backup,
                     std::uint32_t* error);
// MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
bool MoveFileOver(const char* from, const char* to);
// MoveFileExW(from, to, MOVEFILE_WRITE_THROUGH): fails where `to` exists,
// a symbolic link included. Wine 8 and 10 look `to` up through the link and
// replace one whose target is missing.
bool RenameFile(const char* from, const char* to);
// DeleteFileW.
bool RemoveFile(const char* path);

// GetUserDefaultUILanguage.
std::uint16_t UserUiLanguage();

}  // namespace sys
