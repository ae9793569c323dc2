// Path rules for the tool's paths, which are UTF-8: no byte of a multi-byte
// character is below 0x80, so a '\' or '/' byte is always a separator,
// whatever the characters of the folder names.
#pragma once

#include "store/text_buffer.h"

// The text after the last '\' or '/', or the whole path when there is none.
const char* LastPathComponent(const char* path);
// directory := the path without its last component and the separator before
// it (C:\Games\Tool.exe gives C:\Games, C:\Tool.exe gives C:); a path
// without a separator gives empty text.
bool DirectoryOfPath(const char* path, TextBuffer& directory);
