// Path rules, the executable's directory and the settings file, over the
// in-memory module path and files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "doubles/system_double.h"
#include "doubles/view_double.h"
#include "store/executable_directory.h"
#include "store/runtime_profiles.h"
#include "store/settings_path.h"
#include "store/settings_edit.h"
#include "store/settings_form.h"
#include "store/system_port.h"
#include "store/tool_settings.h"

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

// UTF-16 bytes of the text, little- or big-endian; char16_t values give
// surrogates with or without their partners.
std::string Utf16(const std::u16string& text, bool bigEndian = false) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Edited(const std::string& text, const char* section, const char* key,
                   const char* value) {
    TextBuffer out;
    EXPECT_TRUE(EditSettings(text.data(), text.size(), section, key, value, out));
    return std::string(out.c_str(), out.Size());
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheSystem().Reset();
        TheView().Reset();
        ExecutableDirectory().Clear();
        read_ = StartSettings();
        CurrentProfile = -1;
    }
    void TearDown() override {
        ExecutableDirectory().Clear();
        CurrentProfile = -1;
    }

    StartSettings read_;
    char pastRead_[kLabelCapacity] = {};  // what a value written past read_ would reach
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

TEST(SettingsPathTest, LongPathsTakeTheLongFormWhereItApplies) {
    const std::string d(250, 'd');
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\" + d.substr(5), "\\\\?\\C:\\" + d.substr(5)},  // 248 bytes
        {"C:/" + d + "/x", "\\\\?\\C:\\" + d + "\\x"},
        {"\\\\server/" + d, "\\\\?\\UNC\\server\\" + d},
    };
    for (const auto& c : cases) {
        TextBuffer out;
        EXPECT_TRUE(LongFormPath(c.first.c_str(), out));
        EXPECT_EQ(c.second, out.c_str());
    }
    for (const std::string& kept : {"C:\\" + d.substr(6), "\\\\?\\C:\\" + d, "\\\\.\\" + d,
                                    "\\\\?" + d, "d:" + d, "d\\" + d, "\\" + d, std::string()}) {
        TextBuffer out;
        EXPECT_TRUE(LongFormPath(kept.c_str(), out));
        EXPECT_EQ(kept, out.c_str());
    }
}

TEST_F(SettingsTest, ExecutableDirectoryIsFoundOnceAndEnteredOnlyWhenAsked) {
    TheSystem().modulePath = "C:\\Games\\表.exe";
    EXPECT_STREQ("C:\\Games", GetExecutableDirectory());
    TheSystem().modulePath = "D:\\Other\\x.exe";
    TheSystem().currentDirectory = "D:\\";
    EXPECT_STREQ("C:\\Games", GetExecutableDirectory());
    EXPECT_EQ(1u, TheSystem().moduleCapacities.size());
    EXPECT_EQ(512u, TheSystem().moduleCapacities[0]);
    EXPECT_TRUE(TheSystem().directoryCalls.empty()) << "the look-up changed the directory";

    EXPECT_TRUE(EnterExecutableDirectory());
    EXPECT_EQ("C:\\Games", TheSystem().currentDirectory);
    TheSystem().setDirFails = true;
    EXPECT_FALSE(EnterExecutableDirectory());
}

TEST_F(SettingsTest, ExecutableAtTheDriveRootGivesTheDriveLetter) {
    TheSystem().modulePath = "C:\\Tool.exe";
    EXPECT_EQ("C:\\Padloom.ini", Resolved(SettingsFileName, false));
    EXPECT_STREQ("C:", ExecutableDirectory().c_str());
}

