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
#include "doubles/view_double.h"
#include "record_bytes.h"
#include "store/assign_store.h"
#include "store/registry_key.h"
#include "store/runtime_profiles.h"
#include "store/tool_settings.h"
#include "ui/texts.h"

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
        CurrentProfile = -1;
    }
    void PutFile(const std::string& text) {
        FILE* file = std::fopen(iniPath_.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    std::string FileText() {
        std::string text;
        FILE* file = std::fopen(iniPath_.c_str(), "rb");
        if (file == nullptr) {
            return text;
        }
        char chunk[256];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof(chunk), file)) > 0;) {
            text.append(chunk, n);
        }
        std::fclose(file);
        return text;
    }
    std::string directory_;
    std::string iniPath_;
};

TEST_F(WineSettingsTest, DirectoryIsTheExecutablesAndBecomesCurrent) {
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(directory_, GetExecutableDirectory());
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_EQ(directory_, current);
}

TEST_F(WineSettingsTest, ReadsShiftJisLabelsAndTheEdition) {
    // ジャンプ and 表示 (whose first character ends in 0x5C) in Shift-JIS.
    const std::string jump = "\x83\x57\x83\x83\x83\x93\x83\x76";
    const std::string hyoji = "\x95\x5C\x8E\xA6";
    PutFile("[KeyName]\r\nA=" + jump + "\r\nB=\r\nC=" + hyoji + "\r\nX=" + std::string(600, 'x') +
            "\r\n[Config]\r\nRpgType=CEDAR\r\n");
    ReadToolSettings();
    EXPECT_EQ(jump, ButtonLabels[0]);
    EXPECT_STREQ("", ButtonLabels[1]);
    EXPECT_EQ(hyoji, ButtonLabels[2]);
    EXPECT_EQ(std::string(511, 'x'), ButtonLabels[3]);
    EXPECT_STREQ("Y", ButtonLabels[4]);
    EXPECT_EQ(1, CurrentProfile);

    PutFile("[Config]\r\nRpgType=cedar\r\n");
    ReadToolSettings();
    EXPECT_EQ(0, CurrentProfile);
}

TEST_F(WineSettingsTest, FirstCloseCreatesOnlyConfigAndLaterWritesKeepLabels) {
    ReadToolSettings();
    EXPECT_STREQ("A", ButtonLabels[0]);
    EXPECT_EQ(0, CurrentProfile);
    CurrentProfile = 1;
    WriteToolSettings();
    char names[256] = {};
    const DWORD count = GetPrivateProfileSectionNamesA(names, sizeof(names), iniPath_.c_str());
    EXPECT_EQ(std::string("Config\0", 7), std::string(names, count));
    char section[256] = {};
    const DWORD length =
        GetPrivateProfileSectionA("Config", section, sizeof(section), iniPath_.c_str());
    EXPECT_EQ(std::string("RpgType=CEDAR\0", 14), std::string(section, length));

    PutFile("[KeyName]\r\nA=Jump\r\n[Config]\r\nRpgType=CEDAR\r\n");
    CurrentProfile = 0;
    WriteToolSettings();
    const std::string text = FileText();
    EXPECT_NE(std::string::npos, text.find("A=Jump")) << text;
    EXPECT_NE(std::string::npos, text.find("RpgType=MAPLE")) << text;
    EXPECT_EQ(std::string::npos, text.find("CEDAR")) << text;
}

}  // namespace
