#include "store/settings_edit.h"

#include <cstring>

#include "store/ini_scan.h"
#include "store/settings_form.h"

namespace {

const char* LineBreakOf(const char* text, std::size_t size) {
    const void* feed = std::memchr(text, '\n', size);
    if (feed == nullptr) {
        return "\r\n";
    }
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(feed) - text);
    return at > 0 && text[at - 1] == '\r' ? "\r\n" : "\n";
}

bool EndsWithBreak(const char* text, std::size_t size) {
    return size > 0 && (text[size - 1] == '\n' || text[size - 1] == '\r');
}

// Nothing but, perhaps, a byte-order mark: a section added needs no blank
// line before it.
bool HoldsNothing(const char* text, std::size_t size) {
    return size == 0 || (size == 3 && StartsWithUtf8Mark(text, size));
}

// What setting a key changes: text [at, at + removed) becomes `inserted`.
struct Splice {
    std::size_t at = 0;
    std::size_t removed = 0;
    TextBuffer inserted;
};

bool PlanValue(const char* text, std::size_t size, const char* section, const char* key,
               const char* value, Splice& splice) {
    const IniPlace place = LocateIniKey(text, size, section, key);
    const char* lineBreak = LineBreakOf(text, size);
    TextBuffer& out = splice.inserted;
    out.Clear();
    if (place.keyFound) {
        splice.at = place.valueBegin;
        splice.removed = place.valueEnd - place.valueBegin;
        return out.Append(value);
    }
    if (place.sectionFound) {
        splice.at = place.insertAt;
        return (EndsWithBreak(text, splice.at) || out.Append(lineBreak)) && out.Append(key) &&
               out.Append("=") && out.Append(value) && out.Append(lineBreak);
    }
    splice.at = size;
    bool ok = true;
    if (!HoldsNothing(text, size)) {
        ok = (EndsWithBreak(text, size) || out.Append(lineBreak)) && out.Append(lineBreak);
    }
    return ok && out.Append("[") && out.Append(section) && out.Append("]") &&
           out.Append(lineBreak) && out.Append(key) && out.Append("=") && out.Append(value) &&
           out.Append(lineBreak);
}

}  // namespace

bool EditSettings(const char* bytes, std::size_t size, const char* section, const char* key,
                  const char* value, TextBuffer& out) {
    SettingsForm form = SettingsForm::ShiftJis;
    TextBuffer text;
    Splice splice;
    if (!DecodeSettings(bytes, size, &form, text) || form == SettingsForm::Utf16Unsure ||
        !PlanValue(text.c_str(), text.Size(), section, key, value, splice)) {
        return false;
    }
    std::size_t from = splice.at;
    std::size_t to = splice.at + splice.removed;
    TextBuffer wide;
    const TextBuffer* inserted = &splice.inserted;
    if (form == SettingsForm::Utf16) {
        // Only the splice is converted: an odd last byte or a lone surrogate
        // elsewhere stays as it was.
        from = Utf16Offset(bytes, size, 2, from);
        to = Utf16Offset(bytes, size, 2, to);
        if (!Utf8ToUtf16(inserted->c_str(), inserted->Size(), wide)) {
            return false;
        }
        inserted = &wide;
    }
    out.Clear();
    return out.Append(bytes, from) && out.Append(inserted->c_str(), inserted->Size()) &&
           out.Append(bytes + to, size - to);
}
