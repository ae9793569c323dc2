// How the bytes of a text from outside are to be read: labels from a
// settings file saved as Shift-JIS, or as UTF-8 like controller names.
#pragma once

#include <cstdint>

enum class TextEncoding : std::uint8_t { ShiftJis, Utf8 };
