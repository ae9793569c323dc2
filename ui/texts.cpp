#include "ui/texts.h"

const char kTextWindowTitle[] = "Vyne Player 外部キーコンフィグツール";
const char kTextCaptionError[] = "エラー";
const char kTextCaptionNotice[] = "お知らせ";
const char kTextClassInitFailed[] = "ウィンドウの初期化に失敗しました";
const char kTextWindowCreateFailed[] = "ウィンドウの作成に失敗しました";
const char kTextControlCreateFailed[] = "コントロールの作成に失敗しました。";
const char kTextDirectInputFailed[] = "DirectInputの初期化に失敗しました";
const char kTextAskSave[] = "設定を保存しますか？";
const char kTextSaved[] = "設定を保存しました";
const char kTextSaveFailed[] = "設定の保存に失敗しました";
const char kTextCancel[] = "キャンセル";
const char kTextGamepadTab[] = "ゲームパッド";
const char kTextKeyboardTab[] = "キーボード";
const char kTextFontFace[] = "ＭＳ Ｐゴシック";
