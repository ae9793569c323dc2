#include "store/tool_settings.h"

#include "store/runtime_profiles.h"
#include "store/settings_path.h"
#include "store/system_port.h"

const char SettingsFileName[] = "Padloom.ini";

std::string ButtonLabels[kButtonLabelCount];

std::string& ExecutableDirectory() {
    // Function-local, so it exists when the process globals first ask for the
    // directory during static initialisation, whatever the order of files.
    static std::string directory;
    return directory;
}

namespace {

// Each value is read into a buffer of this size, so at most 511 bytes count.
constexpr std::uint32_t kValueCapacity = 512;

constexpr std::uint32_t kFirstModulePathCapacity = 512;
// Far beyond any path Windows can give; only stops a platform that never
// answers with a whole path from growing the buffer for ever.
constexpr std::uint32_t kLastModulePathCapacity = 1u << 16;

const char* const kButtonKeys[kButtonLabelCount] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};

// The executable's whole path, or empty text. A count equal to the capacity
// means the path was cut (and, on older systems, not terminated), so the
// buffer grows until the path fits.
std::string ModulePath() {
    std::string buffer;
    for (std::uint32_t capacity = kFirstModulePathCapacity; capacity <= kLastModulePathCapacity;
         capacity *= 2) {
        buffer.assign(capacity, '\0');
        const std::uint32_t count = sys::ModuleFileName(&buffer[0], capacity);
        if (count < capacity) {
            buffer.resize(count);
            return buffer;
        }
    }
    return std::string();
}

}  // namespace

const char* GetExecutableDirectory() {
    if (ExecutableDirectory().empty()) {
        const std::string path = ModulePath();
        ExecutableDirectory() = DirectoryOfPath(path.c_str());
    }
    // Its result is not used: settings paths are absolute anyway.
    sys::SetCurrentDir(ExecutableDirectory().c_str());
    return ExecutableDirectory().c_str();
}

std::string ResolveSettingsPath(const char* name, bool takeAsGiven) {
    // name[1] is only looked at when name[0] is not the terminator, and
    // name[2] only when name[1] is ':'.
    const bool drivePath = name[0] != '\0' && name[1] == ':' && name[2] == '\\';
    if (takeAsGiven || drivePath) {
        return name;
    }
    std::string path = GetExecutableDirectory();
    path += '\\';
    path += name;
    return path;
}

ToolSettings::ToolSettings(const char* fileName, bool takeAsGiven)
    : path_(ResolveSettingsPath(fileName, takeAsGiven)) {}

void ToolSettings::ReadString(const char* section, const char* key, char* buffer,
                              std::uint32_t capacity, const char* fallback) const {
    if (path_.empty()) {
        if (capacity > 0) {
            buffer[0] = '\0';
        }
        return;
    }
    sys::ReadIniString(section, key, fallback, buffer, capacity, path_.c_str());
}

void ToolSettings::WriteString(const char* section, const char* key, const char* value) const {
    if (path_.empty()) {
        return;
    }
    sys::WriteIniString(section, key, value, path_.c_str());
}

void ReadToolSettings() {
    const ToolSettings settings(SettingsFileName, false);
    char buffer[kValueCapacity];
    for (int i = 0; i < kButtonLabelCount; ++i) {
        settings.ReadString("KeyName", kButtonKeys[i], buffer, sizeof(buffer), kButtonKeys[i]);
        ButtonLabels[i] = buffer;
    }
    settings.ReadString("Config", "RpgType", buffer, sizeof(buffer), RuntimeProfiles[0].typeName);
    const int profile = FindRuntimeProfile(buffer);
    CurrentProfile = profile < 0 ? 0 : profile;
}

void WriteToolSettings() {
    // Before the settings were read there is no edition worth remembering.
    if (CurrentProfile < 0 || CurrentProfile >= kRuntimeProfileCount) {
        return;
    }
    const ToolSettings settings(SettingsFileName, false);
    settings.WriteString("Config", "RpgType", RuntimeProfiles[CurrentProfile].typeName);
}
