// The form a settings file was saved in, told from its bytes, and the
// conversions between its forms: a file is scanned as 8-bit text (UTF-16
// becomes UTF-8), and an edit of a UTF-16 file is written back in UTF-16.
#pragma once

#include <cstddef>

#include "base/text_encoding.h"
#include "store/text_buffer.h"

// How a settings file was saved.
enum class SettingsForm {
    ShiftJis,  // the tool's own form, and what a Japanese Windows writes
    Utf8,      // with a byte-order mark, or holding a character of 3 or 4 bytes
    Utf16,     // little-endian with its byte-order mark, as Windows' "Unicode"
    // Big-endian with its byte-order mark, or 16-bit without one: read as
    // far as it can be, never written, since a guess could garble it.
    Utf16Unsure,
};

// Whether the text starts with UTF-8's byte-order mark, which is no part of
// its first line.
bool StartsWithUtf8Mark(const char* text, std::size_t size);
// text := the file's bytes as the scanner reads them (UTF-16 becomes UTF-8);
// answers the form. False only when memory ran out.
bool DecodeSettings(const char* bytes, std::size_t size, SettingsForm* form, TextBuffer& text);
// The encoding of the values found in text of that form.
TextEncoding ValueEncoding(SettingsForm form);
// The longest start of text, at most `limit` bytes, that ends between two
// whole characters of that encoding.
std::size_t WholeCharacters(const char* text, std::size_t size, std::size_t limit,
                            TextEncoding encoding);

// Where in little-endian UTF-16 bytes (from `at`) the character lies that
// starts at `offset` of their UTF-8 decoding.
std::size_t Utf16Offset(const char* bytes, std::size_t size, std::size_t at, std::size_t offset);
// out := UTF-8 text as little-endian UTF-16, each byte that is no part of a
// valid UTF-8 character as U+FFFD. False when memory ran out.
bool Utf8ToUtf16(const char* text, std::size_t size, TextBuffer& out);
