// Path rules and the settings file on arbitrary bytes: nothing is read past a
// terminator, the directory is a prefix of the path ending at a separator,
// and setting the edition changes the file in one place only and is found
// again, whatever the file held and however it was encoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "doubles/system_double.h"
#include "store/settings_path.h"
#include "store/settings_text.h"
#include "store/tool_settings.h"

namespace {

std::unique_ptr<char[]> ExactCopy(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckPath(const std::string& text) {
    const std::unique_ptr<char[]> path = ExactCopy(text);
    const char* component = LastPathComponent(path.get());
    const std::size_t offset = static_cast<std::size_t>(component - path.get());
    Require(offset <= std::strlen(path.get()));
    Require(std::strchr(component, '\\') == nullptr && std::strchr(component, '/') == nullptr);
    TextBuffer directory;
    Require(DirectoryOfPath(path.get(), directory));
    if (offset > 0) {
        Require(directory.Size() + 1 == offset);
        Require(std::memcmp(directory.c_str(), path.get(), directory.Size()) == 0);
    } else {
        Require(directory.Empty());
    }
}

std::string Text(const TextBuffer& buffer) {
    return std::string(buffer.c_str(), buffer.Size());
}

// The edit is one splice: what comes before and after it is the original's.
void CheckEdit(const std::string& text, const char* value) {
    TextBuffer out;
    Require(SetIniValue(text.data(), text.size(), "Config", "RpgType", value, out));
    const std::string edited = Text(out);
    std::size_t begin = 0;
    std::size_t end = 0;
    Require(FindIniValue(edited.data(), edited.size(), "Config", "RpgType", &begin, &end));
    Require(edited.substr(begin, end - begin) == value);
    std::size_t prefix = 0;
    while (prefix < text.size() && prefix < edited.size() && text[prefix] == edited[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < text.size() - prefix && suffix < edited.size() - prefix &&
           text[text.size() - 1 - suffix] == edited[edited.size() - 1 - suffix]) {
        ++suffix;
    }
    Require(prefix + suffix >= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool takeAsGiven = (data[0] & 1) != 0;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\0');
    const std::string modulePath = rest.substr(0, split);
    const std::string name =
        split == std::string::npos ? std::string() : std::string(rest.c_str() + split + 1);

    CheckPath(modulePath);
    CheckPath(name);

    TheSystem().Reset();
    TheSystem().modulePath = modulePath;
    ExecutableDirectory().Clear();
    const std::unique_ptr<char[]> nameCopy = ExactCopy(name);
    TextBuffer resolved;
    Require(ResolveSettingsPath(nameCopy.get(), takeAsGiven, resolved));
    const bool drivePath = name.size() >= 3 && name[1] == ':' && name[2] == '\\';
    if (takeAsGiven || drivePath) {
        Require(Text(resolved) == name);
    } else {
        Require(Text(resolved) == Text(ExecutableDirectory()) + "\\" + name);
    }

    // The whole input as a settings file.
    SettingsForm form = SettingsForm::ShiftJis;
    TextBuffer decoded;
    Require(DecodeSettings(rest.data(), rest.size(), &form, decoded));
    CheckEdit(Text(decoded), (data[0] & 2) != 0 ? "CEDAR" : "MAPLE");
    TextBuffer encoded;
    Require(EncodeSettings(form, decoded.c_str(), decoded.Size(), encoded));
    SettingsForm again = SettingsForm::ShiftJis;
    TextBuffer redecoded;
    Require(DecodeSettings(encoded.c_str(), encoded.Size(), &again, redecoded));
    if (form == SettingsForm::Utf16) {
        Require(again == form && Text(redecoded) == Text(decoded));
    } else {
        Require(Text(encoded) == rest);
    }
    return 0;
}
