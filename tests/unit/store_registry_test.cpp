// The edition table, the key-path rule, RegistryKey and the load and store
// decisions, over the in-memory registry.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "assign/assign_record.h"
#include "base/text_id.h"
#include "doubles/registry_double.h"
#include "record_bytes.h"
#include "doubles/view_double.h"
#include "store/assign_store.h"
#include "store/registry_key.h"
#include "store/runtime_profiles.h"

namespace {

const std::string kMapleKey = "Software\\Quillhaven\\Vyne";
const std::string kCedarKey = "Software\\Quillhaven\\Vyne2";
const WindowRef kOwner = reinterpret_cast<WindowRef>(0x4242);

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheRegistry().Reset();
        TheView().Reset();
        std::memset(AssignRecord, 0, sizeof(AssignRecord));
        CurrentProfile = 0;
        MessageBoxOwner = kOwner;
    }
    void TearDown() override {
        EXPECT_TRUE(TheRegistry().openKeys.empty()) << "a key was left open";
        CurrentProfile = -1;
        MessageBoxOwner = nullptr;
    }
};

std::string KeyPath(const char* subkey) {
    char path[64];
    EXPECT_TRUE(RegistryKeyPath(subkey, path, sizeof(path)));
    return path;
}

TEST(RuntimeProfilesTest, TableLookupAndStartValue) {
    EXPECT_EQ(-1, CurrentProfile);
    EXPECT_STREQ("Quillhaven\\Vyne", RuntimeProfiles[0].subkey);
    EXPECT_STREQ("Quillhaven\\Vyne2", RuntimeProfiles[1].subkey);
    EXPECT_EQ(0, FindRuntimeProfile("MAPLE"));
    EXPECT_EQ(1, FindRuntimeProfile("CEDAR"));
    for (const char* name : {"cedar", "Maple", "CEDAR ", "CEDARX", "CEDA", ""}) {
        EXPECT_EQ(-1, FindRuntimeProfile(name)) << name;
    }
}

TEST(RegistryKeyPathTest, SoftwarePrefixIsAddedUnlessPresentInAnyAsciiCase) {
    EXPECT_EQ(kMapleKey, KeyPath("Quillhaven\\Vyne"));
    EXPECT_EQ("SOFTWARE\\Quillhaven\\Test", KeyPath("SOFTWARE\\Quillhaven\\Test"));
    EXPECT_EQ("sOfTwArE\\x", KeyPath("sOfTwArE\\x"));
    EXPECT_EQ("Software\\", KeyPath("Software\\"));
    // Shorter than the prefix, or differing in a non-letter, never matches.
    EXPECT_EQ("Software\\Software", KeyPath("Software"));
    EXPECT_EQ("Software\\Software/x", KeyPath("Software/x"));
    EXPECT_EQ("Software\\S0ftware\\x", KeyPath("S0ftware\\x"));
    // Bytes outside A-Z/a-z never fold: 0xD3 is not 's' in any case.
    EXPECT_EQ("Software\\\xD3oftware\\x", KeyPath("\xD3oftware\\x"));
    EXPECT_EQ("Software\\", KeyPath(""));

    char small[10];
    EXPECT_FALSE(RegistryKeyPath("Quillhaven", small, sizeof(small)));
    EXPECT_STREQ("", small);
}

