// Path rules for 8-bit (Shift-JIS) paths: a lead byte and the byte after it
// are one character, and that second byte is never a separator.
#pragma once

#include <string>

bool IsShiftJisLeadByte(unsigned char byte);
// The text after the last '\' or '/', or the whole path when there is none.
const char* LastPathComponent(const char* path);
// The path without its last component and the separator before it.
std::string DirectoryOfPath(const char* path);