TEST_F(SettingsTest, ModulePathLongerThanTheFirstBufferIsReadWhole) {
    // 70,000 bytes: 23,334 kanji, as long as a Windows path can be.
    for (std::size_t directoryLength : {510u, 511u, 600u, 2000u, 70000u}) {
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
    // A path that never fits is none.
    SetUp();
    TheSystem().modulePath = "C:\\" + std::string(1 << 18, 'd') + "\\Tool.exe";
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

    // What one object writes, it reads back.
    ToolSettings settings(SettingsFileName, false);
    settings.ReadString("Config", "RpgType", buffer, sizeof(buffer), "MAPLE");
    settings.WriteString("Config", "RpgType", "CEDAR");
    settings.ReadString("Config", "RpgType", buffer, sizeof(buffer), "MAPLE");
    EXPECT_STREQ("CEDAR", buffer);
}

TEST_F(SettingsTest, NoFileGivesDefaultLabelsAndTheFirstEdition) {
    ReadToolSettings(read_);
    const char* const letters[] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};
    for (int i = 0; i < kButtonLabelCount; ++i) {
        EXPECT_STREQ(letters[i], read_.labels[i]);
    }
    EXPECT_EQ(0, read_.profile);
    const std::string ini = kIniPath;
    EXPECT_EQ((std::vector<std::string>{"locate " + ini, "remove " + ini + ".new~", "read " + ini,
                                        "rename " + ini + ".old~ " + ini, "read " + ini + ".old~"}),
              TheSystem().fileCalls);
    EXPECT_TRUE(TheSystem().directoryCalls.empty());
}

TEST_F(SettingsTest, LabelsAndEditionComeFromTheFile) {
    TheSystem().PutFile(kIniPath,
                        std::string("[KeyName]\r\na=\r\nB=") + kButtonSjis + "\r\nC=" + kHyojiSjis +
                            "\r\nX=" + std::string(600, 'x') +
                            "\r\nz=  \r\nl=\"\"\r\nr=\"\r\n [keyname] \r\nY=not this one\r\n"
                            "[Other]\r\nRpgType=MAPLE\r\n"
                            "[ Config ]\r\nRpgTypo=MAPLE\r\n \trpgtype\t=\t'CEDAR'\t\r\n"
                            "Language=zh-Hant, as long as it likes\r\n");
    ReadToolSettings(read_);
    EXPECT_STREQ("", read_.labels[0]) << "an empty value is a label, not a missing key";
    EXPECT_STREQ(kButtonSjis, read_.labels[1]);
    EXPECT_STREQ(kHyojiSjis, read_.labels[2]);
    EXPECT_EQ(std::string(511, 'x'), read_.labels[3]);
    EXPECT_STREQ("Y", read_.labels[4]) << "only the first section of a name counts";
    EXPECT_STREQ("", read_.labels[5]) << "blanks alone";
    EXPECT_STREQ("", read_.labels[6]) << "one pair of quotes is taken off";
    EXPECT_STREQ("\"", read_.labels[7]);
    EXPECT_TRUE(read_.labelEncoding == TextEncoding::ShiftJis);
    EXPECT_EQ(1, read_.profile) << "tabs are blanks, single quotes are quotes";
    EXPECT_STREQ("zh-Hant, as lon", read_.language) << "cut to its buffer";
    EXPECT_EQ(std::string(sizeof(pastRead_), '\0'), std::string(pastRead_, sizeof(pastRead_)));

    for (const char* other : {"cedar", "VX", "", "MAPLE\n[Config]\nRpgType=CEDAR"}) {
        TheSystem().PutFile(kIniPath, std::string("[Config]\nRpgType=") + other + "\n");
        ReadToolSettings(read_);
        EXPECT_EQ(0, read_.profile) << other;
    }
}

