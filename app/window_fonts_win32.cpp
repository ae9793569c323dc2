#include "app/window_fonts_win32.h"

#include "ui/main_layout.h"

namespace {

LOGFONTW FaceAt(const FontChoice& choice, int dpi) {
    LOGFONTW description = choice.face;
    description.lfHeight = -MulDivRounded(choice.size, dpi > 0 ? dpi : kBaseDpi, choice.per);
    description.lfWidth = 0;
    return description;
}

}  // namespace

FontChoice ChooseFont(const LOGFONTW& wanted, int size, int per, int dpi, const wchar_t* texts,
                      const wchar_t* firstChoice, ControlFont& font) {
    FontChoice choice = {wanted, size, per};
    font.CreateShowing(FaceAt(choice, dpi), texts, firstChoice);
    if (font.Handle() == nullptr ||
        GetObjectW(font.Handle(), sizeof(choice.face), &choice.face) == 0) {
        choice.face = wanted;
    }
    return choice;
}

void MakeFontAt(const FontChoice& choice, int dpi, ControlFont& font) {
    font.CreateShowing(FaceAt(choice, dpi), L"");
}

int FontLineHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return 0;
    }
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return metrics.tmHeight;
}
