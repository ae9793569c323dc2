// The font of the main window's own controls, and the one the pages take
// where their template's font cannot show their texts. Deleted with their
// holders at process end.
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

    // The controls' font at a DPI, showing their texts in the language in
    // use, replacing (and deleting) a font already held. A failure leaves no
    // font, and the controls keep the system font.
    void Create(int dpi);
    // A font like `wanted` with a glyph for every character of `text`: where
    // the font mapper answers `wanted` with a face lacking some (a Western
    // system maps the Japanese face to a CJK-only fallback, a Japanese face
    // has no Hangul), the system's dialog font, an installed face of the
    // texts' script or a Japanese one (for Shift-JIS labels) is taken
    // instead, whichever shows the text, else the one missing least.
    void CreateShowing(LOGFONTW wanted, const wchar_t* text);
    HFONT Handle() const { return font_; }
    // Exchanges the fonts held: a font still set on controls is deleted only
    // once they have been given the other.
    void Swap(ControlFont& other);

  private:
    void Hold(HFONT font);

    HFONT font_ = nullptr;
};