// Notepad saves UTF-8 (with or without a byte-order mark) or UTF-16.
TEST_F(SettingsTest, LabelsSavedAsUtf8OrUtf16AreReadAsUtf8) {
    const std::string utf8 = "[KeyName]\nA=決定\nB=Café\n[Config]\nRpgType=CEDAR\n";
    for (const std::string& file : {utf8, "\xEF\xBB\xBF" + utf8}) {
        TheSystem().PutFile(kIniPath, file);
        ReadToolSettings(read_);
        EXPECT_STREQ("決定", read_.labels[0]);
        EXPECT_STREQ("Café", read_.labels[1]);
        EXPECT_TRUE(read_.labelEncoding == TextEncoding::Utf8);
        EXPECT_EQ(1, read_.profile);
    }
    // "[KeyName]\r\nA=決\r\n" in UTF-16LE with its mark.
    const std::string utf16("\xFF\xFE[\0K\0e\0y\0N\0a\0m\0e\0]\0\r\0\n\0A\0=\0\x7A\x6C\r\0\n\0",
                            34);
    TheSystem().PutFile(kIniPath, utf16);
    ReadToolSettings(read_);
    EXPECT_STREQ("決", read_.labels[0]);
    EXPECT_TRUE(read_.labelEncoding == TextEncoding::Utf8);
    // 𠮷 is a surrogate pair; a surrogate without its partner shows as U+FFFD.
    // Big-endian, or without a mark, the labels are read all the same.
    // X holds the edges of each UTF-8 length and of the surrogates.
    const std::u16string high(1, 0xD800);
    const std::u16string edges =
        u"\u007F\u0080\u07FF\u0800\uD7FF" + std::u16string{0xDC00, 0xDFFF} +
        u"\uE000\uFFFF\U00010000\U0010FFFF" + high + std::u16string(1, 0xDBFF) + high + u"\uE000";
    const std::u16string pairs = u"[KeyName]\r\nB=x" + std::u16string(1, 0xDC00) + u"\r\nC=" +
                                 high + u"\r\nX=" + edges + u"\r\nA=\U00020BB7";
    for (const std::string& file : {Utf16(u"\uFEFF" + pairs), Utf16(u"\uFEFF" + pairs, true),
                                    Utf16(pairs), Utf16(pairs, true)}) {
        TheSystem().PutFile(kIniPath, file);
        ReadToolSettings(read_);
        EXPECT_STREQ("\xF0\xA0\xAE\xB7", read_.labels[0]);
        EXPECT_STREQ("x\xEF\xBF\xBD", read_.labels[1]);
        EXPECT_STREQ("\xEF\xBF\xBD", read_.labels[2]);
        EXPECT_STREQ(
            "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBD\xEF\xBF\xBD"
            "\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xEF\xBF\xBD"
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEE\x80\x80",
            read_.labels[3]);
        EXPECT_TRUE(read_.labelEncoding == TextEncoding::Utf8);
    }
    // ASCII alone reads alike either way: the tool's own form.
    TheSystem().PutFile(kIniPath, "[KeyName]\nA=Jump\n");
    ReadToolSettings(read_);
    EXPECT_TRUE(read_.labelEncoding == TextEncoding::ShiftJis);
}

