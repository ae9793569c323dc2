// The runtime's two editions and the one in use.
#pragma once

#include "store/registry_port.h"

struct RuntimeProfile {
    RegistryRoot root;
    const char* subkey;     // below the root, without the "Software\" prefix
    const char* valueName;  // the value that holds the assignment record
    const char* typeName;   // "MAPLE" / "CEDAR": the combo box item and RpgType
};

constexpr int kRuntimeProfileCount = 2;
extern const RuntimeProfile RuntimeProfiles[kRuntimeProfileCount];

// Index into RuntimeProfiles; -1 until the settings have been read.
extern int CurrentProfile;

// The row whose type name equals the text byte for byte, or -1.
int FindRuntimeProfile(const char* typeName);
