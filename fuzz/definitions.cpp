// libFuzzer target: arbitrary bytes as a definitions file (and as a custom games file) through every reader.
#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace cw::catalog;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const GameListBuild built = BuildGameList(text);
    const std::vector<CustomGame> customs = ReadCustomGames(text, &built.list).games;

    // Every column, including one past the end.
    for (int c = 0; c <= built.list.size() && c < 64; ++c)
        (void)LoadRulesAtColumn(text, c);
    // Each load reads the whole text again; a bounded number keeps the fuzzer fast.
    for (int i = 0; i < built.list.size() && i < 64; ++i) {
        const GameEntry& e = built.list.entries()[i];
        (void)LoadGameRules(text, built.list, e.id, customs);
        (void)ReadGameParameters(text, built.list, e.id, {1, 16, 24, 54, 135, 378, 497, 502, 0});
        (void)GameName(built.list, customs, e.id);
        (void)GameIdByName(built.list, customs, e.name);
        (void)CanPlayOnThisScreen(built.list, customs, 640, e.id);
    }
    for (std::size_t i = 0; i < customs.size() && i < 16; ++i) {
        const CustomGame& g = customs[i];
        (void)LoadGameRules(text, built.list, g.id, customs);
        (void)CanPlayOnThisScreen(built.list, customs, 640, g.id);
    }
    (void)ReadParameterPairForAllGames(text, built.list, 501, 502);
    (void)AllGameNames(built.list, customs);
    for (std::string_view header : {kSectPopular, kSectOriginal, kSectChildren})
        (void)ReadGameGroup(text, header);

    // A custom rule string from the input's first bytes.
    Rules rules;
    rules.set(374, 16);
    rules.set(375, 40);
    ApplyCustomRuleString(rules, text.substr(0, 17));
    return 0;
}
