// Fixed-width number and text fields, the building blocks of every data file and the settings store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cw::storage {

// Right-aligned decimal with leading zeros, minus sign in front of the zeros ("-001"); all "*" when too wide.
std::string fixedNumber(std::int64_t value, int width);

// The number of characters of a text: UTF-8 sequences count one each, and so does every byte that is
// not part of a valid sequence (a file written in a one-byte code page reads as one byte per character).
std::size_t textLength(std::string_view text);

// Text cut to width or padded with blanks on the right.
std::string fixedText(std::string_view text, int width);

// Parses a decimal integer with optional sign, surrounding blanks allowed; nullopt when not an integer.
std::optional<std::int64_t> parseInteger(std::string_view text);

}  // namespace cw::storage
