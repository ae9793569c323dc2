#include <windows.h>

#include "ui/text_fit_win32.h"
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
    ShowText(static_cast<HWND>(control), WideText(text).Get());
}

void SetText(WindowRef control, const char* utf8) {
    ShowText(static_cast<HWND>(control), WideText(utf8, TextEncoding::Utf8).Get());
}

namespace {

// The parts joined; [from, to) is part `marked`'s place in it.
void Join(const TextPart* parts, int count, int marked, WideText& text, int& from, int& to) {
    from = 0;
    to = 0;
    for (int i = 0; i < count; ++i) {
        from = i == marked ? text.Length() : from;
        text.AppendPart(parts[i]);
        to = i == marked ? text.Length() : to;
    }
}

}  // namespace

void SetTextParts(WindowRef control, const TextPart* parts, int count) {
    WideText text;
    int from = 0;
    int to = 0;
    Join(parts, count, -1, text, from, to);
    ShowText(static_cast<HWND>(control), text.Get());
}

bool SetTextPartsWithin(WindowRef control, const TextPart* parts, int count, int shortened,
                        int lines) {
    WideText text;
    int from = 0;
    int to = 0;
    Join(parts, count, shortened, text, from, to);
    return SetTextToFit(static_cast<HWND>(control), text.Get(), from, to, lines);
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
