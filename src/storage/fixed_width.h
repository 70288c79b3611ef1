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

// Text cut to width characters or padded with blanks on the right to width characters (the widths of
// every data file's fields count characters, so a name with accents takes the room of its letters).
std::string fixedText(std::string_view text, int width);

// The characters of a fixed-width line from the 1-based character column on, at most width of them
// (fewer at the end of the line; "" past it).
std::string textColumn(std::string_view line, std::size_t column, std::size_t width);
// The byte offset where the 1-based character column starts (line.size() past the end).
std::size_t columnOffset(std::string_view line, std::size_t column);

// Parses a decimal integer with optional sign, surrounding blanks allowed; nullopt when not an integer.
std::optional<std::int64_t> parseInteger(std::string_view text);

}  // namespace cw::storage
