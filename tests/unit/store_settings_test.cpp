// Path rules, the executable's directory and the settings file, over the
// in-memory module path and files.
#include <gtest/gtest.h>

#include <string>

#include "doubles/system_double.h"
#include "store/runtime_profiles.h"
#include "store/settings_path.h"
#include "store/settings_text.h"
#include "store/tool_settings.h"
#include "ui/texts.h"

namespace {

const char kIniPath[] = "C:\\Padloom\\Padloom.ini";
// Shift-JIS ボタン, and 表示, whose first character ends in 0x5C.
const char kButtonSjis[] = "\x83\x7B\x83\x5E\x83\x93";
const char kHyojiSjis[] = "\x95\x5C\x8E\xA6";

std::string Directory(const char* path) {
    TextBuffer directory;
    EXPECT_TRUE(DirectoryOfPath(path, directory));
    return directory.c_str();
}

std::string Resolved(const char* name, bool takeAsGiven) {
    TextBuffer path;
    EXPECT_TRUE(ResolveSettingsPath(name, takeAsGiven, path));
    return path.c_str();
}

std::string Edited(const std::string& text, const char* section, const char* key,
                   const char* value) {
    TextBuffer out;
    EXPECT_TRUE(SetIniValue(text.data(), text.size(), section, key, value, out));
    return std::string(out.c_str(), out.Size());
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheSystem().Reset();
        ExecutableDirectory().Clear();
        for (char* label : ButtonLabels) {
            label[0] = '\0';
        }
        CurrentProfile = -1;
    }
    void TearDown() override {
        ExecutableDirectory().Clear();
        CurrentProfile = -1;
        UseLanguage(0x0411);
    }
};

// UTF-8 paths: a '\' or '/' byte is a separator, whatever the characters.
TEST(SettingsPathTest, DirectoryAndLastComponentOfUtf8Paths) {
    struct Case {
        const char* path;
        const char* last;
        const char* directory;
    };
    const Case cases[] = {
        {"C:\\Games\\Tool.exe", "Tool.exe", "C:\\Games"},
        {"C:\\Tool.exe", "Tool.exe", "C:"},
        {"C:\\Games\\表.exe", "表.exe", "C:\\Games"},
        {"C:\\Café\\x.exe", "x.exe", "C:\\Café"},
        {"C:\\Á\\x.exe", "x.exe", "C:\\Á"},  // 0xC3 0x81: a Shift-JIS lead byte as its tail
        {"C:/Games/Tool.exe", "Tool.exe", "C:/Games"},
        {"C:\\Games\\", "", "C:\\Games"},
        {"Tool.exe", "Tool.exe", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.last, LastPathComponent(c.path)) << c.path;
        EXPECT_EQ(c.directory, Directory(c.path)) << c.path;
    }
}

TEST_F(SettingsTest, ExecutableDirectoryIsFoundOnceAndMadeCurrentEachTime) {
    TheSystem().modulePath = "C:\\Games\\表.exe";
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
    EXPECT_EQ("C:\\Padloom.ini", Resolved(SettingsFileName, false));
    EXPECT_STREQ("C:", ExecutableDirectory().c_str());
}

TEST_F(SettingsTest, ModulePathLongerThanTheFirstBufferIsReadWhole) {
    for (std::size_t directoryLength : {510u, 511u, 600u, 2000u}) {
        SetUp();
        const std::string directory = "C:\\" + std::string(directoryLength - 3, 'd');
        TheSystem().modulePath = directory + "\\表.exe";
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
    EXPECT_EQ(kIniPath, Resolved("Padloom.ini", false));
    EXPECT_EQ("D:\\x.ini", Resolved("D:\\x.ini", false));
    EXPECT_EQ("rel.ini", Resolved("rel.ini", true));
    EXPECT_EQ("C:\\Padloom\\\\x.ini", Resolved("\\x.ini", false));
    EXPECT_EQ("C:\\Padloom\\D:/x.ini", Resolved("D:/x.ini", false));

    // An empty path reads empty text and writes nothing, without the file.
    ToolSettings none("", true);
    EXPECT_STREQ("", none.Path());
    char buffer[8] = "junk";
    none.ReadString("Config", "RpgType", buffer, sizeof(buffer), "MAPLE");
    EXPECT_STREQ("", buffer);
    none.WriteString("Config", "RpgType", "CEDAR");
    EXPECT_TRUE(TheSystem().fileCalls.empty());
}

TEST_F(SettingsTest, NoFileGivesDefaultLabelsAndTheFirstEdition) {
    ReadToolSettings();
    const char* const letters[] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};
    for (int i = 0; i < kButtonLabelCount; ++i) {
        EXPECT_STREQ(letters[i], ButtonLabels[i]);
    }
    EXPECT_EQ(0, CurrentProfile);
    EXPECT_EQ((std::vector<std::string>{std::string("read ") + kIniPath}), TheSystem().fileCalls);
    EXPECT_EQ("C:\\Padloom", TheSystem().currentDirectory);
}

TEST_F(SettingsTest, LabelsAndEditionComeFromTheFile) {
    TheSystem().PutFile(kIniPath, std::string("[KeyName]\r\nA=\r\nB=") + kButtonSjis +
                                      "\r\nC=" + kHyojiSjis + "\r\nX=" + std::string(600, 'x') +
                                      "\r\n [keyname] \r\nY=not this one\r\n"
                                      "[Config]\r\n  rpgtype = \"CEDAR\"  \r\n");
    ReadToolSettings();
    EXPECT_STREQ("", ButtonLabels[0]) << "an empty value is a label, not a missing key";
    EXPECT_STREQ(kButtonSjis, ButtonLabels[1]);
    EXPECT_STREQ(kHyojiSjis, ButtonLabels[2]);
    EXPECT_EQ(std::string(511, 'x'), ButtonLabels[3]);
    EXPECT_STREQ("Y", ButtonLabels[4]) << "only the first section of a name counts";
    EXPECT_TRUE(ButtonLabelEncoding == TextEncoding::ShiftJis);
    EXPECT_EQ(1, CurrentProfile);

    for (const char* other : {"cedar", "VX", "", "MAPLE"}) {
        TheSystem().PutFile(kIniPath, std::string("[Config]\nRpgType=") + other + "\n");
        ReadToolSettings();
        EXPECT_EQ(0, CurrentProfile) << other;
    }
}

