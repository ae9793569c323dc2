#include "store/settings_path.h"

const char* LastPathComponent(const char* path) {
    const char* component = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') {
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
