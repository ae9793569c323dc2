#include "store/assign_store.h"

#include <cstdint>
#include <cstring>

#include "assign/assign_record.h"
#include "store/registry_key.h"
#include "store/runtime_profiles.h"
#include "ui/view_port.h"

namespace {

bool HasCurrentProfile() {
    return CurrentProfile >= 0 && CurrentProfile < kRuntimeProfileCount;
}

}  // namespace

void LoadAssignRecord() {
    // A shorter binary value fills only its own length, so the rest must not
    // keep bytes from whichever record was loaded before.
    std::uint8_t loaded[kAssignRecordSize] = {};
    bool read = false;
    if (HasCurrentProfile()) {
        const RuntimeProfile& profile = RuntimeProfiles[CurrentProfile];
        RegistryKey key;
        read = key.OpenForRead(profile.subkey, profile.root) &&
               key.ReadBinary(profile.valueName, loaded, sizeof(loaded));
    }
    std::memcpy(AssignRecord, read ? loaded : DefaultAssignRecord, kAssignRecordSize);
}

bool StoreAssignRecord(bool announce) {
    bool written = false;
    if (HasCurrentProfile()) {
        const RuntimeProfile& profile = RuntimeProfiles[CurrentProfile];
        RegistryKey key;
        written = key.OpenForWrite(profile.subkey, profile.root) &&
                  key.WriteBinary(profile.valueName, AssignRecord, kAssignRecordSize);
    }
    if (!written) {
        view::ShowMessage(MessageBoxOwner, IDS_SAVE_FAILED, IDS_CAPTION_NOTICE,
                          kMbOk | kMbIconWarning);
    } else if (announce) {
        view::ShowMessage(MessageBoxOwner, IDS_SAVED, IDS_CAPTION_NOTICE,
                          kMbOk | kMbIconInformation);
    }
    return written;
}
