#include "ui/texts.h"

const TextTable JapaneseTexts = {
    "Vyne Player 外部キーコンフィグツール",
    "エラー",
    "お知らせ",
    "ウィンドウの初期化に失敗しました",
    "ウィンドウの作成に失敗しました",
    "コントロールの作成に失敗しました。",
    "DirectInputの初期化に失敗しました",
    "設定を保存しますか？",
    "設定を保存しました",
    "設定の保存に失敗しました",
    "OK",
    "キャンセル",
    "ゲームパッド",
    "キーボード",
    "※Deleteキーで設定を消せます",
    "リセット(&R)",
    "コントローラー: ",
    "（ほか%u台は未使用）",
    "（%u台は開けません）",
    "コントローラー未接続。つなげばすぐ使えます。",
};

const TextTable EnglishTexts = {
    "Vyne Player Key Config Tool",
    "Error",
    "Notice",
    "Could not set up the window.",
    "Could not create the window.",
    "Could not create the controls.",
    "Could not initialise DirectInput.",
    "Save the settings?",
    "The settings have been saved.",
    "The settings could not be saved.",
    "OK",
    "Cancel",
    "Gamepad",
    "Keyboard",
    "Press Delete to clear a slot.",
    "&Reset",
    "Controller: ",
    " (+%u more, not used)",
    " (%u could not be opened)",
    "No controller connected. Just plug one in.",
};

const TextTable* Texts = &JapaneseTexts;

const char kTextFontFace[] = "ＭＳ Ｐゴシック";

namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr std::uint16_t kLangJapanese = 0x11;

bool IsAsciiWord(const char* text, const char* word) {
    for (; *word != '\0'; ++text, ++word) {
        const char c =
            (*text >= 'A' && *text <= 'Z') ? static_cast<char>(*text - 'A' + 'a') : *text;
        if (c != *word) {
            return false;
        }
    }
    return *text == '\0';
}

}  // namespace

Language ChooseLanguage(const char* setting, std::uint16_t uiLanguage) {
    if (IsAsciiWord(setting, "ja")) {
        return Language::Japanese;
    }
    if (IsAsciiWord(setting, "en")) {
        return Language::English;
    }
    return (uiLanguage & kPrimaryLanguageMask) == kLangJapanese ? Language::Japanese
                                                                : Language::English;
}

void UseLanguage(Language language) {
    Texts = language == Language::Japanese ? &JapaneseTexts : &EnglishTexts;
}
