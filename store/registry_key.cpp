#include "store/registry_key.h"

#include <cstring>

#include "base/ascii.h"

namespace {

constexpr char kSoftwarePrefix[] = "Software\\";
constexpr std::size_t kSoftwarePrefixLength = sizeof(kSoftwarePrefix) - 1;

// A terminator never equals a prefix byte, so a short subkey stops there.
bool StartsWithSoftware(const char* subkey) {
    return SameAsciiFolded(subkey, kSoftwarePrefix, kSoftwarePrefixLength);
}

// Large enough for every key the tool names; a longer one fails to open
// rather than opening a cut path.
constexpr std::uint32_t kKeyPathCapacity = 512;

}  // namespace

bool RegistryKeyPath(const char* subkey, char* path, std::uint32_t capacity) {
    if (capacity == 0) {
        return false;
    }
    const char* prefix = StartsWithSoftware(subkey) ? "" : kSoftwarePrefix;
    const std::size_t prefixLength = std::strlen(prefix);
    const std::size_t subkeyLength = std::strlen(subkey);
    if (prefixLength + subkeyLength >= capacity) {
        path[0] = '\0';
        return false;
    }
    std::memcpy(path, prefix, prefixLength);
    std::memcpy(path + prefixLength, subkey, subkeyLength + 1);
    return true;
}

RegistryKey::~RegistryKey() {
    Close();
}

bool RegistryKey::OpenForRead(const char* subkey, RegistryRoot root) {
    return Open(subkey, root, reg::OpenKey);
}

bool RegistryKey::OpenForWrite(const char* subkey, RegistryRoot root) {
    return Open(subkey, root, reg::CreateKey);
}

bool RegistryKey::Open(const char* subkey, RegistryRoot root, OpenCall open) {
    char path[kKeyPathCapacity];
    const bool whole = RegistryKeyPath(subkey, path, sizeof(path));
    Close();
    if (!whole) {
        return false;
    }
    if (open(root, path, &key_) != kErrorSuccess) {
        key_ = nullptr;
        return false;
    }
    return true;
}

bool RegistryKey::ReadBinary(const char* valueName, std::uint8_t* buffer, std::uint32_t size) {
    if (key_ == nullptr) {
        return false;
    }
    std::uint32_t type = 0;
    std::uint32_t count = size;
    const std::int32_t result = reg::QueryValue(key_, valueName, &type, buffer, &count);
    return result == kErrorSuccess && type == kRegBinary;
}

bool RegistryKey::WriteBinary(const char* valueName, const std::uint8_t* data, std::uint32_t size) {
    if (key_ == nullptr) {
        return false;
    }
    return reg::SetBinaryValue(key_, valueName, data, size) == kErrorSuccess;
}

void RegistryKey::Close() {
    if (key_ != nullptr) {
        reg::CloseKey(key_);
        key_ = nullptr;
    }
}
