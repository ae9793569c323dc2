// Text measured as its control draws it, in one place: what the layout
// measures, and the controller line fitted to the lines it may take.
#pragma once

#include <windows.h>

#include "ui/wide_text_win32.h"

// The room `text` takes in `font`: on one line where `width` is 0, else
// broken at words into lines no wider than `width`, tabs expanded, as a
// button or a static draws it. Unless `noPrefix` (SS_NOPREFIX), an '&' marks
// an access key and takes no room.
SIZE MeasureText(HDC dc, HFONT font, const wchar_t* text, int width, bool noPrefix);

// Sets the control's text unless it shows that text already: each change is
// a repaint, and under Wine a round trip to its server.
void ShowText(HWND control, const wchar_t* text);

// A text that must fit in `lines` lines of a width: beyond that, the part
// [from, to) loses characters from its end, never half of a surrogate pair,
// and ends in an ellipsis. Measured without prefixes, as a static with
// SS_NOPREFIX draws it.
struct TextToFit {
    const wchar_t* text;
    int from;
    int to;
    int lines;
};
void FitText(HDC dc, HFONT font, const TextToFit& fit, int width, WideText& fitted);

// The control's text, kept whole so that the layout can fit it again at
// another width or in another font (one control: the controller line). It is
// fitted at once to the control's present width where it has one. True where
// the whole text differs from what the control had.
bool SetTextToFit(HWND control, const wchar_t* text, int from, int to, int lines);
// What SetTextToFit was given for the control; false where it was given
// nothing.
bool TextToFitOf(HWND control, TextToFit& fit);
