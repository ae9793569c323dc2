// The assignment store and the settings file on Wine's real registry and
// real files. Message boxes go to the view double, since nobody could
// answer a real one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assign/assign_record.h"
#include "base/text_id.h"
#include "doubles/view_double.h"
#include "record_bytes.h"
#include "store/assign_store.h"
#include "store/executable_directory.h"
#include "store/registry_key.h"
#include "store/runtime_profiles.h"
#include "store/tool_settings.h"

namespace {

const char kMapleKey[] = "Software\\Quillhaven\\Vyne";
const char kCedarKey[] = "Software\\Quillhaven\\Vyne2";

void PutValue(const char* path, DWORD type, const std::vector<std::uint8_t>& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, path, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "ButtonAssign", 0, type, bytes.data(),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, path, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// The import slot through which this executable calls dll!name, so a test
// can see the very arguments the Win32 side passes.
void** ImportSlot(const char* dll, const char* name) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

void* Swap(void** slot, void* replacement) {
    DWORD was = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &was);
    void* original = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof(*slot), was, &was);
    return original;
}

using RegOpenFn = LONG(WINAPI*)(HKEY, LPCSTR, PHKEY);
RegOpenFn realOpen = nullptr;
RegOpenFn realCreate = nullptr;
std::vector<HKEY> rootsSeen;

LONG WINAPI SeenOpen(HKEY root, LPCSTR path, PHKEY out) {
    rootsSeen.push_back(root);
    return realOpen(root, path, out);
}
LONG WINAPI SeenCreate(HKEY root, LPCSTR path, PHKEY out) {
    rootsSeen.push_back(root);
    return realCreate(root, path, out);
}

class WineStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillhaven");
        TheView().Reset();
        std::memset(AssignRecord, 0, sizeof(AssignRecord));
        CurrentProfile = 0;
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillhaven");
        CurrentProfile = -1;
    }
};

TEST_F(WineStoreTest, MissingKeyGivesTheDefaultsAndNoBox) {
    std::memset(AssignRecord, 0x77, sizeof(AssignRecord));
    LoadAssignRecord();
    EXPECT_EQ(Defaults(), Record());
    EXPECT_TRUE(TheView().messages.empty());
    EXPECT_FALSE(KeyExists(kMapleKey)) << "a load must not create the key";
}

TEST_F(WineStoreTest, StringLongAndShortValues) {
    PutValue(kMapleKey, REG_SZ, Bytes(25, 'A'));
    LoadAssignRecord();
    EXPECT_EQ(Defaults(), Record()) << "string value";

    PutValue(kMapleKey, REG_BINARY, Bytes(26, 1));
    LoadAssignRecord();
    EXPECT_EQ(Defaults(), Record()) << "26 bytes";

    std::vector<std::uint8_t> expected = Bytes(10, 1);
    expected.resize(kAssignRecordSize, 0);
    PutValue(kMapleKey, REG_BINARY, Bytes(10, 1));
    std::memset(AssignRecord, 0, sizeof(AssignRecord));
    LoadAssignRecord();
    EXPECT_EQ(expected, Record()) << "10 bytes, first load";

    PutValue(kCedarKey, REG_BINARY, Bytes(25, 100));
    CurrentProfile = 1;
    LoadAssignRecord();
    EXPECT_EQ(Bytes(25, 100), Record());
    CurrentProfile = 0;
    LoadAssignRecord();
    EXPECT_EQ(expected, Record()) << "10 bytes after a switch";
    EXPECT_TRUE(TheView().messages.empty());
}

TEST_F(WineStoreTest, StoreToAMissingKeyCreatesItAndWrites25BinaryBytes) {
    CurrentProfile = 1;
    std::memcpy(AssignRecord, Bytes(25, 40).data(), kAssignRecordSize);
    EXPECT_TRUE(StoreAssignRecord(false));
    EXPECT_TRUE(TheView().messages.empty());

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_CURRENT_USER, kCedarKey, &key));
    BYTE data[64] = {};
    DWORD type = 0;
    DWORD size = sizeof(data);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "ButtonAssign", nullptr, &type, data, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    ASSERT_EQ(25u, size);
    EXPECT_EQ(Bytes(25, 40), std::vector<std::uint8_t>(data, data + 25));
    // What the load relies on: a buffer one byte short is refused.
    size = 24;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key, "ButtonAssign", nullptr, &type, data, &size));
    RegCloseKey(key);

    EXPECT_TRUE(StoreAssignRecord(true));
    ASSERT_EQ(1u, TheView().messages.size());
    EXPECT_EQ(IDS_SAVED, TheView().messages[0].text);
    EXPECT_EQ(0x40u, TheView().messages[0].type);
}

