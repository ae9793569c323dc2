#include "ui/control_font_win32.h"

#include "ui/main_layout.h"
#include "ui/texts.h"
#include "ui/wide_text_win32.h"

LOGFONTW ControlFontDescription(int dpi) {
    LOGFONTW description = {};
    description.lfHeight = ControlFontHeight(dpi);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    description.lfOutPrecision = OUT_STROKE_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DRAFT_QUALITY;
    // Asked for although the face is proportional; the face name decides.
    description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    // In UTF-16: through the system's code page it would name no font on a
    // Western Windows.
    lstrcpynW(description.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
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

// Keeps in best whichever of the faces misses fewest glyphs of text.
void TakeFewest(HDC dc, const Faces& faces, LOGFONTW wanted, const wchar_t* text, HFONT& best,
                int& fewest) {
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

// The GDI character set of the texts' script, from the ANSI code page of
// their language: GB2312_CHARSET for simplified Chinese, RUSSIAN_CHARSET for
// Russian, and so on; DEFAULT_CHARSET (every face) where that is unknown.
BYTE TextCharset() {
    DWORD codePage = 0;
    CHARSETINFO info = {};
    if (GetLocaleInfoW(MAKELCID(TextLanguage, SORT_DEFAULT),
                       LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage),
                       sizeof(codePage) / sizeof(wchar_t)) == 0 ||
        !TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(codePage)), &info,
                              TCI_SRCCODEPAGE)) {
        return DEFAULT_CHARSET;
    }
    return static_cast<BYTE>(info.ciCharset);
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

void ControlFont::CreateShowing(LOGFONTW wanted, const wchar_t* text, const wchar_t* firstChoice) {
    HFONT best = CreateFontIndirectW(&wanted);
    HDC dc = GetDC(nullptr);
    int fewest = best != nullptr && dc != nullptr ? Missing(dc, best, text) : 0;
    if (fewest > 0) {
        wanted.lfCharSet = DEFAULT_CHARSET;
        wanted.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        Faces faces = {};
        if (firstChoice != nullptr && firstChoice[0] != L'\0') {
            lstrcpynW(faces.names[faces.count++], firstChoice, LF_FACESIZE);
        }
        lstrcpynW(faces.names[faces.count++], L"MS Shell Dlg", LF_FACESIZE);
        TakeFewest(dc, faces, wanted, text, best, fewest);
        // Then the installed faces of the texts' script, and Japanese ones
        // for labels saved as Shift-JIS.
        const BYTE scripts[] = {TextCharset(), SHIFTJIS_CHARSET};
        for (int i = 0; i < 2 && fewest > 0; ++i) {
            if (i > 0 && scripts[i] == scripts[0]) {
                break;
            }
            LOGFONTW script = {};
            script.lfCharSet = scripts[i];
            faces.count = 0;
            EnumFontFamiliesExW(dc, &script, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
            TakeFewest(dc, faces, wanted, text, best, fewest);
        }
    }
    if (dc != nullptr) {
        ReleaseDC(nullptr, dc);
    }
    Hold(best);
}
