#include "doubles/view_double.h"

ViewDouble& TheView() {
    static ViewDouble view;
    return view;
}

std::string Shown(TextId text, std::uint32_t count) {
    return "{" + std::to_string(text) + (count != 0 ? ":" + std::to_string(count) : "") + "}";
}

std::string Shown(const TextPart& part) {
    if (part.text == 0) {
        return part.bytes != nullptr ? part.bytes : "";
    }
    std::string shown = Shown(part.text, part.count);
    shown.pop_back();
    for (int i = 0; i < part.argCount; ++i) {
        shown += "|" + Shown(part.args[i]);
    }
    return shown + "}";
}

namespace view {

void SetText(WindowRef control, TextId text) {
    TheView().texts[control] = Shown(text);
    TheView().fits.erase(control);
    TheView().calls.push_back("text");
}

void SetText(WindowRef control, const char* utf8) {
    TheView().texts[control] = utf8;
    TheView().fits.erase(control);
    TheView().calls.push_back("text");
}

void SetTextParts(WindowRef control, const TextPart* parts, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += Shown(parts[i]);
    }
    TheView().texts[control] = text;
    TheView().fits.erase(control);
    TheView().calls.push_back("text");
}

bool SetTextPartsWithin(WindowRef control, const TextPart* parts, int count, int shortened,
                        int lines) {
    const auto before = TheView().texts.find(control);
    const bool known = before != TheView().texts.end();
    const std::string old = known ? before->second : std::string();
    SetTextParts(control, parts, count);
    TheView().fits[control] = {shortened, lines};
    return !known || TheView().texts[control] != old;
}

void SetButtonCheck(WindowRef button, unsigned state) {
    TheView().checks[button] = state;
    TheView().calls.push_back("check");
}

void Focus(WindowRef control) {
    TheView().focused = control;
    TheView().calls.push_back("focus");
}

void AnnounceNameChange(WindowRef control) {
    TheView().renamed.push_back(control);
    TheView().calls.push_back("renamed");
}

int ShowMessage(WindowRef owner, TextId text, TextId caption, std::uint32_t type) {
    TheView().messages.push_back({owner, text, caption, type});
    TheView().calls.push_back("message");
    return TheView().nextAnswer;
}

}  // namespace view
