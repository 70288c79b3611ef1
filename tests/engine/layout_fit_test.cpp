// Cards that follow the window: the largest scale at which a game's layout fits, on the catalog's own games.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "built_catalog.h"
#include "engine/geometry.h"
#include "engine/layout.h"

using namespace cw::engine;

namespace {

LayoutRoom windowRoom(int width, int height)
{
    LayoutRoom room;
    room.width = width;
    room.clientHeight = height;
    return room;
}

GameRules rulesOf(const cw::test::BuiltCatalog& catalog, int id)
{
    auto loaded = cw::catalog::LoadGameRules(catalog.text, catalog.list, id, {});
    EXPECT_TRUE(loaded.ok()) << id;
    return GameRules(loaded.value());
}

// Every two piles the game uses at the fitted scale: inside the room, none on another's card.
void expectClearLayout(const GameRules& rules, const LayoutRoom& room, const std::string& name)
{
    const FittedScale fit = fittingScale(rules, room, CardSize::B);
    const LayoutRoom scaled = scaledRoom(room, fit.scale);
    std::string why;
    EXPECT_TRUE(fit.fits) << name << " at " << room.width << " x " << room.clientHeight;
    EXPECT_TRUE(fitsWithFans(rules, scaled, CardSize::B, &why)) << name << ": " << why;
}

TEST(CardsFollowTheWindow, LargerWindowsLargerCards)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "GAMES.DAT not built";
    struct Case {
        const char* name;
        int id;
    };
    for (const Case& game : {Case{"Klondike", 0}, Case{"FreeCell", 1}}) {
        const GameRules rules = rulesOf(*catalog, game.id);
        int last = 0;
        // Client areas of windows of 400 x 300 to 1280 x 1024 (menu, toolbar and status bar off).
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{400, 190}, {800, 490}, {1130, 764}, {1280, 914}}) {
            const FittedScale fit = fittingScale(rules, windowRoom(w, h), CardSize::B);
            EXPECT_GT(fit.cardWidth, last) << game.name << " " << w << " x " << h;
            last = fit.cardWidth;
            expectClearLayout(rules, windowRoom(w, h), game.name);
            // One pixel wider cards would not fit (the largest fitting size, not merely a fitting one).
            const double wider = static_cast<double>(fit.cardWidth + 1) / cardDims(CardSize::B).width;
            EXPECT_FALSE(fitsWithFans(rules, scaledRoom(windowRoom(w, h), wider), CardSize::B, nullptr))
                << game.name << " " << w << " x " << h;
        }
    }
    // The window of the report: Klondike's cards near the peers' (about 125 to 145 pixels) rather than 68.
    const FittedScale klondike = fittingScale(rulesOf(*catalog, 0), windowRoom(1130, 764), CardSize::B);
    EXPECT_GE(klondike.cardWidth, 110);
}

// At 400 x 300 (a client area of about 400 x 190) every game of the catalog still lays its piles
// out clear of each other and inside the window.
TEST(CardsFollowTheWindow, EveryGameFitsASmallWindow)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "GAMES.DAT not built";
    std::vector<std::string> failed;
    catalog->forEachGame([&](const auto& entry, const GameRules& rules) {
        const FittedScale fit = fittingScale(rules, windowRoom(400, 190), CardSize::B, 8);
        std::string why;
        const LayoutRoom scaled = scaledRoom(windowRoom(400, 190), fit.scale);
        const Geometry g = layoutPiles(rules, scaled, CardSize::B);
        if (!fit.fits || !fitsWithFans(rules, scaled, CardSize::B, &why))
            failed.push_back(entry.name + ": " + why);
        (void)g;
    });
    EXPECT_TRUE(failed.empty()) << failed.size() << " games, first: " << (failed.empty() ? "" : failed.front());
}

} // namespace
