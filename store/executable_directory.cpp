#include "store/executable_directory.h"

#include <cstdint>

#include "store/settings_path.h"
#include "store/system_port.h"

namespace {

// Constant-initialised: there before any global is constructed, and no
// guarded local static.
TextBuffer Directory;

constexpr std::uint32_t kFirstModulePathCapacity = 512;
// Beyond any path Windows can give (32,767 UTF-16 units, at most 98,301
// bytes of UTF-8); only stops a platform that never answers with a whole
// path from growing the buffer for ever.
constexpr std::uint32_t kLastModulePathCapacity = 1u << 17;

// The executable's whole path, or empty text. A count equal to the capacity
// means the path was cut, so the buffer grows until the path fits.
void ModulePath(TextBuffer& path) {
    for (std::uint32_t capacity = kFirstModulePathCapacity; capacity <= kLastModulePathCapacity;
         capacity *= 2) {
        if (!path.Reserve(capacity)) {
            break;
        }
        const std::uint32_t count = sys::ModuleFileName(path.Data(), capacity);
        if (count < capacity) {
            path.SetSize(count);
            return;
        }
    }
    path.Clear();
}

}  // namespace

TextBuffer& ExecutableDirectory() {
    return Directory;
}

const char* GetExecutableDirectory() {
    if (Directory.Empty()) {
        TextBuffer path;
        ModulePath(path);
        DirectoryOfPath(path.c_str(), Directory);
    }
    return Directory.c_str();
}

bool EnterExecutableDirectory() {
    return sys::SetCurrentDir(GetExecutableDirectory());
}
