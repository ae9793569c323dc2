#include "store/tool_settings.h"

#include <cstring>

#include "store/executable_directory.h"
#include "store/file_rewrite.h"
#include "store/ini_scan.h"
#include "store/runtime_profiles.h"
#include "store/settings_edit.h"
#include "ui/view_port.h"

const char SettingsFileName[] = "Padloom.ini";

namespace {

const char* const kButtonKeys[kButtonLabelCount] = {"A", "B", "C", "X", "Y", "Z", "L", "R"};

// Cut between characters, so a long label loses whole characters only.
void CopyCut(const char* text, std::size_t size, char* buffer, std::uint32_t capacity,
             TextEncoding encoding) {
    if (capacity == 0) {
        return;
    }
    const std::size_t count = WholeCharacters(text, size, capacity - 1, encoding);
    std::memcpy(buffer, text, count);
    buffer[count] = '\0';
}

}  // namespace

bool ResolveSettingsPath(const char* name, bool takeAsGiven, TextBuffer& path) {
    // name[1] is only looked at when name[0] is not the terminator, and
    // name[2] only when name[1] is ':'.
    const bool drivePath = name[0] != '\0' && name[1] == ':' && name[2] == '\\';
    if (takeAsGiven || drivePath) {
        return path.Assign(name);
    }
    return path.Assign(GetExecutableDirectory()) && path.Append("\\") && path.Append(name);
}

ToolSettings::ToolSettings(const char* fileName, bool takeAsGiven) {
    if (!ResolveSettingsPath(fileName, takeAsGiven, path_)) {
        path_.Clear();
    }
}

// A file that is missing, or cannot be read, is empty text.
void ToolSettings::Load() {
    TextBuffer bytes;
    bool fromBackup = false;
    text_.Clear();
    form_ = SettingsForm::ShiftJis;
    if (ReadRecoveredFile(path_.c_str(), bytes, &fromBackup, true) == FileRead::Read &&
        !DecodeSettings(bytes.c_str(), bytes.Size(), &form_, text_)) {
        text_.Clear();
    }
}

void ToolSettings::ReadString(const char* section, const char* key, char* buffer,
                              std::uint32_t capacity, const char* fallback) {
    if (path_.Empty()) {
        CopyCut("", 0, buffer, capacity, Encoding());
        return;
    }
    if (!loaded_) {
        loaded_ = true;
        Load();
    }
    std::size_t begin = 0;
    std::size_t end = 0;
    if (FindIniValue(text_.c_str(), text_.Size(), section, key, &begin, &end)) {
        CopyCut(text_.c_str() + begin, end - begin, buffer, capacity, Encoding());
    } else {
        CopyCut(fallback, std::strlen(fallback), buffer, capacity, Encoding());
    }
}

Rewrite ToolSettings::WriteString(const char* section, const char* key, const char* value) {
    loaded_ = false;
    if (path_.Empty()) {
        return Rewrite::NotWritten;
    }
    TextBuffer bytes;
    TextBuffer edited;
    bool fromBackup = false;
    const FileRead read = ReadRecoveredFile(path_.c_str(), bytes, &fromBackup, false);
    if (read == FileRead::Failed ||
        !EditSettings(bytes.c_str(), bytes.Size(), section, key, value, edited)) {
        return Rewrite::NotWritten;
    }
    // The same bytes again would still make a new file, with a new id and
    // new times: a synced folder would upload it again and an editor holding
    // it would ask to reload.
    const bool same = read == FileRead::Read && !fromBackup && edited.Size() == bytes.Size() &&
                      std::memcmp(edited.c_str(), bytes.c_str(), bytes.Size()) == 0;
    if (same) {
        return Rewrite::Written;
    }
    return RewriteFile(path_.c_str(), edited.c_str(), edited.Size(), bytes.c_str(), bytes.Size());
}

TextEncoding ToolSettings::Encoding() {
    return ValueEncoding(form_);
}

void ReadToolSettings(StartSettings& read) {
    ToolSettings settings(SettingsFileName, false);
    for (int i = 0; i < kButtonLabelCount; ++i) {
        settings.ReadString("KeyName", kButtonKeys[i], read.labels[i], kLabelCapacity,
                            kButtonKeys[i]);
    }
    read.labelEncoding = settings.Encoding();
    char buffer[kLabelCapacity];
    settings.ReadString("Config", "RpgType", buffer, sizeof(buffer), RuntimeProfiles[0].typeName);
    const int profile = FindRuntimeProfile(buffer);
    read.profile = profile < 0 ? 0 : profile;
    settings.ReadString("Config", "Language", read.language, kLanguageCapacity, "");
}

void WriteToolSettings() {
    // Before the settings were read there is no edition worth remembering.
    if (CurrentProfile < 0 || CurrentProfile >= kRuntimeProfileCount) {
        return;
    }
    ToolSettings settings(SettingsFileName, false);
    // Any other failure is silent: the next start reads the older value.
    if (settings.WriteString("Config", "RpgType", RuntimeProfiles[CurrentProfile].typeName) ==
        Rewrite::LinkBroken) {
        view::ShowMessage(MessageBoxOwner, IDS_SETTINGS_LINK_BROKEN, IDS_CAPTION_NOTICE,
                          kMbOk | kMbIconWarning);
    }
}
