// libFuzzer target: arbitrary bytes as the game log Stat_log.dat through the readers outside the
// statistics: the game-number dialog's previous and lost games and FastSearch's games not yet won.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog/game_numbers.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace cw::catalog;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = cw::fuzz::inputLines(bytes);
    const auto previous = PreviousGames(lines);
    for (const auto& p : previous) {
        (void)IsValidLogDate(p.date);
        (void)LostDeals(lines, p.gameName);
        (void)GamesWonBy(lines, p.player);
    }
    (void)LostDeals(lines, "");
    (void)GamesWonBy(lines, "");
    return 0;
}