// Shift-JIS forms valid UTF-8 of two bytes easily (ﾃｽ is C3 BD, ﾃｽﾄ１ is
// C3 BD C4 82 50); Japanese UTF-8 holds characters of three or four bytes,
// Cyrillic bytes that Shift-JIS cannot hold.
TEST(SettingsTextTest, Utf8OnlyWithAMarkOrACharacterOfThreeBytesOrMore) {
    auto formOf = [](const std::string& bytes) {
        SettingsForm form = SettingsForm::Utf16;
        TextBuffer text;
        EXPECT_TRUE(DecodeSettings(bytes.data(), bytes.size(), &form, text));
        EXPECT_EQ(bytes, std::string(text.c_str(), text.Size()));
        return form;
    };
    for (const char* sjis : {"A=\xC3\xBD\r\n", "A=\xC3\xBD\xC4\x82\x50\r\n", "A=Café\r\n",
                             "A=\xC3\x89@", "A=\xC3\x89~"}) {
        EXPECT_TRUE(formOf(sjis) == SettingsForm::ShiftJis) << sjis;
    }
    EXPECT_TRUE(formOf("\xEF\xBB\xBF"
                       "A=Café\r\n") == SettingsForm::Utf8);
    EXPECT_TRUE(formOf("A=\xE2\x97\x8B\r\n") == SettingsForm::Utf8);  // ○
    EXPECT_TRUE(formOf("A=\xF0\xA0\xAE\xB7\r\n") == SettingsForm::Utf8);
    // Two-byte UTF-8 that Shift-JIS cannot be: a byte it never writes, a lead
    // byte with no trail or a trail below 0x40.
    for (const char* utf8 : {"A=Прыжок\r\n", "A=Sauté à\r\n", "A=\xC3\x89", "A=\xC3\x89\r\n",
                             "A=\xC3\x89?", "A=\xC3\x89\x7F"}) {
        EXPECT_TRUE(formOf(utf8) == SettingsForm::Utf8) << utf8;
    }
    // UTF-8 throughout: the edges of each length, after a kanji.
    for (const char* edge :
         {"\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
          "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF1\x80\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(formOf(std::string("A=決") + edge) == SettingsForm::Utf8) << edge;
    }
    // Not UTF-8: overlong, a surrogate, beyond U+10FFFF, no lead, a broken or
    // cut sequence.
    for (const char* broken :
         {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF0\x8F\xBF\xBF",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x81\x80\x80\x80",
          "\xE6"
          "A"}) {
        EXPECT_TRUE(formOf(std::string(broken) + "決") == SettingsForm::ShiftJis) << broken;
    }
    for (const char* cut : {"決\xE6", "決\xE6\xB1"}) {
        EXPECT_TRUE(formOf(cut) == SettingsForm::ShiftJis) << cut;
    }
}

// 511 bytes at most, and never half a character.
TEST_F(SettingsTest, LongLabelsAreCutAfterTheirLastWholeCharacter) {
    std::string sjis;
    std::string utf8;
    std::u16string pairs;
    for (int i = 0; i < 300; ++i) {
        sjis += kHyojiSjis;
        utf8 += "決";
        pairs += u"\U00020BB7";
    }
    const std::string label(511, 'x');
    TheSystem().PutFile(kIniPath, "[KeyName]\nA=" + sjis + "\nB=x" + sjis + "\nC=x" + label +
                                      "\nX=\xC3\xBD" + label + "\n");
    ReadToolSettings(read_);
    EXPECT_EQ(sjis.substr(0, 510), read_.labels[0]);
    EXPECT_EQ("x" + sjis.substr(0, 510), read_.labels[1]);
    EXPECT_EQ("x" + label.substr(1), read_.labels[2]);
    EXPECT_EQ("\xC3\xBD" + label.substr(2), read_.labels[3]) << "half-width katakana";

    // Lead bytes at their edges, each before a byte that could lead too;
    // the bytes beside those ranges stand alone.
    const char* const keys[] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};
    const unsigned char bytes[] = {0x81, 0x9F, 0xE0, 0xFC, 0x80, 0xA0, 0xDF, 0xFD};
    std::string file = "[KeyName]\n";
    for (int i = 0; i < 8; ++i) {
        const char lead = static_cast<char>(bytes[i]);
        const std::string pair{lead, i < 4 ? '\x9F' : lead};
        file += std::string(keys[i]) + "=";
        for (int k = 0; k < 300; ++k) {
            file += pair;
        }
        file += "\n";
    }
    TheSystem().PutFile(kIniPath, file);
    ReadToolSettings(read_);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(i < 4 ? 510u : 511u, std::strlen(read_.labels[i])) << keys[i];
    }

    // With its mark, a file is UTF-8 even where a byte is not.
    TheSystem().PutFile(kIniPath, "\xEF\xBB\xBF[KeyName]\nA=" + utf8 + "\nB=xx" + utf8 +
                                      "\nC=" + label.substr(1) + "\xE6xx\n");
    ReadToolSettings(read_);
    EXPECT_EQ(utf8.substr(0, 510), read_.labels[0]);
    EXPECT_EQ("xx" + utf8.substr(0, 507), read_.labels[1]);
    EXPECT_EQ(label.substr(1) + "\xE6", read_.labels[2]) << "a stray byte is a character";

    TheSystem().PutFile(kIniPath, Utf16(u"\uFEFF[KeyName]\nA=" + pairs + u"\nB=xxx" + pairs));
    ReadToolSettings(read_);
    const std::string wide(read_.labels[0]);
    EXPECT_EQ(508u, wide.size());
    EXPECT_EQ(wide, std::string(read_.labels[1]).substr(3));
}

