#include "ui/warning_box.h"

#include "ui/texts.h"
#include "ui/view_port.h"

void ShowWarning(WindowRef owner, const char* text) {
    view::ShowMessage(owner, text, Texts->captionError, kMbOk | kMbIconWarning);
}

void Warn(const char* text) {
    ShowWarning(MessageBoxOwner, text);
}
