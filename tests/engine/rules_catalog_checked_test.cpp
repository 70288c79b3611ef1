// Games set right after a check against the published rules: the rule each fix rests on, on dealt tables of the built catalog.
#include <gtest/gtest.h>

#include <functional>

#include "engine/built_catalog.h"
#include "engine/deal.h"
#include "engine/drop.h"
#include "engine/rules_building.h"

using namespace cw::engine;

namespace {

int cardsIn(const Table& t, PileKind kind, int count)
{
    int n = 0;
    for (int i = 0; i < count; ++i)
        n += t.pile(PileRef{kind, i}).cardCount();
    return n;
}

TEST(CatalogChecked, EachFixedGamePlaysByItsRule)
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
        {25, "Penguin: the beak stays at the bottom of pile 1, its three rank mates start foundations",
         [](Play& play) {
             const Table& t = play.table();
             const int beak = t.tableau(0).bottom();
             EXPECT_EQ(cardsIn(t, PileKind::Tableau, play.tableaus()), 49);
             EXPECT_TRUE(t.foundation(0).empty()) << "the first foundation waits for the beak";
             for (int f = 1; f < 4; ++f) {
                 ASSERT_EQ(t.foundation(f).size(), 1u) << f;
                 EXPECT_EQ(rank(t.foundation(f).bottom()), rank(beak)) << f;
             }
             for (int f = 0; f < 4; ++f)
                 EXPECT_EQ(play.rules.foundationBase(f), rank(beak)) << f;
             EXPECT_TRUE(buildingTest(play, foundationQuery(play, 0, beak, PileRef::tableau(0))));
             const int other = cardCode(suit(beak), rank(beak) % 13 + 1);
             EXPECT_FALSE(buildingTest(play, foundationQuery(play, 0, other, PileRef::tableau(0))));
         }},
        {179, "Carpet: a gap takes the waste card, never a carpet card",
         [](Play& play) {
             Table& t = play.table();
             t.append(PileRef::waste(), t.stock().pop(), true);
             t.tableau(1).clear();
             EXPECT_TRUE(mayDrop(play, Carried{t.waste().top(), PileRef::waste(), 0, 1}, PileRef::tableau(1)));
             EXPECT_FALSE(mayDrop(play, Carried{t.tableau(2).top(), PileRef::tableau(2), 0, 1}, PileRef::tableau(1)));
         }},
        {239, "Miss Milligan: one card or sequence is waived, and only once the stock is out",
         [](Play& play) {
             Table& t = play.table();
             const Carried one{t.tableau(0).top(), PileRef::tableau(0), 0, 1};
             EXPECT_FALSE(mayDrop(play, one, PileRef::reserve(0))) << "the stock still holds cards";
             t.stock().clear();
             t.waste().clear();
             EXPECT_TRUE(mayDrop(play, one, PileRef::reserve(0)));
             t.append(PileRef::tableau(0), cardCode(2, 5), true);
             EXPECT_TRUE(mayDrop(play, Carried{t.tableau(0).bottom(), PileRef::tableau(0), 0, 2}, PileRef::reserve(0)))
                 << "a whole sequence may be waived";
             t.append(PileRef::reserve(0), cardCode(3, 9), true);
             EXPECT_FALSE(mayDrop(play, one, PileRef::reserve(0))) << "nothing more until the waived cards left";
         }},
        {101, "Clover Leaf: an empty fan takes an Ace or a King only",
         [](Play& play) {
             Table& t = play.table();
             t.tableau(0).clear();
             t.append(PileRef::tableau(1), cardCode(0, 13), true);
             t.append(PileRef::tableau(2), cardCode(0, 12), true);
             EXPECT_TRUE(mayDrop(play, Carried{cardCode(0, 13), PileRef::tableau(1), 0, 1}, PileRef::tableau(0)));
             EXPECT_FALSE(mayDrop(play, Carried{cardCode(0, 12), PileRef::tableau(2), 0, 1}, PileRef::tableau(0)));
         }},
        {121, "Betsy Ross: keys A-4 take nothing; bases 2, 4, 6, 8 count by their key's step and stop at the King",
         [](Play& play) {
             Table& t = play.table();
             for (int k = 0; k < 4; ++k) {
                 const int step = k + 1;
                 ASSERT_EQ(t.foundation(k).size(), 1u) << k;
                 ASSERT_EQ(t.foundation(k + 4).size(), 1u) << k;
                 EXPECT_EQ(rank(t.foundation(k).bottom()), step) << "key " << k;
                 EXPECT_EQ(rank(t.foundation(k + 4).bottom()), 2 * step) << "base " << k;
                 const int next = (2 * step + step - 1) % 13 + 1;
                 const Carried right{cardCode(3, next), PileRef::waste(), 0, 1};
                 const Carried wrong{cardCode(3, next % 13 + 1), PileRef::waste(), 0, 1};
                 EXPECT_TRUE(mayDrop(play, right, PileRef::foundation(k + 4))) << "base " << k;
                 EXPECT_FALSE(mayDrop(play, wrong, PileRef::foundation(k + 4))) << "base " << k;
                 EXPECT_FALSE(
                     mayDrop(play, Carried{cardCode(3, step + 1), PileRef::waste(), 0, 1}, PileRef::foundation(k)))
                     << "key " << k;
             }
             // The Four by twos ends on its King after twelve cards; a Two would be its next step.
             for (int r : {6, 8, 10, 12, 1, 3, 5, 7, 9, 11, 13})
                 t.append(PileRef::foundation(5), cardCode(2, r), true);
             EXPECT_FALSE(mayDrop(play, Carried{cardCode(2, 2), PileRef::waste(), 0, 1}, PileRef::foundation(5)));
         }},
    };
    for (const Case& c : cases) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, c.id, {});
        ASSERT_TRUE(rules.ok()) << "game " << c.id;
        DealResult dealt = deal(rules.value(), "4242424242424");
        ASSERT_FALSE(dealt.badCardCount) << c.id;
        const PlayOptions opt;
        Play play{dealt.rules, dealt.state, opt};
        SCOPED_TRACE(c.rule);
        c.check(play);
    }
}

} // namespace
