#include <windows.h>

#include "ui/view_port.h"

namespace view {

void SetText(WindowRef control, const char* text) {
    SetWindowTextA(static_cast<HWND>(control), text);
}

void SetButtonCheck(WindowRef button, unsigned state) {
    SendMessageA(static_cast<HWND>(button), BM_SETCHECK, state, 0);
}

void Focus(WindowRef control) {
    SetFocus(static_cast<HWND>(control));
}

int ShowMessage(WindowRef owner, const char* text, const char* caption, std::uint32_t type) {
    return MessageBoxA(static_cast<HWND>(owner), text, caption, type);
}

}  // namespace view