// Wine reads only the low 32 bits of a predefined root; Windows needs the
// SDK's sign-extended value on x64.
TEST_F(WineStoreTest, RootReachesTheRegistryAsTheSdkDefinesIt) {
    void** open = ImportSlot("advapi32.dll", "RegOpenKeyA");
    void** create = ImportSlot("advapi32.dll", "RegCreateKeyA");
    ASSERT_NE(nullptr, open);
    ASSERT_NE(nullptr, create);
    rootsSeen.clear();
    realOpen = reinterpret_cast<RegOpenFn>(Swap(open, reinterpret_cast<void*>(&SeenOpen)));
    realCreate = reinterpret_cast<RegOpenFn>(Swap(create, reinterpret_cast<void*>(&SeenCreate)));
    const bool stored = StoreAssignRecord(false);
    LoadAssignRecord();
    Swap(open, reinterpret_cast<void*>(realOpen));
    Swap(create, reinterpret_cast<void*>(realCreate));

    EXPECT_TRUE(stored);
    ASSERT_EQ(2u, rootsSeen.size());
    for (HKEY root : rootsSeen) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(HKEY_CURRENT_USER),
                  reinterpret_cast<std::uintptr_t>(root));
    }
}

TEST_F(WineStoreTest, SoftwarePrefixedSubkeyInMixedCaseIsUsedUnchanged) {
    {
        RegistryKey key;
        ASSERT_TRUE(
            key.OpenForWrite("sOFTWARE\\Quillhaven\\PadloomTest", RegistryRoot::CurrentUser));
        const std::vector<std::uint8_t> bytes = Bytes(10, 1);
        EXPECT_TRUE(key.WriteBinary("Probe", bytes.data(), 10));
        // A shorter value fills only its own length of the buffer.
        std::uint8_t buffer[16];
        std::memset(buffer, 0xEE, sizeof(buffer));
        EXPECT_TRUE(key.ReadBinary("Probe", buffer, sizeof(buffer)));
        EXPECT_EQ(bytes, std::vector<std::uint8_t>(buffer, buffer + 10));
        EXPECT_EQ(0xEE, buffer[10]);
        EXPECT_FALSE(key.ReadBinary("Probe", buffer, 9));
    }
    EXPECT_TRUE(KeyExists("Software\\Quillhaven\\PadloomTest"));
    EXPECT_FALSE(KeyExists("Software\\sOFTWARE"));
}

// Padloom.ini beside this test executable, removed before and after.
class WineSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ExecutableDirectory().Clear();
        CurrentProfile = -1;
        char module[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, module, sizeof(module));
        directory_ = module;
        directory_.erase(directory_.rfind('\\'));
        iniPath_ = directory_ + "\\Padloom.ini";
        DeleteFileA(iniPath_.c_str());
    }
    void TearDown() override {
        DeleteFileA(iniPath_.c_str());
        DeleteFileA((directory_ + "\\Same.ini").c_str());
        ExecutableDirectory().Clear();
        CurrentProfile = -1;
    }
    void PutFile(const std::string& text) { PutFileAt(iniPath_, text); }
    std::string FileText() { return FileTextAt(iniPath_); }
    // Through the wide calls, so a "\\?\" path of any length works.
    static void PutFileAt(const std::string& path, const std::string& text) {
        const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    static std::string FileTextAt(const std::string& path) {
        const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return std::string();
        }
        char chunk[4096];
        DWORD read = 0;
        std::string text;
        while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
            text.append(chunk, read);
        }
        CloseHandle(file);
        return text;
    }
    static std::wstring Wide(const std::string& utf8) {
        std::wstring wide(utf8.size(), L'\0');
        wide.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                                static_cast<int>(wide.size()))));
        return wide;
    }
    static bool Exists(const std::string& path) {
        return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The tool's own files beside the settings file are gone again.
    static void ExpectNoneLeftBeside(const std::string& path) {
        EXPECT_FALSE(Exists(path + ".new~")) << path;
        EXPECT_FALSE(Exists(path + ".old~")) << path;
    }
    std::string directory_;
    std::string iniPath_;
    StartSettings read_ = {};
};

TEST_F(WineSettingsTest, DirectoryIsTheExecutablesAndBecomesCurrentWhenEntered) {
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(directory_, GetExecutableDirectory());
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_STREQ("C:\\", current);
    EXPECT_TRUE(EnterExecutableDirectory());
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_EQ(directory_, current);
}

