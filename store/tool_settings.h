// The tool's own settings file, Padloom.ini beside the executable.
#pragma once

#include <cstdint>

#include "base/text_encoding.h"
#include "store/file_rewrite.h"
#include "store/settings_form.h"
#include "store/text_buffer.h"

extern const char SettingsFileName[];  // "Padloom.ini"

constexpr int kButtonLabelCount = 8;
constexpr std::uint32_t kLabelCapacity = 512;
constexpr std::uint32_t kLanguageCapacity = 16;

// What the tool takes from the file when it starts.
struct StartSettings {
    // Display labels of the game buttons A, B, C, X, Y, Z, L, R, as the file
    // holds them (at most 511 bytes each), and how to read them.
    char labels[kButtonLabelCount][kLabelCapacity];
    TextEncoding labelEncoding;
    // [Config] RpgType as an index of RuntimeProfiles: 0 where it names none.
    int profile;
    // [Config] Language as the file gives it (cut to the buffer); empty where
    // it gives none.
    char language[kLanguageCapacity];
};

// path := the name as given when takeAsGiven is set or it is a drive path
// ("D:\x"), else the executable's directory, "\" and the name.
bool ResolveSettingsPath(const char* name, bool takeAsGiven, TextBuffer& path);

class ToolSettings {
  public:
    ToolSettings(const char* fileName, bool takeAsGiven);

    // A missing file, section or key gives the fallback; an empty path gives
    // empty text and consults no file. The file is read once, on first use.
    // A value longer than the buffer is cut after its last whole character.
    void ReadString(const char* section, const char* key, char* buffer, std::uint32_t capacity,
                    const char* fallback);
    // Sets the key in the file as it is now, keeping every other byte and the
    // encoding it was saved in; a file that cannot be read, or in a 16-bit
    // form that is not certain, is left alone, and so is one that already
    // holds the value (Written).
    Rewrite WriteString(const char* section, const char* key, const char* value);
    // How the values read are encoded.
    TextEncoding Encoding();
    const char* Path() const { return path_.c_str(); }

  private:
    void Load();

    TextBuffer path_;
    TextBuffer text_;
    SettingsForm form_ = SettingsForm::ShiftJis;
    bool loaded_ = false;
};

// The file read once: labels, edition and language (defaults where it says
// nothing). CurrentProfile is the caller's to set.
void ReadToolSettings(StartSettings& read);
// RpgType := the type name of CurrentProfile. A link that leads nowhere the
// file can be made is left as it is, and a message says so.
void WriteToolSettings();
