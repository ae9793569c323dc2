#include <windows.h>

#include "ui/texts.h"
#include "ui/view_port.h"
#include "ui/wide_text_win32.h"

namespace {

constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

// A box's buttons are user32's texts, which the MUI loader takes from the
// thread's preferred UI languages first: set to the tool's language for the
// box, they speak it where that language's resources are installed, and the
// system's language where not. SetThreadUILanguage cannot undo itself (given
// no language it picks the console's), so the list is set and put back.
// Wine 8 ignores the list and answers the user's language as the thread's
// own; there the buttons follow the system.
class ThreadUiLanguage {
  public:
    explicit ThreadUiLanguage(std::uint16_t language) {
        ULONG size = kCapacity;
        // Only a list that can be put back is replaced.
        if (!GetThreadPreferredUILanguages(MUI_LANGUAGE_ID | MUI_THREAD_LANGUAGES, &savedCount_,
                                           saved_, &size)) {
            return;
        }
        wchar_t list[6] = {};
        for (int i = 0; i < 4; ++i) {
            list[i] = kHexDigits[(language >> (12 - 4 * i)) & 0xF];
        }
        ULONG count = 0;
        changed_ = SetThreadPreferredUILanguages(MUI_LANGUAGE_ID, list, &count) != FALSE;
    }
    ~ThreadUiLanguage() {
        if (changed_) {
            // An empty list is put back by null, which clears the thread's.
            ULONG count = 0;
            SetThreadPreferredUILanguages(MUI_LANGUAGE_ID, savedCount_ > 0 ? saved_ : nullptr,
                                          &count);
        }
    }
    ThreadUiLanguage(const ThreadUiLanguage&) = delete;
    ThreadUiLanguage& operator=(const ThreadUiLanguage&) = delete;

  private:
    static constexpr ULONG kCapacity = 64;
    wchar_t saved_[kCapacity] = {};
    ULONG savedCount_ = 0;
    bool changed_ = false;
};

}  // namespace

namespace view {

void SetText(WindowRef control, TextId text) {
    SetWindowTextW(static_cast<HWND>(control), WideText(text).Get());
}

void SetText(WindowRef control, const char* utf8) {
    SetWindowTextW(static_cast<HWND>(control), WideText(utf8, TextEncoding::Utf8).Get());
}

void SetTextParts(WindowRef control, const TextPart* parts, int count) {
    SetTextPartsWithin(control, parts, count, -1, 0);
}

void SetTextPartsWithin(WindowRef control, const TextPart* parts, int count, int shortened,
                        int lines) {
    WideText text;
    int from = 0;
    int to = 0;
    for (int i = 0; i < count; ++i) {
        from = i == shortened ? text.Length() : from;
        text.AppendPart(parts[i]);
        to = i == shortened ? text.Length() : to;
    }
    HWND window = static_cast<HWND>(control);
    HDC dc = shortened >= 0 && to > from ? GetDC(window) : nullptr;
    if (dc == nullptr) {
        SetWindowTextW(window, text.Get());
        return;
    }
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    RECT client = {};
    GetClientRect(window, &client);
    // As a static draws its text: broken at words, '&' shown as it is.
    const auto fits = [&](const wchar_t* candidate) {
        RECT area = {0, 0, client.right, 0};
        DrawTextW(dc, candidate, -1, &area,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        return area.right <= client.right && area.bottom <= lines * metrics.tmHeight;
    };
    const auto cut = [&](WideText& candidate, int kept) {
        candidate.Append(text.Get(), from + kept);
        candidate.Append(L"\u2026");
        candidate.Append(text.Get() + to);
    };
    if (fits(text.Get())) {
        SetWindowTextW(window, text.Get());
    } else {
        // The most of the part that fits with an ellipsis after it.
        int low = 0;
        int high = to - from - 1;
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
        // Never half of a surrogate pair.
        if (low > 0 && IS_HIGH_SURROGATE(text.Get()[from + low - 1])) {
            --low;
        }
        WideText shown;
        cut(shown, low);
        SetWindowTextW(window, shown.Get());
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
}

void SetButtonCheck(WindowRef button, unsigned state) {
    SendMessageW(static_cast<HWND>(button), BM_SETCHECK, state, 0);
}

void Focus(WindowRef control) {
    SetFocus(static_cast<HWND>(control));
}

void AnnounceNameChange(WindowRef control) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, static_cast<HWND>(control), OBJID_CLIENT, CHILDID_SELF);
}

int ShowMessage(WindowRef owner, TextId text, TextId caption, std::uint32_t type) {
    HWND window = static_cast<HWND>(owner);
    // Before the main window exists the boxes have no owner: MessageBoxW
    // documents null for that, while the desktop window as an owner would be
    // disabled by the box's modal loop.
    if (window == GetDesktopWindow()) {
        window = nullptr;
    }
    const ThreadUiLanguage buttons(TextLanguage);
    return MessageBoxW(window, WideText(text).Get(), WideText(caption).Get(), type);
}

}  // namespace view
