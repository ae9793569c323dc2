#include "ui/control_font_win32.h"

#include "ui/texts.h"
#include "ui/wide_text_win32.h"

LOGFONTW ControlFontDescription() {
    LOGFONTW description = {};
    description.lfHeight = -12;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    description.lfOutPrecision = OUT_STROKE_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DRAFT_QUALITY;
    // Asked for although the face is proportional; the face name decides.
    description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    // The face converted from code page 932 itself: through the system's code
    // page it would name no font on a Western Windows.
    const WideText face(kTextFontFace);
    lstrcpynW(description.lfFaceName, face.Get(), LF_FACESIZE);
    return description;
}

ControlFont::~ControlFont() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

void ControlFont::Create() {
    const LOGFONTW description = ControlFontDescription();
    HFONT font = CreateFontIndirectW(&description);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
}
