// Tutor tests: the record, the usefulness filter against shuffling, stock clicks, group moves, the back-move guard and the demo loop.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <utility>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/tutor.h"

namespace {

using namespace cw::engine;

// A game of the built catalog on an emptied table, with cards placed pile by pile (face up).
struct TutorTable {
    DealResult dealt;
    PlayOptions options;
    Play play() { return Play{dealt.rules, dealt.state, options}; }
};

std::optional<TutorTable> tableOf(int game, std::initializer_list<std::pair<PileRef, std::initializer_list<int>>> piles)
{
    static const auto text = cw::catalog::ReadWholeFile(CW_BIN_DIR "/GAMES.DAT");
    if (!text.ok())
        return std::nullopt;
    static const auto list = cw::catalog::BuildGameList(text.value()).list;
    auto rules = cw::catalog::LoadGameRules(text.value(), list, game, {});
    if (!rules.ok())
        return std::nullopt;
    TutorTable t{deal(rules.value(), "1"), {}};
    Table& table = t.dealt.state.table;
    table.clearPiles();
    table.setAllFaceUp();
    for (const auto& [pile, cards] : piles)
        for (int c : cards)
            table.append(pile, c, true);
    t.dealt.state.movesMade = 2;
    return t;
}

constexpr int H = 0, D = 1, C = 2, S = 3;
int card(int suitIndex, int r) { return cardCode(suitIndex, r); }

TEST(TutorRecord, EntriesAreThirteenCharactersAndOnlyTheLastThirtyAreKept)
{
    EXPECT_EQ(tutorEntry(5, PileRef::tableau(2), PileRef::reserve(3)).text(), "0050400206000");
    EXPECT_EQ(tutorEntry(52, PileRef::reserve(1), PileRef::foundation(0)).text(), "0520600105000");
    EXPECT_EQ(tutorEntry(7, PileRef::waste(), PileRef::tableau(9)).text(), "0070300004009");
    EXPECT_EQ(tutorEntry(7, PileRef::stock(), PileRef::tableau(0)).text(), "007-100004000");

    TutorRecord record;
    for (int i = 1; i <= 31; ++i)
        record.append(tutorEntry(i, PileRef::tableau(0), PileRef::tableau(1)));
    EXPECT_EQ(record.size(), 30U);
    EXPECT_EQ(record.text().size(), 390U);
    EXPECT_FALSE(record.contains(tutorEntry(1, PileRef::tableau(0), PileRef::tableau(1))));
    EXPECT_TRUE(record.contains(tutorEntry(2, PileRef::tableau(0), PileRef::tableau(1))));
    EXPECT_EQ(record.newest(), tutorEntry(31, PileRef::tableau(0), PileRef::tableau(1)));
    // The reverse of a move counts as the move; a reserve source matches the recorded target.
    record.append(tutorEntry(40, PileRef::tableau(4), PileRef::reserve(2)));
    EXPECT_TRUE(record.containsMoveOrReverse(tutorEntry(40, PileRef::reserve(2), PileRef::tableau(4))));
    EXPECT_FALSE(record.containsMoveOrReverse(tutorEntry(40, PileRef::reserve(2), PileRef::tableau(5))));
}

// Klondike: the Queen of Hearts can only go back and forth between the two black Kings.
TEST(Tutor, ShufflingABuiltSequenceEndsInNoOtherMoves)
{
    auto t = tableOf(0, {{PileRef::tableau(0), {card(S, 13), card(H, 12)}}, {PileRef::tableau(1), {card(C, 13)}}});
    if (!t)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    Play play = t->play();
    TutorRecord record;
    const TutorStep first = tutorStep(play, record, kTutorDemo);
    ASSERT_EQ(first.action, TutorAction::CardMove);
    EXPECT_EQ(first.card, card(H, 12));
    EXPECT_EQ(first.target, PileRef::tableau(1));
    EXPECT_EQ(t->dealt.state.table.tableau(1).top(), card(H, 12));
    EXPECT_TRUE(t->dealt.state.backMoveGuard);

    const TutorStep second = tutorStep(play, record, kTutorHint);
    EXPECT_FALSE(second.found());
    EXPECT_EQ(second.message, kNoOtherMoves);
    EXPECT_TRUE(record.empty()) << "the record is cleared when the tutor gives up";
    // With the record cleared the move may be suggested again.
    EXPECT_TRUE(tutorStep(play, record, kTutorHint).found());
}

TEST(Tutor, AStockWithCardsAndNoOtherMoveIsClicked)
{
    auto t = tableOf(0, {{PileRef::tableau(0), {card(H, 3), card(H, 5)}}, {PileRef::stock(), {card(S, 9)}}});
    if (!t)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    Play play = t->play();
    TutorRecord record;
    const Table before = t->dealt.state.table;
    TutorStep s = tutorStep(play, record, kTutorHint);
    ASSERT_EQ(s.action, TutorAction::StockClick);
    EXPECT_EQ(s.description, kClickToTurnUp);
    EXPECT_TRUE(before == t->dealt.state.table) << "a hint leaves the table alone";

    s = tutorStep(play, record, kTutorDemo);
    ASSERT_EQ(s.action, TutorAction::StockClick);
    EXPECT_EQ(t->dealt.state.table.waste().top(), card(S, 9));
    // Stock empty, waste of one card: Klondike turns over only two or more, so nothing is left.
    s = tutorStep(play, record, kTutorDemo);
    EXPECT_FALSE(s.found());
    EXPECT_EQ(s.description, kEndOfDemo);
}

TEST(Tutor, DemoMovesAGroupOfThree)
{
    auto t = tableOf(1, {{PileRef::tableau(0), {card(S, 9), card(H, 8), card(C, 7)}},
                         {PileRef::tableau(1), {card(H, 10)}},
                         {PileRef::tableau(2), {card(D, 13)}}});
    if (!t)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    Play play = t->play();
    TutorRecord record;
    GameDemo demo;
    demo.start(t->dealt.state);
    const GameDemo::Tick tick = demo.tick(play, record);
    EXPECT_TRUE(tick.moved);
    EXPECT_EQ(tick.description, kMoveAGroup);
    EXPECT_EQ(tick.delayMs, GameDemo::kStepDelayMs);
    EXPECT_EQ(demo.moveCount(), 1);
    EXPECT_EQ(t->dealt.state.table.tableau(1).cardCount(), 4);
}

TEST(Tutor, BackMoveGuardAndHintLifetime)
{
    auto t = tableOf(0, {{PileRef::tableau(0), {card(S, 13), card(H, 12)}}, {PileRef::tableau(1), {card(C, 13)}}});
    if (!t)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    Play play = t->play();
    TutorRecord record;
    const TutorStep s = tutorStep(play, record, kTutorHint);
    ASSERT_TRUE(s.found());
    GameState& state = t->dealt.state;
    EXPECT_EQ(state.tutorMode, kTutorHint);
    EXPECT_FALSE(backMoveRefused(state, record, s.card, s.target));
    EXPECT_TRUE(backMoveRefused(state, record, s.card, PileRef::tableau(5)));
    EXPECT_FALSE(backMoveRefused(state, record, card(S, 13), PileRef::tableau(5)));

    HintTimer timer;
    EXPECT_FALSE(timer.tick(state));
    EXPECT_FALSE(timer.tick(state));
    EXPECT_TRUE(timer.tick(state));
    EXPECT_EQ(state.tutorMode, 0);
    state.tutorMode = kTutorDemo;
    EXPECT_FALSE(backMoveRefused(state, record, s.card, PileRef::tableau(5))) << "the demo is not guarded";
}

TEST(Tutor, DemoPlaysAnEasyTableToTheWinAndPauseStopsIt)
{
    auto t = tableOf(1, {{PileRef::tableau(0), {card(H, 2), card(H, 1)}}, {PileRef::tableau(1), {card(S, 1)}}});
    if (!t)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    Play play = t->play();
    TutorRecord record;
    GameDemo demo;
    demo.start(t->dealt.state);
    demo.pause(t->dealt.state, true);
    EXPECT_TRUE(demo.tick(play, record).finished);
    EXPECT_EQ(demo.moveCount(), 0);
    demo.pause(t->dealt.state, false);
    int ticks = 0;
    while (ticks < 10 && !demo.tick(play, record).finished)
        ++ticks;
    EXPECT_TRUE(t->dealt.state.won);
    EXPECT_EQ(demo.moveCount(), 3);
    EXPECT_EQ(t->dealt.state.tutorMode, 0);
}

} // namespace
