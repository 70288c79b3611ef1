// The game clock: stretches of play measured by time of day, pauses left out.
#include "engine/game_clock.h"

#include <chrono>
#include <ctime>

namespace cw::engine {

std::int64_t localTimeOfDayMs()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return (static_cast<std::int64_t>(local.tm_hour) * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 + ms;
}

std::int64_t GameClock::stretchMs() const
{
    if (!running_)
        return 0;
    std::int64_t d = now_() - startMs_;
    if (d < 0)
        d += kDayMs; // the deal has passed midnight
    return d;
}

void GameClock::reset()
{
    doneMs_ = 0;
    running_ = false;
    paused_ = false;
}

void GameClock::start()
{
    if (running_)
        return;
    startMs_ = now_();
    running_ = true;
    paused_ = false;
}

void GameClock::pause()
{
    if (!running_)
        return;
    doneMs_ += stretchMs();
    running_ = false;
    paused_ = true;
}

void GameClock::resume()
{
    if (!paused_)
        return;
    paused_ = false;
    start();
}

void GameClock::stop()
{
    doneMs_ += stretchMs();
    running_ = false;
    paused_ = false;
}

void GameClock::restore(int elapsedSeconds)
{
    doneMs_ = elapsedSeconds > 0 ? static_cast<std::int64_t>(elapsedSeconds) * 1000 : 0;
    running_ = false;
    paused_ = false;
    start();
}

int GameClock::elapsedSeconds() const { return static_cast<int>((doneMs_ + stretchMs()) / 1000); }

std::string GameClock::formatClock(int seconds, char separator)
{
    if (seconds < 0)
        seconds = 0;
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    std::string out = std::to_string(h);
    out += separator;
    out += static_cast<char>('0' + m / 10);
    out += static_cast<char>('0' + m % 10);
    out += separator;
    out += static_cast<char>('0' + s / 10);
    out += static_cast<char>('0' + s % 10);
    return out;
}

int parseClockLabel(std::string_view label)
{
    // Three fields of digits separated by any one non-digit character (the locale's separator).
    long long fields[3] = {0, 0, 0};
    int field = 0;
    bool digits = false;
    for (char c : label) {
        if (c >= '0' && c <= '9') {
            fields[field] = fields[field] * 10 + (c - '0');
            if (fields[field] > 10'000'000)
                return 0;
            digits = true;
        } else {
            if (!digits || field == 2)
                return 0;
            ++field;
            digits = false;
        }
    }
    if (field != 2 || !digits)
        return 0;
    const long long total = fields[0] * 3600 + fields[1] * 60 + fields[2];
    return total > 2'000'000'000 ? 0 : static_cast<int>(total);
}

} // namespace cw::engine
