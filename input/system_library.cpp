#include "input/system_library.h"

ModuleRef LoadSystemLibrary(const char* name) {
    std::uint32_t error = 0;
    ModuleRef module = sys::LoadFromSystemDirectory(name, &error);
    // Vista, and Windows 7 without update KB2533623, know no
    // LOAD_LIBRARY_SEARCH_* flag and refuse it as an invalid parameter: the
    // full path gives the same folder there. Any other failure stands.
    if (module == nullptr && error == kErrorInvalidParameter) {
        module = sys::LoadBySystemPath(name);
    }
    return module;
}
