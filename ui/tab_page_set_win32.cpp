#include "ui/tab_page_set_win32.h"

#include <commctrl.h>

#include "ui/wide_text_win32.h"

void TabPageSet::Attach(HWND tab) {
    if (tab == nullptr) {
        return;
    }
    tab_ = tab;
    DeleteItems(-1);
}

int TabPageSet::ItemCount() const {
    return static_cast<int>(SendMessageW(tab_, TCM_GETITEMCOUNT, 0, 0));
}

int TabPageSet::CurrentSelection() const {
    return static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0));
}

void TabPageSet::SetSelection(int index) const {
    SendMessageW(tab_, TCM_SETCURSEL, index, 0);
}

void TabPageSet::InsertItem(const wchar_t* caption, int index) const {
    if (index < 0) {
        index = ItemCount();
        if (index < 0) {
            index = 0;
        }
    }
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption);
    SendMessageW(tab_, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
}

void TabPageSet::DeleteItems(int index) const {
    if (index < 0) {
        SendMessageW(tab_, TCM_DELETEALLITEMS, 0, 0);
    } else {
        SendMessageW(tab_, TCM_DELETEITEM, index, 0);
    }
}

void TabPageSet::Build(HWND tab, HINSTANCE instance, const PageRow* table, int initial, int pageX,
                       int pageY, LPARAM pageParam, bool laterPages) {
    Attach(tab);
    table_ = table;
    pageParam_ = pageParam;
    instance_ = instance;
    pageX_ = pageX;
    pageY_ = pageY;
    pageCount_ = 0;
    for (const PageRow* row = table; row->caption != 0 && pageCount_ < kMaxPages; ++row) {
        InsertItem(WideText(row->caption).Get(), -1);
        pages_[pageCount_] = nullptr;
        made_[pageCount_++] = false;
    }
    int index = initial;
    if (index < 0 || index >= ItemCount()) {
        index = 0;
    }
    for (int i = 0; i < pageCount_; ++i) {
        if (!laterPages || i == index) {
            MakePage(i);
        }
    }
    SetSelection(index);
    Select(index);
}

void TabPageSet::MakePage(int index) {
    if (made_[index]) {
        return;
    }
    made_[index] = true;
    const PageRow& row = table_[index];
    HWND page = CreateDialogParamW(instance_, MAKEINTRESOURCEW(row.templateId), tab_,
                                   row.dialogProc, pageParam_);
    // Below the tab row; the template keeps the page hidden until Select.
    SetWindowPos(page, HWND_TOP, pageX_, pageY_, 0, 0, SWP_NOSIZE);
    pages_[index] = page;
}

bool TabPageSet::MakeLaterPages() {
    bool made = false;
    for (int i = 0; i < pageCount_; ++i) {
        made = made || !made_[i];
        MakePage(i);
    }
    return made;
}

void TabPageSet::Select(int index) const {
    int count = ItemCount();
    if (index == -1) {
        index = CurrentSelection();
    }
    // The tab items and the pages agree after Build; an item without a page
    // (or an empty table) must not index past the array.
    for (int i = 0; i < count && i < pageCount_; ++i) {
        ShowWindow(pages_[i], i == index ? SW_SHOW : SW_HIDE);
    }
    if (index < 0 || index >= pageCount_) {
        return;
    }
    SetWindowPos(pages_[index], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetSelection(index);
}
