#include "ui/control_font_win32.h"

#include <cstring>

#include "ui/texts.h"

LOGFONTA ControlFontDescription() {
    LOGFONTA description = {};
    description.lfHeight = -12;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    description.lfOutPrecision = OUT_STROKE_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DRAFT_QUALITY;
    // Asked for although the face is proportional; the face name decides.
    description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const std::size_t length = std::strlen(kTextFontFace);
    std::memcpy(description.lfFaceName, kTextFontFace,
                length < LF_FACESIZE ? length : LF_FACESIZE - 1);
    return description;
}

ControlFont::~ControlFont() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

void ControlFont::Create() {
    const LOGFONTA description = ControlFontDescription();
    HFONT font = CreateFontIndirectA(&description);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
}
