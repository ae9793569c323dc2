// The choice of the texts' language. The texts live in res/padloom.rc, one
// string table per language (base/text_id.h names them); the Win32 side loads
// them in UTF-16 in the language chosen here.
#pragma once

#include <cstdint>

// A language of the texts: the name `[Config] Language=` gives for it (and
// an alias), the Windows LANGID of its block in padloom.rc, and the user
// interface languages that choose it: a full LANGID names one region, a
// primary language alone (sublanguage 0) every region of it.
struct LanguageRow {
    const char* name;
    const char* alias;
    std::uint16_t texts;
    std::uint16_t chosenBy[4];
};

extern const LanguageRow Languages[];
extern const int LanguageCount;
// English: where nothing chooses another, and for a text a block lacks.
constexpr std::uint16_t kFallbackLanguage = 0x0409;

// The LANGID of the texts in use: Japanese until the language is chosen at
// start.
extern std::uint16_t TextLanguage;

// The setting (a name or alias of the table, ASCII letters in any case) wins;
// otherwise the user's UI language (a Windows LANGID) picks; else English.
std::uint16_t ChooseLanguage(const char* setting, std::uint16_t uiLanguage);
void UseLanguage(std::uint16_t language);
