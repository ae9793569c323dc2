// The module path, the current directory, whole files and the user's
// language, held in memory with the platform's answers. Any operation can be
// made to fail, and every call is recorded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SystemDouble {
    std::string modulePath = "C:\\Padloom\\Padloom.exe";  // UTF-8
    bool moduleFails = false;                             // ModuleFileName answers 0
    bool setDirFails = false;  // SetCurrentDir answers false, directory unchanged
    bool readFails = false;    // an existing file cannot be read
    bool writeFails = false;   // replacing a file fails and changes nothing
    std::uint16_t uiLanguage = 0x0411;
    std::string currentDirectory;                 // the last directory set
    std::vector<std::uint32_t> moduleCapacities;  // the capacity of each module path call
    std::vector<std::string> directoryCalls;      // every path handed to SetCurrentDir
    std::vector<std::string> fileCalls;           // "read PATH", "replace PATH"
    std::map<std::string, std::string> files;     // bytes by path, as given
    // GetLastError of a system-directory load; 0 loads.
    std::uint32_t systemLoadError = 0;
    bool pathLoadFails = false;
    std::vector<std::string> libraryCalls;  // "system32 NAME", "path NAME"

    void Reset() { *this = SystemDouble(); }
    void PutFile(const std::string& path, const std::string& bytes) { files[path] = bytes; }
    bool HasFile(const std::string& path) const { return files.count(path) != 0; }
    // The file's bytes; empty when there is none.
    std::string FileText(const std::string& path) const;
};

SystemDouble& TheSystem();
