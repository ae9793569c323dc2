// The module path, the current directory, whole files, the user's language
// and the loading of system DLLs, held in memory with the platform's answers. Any operation can be
// made to fail, and every call is recorded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SystemDouble {
    std::string modulePath = "C:\\Padloom\\Padloom.exe";  // UTF-8
    bool moduleFails = false;                             // ModuleFileName answers 0
    bool setDirFails = false;   // SetCurrentDir answers false, directory unchanged
    bool readFails = false;     // an existing file cannot be read
    bool inspectFails = false;  // an existing file cannot be looked at
    bool writeFails = false;    // no new file can be written
    // No file can be opened for writing.
    bool overwriteRefused = false;
    // The next overwrites in place fail after writing half their bytes.
    int overwriteFailures = 0;
    // Wine's way with links: one whose target is missing is no link but a
    // missing file, whose name is taken all the same. Windows shows where
    // it points.
    bool linksHidden = false;
    std::vector<std::string> goneFolders;  // folders that are not there
    // What ReplaceFileW answers: 0 succeeds. ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
    // leaves the replaced file under the backup's name, as Windows documents;
    // any other error leaves both files as they were.
    std::uint32_t replaceError = 0;
    int moveFailures = 0;  // the next moves and renames fail and change nothing
    std::uint16_t uiLanguage = 0x0411;
    std::string currentDirectory;                 // the last directory set
    std::vector<std::uint32_t> moduleCapacities;  // the capacity of each module path call
    std::vector<std::string> directoryCalls;      // every path handed to SetCurrentDir
    // "read PATH", "locate PATH", "free PATH", "create PATH",
    // "overwrite PATH OFFSET COUNT" (and " end" where it sets the end),
    // "replace PATH", "move FROM TO", "rename FROM TO", "remove PATH"
    std::vector<std::string> fileCalls;
    // The file's bytes after each write in place and each end set: what a
    // crash right after it would leave.
    std::vector<std::string> inPlace;
    std::map<std::string, std::string> files;  // bytes by path, as given
    std::map<std::string, std::uint32_t> attributes;
    // What ReplaceFileW carries over to the new file and a move does not:
    // security descriptor, creation time, streams.
    std::map<std::string, std::string> descriptors;
    std::map<std::string, std::string> symlinks;   // link -> the path it names
    std::map<std::string, std::string> hardLinks;  // a second name -> the first
    // GetLastError of a system-directory load; 0 loads.
    std::uint32_t systemLoadError = 0;
    bool pathLoadFails = false;
    std::vector<std::string> libraryCalls;  // "system32 NAME", "path NAME"

    void Reset() { *this = SystemDouble(); }
    void PutFile(const std::string& path, const std::string& bytes) { files[path] = bytes; }
    bool HasFile(const std::string& path) const { return files.count(path) != 0; }
    // The file's bytes; empty when there is none.
    std::string FileText(const std::string& path) const;
    // The path with symbolic links followed.
    std::string Resolve(const std::string& path) const;
    // The file's names besides this one, as hard links.
    std::vector<std::string> OtherNames(const std::string& path) const;
    // A rename: whatever stood at `to` is gone, a link or a name of a file.
    void MoveEntry(const std::string& from, const std::string& to);
    // Whether the path lies in a folder that is not there.
    bool InGoneFolder(const std::string& path) const;
};

SystemDouble& TheSystem();
