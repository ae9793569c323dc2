// A text of the tool's own, named by its IDS_* id (res/resource.h); the texts
// themselves are the string tables of res/padloom.rc, one per language.
#pragma once

#include <cstdint>

#include "res/resource.h"

// 0 names none.
using TextId = std::uint16_t;
