// Every text the user sees, in Shift-JIS (texts.cpp is compiled to code page
// 932), so they are reviewed in one place.
#pragma once

extern const char kTextWindowTitle[];          // Vyne Player 外部キーコンフィグツール
extern const char kTextCaptionError[];         // エラー
extern const char kTextCaptionNotice[];        // お知らせ
extern const char kTextClassInitFailed[];      // ウィンドウの初期化に失敗しました
extern const char kTextWindowCreateFailed[];   // ウィンドウの作成に失敗しました
extern const char kTextControlCreateFailed[];  // コントロールの作成に失敗しました。
extern const char kTextDirectInputFailed[];    // DirectInputの初期化に失敗しました
extern const char kTextAskSave[];              // 設定を保存しますか？
extern const char kTextSaved[];                // 設定を保存しました
extern const char kTextSaveFailed[];           // 設定の保存に失敗しました
extern const char kTextCancel[];               // キャンセル
extern const char kTextGamepadTab[];           // ゲームパッド
extern const char kTextKeyboardTab[];          // キーボード
extern const char kTextFontFace[];             // ＭＳ Ｐゴシック