TEST_F(SettingsTest, FirstCloseCreatesOnlyTheConfigSection) {
    for (int unread : {-1, kRuntimeProfileCount}) {
        CurrentProfile = unread;
        WriteToolSettings();
        EXPECT_FALSE(TheSystem().HasFile(kIniPath)) << unread;
    }
    ReadToolSettings(read_);
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

    // Only the value's units change: a surrogate pair, a lone surrogate and
    // an odd last byte stay as they were, even after the inserted key.
    const std::u16string labels = u"\uFEFF[KeyName]\r\nA=\U00020BB7" + std::u16string(1, 0xD800) +
                                  u"\r\n[Config]\r\nRpgType=";
    TheSystem().PutFile(kIniPath, Utf16(labels + u"MAPLE\r\nB=" + std::u16string(1, 0xDC00)) + "!");
    WriteToolSettings();
    EXPECT_EQ(Utf16(labels + u"CEDAR\r\nB=" + std::u16string(1, 0xDC00)) + "!",
              TheSystem().FileText(kIniPath));
    const std::u16string high(1, 0xD800);
    TheSystem().PutFile(kIniPath, Utf16(u"\uFEFFA=\U00020BB7" + high));
    WriteToolSettings();
    EXPECT_EQ(Utf16(u"\uFEFFA=\U00020BB7" + high + u"\r\n\r\n[Config]\r\nRpgType=CEDAR\r\n"),
              TheSystem().FileText(kIniPath));

    // A file of its mark alone keeps the mark first.
    for (const std::string& mark : {std::string("\xEF\xBB\xBF"), std::string("\xFF\xFE")}) {
        TheSystem().PutFile(kIniPath, mark);
        WriteToolSettings();
        const std::string config = "[Config]\r\nRpgType=CEDAR\r\n";
        EXPECT_EQ(mark + (mark.size() == 3 ? config : Utf16(u"[Config]\r\nRpgType=CEDAR\r\n")),
                  TheSystem().FileText(kIniPath));
    }

    // Big-endian, or without a mark, the form is a guess: never written.
    for (const std::string& unsure :
         {Utf16(u"\uFEFF[Config]\r\nRpgType=MAPLE\r\n", true),
          Utf16(u"[Config]\r\nRpgType=MAPLE\r\n"), Utf16(u"[Config]\r\nRpgType=MAPLE\r\n", true),
          Utf16(u"\uFEFF", true), Utf16(u"[")}) {
        TheSystem().PutFile(kIniPath, unsure);
        WriteToolSettings();
        EXPECT_EQ(unsure, TheSystem().FileText(kIniPath));
    }

    // A file that is there but cannot be read is never overwritten.
    TheSystem().PutFile(kIniPath, sjis);
    TheSystem().readFails = true;
    WriteToolSettings();
    EXPECT_EQ(sjis, TheSystem().FileText(kIniPath));
}