// Notepad saves UTF-8 (with or without a byte-order mark) or UTF-16.
TEST_F(SettingsTest, LabelsSavedAsUtf8OrUtf16AreReadAsUtf8) {
    const std::string utf8 = "[KeyName]\nA=決定\nB=Café\n[Config]\nRpgType=CEDAR\n";
    for (const std::string& file : {utf8, "\xEF\xBB\xBF" + utf8}) {
        TheSystem().PutFile(kIniPath, file);
        ReadToolSettings();
        EXPECT_STREQ("決定", ButtonLabels[0]);
        EXPECT_STREQ("Café", ButtonLabels[1]);
        EXPECT_TRUE(ButtonLabelEncoding == TextEncoding::Utf8);
        EXPECT_EQ(1, CurrentProfile);
    }
    // "[KeyName]\r\nA=決\r\n" in UTF-16LE with its mark.
    const std::string utf16("\xFF\xFE[\0K\0e\0y\0N\0a\0m\0e\0]\0\r\0\n\0A\0=\0\x7A\x6C\r\0\n\0",
                            34);
    TheSystem().PutFile(kIniPath, utf16);
    ReadToolSettings();
    EXPECT_STREQ("決", ButtonLabels[0]);
    EXPECT_TRUE(ButtonLabelEncoding == TextEncoding::Utf8);
    // ASCII alone reads alike either way: the tool's own form.
    TheSystem().PutFile(kIniPath, "[KeyName]\nA=Jump\n");
    ReadToolSettings();
    EXPECT_TRUE(ButtonLabelEncoding == TextEncoding::ShiftJis);
}

TEST_F(SettingsTest, FirstCloseCreatesOnlyTheConfigSection) {
    ReadToolSettings();
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_EQ("[Config]\r\nRpgType=CEDAR\r\n", TheSystem().FileText(kIniPath));
}

// The one write changes the edition's value and nothing else: the labels'
// bytes, their encoding, comments and layout stay as the player saved them.
TEST_F(SettingsTest, WritingTheEditionKeepsEveryOtherByte) {
    const std::string sjis = std::string("; mine\r\n[KeyName]\r\nA=") + kHyojiSjis +
                             "\r\n[Config]\r\nRpgType = MAPLE ; x\r\nLanguage=en\r\n";
    TheSystem().PutFile(kIniPath, sjis);
    CurrentProfile = 1;
    WriteToolSettings();
    EXPECT_EQ(std::string("; mine\r\n[KeyName]\r\nA=") + kHyojiSjis +
                  "\r\n[Config]\r\nRpgType = CEDAR\r\nLanguage=en\r\n",
              TheSystem().FileText(kIniPath));

    const std::string utf8 = "\xEF\xBB\xBF[KeyName]\nA=決定\n\n[Other]\nk=v";
    TheSystem().PutFile(kIniPath, utf8);
    WriteToolSettings();
    EXPECT_EQ(utf8 + "\n\n[Config]\nRpgType=CEDAR\n", TheSystem().FileText(kIniPath));

    const std::string utf16("\xFF\xFE[\0C\0o\0n\0f\0i\0g\0]\0\r\0\n\0A\0=\0\x7A\x6C", 28);
    TheSystem().PutFile(kIniPath, utf16);
    WriteToolSettings();
    EXPECT_EQ(utf16 + std::string("\r\0\n\0R\0p\0g\0T\0y\0p\0e\0=\0C\0E\0D\0A\0R\0\r\0\n\0", 34),
              TheSystem().FileText(kIniPath));

    // A file that is there but cannot be read is never overwritten.
    TheSystem().readFails = true;
    CurrentProfile = 0;
    WriteToolSettings();
    EXPECT_EQ(utf16.size() + 34, TheSystem().FileText(kIniPath).size());
}

TEST(SettingsTextTest, KeysGoIntoTheirSectionWhereverItIs) {
    EXPECT_EQ("[Config]\nRpgType=CEDAR\n\n[KeyName]\nA=x\n",
              Edited("[Config]\n\n[KeyName]\nA=x\n", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("[Config]\r\nA=1\r\nRpgType=CEDAR\r\n",
              Edited("[Config]\r\nA=1", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("[config]\r\nrpgtype=CEDAR\r\n",
              Edited("[config]\r\nrpgtype=\r\n", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("x\r\n\r\n[Config]\r\nRpgType=MAPLE\r\n", Edited("x", "Config", "RpgType", "MAPLE"));
}

TEST_F(SettingsTest, LanguageFollowsTheSettingElseTheUsersLanguage) {
    TheSystem().uiLanguage = 0x0409;
    ChooseTextLanguage();
    EXPECT_EQ(0x0409, TextLanguage);
    TheSystem().PutFile(kIniPath, "[Config]\r\nLanguage=zh-Hant\r\n");
    ChooseTextLanguage();
    EXPECT_EQ(0x0404, TextLanguage);
    for (const std::string& call : TheSystem().fileCalls) {
        EXPECT_EQ(0u, call.rfind("read ", 0)) << "read only, never written";
    }
}

}  // namespace