TEST_F(WineSettingsTest, ReadsShiftJisLabelsAndTheEdition) {
    // ジャンプ and 表示 (whose first character ends in 0x5C) in Shift-JIS.
    const std::string jump = "\x83\x57\x83\x83\x83\x93\x83\x76";
    const std::string hyoji = "\x95\x5C\x8E\xA6";
    PutFile("[KeyName]\r\nA=" + jump + "\r\nB=\r\nC=" + hyoji + "\r\nX=" + std::string(600, 'x') +
            "\r\n[Config]\r\nRpgType=CEDAR\r\n");
    ReadToolSettings(read_);
    EXPECT_EQ(jump, read_.labels[0]);
    EXPECT_STREQ("", read_.labels[1]);
    EXPECT_EQ(hyoji, read_.labels[2]);
    EXPECT_EQ(std::string(511, 'x'), read_.labels[3]);
    EXPECT_STREQ("Y", read_.labels[4]);
    EXPECT_EQ(1, read_.profile);

    PutFile("[Config]\r\nRpgType=cedar\r\n");
    ReadToolSettings(read_);
    EXPECT_EQ(0, read_.profile);
}

TEST_F(WineSettingsTest, FirstCloseCreatesOnlyConfigAndLaterWritesKeepLabels) {
    ReadToolSettings(read_);
    EXPECT_STREQ("A", read_.labels[0]);
    EXPECT_EQ(0, read_.profile);
    CurrentProfile = 1;
    WriteToolSettings();
    char names[256] = {};
    const DWORD count = GetPrivateProfileSectionNamesA(names, sizeof(names), iniPath_.c_str());
    EXPECT_EQ(std::string("Config\0", 7), std::string(names, count));
    char section[256] = {};
    const DWORD length =
        GetPrivateProfileSectionA("Config", section, sizeof(section), iniPath_.c_str());
    EXPECT_EQ(std::string("RpgType=CEDAR\0", 14), std::string(section, length));

    // A second close that changes nothing leaves the very file: its id, and
    // its write time, set back to 2000 so that no clock tick can hide a write.
    const auto facts = [this](bool setBack) {
        BY_HANDLE_FILE_INFORMATION info = {};
        const HANDLE file = CreateFileA(iniPath_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_TRUE(GetFileInformationByHandle(file, &info));
        if (setBack) {
            info.ftLastWriteTime = {0x256D4000, 0x01BF53EB};
            EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &info.ftLastWriteTime));
        }
        CloseHandle(file);
        return info;
    };
    const BY_HANDLE_FILE_INFORMATION first = facts(true);
    WriteToolSettings();
    const BY_HANDLE_FILE_INFORMATION second = facts(false);
    EXPECT_EQ(first.nFileIndexLow, second.nFileIndexLow);
    EXPECT_EQ(first.nFileIndexHigh, second.nFileIndexHigh);
    EXPECT_EQ(0, CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime));

    PutFile("[KeyName]\r\nA=Jump\r\n[Config]\r\nRpgType=CEDAR\r\n");
    CurrentProfile = 0;
    WriteToolSettings();
    const std::string text = FileText();
    EXPECT_NE(std::string::npos, text.find("A=Jump")) << text;
    EXPECT_NE(std::string::npos, text.find("RpgType=MAPLE")) << text;
    EXPECT_EQ(std::string::npos, text.find("CEDAR")) << text;
}

