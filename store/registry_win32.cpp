#include <windows.h>

#include "store/registry_port.h"

namespace {

// HKEY_CURRENT_USER is (HKEY)(ULONG_PTR)(LONG)0x80000001, 0xFFFFFFFF80000001
// on x64. Wine looks at the low 32 bits only; Windows accepts the predefined
// values alone, so the zero-extended handle would fail only there.
HKEY ToHkey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
    }
    return nullptr;
}

}  // namespace

namespace reg {

std::int32_t OpenKey(RegistryRoot root, const char* path, RegistryKeyRef* out) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyA(ToHkey(root), path, &key);
    *out = key;
    return result;
}

std::int32_t CreateKey(RegistryRoot root, const char* path, RegistryKeyRef* out) {
    HKEY key = nullptr;
    const LONG result = RegCreateKeyA(ToHkey(root), path, &key);
    *out = key;
    return result;
}

std::int32_t QueryValue(RegistryKeyRef key, const char* name, std::uint32_t* type,
                        std::uint8_t* data, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD count = *size;
    const LONG result =
        RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &valueType, data, &count);
    *type = valueType;
    *size = count;
    return result;
}

std::int32_t SetBinaryValue(RegistryKeyRef key, const char* name, const std::uint8_t* data,
                            std::uint32_t size) {
    return RegSetValueExA(static_cast<HKEY>(key), name, 0, REG_BINARY, data, size);
}

std::int32_t CloseKey(RegistryKeyRef key) {
    return RegCloseKey(static_cast<HKEY>(key));
}

}  // namespace reg
