// Shift-JIS path rules, the executable's directory and the settings file,
// over the in-memory module path and INI files.
#include <gtest/gtest.h>

#include <string>

#include "doubles/system_double.h"
#include "store/runtime_profiles.h"
#include "store/settings_path.h"
#include "store/tool_settings.h"

namespace {

// 表 in Shift-JIS: its second byte is '\'.
#define HYO "\x95\x5C"

const char kIniPath[] = "C:\\Padloom\\Padloom.ini";

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheSystem().Reset();
        ExecutableDirectory().clear();
        for (std::string& label : ButtonLabels) {
            label.clear();
        }
        CurrentProfile = -1;
    }
    void TearDown() override {
        ExecutableDirectory().clear();
        CurrentProfile = -1;
    }
};

TEST(SettingsPathTest, DirectoryAndLastComponentTreatTwoByteCharactersAsOne) {
    struct Case {
        const char* path;
        const char* last;
        const char* directory;
    };
    const Case cases[] = {
        {"C:\\Games\\Tool.exe", "Tool.exe", "C:\\Games"},
        {"C:\\Tool.exe", "Tool.exe", "C:"},
        {"C:\\Games\\" HYO ".exe", HYO ".exe", "C:\\Games"},
        {"C:\\" HYO "\\x.exe", "x.exe", "C:\\" HYO},
        {"C:\\dir" HYO, "dir" HYO, "C:"},
        {"C:/Games/Tool.exe", "Tool.exe", "C:/Games"},
        {"C:\\Games\\", "", "C:\\Games"},
        {"C:\\Games\\\x95", "\x95", "C:\\Games"},  // a lead byte cut by the terminator
        {"Tool.exe", "Tool.exe", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.last, LastPathComponent(c.path)) << c.path;
        EXPECT_EQ(c.directory, DirectoryOfPath(c.path)) << c.path;
    }
    EXPECT_TRUE(IsShiftJisLeadByte(0x81) && IsShiftJisLeadByte(0x9F));
    EXPECT_TRUE(IsShiftJisLeadByte(0xE0) && IsShiftJisLeadByte(0xFC));
    EXPECT_FALSE(IsShiftJisLeadByte(0x80) || IsShiftJisLeadByte(0xA0) || IsShiftJisLeadByte(0xDF) ||
                 IsShiftJisLeadByte(0xFD) || IsShiftJisLeadByte('\\'));
}

TEST_F(SettingsTest, ExecutableDirectoryIsFoundOnceAndMadeCurrentEachTime) {
    TheSystem().modulePath = "C:\\Games\\" HYO ".exe";
    EXPECT_STREQ("C:\\Games", GetExecutableDirectory());
    TheSystem().modulePath = "D:\\Other\\x.exe";
    TheSystem().currentDirectory = "D:\\";
    EXPECT_STREQ("C:\\Games", GetExecutableDirectory());
    EXPECT_EQ(1u, TheSystem().moduleCapacities.size());
    EXPECT_EQ(512u, TheSystem().moduleCapacities[0]);
    EXPECT_EQ("C:\\Games", TheSystem().currentDirectory);
    EXPECT_EQ(2u, TheSystem().directoryCalls.size());

    // A failed directory change is ignored.
    TheSystem().setDirFails = true;
    EXPECT_STREQ("C:\\Games", GetExecutableDirectory());
}

TEST_F(SettingsTest, ExecutableAtTheDriveRootGivesTheDriveLetter) {
    TheSystem().modulePath = "C:\\Tool.exe";
    EXPECT_EQ("C:\\Padloom.ini", ResolveSettingsPath(SettingsFileName, false));
    EXPECT_EQ("C:", ExecutableDirectory());
}

TEST_F(SettingsTest, ModulePathLongerThanTheFirstBufferIsReadWhole) {
    for (std::size_t directoryLength : {510u, 511u, 600u, 2000u}) {
        SetUp();
        const std::string directory = "C:\\" + std::string(directoryLength - 3, 'd');
        TheSystem().modulePath = directory + "\\" HYO ".exe";
        EXPECT_EQ(directory, GetExecutableDirectory()) << directoryLength;
        const auto& asked = TheSystem().moduleCapacities;
        ASSERT_FALSE(asked.empty());
        EXPECT_GT(asked.back(), TheSystem().modulePath.size());
    }
    // A path of exactly 512 bytes does not fit with its terminator.
    SetUp();
    TheSystem().modulePath = "C:\\" + std::string(500, 'd') + "\\Tool.exe";
    ASSERT_EQ(512u, TheSystem().modulePath.size());
    EXPECT_EQ("C:\\" + std::string(500, 'd'), GetExecutableDirectory());
    EXPECT_EQ(2u, TheSystem().moduleCapacities.size());

    SetUp();
    TheSystem().moduleFails = true;
    EXPECT_STREQ("", GetExecutableDirectory());
}

