// The seam through which the portable logic touches windows: control texts,
// radio check marks, focus and message boxes. view_win32.cpp is the shipping
// side; tests link a recording double instead.
#pragma once

#include <cstdint>

#include "base/platform_refs.h"
#include "base/text_encoding.h"
#include "base/text_id.h"

// MessageBoxA types and answers, under their Win32 values.
constexpr std::uint32_t kMbOk = 0x00;
constexpr std::uint32_t kMbYesNoCancel = 0x03;
constexpr std::uint32_t kMbIconQuestion = 0x20;
constexpr std::uint32_t kMbIconWarning = 0x30;
constexpr std::uint32_t kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// The window that owns every message box: the desktop until the main window
// exists, the main window from its creation on.
extern WindowRef MessageBoxOwner;

// One piece of a control's text: a text of the tool's own, in the language in
// use, with `count` for its "%u" and `args` for its "%1", "%2"... (where a
// language puts them); or, where `text` is 0, bytes from outside.
struct TextPart {
    TextId text;
    std::uint32_t count;
    const char* bytes;
    TextEncoding encoding;
    const TextPart* args;
    int argCount;
};

inline TextPart OwnText(TextId text, std::uint32_t count = 0) {
    return {text, count, nullptr, TextEncoding::Utf8, nullptr, 0};
}
inline TextPart OwnTextWith(TextId text, std::uint32_t count, const TextPart* args, int argCount) {
    return {text, count, nullptr, TextEncoding::Utf8, args, argCount};
}
inline TextPart OutsideText(const char* bytes, TextEncoding encoding) {
    return {0, 0, bytes, encoding, nullptr, 0};
}

namespace view {

// The control's text: one of the tool's own texts in the language in use.
void SetText(WindowRef control, TextId text);
// The control's text from UTF-8 (the names of the inputs).
void SetText(WindowRef control, const char* utf8);
// The control's text, joined from parts.
void SetTextParts(WindowRef control, const TextPart* parts, int count);
// The same, where the text must fit in `lines` lines of the control's width
// in its font: beyond that, part `shortened` (none where -1) loses
// characters from its end and ends in an ellipsis. The text is fitted again
// whenever the window's layout gives the control another width or font.
// True where the text before fitting is another than the control had.
bool SetTextPartsWithin(WindowRef control, const TextPart* parts, int count, int shortened,
                        int lines);
// BM_SETCHECK with wParam = state (1 checked, 0 unchecked), lParam 0.
void SetButtonCheck(WindowRef button, unsigned state);
// SetFocus.
void Focus(WindowRef control);
// Tells screen readers that the control's accessible name has changed
// (EVENT_OBJECT_NAMECHANGE for its client object), so that one reading the
// focused control says its new name.
void AnnounceNameChange(WindowRef control);
// A message box of the tool's own text and caption; answers the button pressed.
int ShowMessage(WindowRef owner, TextId text, TextId caption, std::uint32_t type);

}  // namespace view
