// The games the statistics know: names and rule parameters 52 and 378 from the definitions file.
#include <gtest/gtest.h>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "stats/game_catalog.h"
#include "stats/hi_scores.h"

namespace cw::stats {
namespace {

TEST(DefinitionsCatalog, ParametersOfBuiltInAndCustomGames) {
    auto text = catalog::ReadWholeFile(std::string(CW_FIXTURES_DIR) + "/games/GAMES.DAT");
    ASSERT_TRUE(text) << text.error();
    auto built = catalog::BuildGameList(*text);
    catalog::CustomGame custom;
    custom.id = 8000;
    custom.name = "My Spider";
    custom.baseId = 1;
    DefinitionsCatalog games(*text, built.list, {custom});
    EXPECT_EQ(games.error(), "");
    auto klondike = games.game(0);
    ASSERT_TRUE(klondike);
    EXPECT_EQ(klondike->name, "Klondike");
    EXPECT_EQ(klondike->p52, -1);
    EXPECT_EQ(klondike->p378, 52);
    auto mine = games.game(8000);
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine->name, "My Spider");
    EXPECT_EQ(mine->p378, 104);  // the base game's deck
    EXPECT_FALSE(games.game(2));  // hidden rows are no games
    EXPECT_EQ(games.catalogGames().size(), 3u);
    EXPECT_EQ(gameDefaultScores(games, 0)()[0], 52);
    EXPECT_EQ(gameDefaultScores(games, 4711)()[0], 52);  // an unknown game gets one deck's scores
}

}  // namespace
}  // namespace cw::stats
