#include "store/runtime_profiles.h"

#include <cstring>

const RuntimeProfile RuntimeProfiles[kRuntimeProfileCount] = {
    {RegistryRoot::CurrentUser, "Quillhaven\\Vyne", "ButtonAssign", "MAPLE"},
    {RegistryRoot::CurrentUser, "Quillhaven\\Vyne2", "ButtonAssign", "CEDAR"},
};

int CurrentProfile = -1;

int FindRuntimeProfile(const char* typeName) {
    for (int i = 0; i < kRuntimeProfileCount; ++i) {
        if (std::strcmp(typeName, RuntimeProfiles[i].typeName) == 0) {
            return i;
        }
    }
    return -1;
}
