// The click games in play: the selection press on small tables, and the catalog's click games dealt, searched and won.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/families/family_cards.h"
#include "engine/family.h"
#include "engine/history.h"
#include "engine/legal_moves.h"
#include "engine/pickup.h"
#include "engine/random.h"
#include "engine/saved_game.h"
#include "engine/solver.h"
#include "engine/stock.h"
#include "family_support.h"

namespace {

using namespace cw::engine;
using cw::test::card;
using cw::test::familyRules;
using cw::test::tableFrom;

int beeps(const Events& events)
{
    int n = 0;
    for (const Event& e : events)
        n += e.type == EventType::Beep;
    return n;
}

// A press on the card `name` wherever it lies on the table.
bool pressCard(Play& play, const char* name)
{
    const cw::engine::families::CardSpot s = cw::engine::families::findCard(play.rules, play.table(), card(name), true);
    return tablePress(play, Press{s.pile, s.index, Button::Left, false});
}

TEST(ClickPlay, ThePressSelectsRefusesAndRemovesSets)
{
    const PlayOptions options;
    {
        // Monte Carlo: two Sevens two piles apart are refused with a reason; two that touch
        // leave for the discard pile and their gaps stay until the stock is clicked.
        const GameRules rules(familyRules(8, 25, {{41, 1}, {374, 1}}));
        GameState st;
        st.table = tableFrom({{"Fila1", {"7h"}},
                              {"Fila2", {"2c"}},
                              {"Fila3", {"7c"}},
                              {"Fila6", {"7s"}},
                              {"Fila7", {"9d"}},
                              {"Stock01", {"Kd", "Qd"}}});
        Events ev;
        Play play(rules, st, options, &ev);
        pressCard(play, "7h");
        EXPECT_EQ(st.table.foundation(0).size(), 1U) << "the first Seven is selected";
        pressCard(play, "7c");
        EXPECT_EQ(beeps(ev), 1);
        ASSERT_FALSE(ev.empty());
        EXPECT_EQ(ev.back().text, "the cards do not touch");
        EXPECT_EQ(st.table.foundation(0).size(), 1U) << "a refused card is not kept";
        pressCard(play, "7s");
        EXPECT_TRUE(st.table.foundation(0).empty());
        EXPECT_EQ(st.table.secondWaste().size(), 2U);
        EXPECT_TRUE(st.table.tableau(0).empty()) << "Monte Carlo keeps its gaps";
        EXPECT_EQ(st.table.stock().size(), 2U);
        EXPECT_TRUE(stockClickAvailable(play));
        ASSERT_TRUE(tablePress(play, Press{PileRef::stock(), 1, Button::Left, false}));
        EXPECT_EQ(st.table.tableau(0).top(), card("2c")) << "the cards move up in reading order";
        EXPECT_EQ(st.table.tableau(1).top(), card("7c"));
        EXPECT_EQ(st.table.tableau(2).top(), card("9d"));
        EXPECT_EQ(st.table.tableau(3).top(), card("Qd")) << "the places left at the end come from the stock";
    }
    {
        // Neighbour: a King leaves alone at the first click; a selected card pressed again is
        // taken back silently.
        const GameRules rules(familyRules(84, 25, {{41, 13}, {374, 1}}));
        GameState st;
        st.table = tableFrom({{"Fila1", {"Kh"}}, {"Fila2", {"6c"}}});
        Events ev;
        Play play(rules, st, options, &ev);
        pressCard(play, "Kh");
        EXPECT_EQ(st.table.secondWaste().top(), card("Kh"));
        pressCard(play, "6c");
        pressCard(play, "6c");
        EXPECT_TRUE(st.table.foundation(0).empty());
        EXPECT_EQ(beeps(ev), 0);
    }
    {
        // Fifteens: 8, 4 and 3 leave together and their places are refilled from the stock; a
        // Ten does not join number cards.
        const GameRules rules(familyRules(1, 16, {{41, 15}, {374, 1}}));
        GameState st;
        st.table = tableFrom(
            {{"Fila1", {"8h"}}, {"Fila2", {"4c"}}, {"Fila3", {"Th"}}, {"Fila4", {"3s"}}, {"Stock01", {"2d", "5d"}}});
        Events ev;
        Play play(rules, st, options, &ev);
        pressCard(play, "8h");
        pressCard(play, "Th");
        EXPECT_EQ(beeps(ev), 1);
        pressCard(play, "4c");
        pressCard(play, "3s");
        EXPECT_EQ(st.table.secondWaste().size(), 3U);
        EXPECT_EQ(st.table.tableau(0).top(), card("5d"));
        EXPECT_EQ(st.table.tableau(1).top(), card("2d"));
        EXPECT_TRUE(st.table.tableau(3).empty()) << "the stock ran out";
    }
    {
        // Pyramid: the stock's top card completes a started selection, but a press on the
        // stock with nothing selected turns a card to the waste.
        const GameRules rules(familyRules(4, 2, {{374, 1}, {11, 1}, {19, 1}, {28, 1}}));
        GameState st;
        st.table = tableFrom({{"Fila1", {"5h"}}, {"Fila2", {"9c", "Js"}}, {"Stock01", {"Ad", "8d"}}});
        Events ev;
        Play play(rules, st, options, &ev);
        pressCard(play, "5h");
        EXPECT_EQ(beeps(ev), 1) << "the Five is covered by the row below";
        pressCard(play, "Js");
        tablePress(play, Press{PileRef::stock(), 1, Button::Left, false});
        EXPECT_EQ(st.table.secondWaste().size(), 0U) << "Jack + 8 is no 13";
        pressCard(play, "Js");
        tablePress(play, Press{PileRef::stock(), 1, Button::Left, false});
        EXPECT_EQ(st.table.waste().top(), card("8d")) << "nothing selected: the stock turns a card";
    }
}

// Family 71: two cards that do not pair may change places once in a game, by a Ctrl+click on
// the second; undo gives the exchange back.
TEST(ClickPlay, FourteenCrossExchangesOnce)
{
    const PlayOptions options;
    const GameRules rules(familyRules(71, 25, {{41, 14}, {374, 1}}));
    GameState st;
    st.table = tableFrom({{"Fila1", {"5h"}}, {"Fila7", {"2c"}}, {"Fila9", {"4d"}}, {"Fila13", {"3s"}}});
    Events ev;
    Play play(rules, st, options, &ev);
    pressCard(play, "5h");
    pressCard(play, "2c");
    ASSERT_EQ(beeps(ev), 1);
    EXPECT_NE(ev.back().text.find("Ctrl+click"), std::string::npos) << ev.back().text;
    const cw::engine::families::CardSpot two = cw::engine::families::findCard(rules, st.table, card("2c"), true);
    EXPECT_TRUE(tablePress(play, Press{two.pile, two.index, Button::Left, true}));
    EXPECT_EQ(st.table.tableau(0).top(), card("2c"));
    EXPECT_EQ(st.table.tableau(6).top(), card("5h"));
    EXPECT_TRUE(st.table.foundation(0).empty());
    pressCard(play, "4d");
    const cw::engine::families::CardSpot three = cw::engine::families::findCard(rules, st.table, card("3s"), true);
    EXPECT_FALSE(tablePress(play, Press{three.pile, three.index, Button::Left, true}));
    EXPECT_EQ(ev.back().text.find("Ctrl+click"), std::string::npos) << "the exchange is spent";
    EXPECT_EQ(st.table.tableau(12).top(), card("3s"));
}

// A family number no game uses: it resolves to the plain special family.
constexpr int kUnregisteredFamily = 99;

// The catalog's click games, by id.
const std::map<int, const char*> kClickGames = {
    {159, "Pyramid"},
    {519, "Triangle"},
    {518, "Pyramid of Sevens"},
    {502, "Fourteen Out"},
    {500, "Monte Carlo"},
    {501, "Neighbour"},
    {509, "Patient Pairs"},
    {510, "Nestor"},
    {8, "Elevens"},
    {127, "Tens"},
    {5, "Fifteens"},
    {504, "Thirteens"},
    {505, "Eighteens"},
    {527, "Twenty-One"},
    {506, "Nines"},
    {507, "Isabel"},
    {508, "Elevens in Hiding"},
    {503, "Simple Pairs"},
    {528, "Court Accounts"},
    {511, "Aces Square"},
    {526, "Thirteen Stacks"},
    {512, "Fourteen Cross"},
    {513, "Side by Side"},
    {514, "Triple Alliance"},
    {515, "Magic Square"},
    {516, "Magic Rows"},
    {520, "Royal Marriage"},
    {521, "Push Pin"},
    {522, "Accordion"},
    {523, "Sevens in a Row"},
    {524, "Suit Decade"},
    {525, "Thirteen in a Row"},
    // Gap games and games with goals of their own.
    {529, "Montana"},
    {530, "Queen's Ring"},
    {531, "Columns of Thirty"},
    {532, "Clock"},
    {533, "Ninety-One"},
    {534, "Aces Up"},
    {535, "Aces Up 5"},
    {536, "Four of a Kind"},
    {537, "Eight Puzzle"},
    {538, "Fifteen Puzzle"},
    {539, "Target Sum"},
    {540, "Kings Alone"},
    {541, "Royal Couples"},
    {542, "Thirteen Up"},
    {543, "Nine Down"},
    {544, "Eight Kings"},
    {545, "Castle Rooms"},
    {546, "Baccarat"},
    {547, "Stock Out"},
    {548, "Fives"},
    {549, "Court and Country"},
    {550, "Alternation Sort"},
    {551, "Twin Tommy"},
    {552, "Picture Gallery"},
    {553, "Open Gallery"},
};

class CatalogClickGames : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::filesystem::path defs = CW_BIN_DIR "/GAMES.DAT";
        if (!std::filesystem::exists(defs))
            GTEST_SKIP() << "no GAMES.DAT next to the binaries";
        auto read = cw::catalog::ReadWholeFile(defs);
        ASSERT_TRUE(read.ok());
        text_ = read.value();
        list_ = cw::catalog::BuildGameList(text_).list;
    }

    GameRules rules(int id)
    {
        auto r = cw::catalog::LoadGameRules(text_, list_, id, {});
        EXPECT_TRUE(r.ok()) << id;
        return r.ok() ? GameRules(r.value()) : GameRules();
    }

    std::string text_;
    cw::catalog::GameList list_;
};

