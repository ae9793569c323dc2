// One update of an input's edge record: a press and a release each show for
// exactly one update, between them the input is held or idle.
#pragma once

#include <cstdint>

#include "input/input_device_set.h"

// Pressed (2) and held (3) are down now, released (1) and idle (0) up; the
// low bit tells whether the input was down at the last update. Written
// without branches: it runs for every key and pad input on every tick.
inline void StepEdge(EdgeRecord& edge, std::uint8_t value) {
    const int down = value != 0 ? 1 : 0;
    const int was = edge.previous != 0 ? 1 : 0;
    edge.current = value;
    edge.state = 2 * down + was;
    edge.previous = static_cast<std::uint8_t>(down != 0 ? (was != 0 ? edge.previous : 1) : 0);
}
