// DLLs the tool loads at run time, from the Windows system directory only:
// a game folder often holds a modded dinput8.dll that must never be the one used.
#pragma once

#include "input/library_port.h"

// Null when the DLL cannot be loaded from the system directory.
ModuleRef LoadSystemLibrary(const char* name);