// A representative game of each kind of click game has a deal among its first ones whose won
// line the solver finds and the engine plays to the end.
TEST_F(CatalogClickGames, EachKindHasAWonLine)
{
    for (int id : {159, 500, 510, 8, 5, 528, 514, 515, 516, 520, 523, 524, 529, 530, 533, 536, 540, 548}) {
        SCOPED_TRACE(kClickGames.at(id));
        const GameRules r = rules(id);
        bool won = false;
        for (int n = 1; n <= 10 && !won; ++n) {
            const DealResult dealt = deal(r, std::to_string(n));
            SolverLimits limits;
            limits.maxStates = 60'000;
            const SolveResult s = solve(dealt.rules, dealt.state, limits);
            if (s.verdict != Verdict::Winnable)
                continue;
            std::string why;
            EXPECT_TRUE(replayWins(dealt.rules, dealt.state, s.line, &why)) << "deal " << n << ": " << why;
            won = true;
        }
        EXPECT_TRUE(won);
    }
}

// Every special family of these games is one the engine registered.
TEST_F(CatalogClickGames, EveryFamilyOfTheCatalogIsRegistered)
{
    const Family& unregistered = familyFor(kUnregisteredFamily);
    for (const auto& [id, name] : kClickGames) {
        const GameRules r = rules(id);
        EXPECT_NE(&r.family(), &unregistered) << name;
        EXPECT_NE(&r.family(), &ordinaryFamily()) << name;
    }
}

