// An in-memory registry behind the registry seam, with the platform's
// answers: ERROR_MORE_DATA for a value longer than the buffer, no length
// check on a shorter one, the type reported as stored. Any operation can be
// made to fail, and every call is recorded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/registry_port.h"

struct RegistryValue {
    std::uint32_t type = kRegBinary;
    std::vector<std::uint8_t> bytes;
};

struct RegistryCall {
    std::string op;          // "open", "create", "query", "set", "close"
    RegistryRoot root{};     // open and create
    std::string path;        // open and create: the path exactly as given
    std::string name;        // query and set
    std::uint32_t size = 0;  // query: the buffer's size; set: the byte count
};

struct RegistryDouble {
    // Keys by path with ASCII letters folded to lower case, as the registry
    // ignores their case; values by folded name.
    std::map<std::string, std::map<std::string, RegistryValue>> keys;
    // The answer of each operation when not kErrorSuccess; the operation
    // then changes nothing.
    std::int32_t openResult = kErrorSuccess;
    std::int32_t createResult = kErrorSuccess;
    std::int32_t queryResult = kErrorSuccess;
    std::int32_t setResult = kErrorSuccess;
    std::int32_t closeResult = kErrorSuccess;
    std::vector<RegistryCall> calls;
    std::map<RegistryKeyRef, std::string> openKeys;  // handles not closed yet
    std::uintptr_t nextHandle = 0x100;

    void Reset() { *this = RegistryDouble(); }
    void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const std::vector<std::uint8_t>& bytes);
    bool HasKey(const std::string& path) const;
    // Null when the key or the value is missing.
    const RegistryValue* FindValue(const std::string& path, const std::string& name) const;
    int CountCalls(const std::string& op) const;
};

RegistryDouble& TheRegistry();
