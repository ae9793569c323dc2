#include "doubles/view_double.h"

ViewDouble& TheView() {
    static ViewDouble view;
    return view;
}

namespace view {

void SetText(WindowRef control, const char* text) {
    TheView().texts[control] = text;
    TheView().calls.push_back("text");
}

void SetTextParts(WindowRef control, const TextPart* parts, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += parts[i].text;
    }
    TheView().texts[control] = text;
    TheView().calls.push_back("text");
}

void SetButtonCheck(WindowRef button, unsigned state) {
    TheView().checks[button] = state;
    TheView().calls.push_back("check");
}

void Focus(WindowRef control) {
    TheView().focused = control;
    TheView().calls.push_back("focus");
}

int ShowMessage(WindowRef owner, const char* text, const char* caption, std::uint32_t type) {
    TheView().messages.push_back({owner, text, caption, type});
    TheView().calls.push_back("message");
    return TheView().nextAnswer;
}

}  // namespace view
