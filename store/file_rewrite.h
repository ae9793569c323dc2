// A file's bytes replaced as the system replaces a document: whole or not at
// all, and with everything the file is besides its bytes kept.
#pragma once

#include <cstddef>

#include "store/system_port.h"
#include "store/text_buffer.h"

// The file at `path` holds `data` afterwards; when that fails it still holds
// `original` (its bytes before), and a missing file is still missing. A
// read-only file is not written.
// - A symbolic link is written through: the file it names is replaced, the
//   link stays.
// - A file with several hard links is overwritten where it is, since a new
//   file would leave the other names on the old bytes; `original` is put
//   back if that fails partway.
// - Otherwise a new file with the old one's attributes replaces it through
//   ReplaceFileW, which also keeps its security descriptor, creation time,
//   streams and short name; where that cannot be, the new file is moved over
//   it, as it is moved into place when there was none. Where no new file
//   can be made beside it, the file is overwritten where it is, as a file
//   with several links.
void RewriteFile(const char* path, const char* data, std::size_t size, const char* original,
                 std::size_t originalSize);

// The file's bytes, once what a rewrite cut short left beside it is undone:
// a leftover new file is removed, and a missing file whose backup is there
// (set aside by ReplaceFileW, then not put back) takes that back. Where the
// backup cannot be renamed, it is read instead and *fromBackup is set: it
// holds the only copy, which RewriteFile never overwrites, since it replaces
// through the backup's name only a file that is there.
FileRead ReadRecoveredFile(const char* path, TextBuffer& bytes, bool* fromBackup);
