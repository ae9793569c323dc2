#include "ui/texts.h"

#include <cstring>

#include "base/ascii.h"

// One line per block of padloom.rc. Chinese goes by region, the others by
// language alone.
const LanguageRow Languages[] = {
    {"ja", nullptr, 0x0411, {0x0011}},
    {"en", nullptr, 0x0409, {0x0009}},
    {"zh-Hans", "zh-CN", 0x0804, {0x0804, 0x1004}},          // China, Singapore
    {"zh-Hant", "zh-TW", 0x0404, {0x0404, 0x0C04, 0x1404}},  // Taiwan, Hong Kong, Macao
    {"ko", nullptr, 0x0412, {0x0012}},
    {"es", nullptr, 0x0C0A, {0x000A}},
    {"pt-BR", nullptr, 0x0416, {0x0016}},
    {"ru", nullptr, 0x0419, {0x0019}},
};

const int LanguageCount = sizeof(Languages) / sizeof(Languages[0]);

std::uint16_t TextLanguage = 0x0411;

namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;

bool SameName(const char* setting, const char* name) {
    if (name == nullptr) {
        return false;
    }
    // The setting's end is looked at only when all before it matched.
    const std::size_t length = std::strlen(name);
    return SameAsciiFolded(setting, name, length) && setting[length] == '\0';
}

bool ChosenBy(const LanguageRow& row, std::uint16_t uiLanguage) {
    for (std::uint16_t id : row.chosenBy) {
        const bool primaryOnly = id != 0 && (id & ~kPrimaryLanguageMask) == 0;
        if (id != 0 &&
            (id == uiLanguage || (primaryOnly && id == (uiLanguage & kPrimaryLanguageMask)))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::uint16_t ChooseLanguage(const char* setting, std::uint16_t uiLanguage) {
    for (int i = 0; i < LanguageCount; ++i) {
        const LanguageRow& row = Languages[i];
        if (SameName(setting, row.name) || SameName(setting, row.alias)) {
            return row.texts;
        }
    }
    for (int i = 0; i < LanguageCount; ++i) {
        if (ChosenBy(Languages[i], uiLanguage)) {
            return Languages[i].texts;
        }
    }
    return kFallbackLanguage;
}

void UseLanguage(std::uint16_t language) {
    TextLanguage = language;
}
