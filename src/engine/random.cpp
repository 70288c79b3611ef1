// The linear congruential generator and the drawing of fresh game numbers.
#include "engine/random.h"

#include <chrono>
#include <ctime>

namespace cw::engine {

std::uint32_t Random::timeOfDaySeed(int hour, int minute, int second, int millisecond)
{
    return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

Random Random::fromTimeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return Random(timeOfDaySeed(local.tm_hour, local.tm_min, local.tm_sec, ms));
}

int Random::next(int n)
{
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint64_t>(n)) >> 32);
}

std::string Random::newGameNumber()
{
    const std::uint64_t a = static_cast<std::uint64_t>(next(9999999));
    const std::uint64_t b = static_cast<std::uint64_t>(next(999999));
    std::string digits = std::string(13, '0') + std::to_string(a * b);
    return digits.substr(digits.size() - 13);
}

} // namespace cw::engine
