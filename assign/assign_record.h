// The runtime's 25-byte assignment record: byte i is the game button code
// (11..18 for A, B, C, X, Y, Z, L, R) driven by input i, or 0.
#pragma once

#include <cstdint>

constexpr int kAssignRecordSize = 25;
constexpr int kInputCount = 25;
constexpr std::uint8_t kFirstButtonCode = 11;  // A
constexpr std::uint8_t kLastButtonCode = 18;   // R

// The process's one in-memory record, zero until a load fills it.
extern std::uint8_t AssignRecord[kAssignRecordSize];
extern const std::uint8_t DefaultAssignRecord[kAssignRecordSize];

// Slot captions indexed by grid value (input index + 1); 0 is the empty slot.
extern const char* const InputNameTable[kInputCount + 1];
