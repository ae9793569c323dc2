#include "store/settings_path.h"

#include <cstring>

namespace {

// MAX_PATH - 12, the longest path of a folder outside the long form.
constexpr std::size_t kLongFormFrom = 248;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

const char* LastPathComponent(const char* path) {
    const char* component = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsSeparator(*p)) {
            component = p + 1;
        }
    }
    return component;
}

bool DirectoryOfPath(const char* path, TextBuffer& directory) {
    const char* component = LastPathComponent(path);
    if (component == path) {
        directory.Clear();
        return true;
    }
    return directory.Assign(path, static_cast<std::size_t>(component - path) - 1);
}

bool LongFormPath(const char* path, TextBuffer& out) {
    // path[1] is read only after path[0] is not the terminator, path[2] only
    // after path[1] is ':' or a separator.
    const bool drive = path[0] != '\0' && path[1] == ':' && IsSeparator(path[2]);
    const bool unc =
        IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != '?' && path[2] != '.';
    if (std::strlen(path) < kLongFormFrom || (!drive && !unc)) {
        return out.Assign(path);
    }
    // A UNC path keeps one of its two leading separators.
    if (!out.Assign(drive ? "\\\\?\\" : "\\\\?\\UNC")) {
        return false;
    }
    for (const char* p = drive ? path : path + 1; *p != '\0'; ++p) {
        const char c = *p == '/' ? '\\' : *p;
        if (!out.Append(&c, 1)) {
            return false;
        }
    }
    return true;
}
