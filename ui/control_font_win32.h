// A font held, and chosen to show a text: the main window's controls' and
// the pages' (app/window_fonts_win32.h). Deleted with its holder.
#pragma once

#include <windows.h>

// The description the controls' font is created from, at a DPI.
LOGFONTW ControlFontDescription(int dpi);

// How many characters of text the font has no glyph for.
int MissingGlyphs(HFONT font, const wchar_t* text);

class ControlFont {
  public:
    ControlFont() = default;
    ControlFont(const ControlFont&) = delete;
    ControlFont& operator=(const ControlFont&) = delete;
    ~ControlFont();

    // A font like `wanted` with a glyph for every character of `text`,
    // replacing (and deleting) a font already held: where the font mapper
    // answers `wanted` with a face lacking some (a Western system maps the
    // Japanese face to a CJK-only fallback, a Japanese face has no Hangul),
    // `firstChoice` (a face found before), the system's dialog font, an
    // installed face of the texts' script or a Japanese one (for Shift-JIS
    // labels) is taken instead, whichever shows the text first, else the one
    // missing least. A failure leaves no font, and the controls keep the
    // system font.
    void CreateShowing(LOGFONTW wanted, const wchar_t* text, const wchar_t* firstChoice = nullptr);
    HFONT Handle() const { return font_; }
    // Deletes the font held, which no control may use any more.
    void Release() { Hold(nullptr); }
    // Exchanges the fonts held: a font still set on controls is deleted only
    // once they have been given the other.
    void Swap(ControlFont& other);

  private:
    void Hold(HFONT font);

    HFONT font_ = nullptr;
};
