// One open registry key, closed by its owner's end of scope.
#pragma once

#include <cstdint>

#include "store/registry_port.h"

class RegistryKey {
  public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    virtual ~RegistryKey();

    // Opens an existing key; never creates one.
    bool OpenForRead(const char* subkey, RegistryRoot root);
    // Opens the key, creating it and the missing keys on its path.
    bool OpenForWrite(const char* subkey, RegistryRoot root);
    // True when the buffer received a REG_BINARY value that fits in it.
    bool ReadBinary(const char* valueName, std::uint8_t* buffer, std::uint32_t size);
    bool WriteBinary(const char* valueName, const std::uint8_t* data, std::uint32_t size);
    void Close();

  private:
    using OpenCall = std::int32_t (*)(RegistryRoot, const char*, RegistryKeyRef*);
    bool Open(const char* subkey, RegistryRoot root, OpenCall open);

    RegistryKeyRef key_ = nullptr;
};

// The path handed to the registry: the subkey as it is when it already starts
// with "Software\" (ASCII letters in any case), else "Software\" + subkey.
// Writes at most capacity bytes including the terminator; false if cut.
bool RegistryKeyPath(const char* subkey, char* path, std::uint32_t capacity);
