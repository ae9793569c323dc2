// Which block of texts the tool shows: the setting's name wins, else the
// user's UI language (Windows LANGIDs), else English.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/texts.h"

namespace {

constexpr std::uint16_t kJapanese = 0x0411;
constexpr std::uint16_t kEnglish = 0x0409;
constexpr std::uint16_t kSimplified = 0x0804;
constexpr std::uint16_t kTraditional = 0x0404;
constexpr std::uint16_t kKorean = 0x0412;
constexpr std::uint16_t kSpanish = 0x0C0A;
constexpr std::uint16_t kBrazilian = 0x0416;
constexpr std::uint16_t kRussian = 0x0419;

TEST(LanguageChoice, UserInterfaceLanguagePicksByLanguageAndChineseByRegion) {
    const struct {
        std::uint16_t ui;
        std::uint16_t texts;
    } cases[] = {
        {0x0411, kJapanese},    {0x0409, kEnglish},     {0x0809, kEnglish},
        {0x0804, kSimplified},  {0x1004, kSimplified},  {0x0404, kTraditional},
        {0x0C04, kTraditional}, {0x1404, kTraditional}, {0x0412, kKorean},
        {0x0C0A, kSpanish},     {0x040A, kSpanish},     {0x080A, kSpanish},
        {0x2C0A, kSpanish},     {0x0416, kBrazilian},   {0x0816, kBrazilian},
        {0x0419, kRussian},     {0x040C, kEnglish},     {0x0407, kEnglish},
        {0x0422, kEnglish},     {0x0000, kEnglish},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseLanguage("", c.ui), c.texts) << std::hex << c.ui;
    }
}

TEST(LanguageChoice, SettingOverridesInAnyCaseAndAnUnknownOneIsIgnored) {
    const struct {
        const char* setting;
        std::uint16_t texts;
    } cases[] = {
        {"ja", kJapanese},
        {"EN", kEnglish},
        {"zh-Hans", kSimplified},
        {"zh-cn", kSimplified},
        {"ZH-HANT", kTraditional},
        {"zh-TW", kTraditional},
        {"Ko", kKorean},
        {"es", kSpanish},
        {"pt-br", kBrazilian},
        {"ru", kRussian},
        // Ignored: the UI language (Korean here) decides.
        {"fr", kKorean},
        {"pt", kKorean},
        {"zh", kKorean},
        {"zh-Han", kKorean},
        {"jap", kKorean},
        {"", kKorean},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseLanguage(c.setting, 0x0412), c.texts) << c.setting;
    }
}

}  // namespace
