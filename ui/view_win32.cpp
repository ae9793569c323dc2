#include <windows.h>

#include "ui/view_port.h"
#include "ui/wide_text_win32.h"

namespace view {

void SetText(WindowRef control, TextId text) {
    SetWindowTextW(static_cast<HWND>(control), WideText(text).Get());
}

void SetText(WindowRef control, const char* utf8) {
    SetWindowTextW(static_cast<HWND>(control), WideText(utf8, TextEncoding::Utf8).Get());
}

void SetTextParts(WindowRef control, const TextPart* parts, int count) {
    WideText text;
    for (int i = 0; i < count; ++i) {
        if (parts[i].text != 0) {
            text.AppendOwn(parts[i].text, parts[i].count);
        } else {
            text.Append(parts[i].bytes, parts[i].encoding);
        }
    }
    SetWindowTextW(static_cast<HWND>(control), text.Get());
}

void SetButtonCheck(WindowRef button, unsigned state) {
    SendMessageW(static_cast<HWND>(button), BM_SETCHECK, state, 0);
}

void Focus(WindowRef control) {
    SetFocus(static_cast<HWND>(control));
}

int ShowMessage(WindowRef owner, TextId text, TextId caption, std::uint32_t type) {
    HWND window = static_cast<HWND>(owner);
    // Before the main window exists the boxes have no owner: MessageBoxW
    // documents null for that, while the desktop window as an owner would be
    // disabled by the box's modal loop.
    if (window == GetDesktopWindow()) {
        window = nullptr;
    }
    return MessageBoxW(window, WideText(text).Get(), WideText(caption).Get(), type);
}

}  // namespace view
