#include "doubles/system_double.h"

#include <cstring>

#include "store/system_port.h"

SystemDouble& TheSystem() {
    static SystemDouble system;
    return system;
}

std::string SystemDouble::FileText(const std::string& path) const {
    const auto found = files.find(path);
    return found != files.end() ? found->second : std::string();
}

namespace sys {

ModuleRef LoadFromSystemDirectory(const char* name, std::uint32_t* error) {
    SystemDouble& s = TheSystem();
    s.libraryCalls.push_back(std::string("system32 ") + name);
    *error = s.systemLoadError;
    return s.systemLoadError == 0 ? reinterpret_cast<ModuleRef>(std::uintptr_t{0x1000}) : nullptr;
}

ModuleRef LoadBySystemPath(const char* name) {
    SystemDouble& s = TheSystem();
    s.libraryCalls.push_back(std::string("path ") + name);
    return s.pathLoadFails ? nullptr : reinterpret_cast<ModuleRef>(std::uintptr_t{0x2000});
}

std::uint32_t ModuleFileName(char* buffer, std::uint32_t capacity) {
    SystemDouble& s = TheSystem();
    s.moduleCapacities.push_back(capacity);
    if (s.moduleFails || capacity == 0) {
        return 0;
    }
    const std::uint32_t length = static_cast<std::uint32_t>(s.modulePath.size());
    if (length >= capacity) {
        // A path that does not fit: the buffer's contents are not to be used.
        std::memcpy(buffer, s.modulePath.data(), capacity);
        return capacity;
    }
    std::memcpy(buffer, s.modulePath.c_str(), length + 1);
    return length;
}

bool SetCurrentDir(const char* path) {
    SystemDouble& s = TheSystem();
    s.directoryCalls.push_back(path);
    if (s.setDirFails) {
        return false;
    }
    s.currentDirectory = path;
    return true;
}

FileRead ReadFileBytes(const char* path, TextBuffer& bytes) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("read ") + path);
    bytes.Clear();
    const auto found = s.files.find(path);
    if (found == s.files.end()) {
        return FileRead::Missing;
    }
    if (s.readFails) {
        return FileRead::Failed;
    }
    return bytes.Assign(found->second.data(), found->second.size()) ? FileRead::Read
                                                                    : FileRead::Failed;
}

bool ReplaceFileBytes(const char* path, const char* data, std::size_t size) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("replace ") + path);
    if (s.writeFails) {
        return false;
    }
    s.files[path] = std::string(data, size);
    return true;
}

std::uint16_t UserUiLanguage() {
    return TheSystem().uiLanguage;
}

}  // namespace sys
