// The tab control and one child dialog per tab. The wrapper never destroys a
// window: the pages are children of the tab control and end with it.
#pragma once

#include <windows.h>

#include "base/text_id.h"

// One page of a tab: its caption, and the dialog template and procedure
// that make it.
struct PageRow {
    TextId caption;
    WORD templateId;
    DLGPROC dialogProc;
};

class TabPageSet {
  public:
    static constexpr int kMaxPages = 8;

    // A null handle changes nothing; otherwise every tab item is removed.
    void Attach(HWND tab);
    int ItemCount() const;
    // -1 when no tab is selected.
    int CurrentSelection() const;
    void SetSelection(int index) const;
    // A negative index appends.
    void InsertItem(const wchar_t* caption, int index) const;
    // A negative index deletes every item.
    void DeleteItems(int index) const;
    // One tab and one hidden page per table row (at most kMaxPages), each
    // page's top-left corner at (pageX, pageY) in the tab control, then shows
    // the initial page (page 0 when the index names no tab). Each page's
    // procedure receives `pageParam` with WM_INITDIALOG. With `laterPages`,
    // only the initial page is made now; the others are made by
    // MakeLaterPages, with the same `pageParam`, which must stay valid.
    void Build(HWND tab, HINSTANCE instance, const PageRow* table, int initial, int pageX,
               int pageY, LPARAM pageParam, bool laterPages = false);
    // The pages Build left for later; true when it made any.
    bool MakeLaterPages();
    // Shows the page of the index (-1: the tab control's selection), hides
    // the others and selects its tab.
    void Select(int index) const;

    HWND Tab() const { return tab_; }
    int PageCount() const { return pageCount_; }
    // Null for a page not made (yet).
    HWND Page(int index) const {
        return index >= 0 && index < pageCount_ ? pages_[index] : nullptr;
    }

  private:
    void MakePage(int index);

    HWND tab_ = nullptr;
    HWND pages_[kMaxPages] = {};
    int pageCount_ = 0;
    // What a page left for later is made from.
    const PageRow* table_ = nullptr;
    HINSTANCE instance_ = nullptr;
    LPARAM pageParam_ = 0;
    int pageX_ = 0;
    int pageY_ = 0;
    bool made_[kMaxPages] = {};
};
