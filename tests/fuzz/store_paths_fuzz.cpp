// Path rules and the settings path on arbitrary bytes: nothing is read past
// a terminator (every text sits in a buffer of exactly its own length), the
// directory is always a prefix of the path ending at a one-byte separator,
// and no cut falls inside a two-byte character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "doubles/system_double.h"
#include "store/settings_path.h"
#include "store/tool_settings.h"

namespace {

std::unique_ptr<char[]> ExactCopy(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

// Character starts found by a walk of its own, the terminator included.
std::set<std::size_t> CharacterStarts(const std::string& text) {
    std::set<std::size_t> starts;
    std::size_t i = 0;
    while (i < text.size()) {
        starts.insert(i);
        const bool lead = IsShiftJisLeadByte(static_cast<unsigned char>(text[i]));
        i += (lead && i + 1 < text.size()) ? 2 : 1;
    }
    starts.insert(text.size());
    return starts;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckDirectory(const std::string& path, const std::string& directory) {
    const std::set<std::size_t> starts = CharacterStarts(path);
    if (!directory.empty()) {
        Require(directory.size() < path.size());
        Require(path.compare(0, directory.size(), directory) == 0);
        Require(path[directory.size()] == '\\' || path[directory.size()] == '/');
        Require(starts.count(directory.size()) == 1);
    }
}

void CheckPath(const std::string& text) {
    const std::unique_ptr<char[]> path = ExactCopy(text);
    const char* component = LastPathComponent(path.get());
    Require(component >= path.get() && component <= path.get() + text.size());
    const std::size_t offset = static_cast<std::size_t>(component - path.get());
    Require(CharacterStarts(text).count(offset) == 1);
    if (offset > 0) {
        Require(text[offset - 1] == '\\' || text[offset - 1] == '/');
    }
    const std::string directory = DirectoryOfPath(path.get());
    CheckDirectory(text, directory);
    Require(directory.size() + (offset > 0 ? 1 : 0) <= offset);
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
    ExecutableDirectory().clear();
    const std::unique_ptr<char[]> nameCopy = ExactCopy(name);
    const std::string resolved = ResolveSettingsPath(nameCopy.get(), takeAsGiven);
    const bool drivePath = name.size() >= 3 && name[1] == ':' && name[2] == '\\';
    if (takeAsGiven || drivePath) {
        Require(resolved == name);
    } else {
        CheckDirectory(modulePath, ExecutableDirectory());
        Require(resolved == ExecutableDirectory() + "\\" + name);
    }
    return 0;
}
