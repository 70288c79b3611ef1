// The engine's pseudo-random generator (32-bit linear congruential) and fresh game numbers.
#pragma once

#include <cstdint>
#include <string>

namespace cw::engine {

// seed <- seed * 134775813 + 1 (mod 2^32); a draw in 0..n-1 is the upper 32 bits of the
// 64-bit product seed * n. The sequence is part of what players see (fresh game numbers),
// so the constants must not change. It never feeds the shuffle itself.
class Random {
public:
    Random() = default;
    explicit Random(std::uint32_t seed) : seed_(seed) {}

    // Seed from the local time of day: ((hour * 60 + minute) * 60 + second) * 1000 + ms.
    static Random fromTimeOfDay();
    static std::uint32_t timeOfDaySeed(int hour, int minute, int second, int millisecond);

    std::uint32_t seed() const { return seed_; }
    void setSeed(std::uint32_t seed) { seed_ = seed; }

    // Advances the seed and returns a value in 0..n-1 (0 when n <= 0).
    int next(int n);

    // A fresh game number: a in 0..9999998 times b in 0..999998, as 13 digits with leading zeros.
    std::string newGameNumber();

private:
    std::uint32_t seed_ = 0;
};

} // namespace cw::engine