// A saved game whose selection names a card that is not on the table, or whose rows of places
// differ from the deal's, is not one the family plays on.
TEST_F(CatalogClickGames, SavedTablesTheFamilyCannotPlayOnAreRefused)
{
    for (int id : {500, 529}) {
        auto loaded = cw::catalog::LoadGameRules(text_, list_, id, {});
        ASSERT_TRUE(loaded.ok());
        SavedGame saved;
        saved.gameId = id;
        saved.table = deal(rules(id), "7").state.table;
        EXPECT_TRUE(savedTableFits(saved, loaded.value())) << id;
        SavedGame bad = saved;
        if (id == 500) {
            // A card taken off the grid is named by the selection.
            const int gone = bad.table.tableau(3).pop();
            bad.table.foundation(0).push(gone);
        } else {
            bad.table.tableau(2).erase(0);
        }
        EXPECT_FALSE(savedTableFits(bad, loaded.value())) << id;
        if (id == 500) {
            SavedGame selected = saved;
            selected.table.foundation(0).push(selected.table.tableau(3).top());
            EXPECT_TRUE(savedTableFits(selected, loaded.value())) << "a card of the grid may be selected";
        }
    }
}

// Random legal moves, click moves among them, keep every card on exactly one pile, and the
// undo snapshots lead back to the deal.
TEST_F(CatalogClickGames, RandomPlayKeepsTheCardsAndUndoesToTheDeal)
{
    const PlayOptions options;
    for (const auto& [id, name] : kClickGames) {
        SCOPED_TRACE(name);
        const GameRules r = rules(id);
        for (int n = 1; n <= 20; ++n) {
            DealResult dealt = deal(r, std::to_string(n));
            GameState st = dealt.state;
            const Table start = st.table;
            const int cards = start.cardCount();
            SnapshotList undo;
            Random random(static_cast<std::uint32_t>(n * 7919 + id));
            MoveList list;
            for (int k = 0; k < 300; ++k) {
                Play play(dealt.rules, st, options);
                generateMoves(play, list);
                if (list.empty())
                    break;
                undo.push(st.table, dealt.rules.family().selectionInFoundation1());
                const Move m = list[random.next(list.size())];
                ASSERT_TRUE(applyMove(play, m)) << moveText(m);
                ASSERT_EQ(st.table.cardCount(), cards) << "after " << moveText(m);
                ASSERT_TRUE(!dealt.rules.family().selectionInFoundation1() || st.table.foundation(0).empty())
                    << "a set move leaves no selection";
            }
            Table back = st.table;
            for (std::size_t i = undo.size(); i-- > 0;)
                undo.restore(i, back);
            EXPECT_EQ(back, start) << "deal " << n;
        }
    }
}

} // namespace
