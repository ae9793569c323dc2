#include "ui/dialog_units_win32.h"

namespace {

constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// A template's name, class or title: 0xFFFF and an ordinal, or a
// NUL-terminated UTF-16 string (empty for none).
const WORD* SkipNameOrOrdinal(const WORD* at, const WORD* end) {
    if (at < end && *at == 0xFFFF) {
        return at + 2;
    }
    while (at < end && *at != 0) {
        ++at;
    }
    return at + 1;
}

const WORD* AlignToDword(const WORD* at, const WORD* start) {
    return (at - start) % 2 != 0 ? at + 1 : at;
}

}  // namespace

int ReadDialogItems(HINSTANCE instance, int templateId, DialogItem* items, int capacity,
                    int* pointSize) {
    *pointSize = 0;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = found != nullptr ? SizeofResource(instance, found) : 0;
    if (data == nullptr || size < sizeof(DLGTEMPLATE)) {
        return 0;
    }
    const auto* dialog = static_cast<const DLGTEMPLATE*>(data);
    const auto* start = static_cast<const WORD*>(data);
    const WORD* const end = start + size / sizeof(WORD);
    // An extended template starts with its version 1 and 0xFFFF.
    if (start[0] == 1 && start[1] == 0xFFFF) {
        return 0;
    }
    const WORD* at = reinterpret_cast<const WORD*>(dialog + 1);
    at = SkipNameOrOrdinal(at, end);  // menu
    at = SkipNameOrOrdinal(at, end);  // class
    at = SkipNameOrOrdinal(at, end);  // title
    if ((dialog->style & DS_SETFONT) != 0 && at < end) {
        *pointSize = *at;
        at = SkipNameOrOrdinal(at + 1, end);  // the face
    }
    int count = 0;
    for (int i = 0; i < dialog->cdit && count < capacity; ++i) {
        at = AlignToDword(at, start);
        if (at + sizeof(DLGITEMTEMPLATE) / sizeof(WORD) > end) {
            break;
        }
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
        items[count++] = {item->id, item->x, item->y, item->cx, item->cy};
        at = reinterpret_cast<const WORD*>(item + 1);
        at = SkipNameOrOrdinal(at, end);  // class
        at = SkipNameOrOrdinal(at, end);  // text
        if (at >= end) {
            break;
        }
        at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at + 1) + *at);
    }
    return count;
}

SIZE FontDialogUnits(HFONT font) {
    SIZE units = {0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return units;
    }
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE letters = {};
    TEXTMETRICW metrics = {};
    if (GetTextExtentPoint32W(dc, kLetters, 52, &letters) && GetTextMetricsW(dc, &metrics)) {
        // The average rounded as the dialog manager rounds it.
        units = {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    return units;
}

RECT DialogItemPixels(const DialogItem& item, SIZE baseUnits) {
    // Corner and size each converted, as the dialog manager places a control.
    const int left = MulDiv(item.x, baseUnits.cx, 4);
    const int top = MulDiv(item.y, baseUnits.cy, 8);
    return {left, top, left + MulDiv(item.width, baseUnits.cx, 4),
            top + MulDiv(item.height, baseUnits.cy, 8)};
}
