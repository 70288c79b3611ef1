// The statistics context: dates, random digits, the current game and player.
#include "stats/stat_context.h"

#include <ctime>
#include <random>

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::stats {

DateTime DateTime::now() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string DateTime::dateText() const {
    return storage::fixedNumber(year, 4) + storage::fixedNumber(month, 2) + storage::fixedNumber(day, 2);
}

std::string DateTime::timeText(char separator) const {
    std::string sep(1, separator);
    return storage::fixedNumber(hour, 2) + sep + storage::fixedNumber(minute, 2) + sep +
           storage::fixedNumber(second, 2);
}

void StatsContext::inform(const std::string& text) const {
    if (notices) notices->information(text);
}

int StatsContext::digit(int maxDigit) const {
    if (randomDigit) {
        int d = randomDigit(maxDigit);
        return d < 0 ? 0 : (d > maxDigit ? maxDigit : d);
    }
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, maxDigit)(engine);
}

std::string StatsContext::currentPlayer() const {
    return settings ? storage::trim(settings->get(storage::col::Player)) : std::string();
}

int StatsContext::currentGameId() const {
    if (!settings) return -1;
    auto v = storage::parseInteger(settings->get(storage::col::GameId));
    return v ? int(*v) : -1;
}

std::string gameSection(int gameId) { return storage::fixedNumber(gameId, 4); }

}  // namespace cw::stats
