#include "store/file_rewrite.h"

#include <cstdint>

namespace {

// Beside the file, so on its volume, as ReplaceFileW requires.
const char kFreshSuffix[] = ".new~";
const char kBackupSuffix[] = ".old~";

bool NameBeside(const char* path, const char* suffix, TextBuffer& name) {
    return name.Assign(path) && name.Append(suffix);
}

// `data` over `before` where the file is. Of the same count, only the span
// that differs is written: at every moment the file holds the one text or
// the other there (an edition's name is five letters either way). Of
// another count, the text is written whole in one write and then ended, so
// only a crash between the two leaves the old text's last bytes after it.
bool OverwriteInPlace(const char* target, const char* data, std::size_t size, const char* before,
                      std::size_t beforeSize) {
    if (size != beforeSize) {
        return sys::OverwriteFile(target, 0, data, size, true);
    }
    std::size_t first = 0;
    while (first < size && data[first] == before[first]) {
        ++first;
    }
    std::size_t end = size;
    while (end > first && data[end - 1] == before[end - 1]) {
        --end;
    }
    return first == end || sys::OverwriteFile(target, first, data + first, end - first, false);
}

void OverwriteKeepingIdentity(const char* target, const char* data, std::size_t size,
                              const char* original, std::size_t originalSize) {
    if (!OverwriteInPlace(target, data, size, original, originalSize)) {
        OverwriteInPlace(target, original, originalSize, data, size);
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

Rewrite RewriteFile(const char* path, const char* data, std::size_t size, const char* original,
                    std::size_t originalSize) {
    TextBuffer target;
    sys::FileFacts facts = {0, 0};
    const FileRead found = sys::LocateFile(path, target, &facts);
    if (found == FileRead::NoFolder) {
        return Rewrite::LinkBroken;
    }
    // Windows refuses to replace a read-only file; Wine's MoveFileExW does
    // not, so it is left alone here on both.
    if (found == FileRead::Failed || (facts.attributes & kFileAttributeReadOnly) != 0) {
        return Rewrite::NotWritten;
    }
    if (facts.links > 1) {
        OverwriteKeepingIdentity(target.c_str(), data, size, original, originalSize);
        return Rewrite::Written;
    }
    TextBuffer fresh;
    TextBuffer backup;
    if (!NameBeside(target.c_str(), kFreshSuffix, fresh) ||
        !NameBeside(target.c_str(), kBackupSuffix, backup)) {
        return Rewrite::NotWritten;
    }
    // Taken though there is no file: a link whose target the system does
    // not show, which a move would replace.
    if (found == FileRead::Missing && !sys::NameIsFree(target.c_str())) {
        return Rewrite::LinkBroken;
    }
    const bool written = sys::WriteNewFile(fresh.c_str(), data, size, facts.attributes);
    bool placed = false;
    if (written) {
        // ReplaceFileW needs a file to replace; a file that has appeared
        // meanwhile is not moved over.
        if (found == FileRead::Missing) {
            placed = sys::RenameFile(fresh.c_str(), target.c_str());
        } else {
            ReplaceExisting(target.c_str(), fresh.c_str(), backup.c_str());
            placed = true;
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
        return Rewrite::Written;
    }
    return placed ? Rewrite::Written : Rewrite::NotWritten;
}

FileRead ReadRecoveredFile(const char* path, TextBuffer& bytes, bool* fromBackup, bool dropBackup) {
    *fromBackup = false;
    TextBuffer target;
    TextBuffer fresh;
    TextBuffer backup;
    sys::FileFacts facts = {0, 0};
    // Beside the file a link leads to, where the rewrite left them.
    if (sys::LocateFile(path, target, &facts) == FileRead::Failed ||
        !NameBeside(target.c_str(), kFreshSuffix, fresh) ||
        !NameBeside(target.c_str(), kBackupSuffix, backup)) {
        return sys::ReadFileBytes(path, bytes);
    }
    // Only a rewrite that was cut short leaves one; it never holds the only
    // copy of anything, as the file or its backup holds the bytes it was
    // made from.
    sys::RemoveFile(fresh.c_str());
    const FileRead read = sys::ReadFileBytes(target.c_str(), bytes);
    if (read == FileRead::Read && dropBackup) {
        // A replacement that succeeded, whose backup a scanner or a sync
        // client held while it was to be removed. Still there, it would be
        // synced, and taken back once the player deletes the file to get
        // the default labels.
        sys::RemoveFile(backup.c_str());
    }
    if (read != FileRead::Missing) {
        return read;
    }
    // Not over a file that has appeared meanwhile.
    if (sys::RenameFile(backup.c_str(), target.c_str())) {
        return sys::ReadFileBytes(target.c_str(), bytes);
    }
    const FileRead kept = sys::ReadFileBytes(backup.c_str(), bytes);
    *fromBackup = kept == FileRead::Read;
    return kept;
}
