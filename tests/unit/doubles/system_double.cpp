#include "doubles/system_double.h"

#include <cstring>

#include "store/system_port.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        x = (x >= 'A' && x <= 'Z') ? static_cast<char>(x - 'A' + 'a') : x;
        y = (y >= 'A' && y <= 'Z') ? static_cast<char>(y - 'A' + 'a') : y;
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

IniSection* FindSection(IniFile& file, const std::string& name) {
    for (IniSection& section : file.sections) {
        if (SameName(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

std::string* FindEntry(IniSection& section, const std::string& key) {
    for (auto& entry : section.entries) {
        if (SameName(entry.first, key)) {
            return &entry.second;
        }
    }
    return nullptr;
}

}  // namespace

SystemDouble& TheSystem() {
    static SystemDouble system;
    return system;
}

IniFile* SystemDouble::FindFile(const std::string& path) {
    for (auto& file : files) {
        if (SameName(file.first, path)) {
            return &file.second;
        }
    }
    return nullptr;
}

bool SystemDouble::HasFile(const std::string& path) const {
    return const_cast<SystemDouble*>(this)->FindFile(path) != nullptr;
}

void SystemDouble::PutFile(const std::string& path, const std::string& text) {
    IniFile parsed;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            parsed.sections.push_back({line.substr(1, line.size() - 2), {}});
        } else if (!parsed.sections.empty() && line.find('=') != std::string::npos) {
            const std::size_t equals = line.find('=');
            parsed.sections.back().entries.emplace_back(Trim(line.substr(0, equals)),
                                                        Trim(line.substr(equals + 1)));
        }
    }
    if (IniFile* file = FindFile(path)) {
        *file = parsed;
    } else {
        files.emplace_back(path, parsed);
    }
}

std::string SystemDouble::FileText(const std::string& path) const {
    const IniFile* file = const_cast<SystemDouble*>(this)->FindFile(path);
    std::string text;
    if (file == nullptr) {
        return text;
    }
    for (const IniSection& section : file->sections) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += "[" + section.name + "]\r\n";
        for (const auto& entry : section.entries) {
            text += entry.first + "=" + entry.second + "\r\n";
        }
    }
    return text;
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
        // A cut path fills the whole buffer with no terminator, as Windows XP
        // leaves it (later versions terminate it; both answer the capacity).
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

std::uint32_t ReadIniString(const char* section, const char* key, const char* fallback,
                            char* buffer, std::uint32_t capacity, const char* path) {
    SystemDouble& s = TheSystem();
    s.profileCalls.push_back({"read", section, key, fallback, capacity, path});
    if (capacity == 0) {
        return 0;
    }
    std::string value = fallback;
    IniFile* file = s.readFails ? nullptr : s.FindFile(path);
    if (IniSection* found = file ? FindSection(*file, section) : nullptr) {
        if (const std::string* entry = FindEntry(*found, key)) {
            value = *entry;
        }
    }
    const std::size_t count = value.size() < capacity ? value.size() : capacity - 1;
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return static_cast<std::uint32_t>(count);
}

bool WriteIniString(const char* section, const char* key, const char* value, const char* path) {
    SystemDouble& s = TheSystem();
    s.profileCalls.push_back({"write", section, key ? key : "", value ? value : "", 0, path});
    if (s.writeFails) {
        return false;
    }
    IniFile* file = s.FindFile(path);
    if (file == nullptr) {
        s.files.emplace_back(path, IniFile());
        file = &s.files.back().second;
    }
    IniSection* found = FindSection(*file, section);
    if (found == nullptr) {
        file->sections.push_back({section, {}});
        found = &file->sections.back();
    }
    if (key == nullptr) {
        // A null key removes the section, a null value the key.
        file->sections.erase(file->sections.begin() + (found - file->sections.data()));
    } else if (value == nullptr) {
        for (auto entry = found->entries.begin(); entry != found->entries.end(); ++entry) {
            if (SameName(entry->first, key)) {
                found->entries.erase(entry);
                break;
            }
        }
    } else if (std::string* entry = FindEntry(*found, key)) {
        *entry = value;
    } else {
        found->entries.emplace_back(key, value);
    }
    return true;
}

}  // namespace sys