// The replacement keeps what the file is: its attributes, the link it is
// reached through, its other hard-linked names, and (but for the plain move
// that follows where ReplaceFileW fails) its security. A failure at any step
// leaves the old bytes under the file's name and no file of the tool's
// beside it.
TEST_F(SettingsTest, TheFileIsReplacedAsTheSystemWouldOrLeftAsItWas) {
    const std::string before = "[Config]\r\nRpgType=MAPLE\r\n";
    const std::string after = "[Config]\r\nRpgType=CEDAR\r\n";
    const std::string real = "D:\\Real\\Padloom.ini";
    const std::string other = "D:\\Real\\Same.ini";
    struct Case {
        const char* name;
        void (*script)(SystemDouble& s);
        bool written;
        bool secured = true;
    };
    const Case cases[] = {
        {"replaced", [](SystemDouble&) {}, true},
        {"not replaced, moved over", [](SystemDouble& s) { s.replaceError = 1176; }, true, false},
        {"neither replaced nor moved",
         [](SystemDouble& s) {
             s.replaceError = 5;
             s.moveFailures = 1;
         },
         false},
        {"old file set aside, new moved in", [](SystemDouble& s) { s.replaceError = 1177; }, true},
        {"old file set aside and put back",
         [](SystemDouble& s) {
             s.replaceError = 1177;
             s.moveFailures = 1;
         },
         false},
        {"no new file, overwritten", [](SystemDouble& s) { s.writeFails = true; }, true},
        {"no new file, overwrite cut short",
         [](SystemDouble& s) {
             s.writeFails = true;
             s.overwriteFailures = 1;
         },
         false},
        {"nothing writable",
         [](SystemDouble& s) {
             s.writeFails = true;
             s.overwriteRefused = true;
         },
         false},
        {"not looked at", [](SystemDouble& s) { s.inspectFails = true; }, false},
        {"read-only", [](SystemDouble& s) { s.attributes["D:\\Real\\Padloom.ini"] = 0x23; }, false},
        {"hard link",
         [](SystemDouble& s) { s.hardLinks["D:\\Real\\Same.ini"] = "D:\\Real\\Padloom.ini"; },
         true},
        {"hard link, failed",
         [](SystemDouble& s) {
             s.hardLinks["D:\\Real\\Same.ini"] = "D:\\Real\\Padloom.ini";
             s.overwriteFailures = 1;
         },
         false},
    };
    for (const Case& c : cases) {
        SetUp();
        SystemDouble& s = TheSystem();
        s.symlinks[kIniPath] = real;
        s.PutFile(real, before);
        s.PutFile(other, "other");
        s.attributes[real] = 0x22;  // hidden, archive
        s.descriptors[real] = "mine";
        c.script(s);
        const std::uint32_t attributes = s.attributes[real];
        const bool linked = !s.hardLinks.empty();
        if (linked) {
            s.PutFile(other, before);
        }
        CurrentProfile = 1;
        WriteToolSettings();

        const std::string expected = c.written ? after : before;
        const std::map<std::string, std::string> files = {{real, expected},
                                                          {other, linked ? expected : "other"}};
        EXPECT_EQ(files, s.files) << c.name;
        EXPECT_EQ(attributes, s.attributes[real]) << c.name;
        EXPECT_EQ(c.secured ? "mine" : "", s.descriptors[real]) << c.name;
        EXPECT_EQ(real, s.Resolve(kIniPath)) << c.name;
    }

    // A missing file is created; ReplaceFileW needs one to replace.
    SetUp();
    CurrentProfile = 0;
    WriteToolSettings();
    EXPECT_EQ((std::map<std::string, std::string>{{kIniPath, before}}), TheSystem().files);

    // Bytes that would not change are not written at all, quotes kept or
    // not: every file stays as it was, but for a leftover new file.
    const std::string ini = kIniPath;
    for (const std::string& same :
         {"[config]\n rpgtype = MAPLE \n" + after, Utf16(u"\uFEFF[Config]\r\nRpgType=MAPLE"),
          std::string("[Config]\r\nRpgType=\"MAPLE\"\r\n"),
          std::string("RpgType='x'\n[Config]\nRpgType='MAPLE'")}) {
        SetUp();
        SystemDouble& s = TheSystem();
        s.PutFile(kIniPath, same);
        s.PutFile(ini + ".old~", before);
        const std::map<std::string, std::string> files = s.files;
        s.PutFile(ini + ".new~", "[Con");
        CurrentProfile = 0;
        WriteToolSettings();
        EXPECT_EQ(files, s.files) << same;
        for (const std::string& call : s.fileCalls) {
            EXPECT_TRUE(call.rfind("read ", 0) == 0 || call.rfind("locate ", 0) == 0 ||
                        call == "remove " + ini + ".new~")
                << call;
        }
    }
}

// Where no new file can be made beside it, the file is written where it is,
// so that a crash after any write leaves it readable: an edition's name for
// another in one write of the letters that differ, a text of another length
// whole in one write before its end is set. Each state read back keeps the
// labels.
TEST_F(SettingsTest, AnOverwriteInPlaceLeavesAReadableFileAfterEachWrite) {
    const std::string ini = kIniPath;
    const std::string labels = "[KeyName]\r\nA=Jump\r\nB=Run\r\n";
    const std::string cedar = "[Config]\r\nRpgType=CEDAR\r\n";
    struct Case {
        std::string before;
        std::string after;
        std::string call;
        std::vector<std::string> states;
    };
    const Case cases[] = {
        {labels + "[Config]\r\nRpgType=MAPLE\r\n",
         labels + cedar,
         "overwrite " + ini + " 44 5",
         {labels + cedar}},
        {"[Config]\r\nRpgType=MAPLE 2\r\n" + labels,
         cedar + labels,
         "overwrite " + ini + " 0 51 end",
         {cedar + labels + "\r\n", cedar + labels}},
    };
    for (const Case& c : cases) {
        SetUp();
        SystemDouble& s = TheSystem();
        s.PutFile(kIniPath, c.before);
        s.writeFails = true;
        CurrentProfile = 1;
        WriteToolSettings();
        EXPECT_EQ(c.after, s.FileText(kIniPath));
        EXPECT_EQ(1, std::count(s.fileCalls.begin(), s.fileCalls.end(), c.call)) << c.call;
        EXPECT_EQ(c.states, s.inPlace) << c.call;
        for (const std::string& state : c.states) {
            s.PutFile(kIniPath, state);
            ReadToolSettings(read_);
            EXPECT_STREQ("Jump", read_.labels[0]) << state;
            EXPECT_STREQ("Run", read_.labels[1]) << state;
        }
    }
}

