// Path rules and the settings file on arbitrary bytes: nothing is read past a
// terminator, the directory is a prefix of the path ending at a separator,
// and setting the edition changes the file's bytes in one place only and is
// found again, whatever the file held and however it was encoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "doubles/system_double.h"
#include "store/executable_directory.h"
#include "store/settings_path.h"
#include "store/ini_scan.h"
#include "store/settings_edit.h"
#include "store/settings_form.h"
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

// The edit is one splice of the file's bytes, and the value is found there
// again; only a 16-bit file whose form is not certain is refused.
void CheckEdit(const std::string& bytes, const char* value) {
    SettingsForm form = SettingsForm::ShiftJis;
    TextBuffer decoded;
    Require(DecodeSettings(bytes.data(), bytes.size(), &form, decoded));
    TextBuffer out;
    if (!EditSettings(bytes.data(), bytes.size(), "Config", "RpgType", value, out)) {
        Require(form == SettingsForm::Utf16Unsure);
        return;
    }
    Require(form != SettingsForm::Utf16Unsure);
    const std::string edited = Text(out);
    SettingsForm again = SettingsForm::ShiftJis;
    TextBuffer text;
    Require(DecodeSettings(edited.data(), edited.size(), &again, text));
    // Only a file of one zero byte can look 16-bit once something follows it.
    if (again == SettingsForm::Utf16Unsure) {
        Require(bytes == std::string(1, '\0'));
        return;
    }
    std::size_t begin = 0;
    std::size_t end = 0;
    Require(FindIniValue(text.c_str(), text.Size(), "Config", "RpgType", &begin, &end));
    Require(std::string(text.c_str() + begin, end - begin) == value);
    std::size_t prefix = 0;
    while (prefix < bytes.size() && prefix < edited.size() && bytes[prefix] == edited[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < bytes.size() - prefix && suffix < edited.size() - prefix &&
           bytes[bytes.size() - 1 - suffix] == edited[edited.size() - 1 - suffix]) {
        ++suffix;
    }
    Require(prefix + suffix >= bytes.size());
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
    CheckEdit(rest, (data[0] & 2) != 0 ? "CEDAR" : "MAPLE");
    return 0;
}
