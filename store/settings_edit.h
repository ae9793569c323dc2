// The tool's one edit of the settings file, made in the file's own bytes, so
// that the encoding it was saved in, its comments and its layout survive it.
#pragma once

#include <cstddef>

#include "store/text_buffer.h"

// out := the file's bytes with `key` of `section` set to `value`: the old
// value replaced in place (within its quotes, which stay as they were), or
// the key added at the end of the section, or the section added at the end,
// in the file's own encoding. Every other byte is kept, whatever it holds.
// False when memory ran out or the file's form is one the tool does not
// write.
bool EditSettings(const char* bytes, std::size_t size, const char* section, const char* key,
                  const char* value, TextBuffer& out);
