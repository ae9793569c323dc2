// The edition combo box (a drop-down list, not sorted). The wrapper never
// destroys the window. Texts are UTF-8 (the editions' ASCII names) and
// reach the list in UTF-16.
#pragma once

#include <windows.h>

class ComboBoxControl {
  public:
    // A null handle changes nothing.
    void Attach(HWND combo);
    // A negative index appends. Answers the new item's index or CB_ERR /
    // CB_ERRSPACE.
    LRESULT AddItem(const char* text, int index) const;
    // Copies item index's text into buffer and answers its length; CB_ERR,
    // with nothing copied, when the index names no item or the text and its
    // terminator do not fit in capacity characters.
    int ItemText(int index, wchar_t* buffer, int capacity) const;
    int ItemCount() const;
    // -1 when nothing is selected.
    int CurrentSelection() const;
    // With fallback, an index that names no item selects item 0 (if any).
    // Answers the platform's answer to the last request.
    LRESULT SetSelection(int index, bool fallback) const;
    // Selects the item whose text equals text exactly; without a match and
    // with fallback, item 0. True when an item matched.
    bool SelectByText(const char* text, bool fallback) const;

    HWND Window() const { return combo_; }

  private:
    HWND combo_ = nullptr;
};
