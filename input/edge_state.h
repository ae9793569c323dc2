// One update of an input's edge record: a press and a release each show for
// exactly one update, between them the input is held or idle.
#pragma once

#include <cstdint>

#include "input/input_device_set.h"

void StepEdge(EdgeRecord& edge, std::uint8_t value);
