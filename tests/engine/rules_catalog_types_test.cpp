// Games of the Faerie Queen, Non-Builders and Row types and the four-deck Spider: the rule each one is about, on dealt tables of the built catalog.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/built_catalog.h"
#include "engine/deal.h"
#include "engine/drop.h"
#include "engine/legal_moves.h"
#include "engine/pickup.h"
#include "engine/stock.h"

using namespace cw::engine;

namespace {

// Cards on the table, placeholders not counted.
int cardsOnTable(const Table& t)
{
    int n = 0;
    for (int i = 0; i < kTablePiles; ++i)
        n += t.pile(pileAtTableOrder(i)).cardCount();
    return n;
}

TEST(CatalogTypes, EachNewGamePlaysByItsOwnRule)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    struct Case {
        int id;
        const char* rule;
        std::function<void(Play&)> check;
    };
    const Case cases[] = {
        {178, "every column is headed by a King, and the deal sent every Ace home",
         [](Play& play) {
             const Table& t = play.table();
             int columns = 0;
             for (int c = 0; c < play.tableaus(); ++c) {
                 const Pile& p = t.tableau(c);
                 if (p.empty())
                     continue;
                 ++columns;
                 EXPECT_EQ(rank(p.bottom()), 13) << "column " << c + 1;
                 for (int code : p)
                     EXPECT_NE(rank(code), 1) << "an Ace left in column " << c + 1;
             }
             EXPECT_GE(columns, 1);
             EXPECT_EQ(cardsOnTable(t), 104);
             // A lone King takes any card; a King with a card on it only the next lower rank.
             Table& table = play.table();
             table.clearPiles();
             table.append(PileRef::tableau(0), cardCode(0, 13), true);
             table.append(PileRef::tableau(1), cardCode(3, 13), true);
             table.append(PileRef::tableau(1), cardCode(1, 9), true);
             table.append(PileRef::tableau(2), cardCode(2, 5), true);
             table.append(PileRef::tableau(2), cardCode(2, 8), true);
             const Carried five{cardCode(2, 5), PileRef::tableau(2), 0, 1};
             const Carried eight{cardCode(2, 8), PileRef::tableau(2), 1, 1};
             EXPECT_TRUE(mayDrop(play, five, PileRef::tableau(0)));
             EXPECT_FALSE(mayDrop(play, five, PileRef::tableau(1)));
             EXPECT_TRUE(mayDrop(play, eight, PileRef::tableau(1)));
         }},
        {179, "a click sends a carpet card home, and nothing is built on the carpet",
         [](Play& play) {
             Table& t = play.table();
             // Put a Two of hearts in the carpet's first place: its Ace is on a foundation.
             const int two = cardCode(0, 2);
             const PileRef where = t.locateCard(two, EditMode::Report, play.tableaus());
             ASSERT_TRUE(where.valid());
             if (!(where == PileRef::tableau(0))) {
                 const int displaced = t.tableau(0).top();
                 t.pile(where).set(static_cast<std::size_t>(t.pile(where).find(two)), displaced);
                 t.setFace(displaced, where.kind != PileKind::Stock);
                 t.tableau(0).set(0, two);
                 t.setFace(two, true);
             }
             EXPECT_FALSE(mayDrop(play, Carried{t.tableau(1).top(), PileRef::tableau(1), 0, 1}, PileRef::tableau(2)));
             tablePress(play, Press{PileRef::tableau(0), 0});
             EXPECT_EQ(play.state.drag.carriedCard, 0) << "click-to-play never drags";
             EXPECT_TRUE(t.tableau(0).empty());
         }},
        {180, "Queens only on the empty Queen places, Fives down and Sixes up",
         [](Play& play) {
             const Carried queen{cardCode(1, 12), PileRef::waste(), 0, 1};
             const Carried five{cardCode(1, 5), PileRef::waste(), 0, 1};
             const Carried six{cardCode(1, 6), PileRef::waste(), 0, 1};
             EXPECT_FALSE(mayDrop(play, queen, PileRef::foundation(0)));
             EXPECT_TRUE(mayDrop(play, queen, PileRef::foundation(8)));
             EXPECT_TRUE(mayDrop(play, five, PileRef::foundation(0)));
             EXPECT_FALSE(mayDrop(play, five, PileRef::foundation(8)));
             EXPECT_FALSE(mayDrop(play, six, PileRef::foundation(0)));
             EXPECT_TRUE(mayDrop(play, six, PileRef::foundation(4)));
         }},
        {181, "only the two end piles of the row give up cards",
         [](Play& play) {
             for (int c = 0; c < play.tableaus(); ++c) {
                 const int top = static_cast<int>(play.table().tableau(c).size()) - 1;
                 const bool open = c == 0 || c == play.tableaus() - 1;
                 EXPECT_EQ(pressAction(play, PileRef::tableau(c), top) == PressAction::Lift, open) << "pile " << c + 1;
             }
         }},
        {183, "the waste card goes onto any pile; no pile gives a card to another",
         [](Play& play) {
             Table& t = play.table();
             t.append(PileRef::waste(), t.stock().pop(), true);
             const Carried waste{t.waste().top(), PileRef::waste(), 0, 1};
             const Carried pile{t.tableau(0).top(), PileRef::tableau(0), 0, 1};
             for (int c = 1; c < play.tableaus(); ++c) {
                 EXPECT_TRUE(mayDrop(play, waste, PileRef::tableau(c))) << "pile " << c + 1;
                 EXPECT_FALSE(mayDrop(play, pile, PileRef::tableau(c))) << "pile " << c + 1;
             }
             EXPECT_FALSE(stockClickAvailable(play)) << "the turned card must be played first";
         }},
        {182, "four packs: 208 cards and sixteen run foundations",
         [](Play& play) {
             EXPECT_EQ(cardsOnTable(play.table()), 208);
             EXPECT_EQ(play.foundations(), 16);
         }},
    };
    for (const Case& c : cases) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, c.id, {});
        ASSERT_TRUE(rules.ok()) << "game " << c.id;
        DealResult dealt = deal(rules.value(), "4242");
        ASSERT_FALSE(dealt.badCardCount) << c.id;
        const PlayOptions opt;
        Play play{dealt.rules, dealt.state, opt};
        SCOPED_TRACE(c.rule);
        c.check(play);
    }
}

} // namespace
