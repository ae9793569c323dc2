// Every text the user sees, one table per language, so that they are
// reviewed together and a language is one more table. The Japanese texts are
// Shift-JIS (texts.cpp is compiled to code page 932) and the English ones
// ASCII, which code page 932 reads alike: every text reaches the screen
// through one conversion from code page 932, whatever the system's.
#pragma once

#include <cstdint>

struct TextTable {
    const char* windowTitle;
    const char* captionError;
    const char* captionNotice;
    const char* classInitFailed;
    const char* windowCreateFailed;
    const char* controlCreateFailed;
    const char* directInputFailed;
    const char* askSave;
    const char* saved;
    const char* saveFailed;
    const char* ok;
    const char* cancel;
    const char* gamepadTab;
    const char* keyboardTab;
    const char* deleteHint;
    const char* reset;
    // The controller line of the gamepad page: the name of the controller
    // read follows `controller`; the others are counted by formats in which
    // "%u" stands for the number.
    const char* controller;
    const char* controllersUnused;
    const char* controllersUnopened;
    const char* noController;
};

extern const TextTable JapaneseTexts;
extern const TextTable EnglishTexts;
// The table in use: Japanese until the language is chosen at start.
extern const TextTable* Texts;

// ＭＳ Ｐゴシック, the face of the controls' font, in Shift-JIS.
extern const char kTextFontFace[];

enum class Language { Japanese, English };

// "ja" or "en" (ASCII letters in any case) from the settings file wins;
// otherwise Japanese exactly when the user's UI language (a Windows LANGID)
// is Japanese.
Language ChooseLanguage(const char* setting, std::uint16_t uiLanguage);
void UseLanguage(Language language);
