#include "ui/combo_box_control_win32.h"

#include <cwchar>

#include "ui/wide_text_win32.h"

void ComboBoxControl::Attach(HWND combo) {
    if (combo != nullptr) {
        combo_ = combo;
    }
}

LRESULT ComboBoxControl::AddItem(const char* text, int index) const {
    const WideText item(text, TextEncoding::Utf8);
    const LPARAM wide = reinterpret_cast<LPARAM>(item.Get());
    if (index < 0) {
        return SendMessageW(combo_, CB_ADDSTRING, 0, wide);
    }
    return SendMessageW(combo_, CB_INSERTSTRING, index, wide);
}

int ComboBoxControl::ItemText(int index, wchar_t* buffer, int capacity) const {
    // CB_GETLBTEXT takes no buffer size, so a longer item must not reach it.
    const LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
    if (length < 0 || length >= capacity) {
        return CB_ERR;
    }
    return static_cast<int>(
        SendMessageW(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer)));
}

int ComboBoxControl::ItemCount() const {
    return static_cast<int>(SendMessageW(combo_, CB_GETCOUNT, 0, 0));
}

int ComboBoxControl::CurrentSelection() const {
    return static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
}

LRESULT ComboBoxControl::SetSelection(int index, bool fallback) const {
    LRESULT answer = SendMessageW(combo_, CB_SETCURSEL, index, 0);
    if (answer != CB_ERR) {
        return answer;
    }
    if (fallback && ItemCount() > 0) {
        answer = SendMessageW(combo_, CB_SETCURSEL, 0, 0);
    }
    return answer;
}

bool ComboBoxControl::SelectByText(const char* text, bool fallback) const {
    constexpr int kItemTextCapacity = 300;
    const WideText wanted(text, TextEncoding::Utf8);
    for (int i = 0; i < ItemCount(); ++i) {
        wchar_t buffer[kItemTextCapacity] = {};
        if (ItemText(i, buffer, kItemTextCapacity) == CB_ERR) {
            continue;
        }
        if (std::wcscmp(buffer, wanted.Get()) == 0) {
            SetSelection(i, false);
            return true;
        }
    }
    if (fallback) {
        SetSelection(0, false);
    }
    return false;
}
