// The tool's own settings file, Padloom.ini beside the executable.
#pragma once

#include <cstdint>
#include <string>

extern const char SettingsFileName[];  // "Padloom.ini"

// Display labels of the game buttons A, B, C, X, Y, Z, L, R.
constexpr int kButtonLabelCount = 8;
extern std::string ButtonLabels[kButtonLabelCount];

// The executable's directory without a trailing separator, found once and
// made the current directory on every call.
const char* GetExecutableDirectory();
// Its cache, empty until the first call; whole however long the path is.
std::string& ExecutableDirectory();

// A name as given when takeAsGiven is set or it is a drive path ("D:\x"),
// else the executable's directory, "\" and the name.
std::string ResolveSettingsPath(const char* name, bool takeAsGiven);

class ToolSettings {
  public:
    ToolSettings(const char* fileName, bool takeAsGiven);

    // An empty path reads empty text and consults no file.
    void ReadString(const char* section, const char* key, char* buffer, std::uint32_t capacity,
                    const char* fallback) const;
    // An empty path writes nothing.
    void WriteString(const char* section, const char* key, const char* value) const;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Labels and CurrentProfile from the file (defaults where it says nothing).
void ReadToolSettings();
// RpgType := the type name of CurrentProfile.
void WriteToolSettings();