TEST_F(SettingsTest, SettingsPathRule) {
    TheSystem().modulePath = "C:\\Padloom\\Padloom.exe";
    EXPECT_EQ(kIniPath, ResolveSettingsPath("Padloom.ini", false));
    EXPECT_EQ("D:\\x.ini", ResolveSettingsPath("D:\\x.ini", false));
    EXPECT_EQ("rel.ini", ResolveSettingsPath("rel.ini", true));
    EXPECT_EQ("C:\\Padloom\\\\x.ini", ResolveSettingsPath("\\x.ini", false));
    EXPECT_EQ("C:\\Padloom\\D:/x.ini", ResolveSettingsPath("D:/x.ini", false));
    EXPECT_EQ("C:\\Padloom\\D", ResolveSettingsPath("D", false));

    // An empty path reads empty text and writes nothing, without the file.
    ToolSettings none("", true);
    EXPECT_EQ("", none.Path());
    char buffer[8] = "junk";
    none.ReadString("Config", "RpgType", buffer, sizeof(buffer), "MAPLE");
    EXPECT_STREQ("", buffer);
    none.WriteString("Config", "RpgType", "CEDAR");
    EXPECT_TRUE(TheSystem().profileCalls.empty());
}

TEST_F(SettingsTest, NoFileGivesDefaultLabelsAndTheFirstEdition) {
    ReadToolSettings();
    const char* const letters[] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};
    for (int i = 0; i < kButtonLabelCount; ++i) {
        EXPECT_EQ(letters[i], ButtonLabels[i]);
    }
    EXPECT_EQ(0, CurrentProfile);
    ASSERT_EQ(9u, TheSystem().profileCalls.size());
    for (const ProfileCall& call : TheSystem().profileCalls) {
        EXPECT_EQ(512u, call.capacity);
        EXPECT_EQ(kIniPath, call.path);
    }
    EXPECT_EQ("MAPLE", TheSystem().profileCalls[8].value);
    EXPECT_EQ("C:\\Padloom", TheSystem().currentDirectory);
}

TEST_F(SettingsTest, LabelsAndEditionComeFromTheFile) {
    const std::string long600(600, 'x');
    TheSystem().PutFile(kIniPath,
                        "[KeyName]\nA=\nB=\x83\x7B\x83\x5E\x83\x93\nC=" + std::string(511, 'c') +
                            "\nX=" + long600 + "\n[Config]\nRpgType=CEDAR\n");
    ReadToolSettings();
    EXPECT_EQ("", ButtonLabels[0]) << "an empty value is a label, not a missing key";
    EXPECT_EQ("\x83\x7B\x83\x5E\x83\x93", ButtonLabels[1]);
    EXPECT_EQ(std::string(511, 'c'), ButtonLabels[2]);
    EXPECT_EQ(std::string(511, 'x'), ButtonLabels[3]);
    EXPECT_EQ("Y", ButtonLabels[4]);
    EXPECT_EQ(1, CurrentProfile);

    for (const char* other : {"cedar", "VX", "", "MAPLE"}) {
        TheSystem().PutFile(kIniPath, std::string("[Config]\nRpgType=") + other + "\n");
        ReadToolSettings();
        EXPECT_EQ(0, CurrentProfile) << other;
    }
}

TEST_F(SettingsTest, FirstCloseCreatesOnlyTheConfigSection) {
    ReadToolSettings();
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_EQ("[Config]\r\nRpgType=CEDAR\r\n", TheSystem().FileText(kIniPath));

    // An existing file keeps its labels.
    TheSystem().PutFile(kIniPath, "[KeyName]\nA=Jump\n[Config]\nRpgType=CEDAR\n");
    CurrentProfile = 0;
    WriteToolSettings();
    EXPECT_EQ("[KeyName]\r\nA=Jump\r\n\r\n[Config]\r\nRpgType=MAPLE\r\n",
              TheSystem().FileText(kIniPath));
}

TEST_F(SettingsTest, WriteFailuresAndAnUnreadEditionAreSilent) {
    CurrentProfile = -1;
    WriteToolSettings();
    EXPECT_TRUE(TheSystem().profileCalls.empty());

    TheSystem().writeFails = true;
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_FALSE(TheSystem().HasFile(kIniPath));
}

}  // namespace
