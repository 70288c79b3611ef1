// Fixed-width number and text fields, the building blocks of every data file and the settings store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cw::storage {

// Right-aligned decimal with leading zeros, minus sign in front of the zeros ("-001"); all "*" when too wide.
std::string fixedNumber(std::int64_t value, int width);

// Text cut to width or padded with blanks on the right.
std::string fixedText(std::string_view text, int width);

// Parses a decimal integer with optional sign, surrounding blanks allowed; nullopt when not an integer.
std::optional<std::int64_t> parseInteger(std::string_view text);

}  // namespace cw::storage
