// The texts reach the narrow Win32 functions as code page 932 bytes; a wrong
// source or execution character set shows up here, not as mojibake on screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ui/texts.h"

namespace {

std::string Hex(const char* text) {
    std::string hex;
    for (std::size_t i = 0; i < std::strlen(text); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof(byte), i == 0 ? "%02X" : " %02X",
                      static_cast<unsigned char>(text[i]));
        hex += byte;
    }
    return hex;
}

struct ExpectedText {
    const char* name;
    const char* text;
    const char* cp932;
};

const ExpectedText kExpected[] = {
    {"font face", kTextFontFace, "82 6C 82 72 20 82 6F 83 53 83 56 83 62 83 4E"},
    {"window title", JapaneseTexts.windowTitle,
     "56 79 6E 65 20 50 6C 61 79 65 72 20 8A 4F 95 94 83 4C 81 5B 83 52 83 93 83 74 83 42 83 4F "
     "83 63 81 5B 83 8B"},
    {"error caption", JapaneseTexts.captionError, "83 47 83 89 81 5B"},
    {"notice caption", JapaneseTexts.captionNotice, "82 A8 92 6D 82 E7 82 B9"},
    {"class registration failed", JapaneseTexts.classInitFailed,
     "83 45 83 42 83 93 83 68 83 45 82 CC 8F 89 8A FA 89 BB 82 C9 8E B8 94 73 82 B5 82 DC 82 B5 "
     "82 BD"},
    {"window creation failed", JapaneseTexts.windowCreateFailed,
     "83 45 83 42 83 93 83 68 83 45 82 CC 8D EC 90 AC 82 C9 8E B8 94 73 82 B5 82 DC 82 B5 82 BD"},
    {"control creation failed", JapaneseTexts.controlCreateFailed,
     "83 52 83 93 83 67 83 8D 81 5B 83 8B 82 CC 8D EC 90 AC 82 C9 8E B8 94 73 82 B5 82 DC 82 B5 "
     "82 BD 81 42"},
    {"DirectInput failed", JapaneseTexts.directInputFailed,
     "44 69 72 65 63 74 49 6E 70 75 74 82 CC 8F 89 8A FA 89 BB 82 C9 8E B8 94 73 82 B5 82 DC 82 "
     "B5 82 BD"},
    {"save question", JapaneseTexts.askSave,
     "90 DD 92 E8 82 F0 95 DB 91 B6 82 B5 82 DC 82 B7 82 A9 81 48"},
    {"saved", JapaneseTexts.saved, "90 DD 92 E8 82 F0 95 DB 91 B6 82 B5 82 DC 82 B5 82 BD"},
    {"save failed", JapaneseTexts.saveFailed,
     "90 DD 92 E8 82 CC 95 DB 91 B6 82 C9 8E B8 94 73 82 B5 82 DC 82 B5 82 BD"},
    {"Cancel button", JapaneseTexts.cancel, "83 4C 83 83 83 93 83 5A 83 8B"},
    {"gamepad tab", JapaneseTexts.gamepadTab, "83 51 81 5B 83 80 83 70 83 62 83 68"},
    {"keyboard tab", JapaneseTexts.keyboardTab, "83 4C 81 5B 83 7B 81 5B 83 68"},
};

TEST(Texts, AreCodePage932Bytes) {
    for (const ExpectedText& expected : kExpected) {
        EXPECT_EQ(Hex(expected.text), expected.cp932) << expected.name;
    }
}

// Every text is converted with code page 932, which reads ASCII alike: the
// English table must hold nothing else, and no text of either may be missing.
TEST(Texts, EveryLanguageHasEveryTextAndEnglishIsAscii) {
    constexpr std::size_t kCount = sizeof(TextTable) / sizeof(const char*);
    const auto* english = reinterpret_cast<const char* const*>(&EnglishTexts);
    const auto* japanese = reinterpret_cast<const char* const*>(&JapaneseTexts);
    for (std::size_t i = 0; i < kCount; ++i) {
        ASSERT_NE(nullptr, japanese[i]) << i;
        ASSERT_NE(nullptr, english[i]) << i;
        EXPECT_NE('\0', english[i][0]) << i;
        for (const char* c = english[i]; *c != '\0'; ++c) {
            EXPECT_LT(static_cast<unsigned char>(*c), 0x80) << english[i];
        }
    }
}

}  // namespace
