#include "store/file_rewrite.h"

#include <cstdint>

#include "store/system_port.h"
#include "store/text_buffer.h"

namespace {

// Beside the file, so on its volume, as ReplaceFileW requires.
const char kFreshSuffix[] = ".new~";
const char kBackupSuffix[] = ".old~";

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
    if (!fresh.Assign(target.c_str()) || !fresh.Append(kFreshSuffix) ||
        !backup.Assign(target.c_str()) || !backup.Append(kBackupSuffix)) {
        return;
    }
    if (sys::WriteNewFile(fresh.c_str(), data, size, facts.attributes)) {
        // ReplaceFileW needs a file to replace.
        if (found == FileRead::Missing) {
            sys::MoveFileOver(fresh.c_str(), target.c_str());
        } else {
            ReplaceExisting(target.c_str(), fresh.c_str(), backup.c_str());
        }
    }
    // Already gone where it took the file's place.
    sys::RemoveFile(fresh.c_str());
}