// ReplaceFileW can set the old file aside and then neither the new one nor
// the old can take its name (a network share dropping): the backup holds
// the only copy. It is put back, or read, and the labels survive.
TEST_F(SettingsTest, ABackupLeftAsTheOnlyCopyIsPutBackNeverOverwritten) {
    const std::string ini = kIniPath;
    const std::string backup = ini + ".old~";
    const std::string maple = "[KeyName]\r\nA=Jump\r\n[Config]\r\nRpgType=MAPLE\r\n";
    const std::string cedar = "[KeyName]\r\nA=Jump\r\n[Config]\r\nRpgType=CEDAR\r\n";
    using Files = std::map<std::string, std::string>;
    SystemDouble& s = TheSystem();
    s.PutFile(ini, maple);
    s.replaceError = kErrorUnableToMoveReplacement2;
    s.moveFailures = 2;
    CurrentProfile = 1;
    WriteToolSettings();
    ASSERT_EQ((Files{{backup, maple}}), s.files);

    // A leftover new file goes; the backup is put back.
    s.replaceError = 0;
    s.PutFile(ini + ".new~", "[Config]\r\nRpgType=CEDAR\r\n");
    ReadToolSettings(read_);
    EXPECT_STREQ("Jump", read_.labels[0]);
    EXPECT_EQ(0, read_.profile);
    EXPECT_EQ((Files{{ini, maple}}), s.files);

    // Where it cannot be renamed, it is read, and the close makes the file
    // anew from it, though the edition be the same. Once the file is read
    // whole, the backup is an old leftover and goes: deleting the file then
    // gives the default labels.
    for (const int edition : {0, 1}) {
        s.files = {{backup, maple}};
        s.moveFailures = 1;
        ReadToolSettings(read_);
        EXPECT_STREQ("Jump", read_.labels[0]);
        s.moveFailures = 1;
        CurrentProfile = edition;
        WriteToolSettings();
        EXPECT_EQ((Files{{ini, edition == 0 ? maple : cedar}, {backup, maple}}), s.files);
        ReadToolSettings(read_);
        EXPECT_EQ(edition, read_.profile);
        EXPECT_EQ((Files{{ini, edition == 0 ? maple : cedar}}), s.files);
        s.files.clear();
        ReadToolSettings(read_);
        EXPECT_STREQ("A", read_.labels[0]);
    }

    // A backup that cannot be read is not made the file's past.
    s.files = {{backup, maple}};
    s.moveFailures = 1;
    s.readFails = true;
    WriteToolSettings();
    EXPECT_EQ((Files{{backup, maple}}), s.files);
}

