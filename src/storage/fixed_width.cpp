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

std::string fixedText(std::string_view text, int width) {
    if (width <= 0) return {};
    std::string out(text.substr(0, size_t(width)));
    out.resize(size_t(width), ' ');
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
