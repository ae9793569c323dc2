// The gamepad page's line about the controllers: the name of the one read
// and how many others are connected, or that none is and plugging one in is
// enough.
#pragma once

#include "base/platform_refs.h"

// True where the line's text (before it is fitted to its room) changed.
bool ShowControllerLine(WindowRef line);
