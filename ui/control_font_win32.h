// The font of the main window's own controls (the pages keep their
// template's font). Deleted with its holder at process end.
#pragma once

#include <windows.h>

// The description the font is created from.
LOGFONTW ControlFontDescription();

class ControlFont {
  public:
    ControlFont() = default;
    ControlFont(const ControlFont&) = delete;
    ControlFont& operator=(const ControlFont&) = delete;
    ~ControlFont();

    // Creates the font, replacing (and deleting) a font already held. A
    // failure leaves no font, and the controls keep the system font.
    void Create();
    HFONT Handle() const { return font_; }

  private:
    HFONT font_ = nullptr;
};
