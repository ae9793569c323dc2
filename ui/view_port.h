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

namespace view {

// SetWindowTextA.
void SetText(WindowRef control, const char* text);
// BM_SETCHECK with wParam = state (1 checked, 0 unchecked), lParam 0.
void SetButtonCheck(WindowRef button, unsigned state);
// SetFocus.
void Focus(WindowRef control);
// MessageBoxA; answers the button pressed.
int ShowMessage(WindowRef owner, const char* text, const char* caption, std::uint32_t type);

}  // namespace view
