// The settings file as text: read and edited in its own bytes, so that the
// encoding it was saved in, its comments and its layout survive the tool's
// one write. Names compare as the Windows profile functions compare them:
// ASCII letters in any case, blanks around names and values ignored.
#pragma once

#include <cstddef>

#include "store/text_buffer.h"
#include "base/text_encoding.h"

// How a settings file was saved.
enum class SettingsForm {
    ShiftJis,  // the tool's own form, and what a Japanese Windows writes
    Utf8,      // with a byte-order mark, or holding a character of 3 or 4 bytes
    Utf16,     // little-endian with its byte-order mark, as Windows' "Unicode"
    // Big-endian with its byte-order mark, or 16-bit without one: read as
    // far as it can be, never written, since a guess could garble it.
    Utf16Unsure,
};

// text := the file's bytes as the finder reads them (UTF-16 becomes UTF-8);
// answers the form. False only when memory ran out.
bool DecodeSettings(const char* bytes, std::size_t size, SettingsForm* form, TextBuffer& text);
// The encoding of the values found in text of that form.
TextEncoding ValueEncoding(SettingsForm form);
// The longest start of text, at most `limit` bytes, that ends between two
// whole characters of that encoding.
std::size_t WholeCharacters(const char* text, std::size_t size, std::size_t limit,
                            TextEncoding encoding);

// The value of `key` in the first section named `section`, without one pair
// of enclosing quotes: [*begin, *end) of text. False when there is none.
bool FindIniValue(const char* text, std::size_t size, const char* section, const char* key,
                  std::size_t* begin, std::size_t* end);
// out := the file's bytes with `key` of `section` set to `value`: the old
// value replaced in place, or the key added at the end of the section, or
// the section added at the end, in the file's own encoding. Every other byte
// is kept, whatever it holds. False when memory ran out or the file's form
// is one the tool does not write.
bool EditSettings(const char* bytes, std::size_t size, const char* section, const char* key,
                  const char* value, TextBuffer& out);
