// The settings file as text: read and edited in its own bytes, so that the
// encoding it was saved in, its comments and its layout survive the tool's
// one write. Names compare as the Windows profile functions compare them:
// ASCII letters in any case, blanks around names and values ignored.
#pragma once

#include <cstddef>

#include "store/text_buffer.h"
#include "ui/view_port.h"

// How a settings file was saved.
enum class SettingsForm {
    ShiftJis,  // no byte-order mark and not UTF-8: the tool's own form
    Utf8,      // with or without a byte-order mark
    Utf16,     // little-endian with its byte-order mark, as Windows' "Unicode"
};

// text := the file's bytes as the finder reads them (UTF-16 becomes UTF-8);
// answers the form. False only when memory ran out.
bool DecodeSettings(const char* bytes, std::size_t size, SettingsForm* form, TextBuffer& text);
// bytes := text stored in the form again.
bool EncodeSettings(SettingsForm form, const char* text, std::size_t size, TextBuffer& bytes);
// The encoding of the values found in text of that form.
TextEncoding ValueEncoding(SettingsForm form);

// The value of `key` in the first section named `section`, without one pair
// of enclosing quotes: [*begin, *end) of text. False when there is none.
bool FindIniValue(const char* text, std::size_t size, const char* section, const char* key,
                  std::size_t* begin, std::size_t* end);
// out := text with `key` of `section` set to `value`: the old value replaced
// in place, or the key added at the end of the section, or the section added
// at the end. Every other byte is kept. False only when memory ran out.
bool SetIniValue(const char* text, std::size_t size, const char* section, const char* key,
                 const char* value, TextBuffer& out);
