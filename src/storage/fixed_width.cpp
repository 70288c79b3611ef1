// Fixed-width number and text fields, the building blocks of every data file and the settings store.
#include "storage/fixed_width.h"

#include <limits>

namespace cw::storage {

std::string fixedNumber(std::int64_t value, int width) {
    if (width <= 0) return {};
    bool negative = value < 0;
    // Magnitude as unsigned so that the most negative value does not overflow.
    std::uint64_t magnitude = negative ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    std::string digits = std::to_string(magnitude);
    size_t needed = digits.size() + (negative ? 1 : 0);
    if (needed > size_t(width)) return std::string(size_t(width), '*');
    std::string out = negative ? "-" : "";
    out.append(size_t(width) - needed, '0');
    out += digits;
    return out;
}

namespace {

// Bytes of the character at the start of text (1 for a byte outside a valid UTF-8 sequence).
std::size_t charBytes(std::string_view text)
{
    unsigned char c = static_cast<unsigned char>(text[0]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (n == 1 || n > text.size())
        return 1;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 1;
    // Overlong forms and values past U+10FFFF are no characters.
    if (n == 2 && c < 0xC2)
        return 1;
    if (n == 3 && c == 0xE0 && static_cast<unsigned char>(text[1]) < 0xA0)
        return 1;
    if (n == 4 && (c > 0xF4 || (c == 0xF0 && static_cast<unsigned char>(text[1]) < 0x90) ||
                   (c == 0xF4 && static_cast<unsigned char>(text[1]) > 0x8F)))
        return 1;
    return n;
}

} // namespace

std::size_t textLength(std::string_view text)
{
    std::size_t count = 0;
    while (!text.empty()) {
        text.remove_prefix(charBytes(text));
        ++count;
    }
    return count;
}

std::size_t columnOffset(std::string_view line, std::size_t column) {
    std::size_t at = 0;
    for (std::size_t c = 1; c < column && at < line.size(); ++c) at += charBytes(line.substr(at));
    return at;
}

std::string textColumn(std::string_view line, std::size_t column, std::size_t width) {
    if (column == 0) return {};
    std::size_t from = columnOffset(line, column);
    std::string_view rest = line.substr(from);
    return std::string(rest.substr(0, columnOffset(rest, width + 1)));
}

std::string fixedText(std::string_view text, int width) {
    if (width <= 0) return {};
    std::size_t chars = 0, at = 0;
    while (at < text.size() && chars < std::size_t(width)) {
        at += charBytes(text.substr(at));
        ++chars;
    }
    std::string out(text.substr(0, at));
    out.append(std::size_t(width) - chars, ' ');
    return out;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\t')) --n;
    if (i == n) return std::nullopt;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    if (i == n) return std::nullopt;
    std::uint64_t value = 0;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    for (; i < n; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        std::uint64_t d = std::uint64_t(c - '0');
        if (value > (limit - d) / 10) return std::nullopt;
        value = value * 10 + d;
    }
    if (negative) return value == limit ? std::numeric_limits<std::int64_t>::min() : -std::int64_t(value);
    return std::int64_t(value);
}

}  // namespace cw::storage
