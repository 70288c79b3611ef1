// The rule parameter vector of a game: 503 signed 16-bit values read through named accessors.
#pragma once

#include <array>
#include <cstdint>

namespace cw::catalog {

// Parameters are numbered 1..502; entry 0 has no row in the definitions file and stays 0.
inline constexpr int kParamCount = 503;
inline constexpr int kLastParam = 502;

class Rules {
public:
    // Out-of-range numbers read as 0, so callers can probe per-pile ranges safely.
    int operator[](int n) const { return (n >= 0 && n < kParamCount) ? values_[n] : 0; }
    int get(int n) const { return (*this)[n]; }
    // Values are stored as 16-bit integers, as in the definitions file; out-of-range numbers are ignored.
    void set(int n, int value)
    {
        if (n >= 0 && n < kParamCount)
            values_[n] = static_cast<int16_t>(value);
    }
    void clear() { values_.fill(0); }
    const std::array<int16_t, kParamCount>& values() const { return values_; }

    friend bool operator==(const Rules&, const Rules&) = default;

    // ---- Named accessors (k and r count piles from 0) ----

    // ---- Deal accessors ----

    // ---- End of deal accessors ----

private:
    std::array<int16_t, kParamCount> values_{};
};

} // namespace cw::catalog
