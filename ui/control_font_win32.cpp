#include "ui/control_font_win32.h"

#include "ui/main_layout.h"
#include "ui/texts.h"
#include "ui/wide_text_win32.h"

LOGFONTW ControlFontDescription(int dpi) {
    LOGFONTW description = {};
    description.lfHeight = MainLayoutAt(dpi).fontHeight;
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

namespace {

constexpr int kMostFaces = 16;

struct Faces {
    wchar_t names[kMostFaces][LF_FACESIZE];
    int count;
};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
    Faces& faces = *reinterpret_cast<Faces*>(context);
    // '@' names the same face set for vertical text.
    if (font->lfFaceName[0] != L'@' && faces.count < kMostFaces) {
        lstrcpynW(faces.names[faces.count++], font->lfFaceName, LF_FACESIZE);
    }
    return faces.count < kMostFaces;
}

int Missing(HDC dc, HFONT font, const wchar_t* text) {
    const HGDIOBJ previous = SelectObject(dc, font);
    int missing = 0;
    WORD glyphs[64];
    for (int at = 0, length = lstrlenW(text); at < length; at += 64) {
        const int count = length - at < 64 ? length - at : 64;
        if (GetGlyphIndicesW(dc, text + at, count, glyphs, GGI_MARK_NONEXISTING_GLYPHS) ==
            GDI_ERROR) {
            missing += count;
            continue;
        }
        for (int i = 0; i < count; ++i) {
            missing += glyphs[i] == 0xFFFF ? 1 : 0;
        }
    }
    SelectObject(dc, previous);
    return missing;
}

}  // namespace

int MissingGlyphs(HFONT font, const wchar_t* text) {
    HDC dc = GetDC(nullptr);
    const int missing = dc != nullptr ? Missing(dc, font, text) : 0;
    if (dc != nullptr) {
        ReleaseDC(nullptr, dc);
    }
    return missing;
}

ControlFont::~ControlFont() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

void ControlFont::Hold(HFONT font) {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
}

void ControlFont::Swap(ControlFont& other) {
    const HFONT held = font_;
    font_ = other.font_;
    other.font_ = held;
}

void ControlFont::Create(int dpi) {
    WideText shown(Texts->ok);
    const char* const texts[] = {Texts->cancel,     Texts->gamepadTab,   Texts->keyboardTab,
                                 Texts->controller, Texts->noController, "MAPLECEDAR"};
    for (const char* text : texts) {
        shown.Append(text, TextEncoding::ShiftJis);
    }
    CreateShowing(ControlFontDescription(dpi), shown.Get());
}

void ControlFont::CreateShowing(LOGFONTW wanted, const wchar_t* text) {
    HFONT best = CreateFontIndirectW(&wanted);
    HDC dc = GetDC(nullptr);
    int fewest = best != nullptr && dc != nullptr ? Missing(dc, best, text) : 0;
    if (fewest > 0) {
        Faces faces = {};
        lstrcpynW(faces.names[faces.count++], L"MS Shell Dlg", LF_FACESIZE);
        LOGFONTW japanese = {};
        japanese.lfCharSet = SHIFTJIS_CHARSET;
        EnumFontFamiliesExW(dc, &japanese, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
        wanted.lfCharSet = DEFAULT_CHARSET;
        wanted.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        for (int i = 0; i < faces.count && fewest > 0; ++i) {
            lstrcpynW(wanted.lfFaceName, faces.names[i], LF_FACESIZE);
            HFONT candidate = CreateFontIndirectW(&wanted);
            const int missing = candidate != nullptr ? Missing(dc, candidate, text) : fewest;
            if (missing < fewest) {
                DeleteObject(best);
                best = candidate;
                fewest = missing;
            } else if (candidate != nullptr) {
                DeleteObject(candidate);
            }
        }
    }
    if (dc != nullptr) {
        ReleaseDC(nullptr, dc);
    }
    Hold(best);
}