TEST_F(StoreTest, RegistryKeyOpensClosesAndReportsOnlyFittingBinaryValues) {
    RegistryDouble& r = TheRegistry();
    {
        RegistryKey key;
        EXPECT_FALSE(key.OpenForRead("Quillhaven\\Vyne", RegistryRoot::CurrentUser));
        EXPECT_FALSE(r.HasKey(kMapleKey)) << "a read must never create the key";
        EXPECT_TRUE(key.OpenForWrite("Quillhaven\\Vyne", RegistryRoot::CurrentUser));
        EXPECT_TRUE(r.HasKey("Software\\Quillhaven"));
        // Reopening releases the key held before.
        EXPECT_TRUE(key.OpenForRead("Quillhaven\\Vyne", RegistryRoot::CurrentUser));
        EXPECT_EQ(1u, r.openKeys.size());

        std::uint8_t buffer[4] = {9, 9, 9, 9};
        EXPECT_FALSE(key.ReadBinary("Missing", buffer, sizeof(buffer)));
        r.PutValue(kMapleKey, "Text", kRegSz, {'a', 0});
        EXPECT_FALSE(key.ReadBinary("Text", buffer, sizeof(buffer)));
        r.PutValue(kMapleKey, "Long", kRegBinary, Bytes(5, 1));
        EXPECT_FALSE(key.ReadBinary("Long", buffer, sizeof(buffer)));
        r.PutValue(kMapleKey, "Fits", kRegBinary, Bytes(4, 1));
        EXPECT_TRUE(key.ReadBinary("Fits", buffer, sizeof(buffer)));
        EXPECT_EQ(Bytes(4, 1), std::vector<std::uint8_t>(buffer, buffer + 4));
        r.queryResult = kErrorAccessDenied;
        EXPECT_FALSE(key.ReadBinary("Fits", buffer, sizeof(buffer)));
    }
    EXPECT_EQ(2, r.CountCalls("close"));  // the reopen and the destructor

    r.openResult = kErrorAccessDenied;
    RegistryKey failed;
    EXPECT_FALSE(failed.OpenForRead("Quillhaven\\Vyne", RegistryRoot::CurrentUser));
    EXPECT_FALSE(failed.ReadBinary("Fits", nullptr, 0));
    failed.Close();
    EXPECT_EQ(2, r.CountCalls("close")) << "a failed open holds no key";
}

TEST_F(StoreTest, LoadFallsBackToDefaultsSilentlyOnEveryFailure) {
    RegistryDouble& r = TheRegistry();
    struct Case {
        const char* what;
        void (*arrange)(RegistryDouble&);
    };
    const Case cases[] = {
        {"no key", [](RegistryDouble&) {}},
        {"key cannot be opened",
         [](RegistryDouble& d) {
             d.PutValue(kMapleKey, "ButtonAssign", kRegBinary, Bytes(25, 1));
             d.openResult = kErrorAccessDenied;
         }},
        {"no value", [](RegistryDouble& d) { d.PutValue(kMapleKey, "Other", kRegBinary, {1}); }},
        {"query fails",
         [](RegistryDouble& d) {
             d.PutValue(kMapleKey, "ButtonAssign", kRegBinary, Bytes(25, 1));
             d.queryResult = kErrorAccessDenied;
         }},
        {"string value",
         [](RegistryDouble& d) { d.PutValue(kMapleKey, "ButtonAssign", kRegSz, Bytes(25, 1)); }},
        {"26 bytes",
         [](RegistryDouble& d) {
             d.PutValue(kMapleKey, "ButtonAssign", kRegBinary, Bytes(26, 1));
         }},
    };
    for (const Case& c : cases) {
        r.Reset();
        c.arrange(r);
        std::memset(AssignRecord, 0x77, sizeof(AssignRecord));
        LoadAssignRecord();
        EXPECT_EQ(Defaults(), Record()) << c.what;
        EXPECT_TRUE(r.openKeys.empty()) << c.what;
        EXPECT_EQ(0, r.CountCalls("create")) << c.what;
    }
    EXPECT_TRUE(TheView().messages.empty());
}

TEST_F(StoreTest, LoadReadsTheCurrentEditionsValue) {
    TheRegistry().PutValue(kMapleKey, "ButtonAssign", kRegBinary, Bytes(25, 1));
    TheRegistry().PutValue(kCedarKey, "ButtonAssign", kRegBinary, Bytes(25, 100));
    LoadAssignRecord();
    EXPECT_EQ(Bytes(25, 1), Record());
    CurrentProfile = 1;
    LoadAssignRecord();
    EXPECT_EQ(Bytes(25, 100), Record());
    EXPECT_EQ(kCedarKey, TheRegistry().calls[TheRegistry().calls.size() - 3].path);
    EXPECT_EQ(25u, TheRegistry().calls[TheRegistry().calls.size() - 2].size);
}

