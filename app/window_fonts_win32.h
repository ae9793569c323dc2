// A font face chosen once, in a face that shows its texts, and made at any
// DPI from then on with no new look-up: the main window's controls' font and
// the pages' font each have one.
#pragma once

#include <windows.h>

#include "ui/control_font_win32.h"

struct FontChoice {
    LOGFONTW face;  // its height is set for each DPI
    // The height at a DPI: size * dpi / per (12 pixels at 96 DPI, or the
    // template's points at 72).
    int size;
    int per;
};

// `wanted`'s face where it has a glyph for every character of `texts`, else
// one that has them (`firstChoice` tried first; see ControlFont). The font
// found, at `dpi`, is held by `font`.
FontChoice ChooseFont(const LOGFONTW& wanted, int size, int per, int dpi, const wchar_t* texts,
                      const wchar_t* firstChoice, ControlFont& font);
// The chosen face at a DPI, held by `font` (the one it held is deleted).
void MakeFontAt(const FontChoice& choice, int dpi, ControlFont& font);
// The height of a font's characters and their leading, as controls lay
// out their text lines.
int FontLineHeight(HFONT font);
