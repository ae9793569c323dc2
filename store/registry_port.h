// The seam between the assignment store and the Windows registry. Each
// operation is one advapi32 call with its result code passed through.
#pragma once

#include <cstdint>

using RegistryKeyRef = void*;

// The predefined root keys. The Win32 side maps each to the SDK's own handle:
// those are sign-extended 32-bit values, so no number written here could be
// right for both x86 and x64.
enum class RegistryRoot { CurrentUser };

constexpr std::int32_t kErrorSuccess = 0;
constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorMoreData = 234;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;

namespace reg {

// RegOpenKeyA: opens an existing key, never creates one.
std::int32_t OpenKey(RegistryRoot root, const char* path, RegistryKeyRef* out);
// RegCreateKeyA: opens the key, creating it and any missing keys on its path.
std::int32_t CreateKey(RegistryRoot root, const char* path, RegistryKeyRef* out);
// RegQueryValueExA: size holds the buffer's size on entry.
std::int32_t QueryValue(RegistryKeyRef key, const char* name, std::uint32_t* type,
                        std::uint8_t* data, std::uint32_t* size);
// RegSetValueExA with REG_BINARY.
std::int32_t SetBinaryValue(RegistryKeyRef key, const char* name, const std::uint8_t* data,
                            std::uint32_t size);
// RegCloseKey.
std::int32_t CloseKey(RegistryKeyRef key);

}  // namespace reg