// A link is followed to its target, beside which the rewrite sets the old
// file aside and the start looks for it. A link whose target is missing
// stays a link: the file is made where it points, or, where that cannot be,
// the link is left and a message says so.
TEST_F(SettingsTest, ALinkLeadsTheRewriteAndTheRecoveryToItsTarget) {
    const std::string real = "D:\\Real\\Padloom.ini";
    const std::string maple = "[KeyName]\r\nA=Jump\r\n[Config]\r\nRpgType=MAPLE\r\n";
    using Files = std::map<std::string, std::string>;
    SystemDouble& s = TheSystem();
    s.symlinks[kIniPath] = real;
    s.PutFile(real, maple);
    s.replaceError = kErrorUnableToMoveReplacement2;
    s.moveFailures = 2;
    CurrentProfile = 1;
    WriteToolSettings();
    ASSERT_EQ((Files{{real + ".old~", maple}}), s.files);

    s.replaceError = 0;
    ReadToolSettings(read_);
    EXPECT_STREQ("Jump", read_.labels[0]);
    EXPECT_EQ((Files{{real, maple}}), s.files);

    s.files.clear();
    ReadToolSettings(read_);
    EXPECT_STREQ("A", read_.labels[0]) << "a link to a missing file reads as a missing file";
    WriteToolSettings();
    EXPECT_EQ((Files{{real, "[Config]\r\nRpgType=CEDAR\r\n"}}), s.files);
    EXPECT_TRUE(TheView().messages.empty());

    // Its folder gone (a drive unplugged), or where the system does not
    // show where it points, as Wine does not.
    for (const bool hidden : {false, true}) {
        s.files.clear();
        s.goneFolders = {hidden ? "X:" : "D:\\Real"};
        s.linksHidden = hidden;
        TheView().Reset();
        ReadToolSettings(read_);
        EXPECT_STREQ("A", read_.labels[0]);
        WriteToolSettings();
        EXPECT_TRUE(s.files.empty()) << hidden;
        EXPECT_EQ(real, s.symlinks[kIniPath]);
        ASSERT_EQ(1u, TheView().messages.size());
        EXPECT_EQ(IDS_SETTINGS_LINK_BROKEN, TheView().messages[0].text);
        EXPECT_EQ(kMbOk | kMbIconWarning, TheView().messages[0].type);
    }
}

TEST(SettingsTextTest, KeysGoIntoTheirSectionWhereverItIs) {
    EXPECT_EQ("[Config]\nRpgType=CEDAR\n\n[KeyName]\nA=x\n",
              Edited("[Config]\n\n[KeyName]\nA=x\n", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("[Config]\r\nA=1\r\nRpgType=CEDAR\r\n",
              Edited("[Config]\r\nA=1", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("[config]\r\nnot a key\r\nrpgtype=CEDAR\r\n",
              Edited("[config]\r\nnot a key\r\nrpgtype=\r\n", "Config", "RpgType", "CEDAR"));
    // Quotes, as the player wrote them.
    EXPECT_EQ("[Config]\nRpgType = 'CEDAR' \n",
              Edited("[Config]\nRpgType = 'MAPLE' \n", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("x\r\n\r\n[Config]\r\nRpgType=MAPLE\r\n", Edited("x", "Config", "RpgType", "MAPLE"));
    // After the section's last line that is not blank, whatever ends lines.
    EXPECT_EQ("[Config]\r\nA=1\r\nRpgType=CEDAR\r\n[K]\r\n",
              Edited("[Config]\r\nA=1\r\n[K]\r\n", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("[Config]\nA=1\nRpgType=CEDAR\n \n[K]\n",
              Edited("[Config]\nA=1\n \n[K]\n", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("[Config]\rA=1\rRpgType=CEDAR\r\n[K]\r",
              Edited("[Config]\rA=1\r[K]\r", "Config", "RpgType", "CEDAR"));
    EXPECT_EQ("\r\n\r\n[Config]\r\nRpgType=MAPLE\r\n",
              Edited("\r\n", "Config", "RpgType", "MAPLE"));
    EXPECT_EQ("\n\n[Config]\nRpgType=MAPLE\n", Edited("\n", "Config", "RpgType", "MAPLE"));
    // Any value, in the file's own form; each byte that is not UTF-8 (a
    // surrogate's bytes among them) becomes U+FFFD.
    EXPECT_EQ(Utf16(u"\uFEFF[K]\nA=\uFFFDé決\U00010000\U00020BB7\uFFFF\uFFFD\uFFFD\uFFFD\n"),
              Edited(Utf16(u"\uFEFF[K]\nA=x\n"), "K", "A",
                     "\xFF\xC3\xA9決\xF0\x90\x80\x80\xF0\xA0\xAE\xB7\xEF\xBF\xBF\xED\xA0\x80"));
}

}  // namespace
