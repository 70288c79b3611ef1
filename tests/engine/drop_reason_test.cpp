// Why a drop is refused, in the words of the status bar, on the catalog's own Klondike and FreeCell rules.
#include <gtest/gtest.h>

#include <string>

#include "built_catalog.h"
#include "engine/drop_reason.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

constexpr int kKlondike = 0;
constexpr int kFreeCell = 1;

TEST(DropRefusal, SaysWhatTheCardGoesOnAndWhatFillsAnEmptyPile)
{
    const auto catalog = builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "GAMES.DAT not built";
    struct Case {
        const char* name;
        int game;
        const char* table;
        PileRef from;
        int index;
        PileRef to;
        const char* expected; // "" : the drop is allowed
    };
    const Case cases[] = {
        {"same colour", kKlondike, "Fila1: 8c; Fila2: 7c", PileRef::tableau(1), 0, PileRef::tableau(0),
         "A 7 of Clubs goes on a red 8"},
        {"wrong rank", kKlondike, "Fila1: 9h; Fila2: 7c", PileRef::tableau(1), 0, PileRef::tableau(0),
         "A 7 of Clubs goes on a red 8"},
        {"allowed", kKlondike, "Fila1: 8d; Fila2: 7c", PileRef::tableau(1), 0, PileRef::tableau(0), ""},
        {"empty pile takes a King", kKlondike, "Fila2: Qh", PileRef::tableau(1), 0, PileRef::tableau(0),
         "Only a King fills an empty pile"},
        {"foundation in suit", kKlondike, "Fila1: 3c; Dest1: Ac", PileRef::tableau(0), 0, PileRef::foundation(0),
         "A 3 of Clubs goes on the 2 of Clubs"},
        {"empty foundation", kKlondike, "Fila1: 3c", PileRef::tableau(0), 0, PileRef::foundation(0),
         "Only an Ace starts this foundation"},
        {"a group to a foundation", kKlondike, "Fila1: 2d Ac; Dest1: Ah", PileRef::tableau(0), 0,
         PileRef::foundation(0), "One card at a time goes to a foundation"},
        {"face-down top", kKlondike, "Fila1: *9h; Fila2: 8c", PileRef::tableau(1), 0, PileRef::tableau(0),
         "Turn up the face-down card first"},
        {"FreeCell: any card on an empty pile", kFreeCell, "Fila2: 5s", PileRef::tableau(1), 0, PileRef::tableau(0),
         ""},
        {"FreeCell: an occupied cell", kFreeCell, "Fila1: 5s; Appogg1: Kh", PileRef::tableau(0), 0, PileRef::reserve(0),
         "A reserve holds one card"},
        {"FreeCell: alternate colours", kFreeCell, "Fila1: 6s; Fila2: 5s", PileRef::tableau(1), 0, PileRef::tableau(0),
         "A 5 of Spades goes on a red 6"},
    };
    for (const Case& c : cases) {
        auto loaded = cw::catalog::LoadGameRules(catalog->text, catalog->list, c.game, {});
        ASSERT_TRUE(loaded.ok()) << c.name;
        const GameRules rules(loaded.value());
        GameState state = stateFromText(c.table);
        const PlayOptions options;
        const Play play{rules, state, options, nullptr};
        const Carried carried = carriedAt(play, c.from, c.index);
        EXPECT_EQ(dropRefusal(play, carried, c.to), c.expected) << c.name;
        EXPECT_EQ(mayDrop(play, carried, c.to), std::string(c.expected).empty()) << c.name;
    }
}

} // namespace
