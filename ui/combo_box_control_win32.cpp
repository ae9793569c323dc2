#include "ui/combo_box_control_win32.h"

#include <cstring>

void ComboBoxControl::Attach(HWND combo) {
    if (combo != nullptr) {
        combo_ = combo;
    }
}

LRESULT ComboBoxControl::AddItem(const char* text, int index) const {
    const LPARAM item = reinterpret_cast<LPARAM>(text);
    if (index < 0) {
        return SendMessageA(combo_, CB_ADDSTRING, 0, item);
    }
    return SendMessageA(combo_, CB_INSERTSTRING, index, item);
}

int ComboBoxControl::ItemText(int index, char* buffer, int capacity) const {
    // CB_GETLBTEXT takes no buffer size, so a longer item must not reach it.
    const LRESULT length = SendMessageA(combo_, CB_GETLBTEXTLEN, index, 0);
    if (length < 0 || length >= capacity) {
        return CB_ERR;
    }
    return static_cast<int>(
        SendMessageA(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer)));
}

int ComboBoxControl::ItemCount() const {
    return static_cast<int>(SendMessageA(combo_, CB_GETCOUNT, 0, 0));
}

int ComboBoxControl::CurrentSelection() const {
    return static_cast<int>(SendMessageA(combo_, CB_GETCURSEL, 0, 0));
}

LRESULT ComboBoxControl::SetSelection(int index, bool fallback) const {
    LRESULT answer = SendMessageA(combo_, CB_SETCURSEL, index, 0);
    if (answer != CB_ERR) {
        return answer;
    }
    if (fallback && ItemCount() > 0) {
        answer = SendMessageA(combo_, CB_SETCURSEL, 0, 0);
    }
    return answer;
}

bool ComboBoxControl::SelectByText(const char* text, bool fallback) const {
    constexpr int kItemTextCapacity = 300;
    for (int i = 0; i < ItemCount(); ++i) {
        char buffer[kItemTextCapacity] = {};
        if (ItemText(i, buffer, kItemTextCapacity) == CB_ERR) {
            continue;
        }
        if (std::strcmp(buffer, text) == 0) {
            SetSelection(i, false);
            return true;
        }
    }
    if (fallback) {
        SetSelection(0, false);
    }
    return false;
}
