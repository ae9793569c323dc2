// The seam through which the portable logic touches windows: control texts,
// radio check marks, focus and message boxes. view_win32.cpp is the shipping
// side; tests link a recording double instead.
#pragma once

#include <cstdint>

#include "ui/platform_refs.h"

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

// How the bytes of a text are to be read: the tool's own texts are
// Shift-JIS; labels from a settings file saved as UTF-8, and controller names,
// are UTF-8.
enum class TextEncoding : std::uint8_t { ShiftJis, Utf8 };

struct TextPart {
    const char* text;
    TextEncoding encoding;
};

namespace view {

// The control's text, from Shift-JIS. The Win32 side converts with code page
// 932 itself and sets it in UTF-16, so it is right on any system code page.
void SetText(WindowRef control, const char* text);
// The control's text, joined from parts each read in its own encoding.
void SetTextParts(WindowRef control, const TextPart* parts, int count);
// BM_SETCHECK with wParam = state (1 checked, 0 unchecked), lParam 0.
void SetButtonCheck(WindowRef button, unsigned state);
// SetFocus.
void Focus(WindowRef control);
// A message box of Shift-JIS text and caption; answers the button pressed.
int ShowMessage(WindowRef owner, const char* text, const char* caption, std::uint32_t type);

}  // namespace view
