#include "ui/warning_box.h"

#include "ui/view_port.h"

void ShowWarning(WindowRef owner, TextId text) {
    view::ShowMessage(owner, text, IDS_CAPTION_ERROR, kMbOk | kMbIconWarning);
}

void Warn(TextId text) {
    ShowWarning(MessageBoxOwner, text);
}
