#include "doubles/registry_double.h"

#include <cstring>

namespace {

std::string Fold(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

constexpr std::int32_t kErrorInvalidHandle = 6;

}  // namespace

RegistryDouble& TheRegistry() {
    static RegistryDouble registry;
    return registry;
}

void RegistryDouble::PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& bytes) {
    keys[Fold(path)][Fold(name)] = RegistryValue{type, bytes};
}

bool RegistryDouble::HasKey(const std::string& path) const {
    return keys.count(Fold(path)) != 0;
}

const RegistryValue* RegistryDouble::FindValue(const std::string& path,
                                               const std::string& name) const {
    const auto key = keys.find(Fold(path));
    if (key == keys.end()) {
        return nullptr;
    }
    const auto value = key->second.find(Fold(name));
    return value == key->second.end() ? nullptr : &value->second;
}

int RegistryDouble::CountCalls(const std::string& op) const {
    int count = 0;
    for (const RegistryCall& call : calls) {
        count += call.op == op ? 1 : 0;
    }
    return count;
}

namespace reg {

namespace {

RegistryKeyRef Hand(const std::string& folded) {
    RegistryDouble& r = TheRegistry();
    RegistryKeyRef handle = reinterpret_cast<RegistryKeyRef>(r.nextHandle++);
    r.openKeys[handle] = folded;
    return handle;
}

}  // namespace

std::int32_t OpenKey(RegistryRoot root, const char* path, RegistryKeyRef* out) {
    RegistryDouble& r = TheRegistry();
    r.calls.push_back({"open", root, path, "", 0});
    if (r.openResult != kErrorSuccess) {
        return r.openResult;
    }
    const std::string folded = Fold(path);
    if (r.keys.count(folded) == 0) {
        return kErrorFileNotFound;
    }
    *out = Hand(folded);
    return kErrorSuccess;
}

std::int32_t CreateKey(RegistryRoot root, const char* path, RegistryKeyRef* out) {
    RegistryDouble& r = TheRegistry();
    r.calls.push_back({"create", root, path, "", 0});
    if (r.createResult != kErrorSuccess) {
        return r.createResult;
    }
    const std::string folded = Fold(path);
    // Every key on the way exists afterwards, as with RegCreateKeyA.
    for (std::size_t end = folded.find('\\'); end != std::string::npos;
         end = folded.find('\\', end + 1)) {
        r.keys[folded.substr(0, end)];
    }
    r.keys[folded];
    *out = Hand(folded);
    return kErrorSuccess;
}

std::int32_t QueryValue(RegistryKeyRef key, const char* name, std::uint32_t* type,
                        std::uint8_t* data, std::uint32_t* size) {
    RegistryDouble& r = TheRegistry();
    r.calls.push_back({"query", RegistryRoot{}, "", name, *size});
    if (r.queryResult != kErrorSuccess) {
        return r.queryResult;
    }
    const auto open = r.openKeys.find(key);
    if (open == r.openKeys.end()) {
        return kErrorInvalidHandle;
    }
    const auto& values = r.keys[open->second];
    const auto value = values.find(Fold(name));
    if (value == values.end()) {
        return kErrorFileNotFound;
    }
    const std::vector<std::uint8_t>& bytes = value->second.bytes;
    *type = value->second.type;
    const std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr && length > *size) {
        *size = length;
        return kErrorMoreData;
    }
    if (data != nullptr && length > 0) {
        std::memcpy(data, bytes.data(), length);
    }
    *size = length;
    return kErrorSuccess;
}

std::int32_t SetBinaryValue(RegistryKeyRef key, const char* name, const std::uint8_t* data,
                            std::uint32_t size) {
    RegistryDouble& r = TheRegistry();
    r.calls.push_back({"set", RegistryRoot{}, "", name, size});
    if (r.setResult != kErrorSuccess) {
        return r.setResult;
    }
    const auto open = r.openKeys.find(key);
    if (open == r.openKeys.end()) {
        return kErrorInvalidHandle;
    }
    r.keys[open->second][Fold(name)] = RegistryValue{kRegBinary, {data, data + size}};
    return kErrorSuccess;
}

std::int32_t CloseKey(RegistryKeyRef key) {
    RegistryDouble& r = TheRegistry();
    r.calls.push_back({"close", RegistryRoot{}, "", "", 0});
    if (r.openKeys.erase(key) == 0) {
        return kErrorInvalidHandle;
    }
    return r.closeResult;
}

}  // namespace reg
