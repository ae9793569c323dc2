// Byte helpers shared by the store tests, native and under Wine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "assign/assign_record.h"

// count bytes counting up from first: a value nobody would store by chance.
inline std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(first + i);
    }
    return bytes;
}

inline std::vector<std::uint8_t> Record() {
    return {AssignRecord, AssignRecord + kAssignRecordSize};
}

inline std::vector<std::uint8_t> Defaults() {
    return {DefaultAssignRecord, DefaultAssignRecord + kAssignRecordSize};
}