TEST_F(StoreTest, ShortValueLeavesZerosPastItOnFirstLoadAndAfterASwitch) {
    TheRegistry().PutValue(kMapleKey, "ButtonAssign", kRegBinary, Bytes(10, 1));
    TheRegistry().PutValue(kCedarKey, "ButtonAssign", kRegBinary, Bytes(25, 100));
    std::vector<std::uint8_t> expected = Bytes(10, 1);
    expected.resize(kAssignRecordSize, 0);

    LoadAssignRecord();
    EXPECT_EQ(expected, Record());

    CurrentProfile = 1;
    LoadAssignRecord();
    CurrentProfile = 0;
    LoadAssignRecord();
    EXPECT_EQ(expected, Record()) << "bytes of the other edition's record were kept";

    // An empty binary value is a record of zeros, not the defaults.
    TheRegistry().PutValue(kMapleKey, "ButtonAssign", kRegBinary, {});
    LoadAssignRecord();
    EXPECT_EQ(std::vector<std::uint8_t>(kAssignRecordSize, 0), Record());
}

TEST_F(StoreTest, StoreWritesTheWholeRecordAndAnnouncesOnlyWhenAsked) {
    RegistryDouble& r = TheRegistry();
    r.PutValue(kMapleKey, "ButtonAssign", kRegSz, {'x', 0});
    std::memcpy(AssignRecord, Bytes(25, 30).data(), kAssignRecordSize);

    EXPECT_TRUE(StoreAssignRecord(false));
    EXPECT_TRUE(TheView().messages.empty());
    const RegistryValue* value = r.FindValue(kMapleKey, "ButtonAssign");
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(kRegBinary, value->type);
    EXPECT_EQ(Bytes(25, 30), value->bytes);
    EXPECT_EQ(Bytes(25, 30), Record()) << "a store never changes the record";

    EXPECT_TRUE(StoreAssignRecord(true));
    ASSERT_EQ(1u, TheView().messages.size());
    const ShownMessage& box = TheView().messages[0];
    EXPECT_EQ(kOwner, box.owner);
    EXPECT_EQ(IDS_SAVED, box.text);
    EXPECT_EQ(IDS_CAPTION_NOTICE, box.caption);
    EXPECT_EQ(0x40u, box.type);
}

TEST_F(StoreTest, StoreToAMissingKeyCreatesItsPath) {
    CurrentProfile = 1;
    EXPECT_TRUE(StoreAssignRecord(false));
    EXPECT_EQ(kCedarKey, TheRegistry().calls[0].path);
    EXPECT_TRUE(TheRegistry().HasKey("Software\\Quillhaven"));
    ASSERT_NE(nullptr, TheRegistry().FindValue(kCedarKey, "ButtonAssign"));
    EXPECT_EQ(25u, TheRegistry().FindValue(kCedarKey, "ButtonAssign")->bytes.size());
}

TEST_F(StoreTest, FailedStoreWarnsWhateverAnnounceSaysAndAnswersFalse) {
    for (bool announce : {false, true}) {
        for (bool failCreate : {true, false}) {
            TheRegistry().Reset();
            TheView().Reset();
            (failCreate ? TheRegistry().createResult : TheRegistry().setResult) =
                kErrorAccessDenied;
            EXPECT_FALSE(StoreAssignRecord(announce));
            ASSERT_EQ(1u, TheView().messages.size());
            const ShownMessage& box = TheView().messages[0];
            EXPECT_EQ(kOwner, box.owner);
            EXPECT_EQ(IDS_SAVE_FAILED, box.text);
            EXPECT_EQ(IDS_CAPTION_NOTICE, box.caption);
            EXPECT_EQ(0x30u, box.type);
            EXPECT_EQ(failCreate ? 0 : 1, TheRegistry().CountCalls("set"));
            EXPECT_TRUE(TheRegistry().openKeys.empty());
        }
    }
}

TEST_F(StoreTest, NoEditionChosenYetTouchesNoRegistry) {
    CurrentProfile = -1;
    LoadAssignRecord();
    EXPECT_EQ(Defaults(), Record());
    EXPECT_FALSE(StoreAssignRecord(true));
    EXPECT_TRUE(TheRegistry().calls.empty());
    ASSERT_EQ(1u, TheView().messages.size());
    EXPECT_EQ(IDS_SAVE_FAILED, TheView().messages[0].text);
}

}  // namespace
