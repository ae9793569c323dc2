#include "store/file_rewrite.h"

#include <cstdint>

namespace {

// Beside the file, so on its volume, as ReplaceFileW requires.
const char kFreshSuffix[] = ".new~";
const char kBackupSuffix[] = ".old~";

bool NameBeside(const char* path, const char* suffix, TextBuffer& name) {
    return name.Assign(path) && name.Append(suffix);
}

void OverwriteKeepingIdentity(const char* target, const char* data, std::size_t size,
                              const char* original, std::size_t originalSize) {
    if (!sys::OverwriteFile(target, data, size)) {
        sys::OverwriteFile(target, original, originalSize);
    }
}

// With a backup name given, ReplaceFileW leaves both files under their own
// names on every failure but one, so the plain move remains; without one, its
// ERROR_UNABLE_TO_MOVE_REPLACEMENT would mean the old file was already gone.
void ReplaceExisting(const char* target, const char* fresh, const char* backup) {
    std::uint32_t error = 0;
    if (sys::ReplaceFileWith(target, fresh, backup, &error)) {
        sys::RemoveFile(backup);
    } else if (error != kErrorUnableToMoveReplacement2) {
        sys::MoveFileOver(fresh, target);
    } else if (sys::MoveFileOver(fresh, target)) {
        // The old file had moved to the backup's name; the new one followed.
        sys::RemoveFile(backup);
    } else {
        // Where this fails too, the backup is the only copy: the next read
        // puts it back (ReadRecoveredFile).
        sys::MoveFileOver(backup, target);
    }
}

}  // namespace

void RewriteFile(const char* path, const char* data, std::size_t size, const char* original,
                 std::size_t originalSize) {
    TextBuffer target;
    sys::FileFacts facts = {0, 0};
    const FileRead found = sys::InspectFile(path, target, &facts);
    // Windows refuses to replace a read-only file; Wine's MoveFileExW does
    // not, so it is left alone here on both.
    if (found == FileRead::Failed || (facts.attributes & kFileAttributeReadOnly) != 0 ||
        (found == FileRead::Missing && !target.Assign(path))) {
        return;
    }
    if (facts.links > 1) {
        OverwriteKeepingIdentity(target.c_str(), data, size, original, originalSize);
        return;
    }
    TextBuffer fresh;
    TextBuffer backup;
    if (!NameBeside(target.c_str(), kFreshSuffix, fresh) ||
        !NameBeside(target.c_str(), kBackupSuffix, backup)) {
        return;
    }
    const bool written = sys::WriteNewFile(fresh.c_str(), data, size, facts.attributes);
    if (written) {
        // ReplaceFileW needs a file to replace.
        if (found == FileRead::Missing) {
            sys::MoveFileOver(fresh.c_str(), target.c_str());
        } else {
            ReplaceExisting(target.c_str(), fresh.c_str(), backup.c_str());
        }
    }
    // Already gone where it took the file's place; a part written removed
    // first, so that the space is free again.
    sys::RemoveFile(fresh.c_str());
    // A folder a standard user may not add files to (Program Files, where
    // the manifest's execution level also turns off UAC's virtualisation)
    // can still hold a file they may write.
    if (!written && found == FileRead::Read) {
        OverwriteKeepingIdentity(target.c_str(), data, size, original, originalSize);
    }
}

FileRead ReadRecoveredFile(const char* path, TextBuffer& bytes, bool* fromBackup) {
    *fromBackup = false;
    TextBuffer fresh;
    TextBuffer backup;
    if (!NameBeside(path, kFreshSuffix, fresh) || !NameBeside(path, kBackupSuffix, backup)) {
        return sys::ReadFileBytes(path, bytes);
    }
    // Only a rewrite that was cut short leaves one; it never holds the only
    // copy of anything, as the file or its backup holds the bytes it was
    // made from.
    sys::RemoveFile(fresh.c_str());
    const FileRead read = sys::ReadFileBytes(path, bytes);
    if (read != FileRead::Missing) {
        return read;
    }
    // Not over a file that has appeared meanwhile.
    if (sys::RenameFile(backup.c_str(), path)) {
        return sys::ReadFileBytes(path, bytes);
    }
    const FileRead kept = sys::ReadFileBytes(backup.c_str(), bytes);
    *fromBackup = kept == FileRead::Read;
    return kept;
}
