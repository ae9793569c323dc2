#include "doubles/system_double.h"

#include <cstring>
#include <iterator>

#include "input/library_port.h"
#include "store/system_port.h"

SystemDouble& TheSystem() {
    static SystemDouble system;
    return system;
}

std::string SystemDouble::FileText(const std::string& path) const {
    const auto found = files.find(path);
    return found != files.end() ? found->second : std::string();
}

std::string SystemDouble::Resolve(const std::string& path) const {
    std::string resolved = path;
    for (auto link = symlinks.find(resolved); link != symlinks.end();
         link = symlinks.find(resolved)) {
        resolved = link->second;
    }
    return resolved;
}

std::vector<std::string> SystemDouble::OtherNames(const std::string& path) const {
    const auto second = hardLinks.find(path);
    const std::string first = second != hardLinks.end() ? second->second : path;
    std::vector<std::string> names;
    if (first != path) {
        names.push_back(first);
    }
    for (const auto& link : hardLinks) {
        if (link.second == first && link.first != path) {
            names.push_back(link.first);
        }
    }
    return names;
}

void SystemDouble::MoveEntry(const std::string& from, const std::string& to) {
    for (auto link = hardLinks.begin(); link != hardLinks.end();) {
        const bool involved =
            link->first == to || link->second == to || link->first == from || link->second == from;
        link = involved ? hardLinks.erase(link) : std::next(link);
    }
    symlinks.erase(to);
    files[to] = files[from];
    attributes[to] = attributes[from];
    descriptors[to] = descriptors[from];
    files.erase(from);
    attributes.erase(from);
    descriptors.erase(from);
}

bool SystemDouble::InGoneFolder(const std::string& path) const {
    for (const std::string& folder : goneFolders) {
        if (path.compare(0, folder.size() + 1, folder + "\\") == 0) {
            return true;
        }
    }
    return false;
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
    const auto found = s.files.find(s.Resolve(path));
    if (found == s.files.end()) {
        return FileRead::Missing;
    }
    if (s.readFails) {
        return FileRead::Failed;
    }
    return bytes.Assign(found->second.data(), found->second.size()) ? FileRead::Read
                                                                    : FileRead::Failed;
}

FileRead LocateFile(const char* path, TextBuffer& final, FileFacts* facts) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("locate ") + path);
    const std::string resolved = s.Resolve(path);
    if (s.HasFile(resolved)) {
        if (s.inspectFails) {
            return FileRead::Failed;
        }
        facts->attributes = s.attributes[resolved];
        facts->links = static_cast<std::uint32_t>(1 + s.OtherNames(resolved).size());
        return final.Assign(resolved.c_str()) ? FileRead::Read : FileRead::Failed;
    }
    if (s.linksHidden) {
        return final.Assign(path) ? FileRead::Missing : FileRead::Failed;
    }
    if (!final.Assign(resolved.c_str())) {
        return FileRead::Failed;
    }
    return s.InGoneFolder(resolved) ? FileRead::NoFolder : FileRead::Missing;
}

bool NameIsFree(const char* path) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("free ") + path);
    return !s.HasFile(path) && s.symlinks.count(path) == 0;
}

bool WriteNewFile(const char* path, const char* data, std::size_t size, std::uint32_t attributes) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("create ") + path);
    if (s.writeFails || s.InGoneFolder(path)) {
        return false;
    }
    s.files[path] = std::string(data, size);
    s.attributes[path] = attributes;
    s.descriptors.erase(path);
    return true;
}

bool OverwriteFile(const char* path, std::size_t offset, const char* data, std::size_t size,
                   bool setEnd) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("overwrite ") + path + " " + std::to_string(offset) + " " +
                          std::to_string(size) + (setEnd ? " end" : ""));
    if (!s.HasFile(path) || s.overwriteRefused) {
        return false;
    }
    const bool fails = s.overwriteFailures > 0;
    s.overwriteFailures -= fails ? 1 : 0;
    std::string bytes = s.files[path];
    const std::size_t count = fails ? size / 2 : size;
    if (bytes.size() < offset + count) {
        bytes.resize(offset + count);
    }
    bytes.replace(offset, count, data, count);
    if (!fails && setEnd) {
        s.inPlace.push_back(bytes);
        bytes.resize(offset + size);
    }
    s.inPlace.push_back(bytes);
    s.files[path] = bytes;
    for (const std::string& name : s.OtherNames(path)) {
        s.files[name] = bytes;
    }
    return !fails;
}

// Like Wine's, this ReplaceFileW gives the result the replacement's
// attributes, so only what the logic passes on survives; like Windows', it
// carries the replaced file's descriptor over, already before the
// replacement fails to move with ERROR_UNABLE_TO_MOVE_REPLACEMENT_2.
bool ReplaceFileWith(const char* replaced, const char* replacement, const char* backup,
                     std::uint32_t* error) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("replace ") + replaced);
    if (!s.HasFile(replaced) || !s.HasFile(replacement)) {
        *error = 2;  // ERROR_FILE_NOT_FOUND
        return false;
    }
    const std::string descriptor = s.descriptors[replaced];
    if (s.replaceError == kErrorUnableToMoveReplacement2) {
        s.descriptors[replacement] = descriptor;
        s.MoveEntry(replaced, backup);
    }
    if (s.replaceError != 0) {
        *error = s.replaceError;
        return false;
    }
    s.MoveEntry(replaced, backup);
    s.MoveEntry(replacement, replaced);
    s.descriptors[replaced] = descriptor;
    return true;
}

bool MoveFileOver(const char* from, const char* to) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("move ") + from + " " + to);
    if (s.moveFailures > 0 || !s.HasFile(from) || s.InGoneFolder(to)) {
        s.moveFailures -= s.moveFailures > 0 ? 1 : 0;
        return false;
    }
    s.MoveEntry(from, to);
    return true;
}

bool RenameFile(const char* from, const char* to) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("rename ") + from + " " + to);
    // Windows' refuses a name a link has; Wine's replaces the link.
    const bool taken = s.HasFile(to) || (!s.linksHidden && s.symlinks.count(to) != 0);
    if (s.moveFailures > 0 || !s.HasFile(from) || taken || s.InGoneFolder(to)) {
        s.moveFailures -= s.moveFailures > 0 ? 1 : 0;
        return false;
    }
    s.MoveEntry(from, to);
    return true;
}

bool RemoveFile(const char* path) {
    SystemDouble& s = TheSystem();
    s.fileCalls.push_back(std::string("remove ") + path);
    s.attributes.erase(path);
    s.descriptors.erase(path);
    return s.files.erase(path) != 0;
}

std::uint16_t UserUiLanguage() {
    return TheSystem().uiLanguage;
}

}  // namespace sys