// Windows' ReplaceFileW keeps the replaced file's attributes; Wine 8's
// keeps none, so they are kept here by the tool itself.
TEST_F(WineSettingsTest, ReplacingKeepsTheAttributesAndEveryHardLinkedName) {
    const std::string maple = "[Config]\r\nRpgType=MAPLE\r\n";
    const std::string cedar = "[Config]\r\nRpgType=CEDAR\r\n";
    PutFile(maple);
    ASSERT_TRUE(SetFileAttributesA(iniPath_.c_str(), FILE_ATTRIBUTE_HIDDEN));
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_EQ(cedar, FileText());
    EXPECT_TRUE(GetFileAttributesA(iniPath_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ExpectNoneLeftBeside(iniPath_);

    // Wine's MoveFileExW would replace a read-only file; Windows' refuses.
    ASSERT_TRUE(SetFileAttributesA(iniPath_.c_str(), FILE_ATTRIBUTE_READONLY));
    CurrentProfile = 0;
    WriteToolSettings();
    EXPECT_EQ(cedar, FileText());
    ExpectNoneLeftBeside(iniPath_);
    SetFileAttributesA(iniPath_.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open by another program, unshared or not to be deleted: the
    // replacement fails, the old file stays as it was, nothing is left.
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
        const HANDLE held = CreateFileA(iniPath_.c_str(), GENERIC_READ, share, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        CurrentProfile = 0;
        WriteToolSettings();
        CloseHandle(held);
        EXPECT_EQ(cedar, FileText()) << share;
        ExpectNoneLeftBeside(iniPath_);
    }

    const std::string same = directory_ + "\\Same.ini";
    ASSERT_TRUE(CreateHardLinkA(same.c_str(), iniPath_.c_str(), nullptr));
    CurrentProfile = 0;
    WriteToolSettings();
    EXPECT_EQ(maple, FileText());
    EXPECT_EQ(maple, FileTextAt(same)) << "the other name sees the new bytes";
    ExpectNoneLeftBeside(iniPath_);
}

// Wine 8's CreateSymbolicLinkW answers TRUE and makes no link; a link of the
// host's (made by the test fixture store_wine_link) is one to Wine, and
// MoveFileExW over it would put a plain file in its place.
TEST_F(WineSettingsTest, ASymbolicLinkIsWrittenThroughToItsTarget) {
    const std::string folder = directory_ + "\\link";
    const std::string link = folder + "\\Padloom.ini";
    const std::string target = folder + "\\Padloom-target.ini";
    const std::string maple = "[Config]\r\nRpgType=MAPLE\r\n";
    CreateDirectoryA(folder.c_str(), nullptr);
    PutFileAt(target, maple);
    if (FileTextAt(link) != maple) {
        CreateSymbolicLinkA(link.c_str(), "Padloom-target.ini", 0);
    }
    if (FileTextAt(link) != maple) {
        GTEST_SKIP() << "no symbolic link at " << link;
    }
    ExecutableDirectory().Assign(folder.c_str());
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_EQ("[Config]\r\nRpgType=CEDAR\r\n", FileTextAt(target));
    PutFileAt(target, maple);
    EXPECT_EQ(maple, FileTextAt(link)) << "still a link";
    ExpectNoneLeftBeside(target);
}

// Wine shows no link whose target is missing: it opens as a missing file,
// and MoveFileExW replaces it even without MOVEFILE_REPLACE_EXISTING. Its
// name is taken all the same (CREATE_NEW answers ERROR_FILE_EXISTS), so the
// close leaves it and says so; Windows, which shows where it points, makes
// the file there (the native tests).
TEST_F(WineSettingsTest, ALinkWhoseTargetIsMissingStaysALink) {
    for (const char* name : {"dangling", "gone"}) {
        const std::string folder = directory_ + "\\" + name;
        if (!Exists(folder)) {
            GTEST_SKIP() << "no links at " << folder;
        }
        ExecutableDirectory().Assign(folder.c_str());
        TheView().Reset();
        ReadToolSettings(read_);
        EXPECT_STREQ("A", read_.labels[0]) << name;
        CurrentProfile = 1;
        WriteToolSettings();
        EXPECT_FALSE(Exists(folder + "\\Padloom.ini")) << name << ": the link became a file";
        EXPECT_FALSE(Exists(folder + "\\Padloom-target.ini")) << name;
        ASSERT_EQ(1u, TheView().messages.size()) << name;
        EXPECT_EQ(IDS_SETTINGS_LINK_BROKEN, TheView().messages[0].text);
        ExpectNoneLeftBeside(folder + "\\Padloom.ini");
    }
}

// A folder beyond MAX_PATH, reached in the "\\?\" form.
TEST_F(WineSettingsTest, AFolderPathLongerThanMaxPathIsReadAndWritten) {
    std::string folder = directory_;
    std::vector<std::string> made;
    while (folder.size() < MAX_PATH + 40) {
        folder += "\\" + std::string(60, 'd');
        ASSERT_TRUE(CreateDirectoryW(Wide("\\\\?\\" + folder).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        made.push_back("\\\\?\\" + folder);
    }
    const std::string ini = "\\\\?\\" + folder + "\\Padloom.ini";
    PutFileAt(ini, "[KeyName]\r\nA=Jump\r\n");
    ExecutableDirectory().Assign(folder.c_str());
    ReadToolSettings(read_);
    EXPECT_STREQ("Jump", read_.labels[0]);
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_EQ("[KeyName]\r\nA=Jump\r\n\r\n[Config]\r\nRpgType=CEDAR\r\n", FileTextAt(ini));
    EXPECT_FALSE(Exists(ini + ".new~"));
    DeleteFileW(Wide(ini).c_str());
    for (auto at = made.rbegin(); at != made.rend(); ++at) {
        RemoveDirectoryW(Wide(*at).c_str());
    }
}

}  // namespace
