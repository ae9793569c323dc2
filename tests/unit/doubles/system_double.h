// The module path, the current directory and private profile (INI) files,
// held in memory with the platform's answers. Any operation can be made to
// fail, and every call is recorded.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;  // key, value in file order
};

struct IniFile {
    std::vector<IniSection> sections;
};

struct ProfileCall {
    std::string op;  // "read" or "write"
    std::string section;
    std::string key;
    std::string value;  // read: the default; write: the value
    std::uint32_t capacity = 0;
    std::string path;
};

struct SystemDouble {
    std::string modulePath = "C:\\Padloom\\Padloom.exe";
    bool moduleFails = false;      // ModuleFileName answers 0
    bool setDirFails = false;      // SetCurrentDir answers false, directory unchanged
    bool readFails = false;        // reads find no file, so they give the default
    bool writeFails = false;       // writes answer false and change nothing
    std::string currentDirectory;  // the last directory set
    std::vector<std::uint32_t> moduleCapacities;  // the capacity of each module path call
    std::vector<std::string> directoryCalls;      // every path handed to SetCurrentDir
    std::vector<ProfileCall> profileCalls;
    std::vector<std::pair<std::string, IniFile>> files;  // by path as given
    // GetLastError of a system-directory load; 0 loads.
    std::uint32_t systemLoadError = 0;
    bool pathLoadFails = false;
    std::vector<std::string> libraryCalls;  // "system32 NAME", "path NAME"

    void Reset() { *this = SystemDouble(); }
    // Replaces the file with the parsed text ("[S]", "k=v" lines).
    void PutFile(const std::string& path, const std::string& text);
    bool HasFile(const std::string& path) const;
    // The file as WritePrivateProfileStringA leaves it: "[S]\r\nk=v\r\n", a
    // blank line between sections.
    std::string FileText(const std::string& path) const;
    IniFile* FindFile(const std::string& path);
};

SystemDouble& TheSystem();
