#include "ui/text_fit_win32.h"

namespace {

// The one control whose text is fitted to its room.
struct {
    HWND control;
    WideText text;
    int from;
    int to;
    int lines;
} Kept = {};

bool SameText(const wchar_t* a, const wchar_t* b) {
    return lstrcmpW(a, b) == 0;
}

}  // namespace

void ShowText(HWND control, const wchar_t* text) {
    constexpr int kRoom = 512;
    wchar_t shown[kRoom];
    const int length = GetWindowTextW(control, shown, kRoom);
    if (length >= kRoom - 1 || !SameText(shown, text)) {
        SetWindowTextW(control, text);
    }
}

SIZE MeasureText(HDC dc, HFONT font, const wchar_t* text, int width, bool noPrefix) {
    if (dc == nullptr) {
        return {0, 0};
    }
    RECT area = {0, 0, width, 0};
    // A control without a font of its own draws in the system font.
    const HGDIOBJ previous =
        SelectObject(dc, font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    DrawTextW(dc, text, -1, &area,
              DT_CALCRECT | DT_EXPANDTABS | (noPrefix ? DT_NOPREFIX : 0) |
                  (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    return {area.right - area.left, area.bottom - area.top};
}

void FitText(HDC dc, HFONT font, const TextToFit& fit, int width, WideText& fitted) {
    TEXTMETRICW metrics = {};
    const HGDIOBJ previous = SelectObject(dc, font);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    const auto fits = [&](const wchar_t* candidate) {
        const SIZE room = MeasureText(dc, font, candidate, width, true);
        return room.cx <= width && room.cy <= fit.lines * metrics.tmHeight;
    };
    const auto cut = [&](WideText& candidate, int kept) {
        candidate.Append(fit.text, fit.from + kept);
        candidate.Append(L"\u2026");
        candidate.Append(fit.text + fit.to);
    };
    if (fit.to <= fit.from || width <= 0 || fits(fit.text)) {
        fitted.Append(fit.text);
        return;
    }
    // The most of the part that fits with an ellipsis after it.
    int low = 0;
    int high = fit.to - fit.from - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        WideText candidate;
        cut(candidate, middle);
        if (fits(candidate.Get())) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    if (low > 0 && IS_HIGH_SURROGATE(fit.text[fit.from + low - 1])) {
        --low;
    }
    cut(fitted, low);
}

bool SetTextToFit(HWND control, const wchar_t* text, int from, int to, int lines) {
    const bool changed = Kept.control != control || !SameText(Kept.text.Get(), text);
    if (changed) {
        Kept.text.Clear();
        Kept.text.Append(text);
        Kept.control = control;
    }
    Kept.from = from;
    Kept.to = to;
    Kept.lines = lines;
    RECT client = {};
    GetClientRect(control, &client);
    HDC dc = client.right > 0 ? GetDC(control) : nullptr;
    if (dc == nullptr) {
        ShowText(control, text);
        return changed;
    }
    WideText fitted;
    const TextToFit fit = {Kept.text.Get(), from, to, lines};
    FitText(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), fit, client.right,
            fitted);
    ReleaseDC(control, dc);
    ShowText(control, fitted.Get());
    return changed;
}

bool TextToFitOf(HWND control, TextToFit& fit) {
    if (control == nullptr || Kept.control != control) {
        return false;
    }
    fit = {Kept.text.Get(), Kept.from, Kept.to, Kept.lines};
    return true;
}
