// The small hand-made game catalog behind the definitions file fixtures, shared by the catalog tests.
#pragma once

#include "catalog/definitions.h"

#include <string>
#include <vector>

namespace cw::catalog::testing {

inline std::string fixturePath(const std::string& name)
{
    return std::string(CW_FIXTURES_DIR) + "/games/" + name;
}

// Four games, ids 0..3; the row of id 2 is hidden, so id 3 has matrix column 2.
inline std::vector<DefinitionGame> fixtureGames()
{
    std::vector<DefinitionGame> games(4);

    DefinitionGame& k = games[0];
    k.type = 5;
    k.id = 0;
    k.name = "Klondike";
    k.rules.set(16, 4);       // stock.deals
    k.rules.set(20, 1);       // autoplay.available
    k.rules.set(24, 1);       // stock.cards_per_click
    k.rules.set(52, -1);      // hiscore.base
    k.rules.set(374, 4);
    k.rules.set(375, 7);
    k.rules.set(378, 52);
    k.rules.set(497, 1);
    k.rules.set(501, 123);
    k.rules.set(502, 1000);
    for (int f = 0; f < 4; ++f) {
        k.rules.set(55 + f, 1);
        k.rules.set(71 + f, 1);
        k.rules.set(87 + f, 0);
    }
    for (int t = 0; t < 7; ++t) {
        k.rules.set(135 + t, 13);
        k.rules.set(175 + t, 0);
        k.rules.set(215 + t, 3);
        k.rules.set(382 + t, t + 1);
    }

    DefinitionGame& s = games[1];
    s.type = 8;
    s.id = 1;
    s.name = "Spider";
    s.largeScreen = true;
    s.newGame = true;
    s.rules.set(16, 0);
    s.rules.set(24, 10);
    s.rules.set(374, 8);
    s.rules.set(375, 10);
    s.rules.set(378, 104);
    s.rules.set(501, 5);
    s.rules.set(502, 50);
    for (int t = 0; t < 10; ++t) {
        s.rules.set(135 + t, -1);
        s.rules.set(215 + t, 2);
        s.rules.set(382 + t, t < 4 ? 6 : 5);
    }

    DefinitionGame& h = games[2];
    h.type = 7;
    h.id = 2;
    h.name = "Hidden Game";
    h.hidden = true;
    h.rules.set(24, 99);

    DefinitionGame& f = games[3];
    f.type = 4;
    f.id = 3;
    f.name = "FreeCell";
    f.rules.set(16, 0);
    f.rules.set(20, 1);
    f.rules.set(45, -32768);  // the extremes of a cell
    f.rules.set(48, 32767);
    f.rules.set(374, 4);
    f.rules.set(375, 8);
    f.rules.set(376, 4);
    f.rules.set(378, 52);
    f.rules.set(502, 0);
    for (int t = 0; t < 8; ++t) {
        f.rules.set(135 + t, -1);
        f.rules.set(382 + t, t < 4 ? 7 : 6);
    }
    return games;
}

inline DefinitionGroups fixtureGroups()
{
    return {{0, 3}, {1}, {0}};
}

} // namespace cw::catalog::testing
