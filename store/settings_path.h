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
// out := the path in the "\\?\" form, in which the wide file calls take
// 32,767 characters without a manifest entry, once it is as long as a
// folder's path may otherwise be (MAX_PATH - 12; counted in bytes, which are
// never fewer than its UTF-16 units): C:\x gives \\?\C:\x, \\server\share gives
// \\?\UNC\server\share. That form is taken literally, so '/' becomes '\'; the
// tool's paths are full already (the executable's folder, or a final path).
// A shorter path, a relative one or one in that form already is given as it is.
bool LongFormPath(const char* path, TextBuffer& out);
