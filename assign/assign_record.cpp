#include "assign/assign_record.h"

std::uint8_t AssignRecord[kAssignRecordSize] = {};

const std::uint8_t DefaultAssignRecord[kAssignRecordSize] = {
    11, 12, 13, 14, 15, 16, 17, 18, 0, 0,  // gamepad buttons 1 to 10
    13, 13, 12, 12, 11, 11, 12, 13, 0, 0,  // Space, Enter, Esc, Num 0, Shift, Z, X, C, V, B
    14, 15, 16, 17, 18,                    // A, S, D, Q, W
};

const char* const InputNameTable[kInputCount + 1] = {
    "----",     "Button 1", "Button 2", "Button 3",  "Button 4", "Button 5", "Button 6",
    "Button 7", "Button 8", "Button 9", "Button 10", "Space",    "Enter",    "Esc",
    "Num 0",    "Shift",    "Z",        "X",         "C",        "V",        "B",
    "A",        "S",        "D",        "Q",         "W",
};
