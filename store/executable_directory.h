// The folder the executable sits in, beside which the settings file lives.
#pragma once

#include "store/text_buffer.h"

// The executable's directory (UTF-8) without a trailing separator, looked up
// on the first call and kept; empty where the system gives no path. Only
// looks: the current directory is left as it is.
const char* GetExecutableDirectory();
// Its cache, empty until the first call; whole however long the path is.
TextBuffer& ExecutableDirectory();
// Makes the executable's directory the current one; false where the system
// refuses.
bool EnterExecutableDirectory();
