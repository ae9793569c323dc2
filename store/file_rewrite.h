// A file's bytes replaced as the system replaces a document: whole or not at
// all, and with everything the file is besides its bytes kept.
#pragma once

#include <cstddef>

#include "store/system_port.h"
#include "store/text_buffer.h"

enum class Rewrite {
    Written,
    // Left as it was: read-only, not to be looked at, or the folder refuses
    // it; the caller says nothing.
    NotWritten,
    // The path is a link that leads nowhere a file can be made: to a folder
    // that is gone, or, where the system does not show where a link points
    // (Wine), to a missing file. The link is left as it is.
    LinkBroken,
};

// The file at `path` holds `data` afterwards; when that fails it still holds
// `original` (its bytes before), and a missing file is still missing. A
// read-only file is not written.
// - A link is followed to the file it leads to (its final path), which is
//   replaced; the link stays. A link whose target is missing gets the file
//   made where it points; it never becomes a plain file.
// - A file with several hard links is overwritten where it is, since a new
//   file would leave the other names on the old bytes; `original` is put
//   back if that fails partway.
// - Otherwise a new file with the old one's attributes replaces it through
//   ReplaceFileW, which also keeps its security descriptor, creation time,
//   streams and short name; where that cannot be, the new file is moved over
//   it, as it is moved into place when there was none. Where no new file
//   can be made beside it, the file is overwritten where it is, as a file
//   with several links.
// An overwrite in place keeps a readable file at every moment it can: bytes
// of the same count (an edition's name for another) are written only where
// they differ, in one write; others are written whole in one write before
// the end is set.
Rewrite RewriteFile(const char* path, const char* data, std::size_t size, const char* original,
                    std::size_t originalSize);

// The file's bytes, once what a rewrite cut short left beside the file the
// path leads to (its final path) is undone: a leftover new file is removed,
// and a missing file whose backup is there (set aside by ReplaceFileW, then
// not put back) takes that back. Where the backup cannot be renamed, it is
// read instead and *fromBackup is set: it holds the only copy, which
// RewriteFile never overwrites, since it replaces through the backup's name
// only a file that is there. dropBackup: a backup beside a file read whole
// is an old one and is removed, so that it never comes back.
FileRead ReadRecoveredFile(const char* path, TextBuffer& bytes, bool* fromBackup, bool dropBackup);
