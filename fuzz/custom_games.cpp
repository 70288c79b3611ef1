// libFuzzer target: arbitrary bytes as the custom games file, through its reader, its writer and the rule strings.
#include "catalog/custom_games.h"
#include "catalog/custom_rules.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace cw::catalog;

namespace {

// A small game list (ids 0 to 9) so that base games can be found or not.
const GameList& list()
{
    static const GameList l = [] {
        GameList g;
        for (int id = 0; id < 10; ++id) {
            GameEntry e;
            e.id = id;
            e.type = 5;
            e.name = "Game " + std::to_string(id);
            e.usable = true;
            g.append(e);
        }
        return g;
    }();
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CustomGamesFile file = ParseCustomGamesFile(text);
    const CustomGamesRead read = ReadCustomGames(file, &list());
    for (const CustomGame& g : read.games) {
        if (g.id < kFirstCustomId || g.id > kLastCustomId || list().find(g.baseId) == nullptr ||
            g.ruleString.size() != static_cast<std::size_t>(kCustomRuleStringLength) ||
            !CheckCustomRuleString(g.ruleString).empty())
            std::abort();
        Rules rules;
        rules.set(374, 16);
        rules.set(375, 40);
        ApplyCustomRuleString(rules, g.ruleString);
        (void)CustomGameName(read.games, g.id);
        (void)CustomGameIdByName(read.games, g.name);
        (void)CompareWithBaseGame(Rules{}, rules);
    }
    // Every usable record is kept by a rewrite, and a second rewrite changes nothing more.
    const std::string once = FormatCustomGamesFile(file);
    const CustomGamesFile again = ParseCustomGamesFile(once);
    const CustomGamesRead reread = ReadCustomGames(again, &list());
    if (reread.games.size() != read.games.size() || FormatCustomGamesFile(again) != once)
        std::abort();
    (void)NextCustomGameId(file);
    (void)ListCustomGames(read.games);
    (void)CheckCustomGameName(text.substr(0, 60), list(), read.games);
    return 0;
}
