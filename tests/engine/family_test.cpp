// The family seam: the registry, each hook at its point of the rules, the family's own moves and their notation, and the session playing a family's steps.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/drop.h"
#include "engine/family.h"
#include "engine/legal_moves.h"
#include "engine/moves.h"
#include "engine/pickup.h"
#include "engine/stock.h"
#include "rules_fixture.h"
#include "session_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

// A family whose answers a test sets and which records what the engine told it.
class Probe final : public SpecialFamily {
public:
    Handled pressAnswer = Handled::No;
    DropVerdict verdict = DropVerdict::Default;
    bool dropsItself = false;
    std::optional<bool> won;
    std::string wonBox;
    bool pacesMoves = false;
    bool timed = false;
    std::vector<Move> own;

    mutable std::vector<MoveDone> moves;
    mutable std::vector<DropSpot> askedSpots;
    mutable std::vector<Move> applied;
    mutable std::vector<int> tickSeconds;
    mutable int presses = 0;

    Handled press(Play&, const Press&) const override
    {
        ++presses;
        return pressAnswer;
    }
    DropVerdict mayDrop(const Play&, const Carried&, DropSpot spot) const override
    {
        askedSpots.push_back(spot);
        return verdict;
    }
    bool drop(Play& play, const Carried& g, DropSpot spot) const override
    {
        if (!dropsItself)
            return false;
        // Into the gap at the spot's position; the card's old place becomes a gap.
        Table& t = play.table();
        t.tableau(spot.pile.index).set(static_cast<std::size_t>(spot.position), g.card);
        t.pile(g.source).set(static_cast<std::size_t>(g.index), 0);
        return true;
    }
    void afterMove(Play& play, const MoveDone& move) const override
    {
        moves.push_back(move);
        if (!pacesMoves)
            return;
        play.addEvent(Event{EventType::Highlight, move.card, move.target, move.target, true, {}});
        play.addEvent(Event{EventType::Pause, 0, {}, {}, true, {}, 500});
        play.addEvent(Event{EventType::Announce, 0, {}, {}, true, "One Pair"});
        play.addEvent(Event{EventType::Unhighlight, move.card, move.target, move.target, true, {}});
        play.addEvent(Event{EventType::Beep, 0, {}, {}, true, {}});
    }
    std::optional<bool> isWon(const Play&) const override { return won; }
    std::string wonMessage(const Play&) const override { return wonBox; }
    void addMoves(const Play&, MoveList& list) const override
    {
        for (const Move& m : own)
            list.push(m);
    }
    bool applyMove(Play& play, const Move& move) const override
    {
        applied.push_back(move);
        if (move.kind != MoveKind::Select)
            return Family::applyMove(play, move);
        for (int i = 0; i < move.cardCount(); ++i) {
            const int card = move.cards[static_cast<std::size_t>(i)];
            play.table().locateCard(card, EditMode::Remove);
            play.table().append(PileRef::secondWaste(), card, true);
        }
        return true;
    }
    bool ticks() const override { return timed; }
    void tick(Play& play, int playedSeconds) const override
    {
        tickSeconds.push_back(playedSeconds);
        if (playedSeconds >= 10)
            play.table().append(PileRef::secondWaste(), play.table().stock().pop(), true);
    }
};

Move selectMove(std::initializer_list<int> cards)
{
    Move m{MoveKind::Select, {}, -1, {}};
    std::size_t i = 0;
    for (int c : cards)
        m.cards[i++] = static_cast<std::uint8_t>(c);
    return m;
}

TEST(Family, RegistryResolvesOnceAndTravelsWithTheRules)
{
    EXPECT_EQ(&familyFor(0), &ordinaryFamily());
    EXPECT_EQ(&familyFor(-4), &ordinaryFamily());
    EXPECT_FALSE(ordinaryFamily().special());
    const Family& unknown = familyFor(99);
    EXPECT_TRUE(unknown.special()) << "a positive value without a family of its own is still special";
    EXPECT_EQ(&familyFor(98), &unknown);
    EXPECT_NE(&familyFor(76), &unknown);

    GameRules r = basicRules();
    EXPECT_EQ(&r.family(), &ordinaryFamily());
    r.set(54, 76);
    EXPECT_EQ(&r.family(), &familyFor(76));
    const GameRules copy = r;
    EXPECT_EQ(&copy.family(), &familyFor(76));
    r.set(54, 0);
    EXPECT_EQ(&r.family(), &ordinaryFamily());
    static const Probe probe;
    EXPECT_EQ(&GameRules(r, probe).family(), &probe) << "a family given by hand stays";
}

TEST(Family, PressComesBeforeThePickUpRules)
{
    Probe probe;
    const GameRules rules(basicRules(), probe);
    GameState st = stateFromText("Fila1: 9h 8h");
    const PlayOptions opt;
    Play play{rules, st, opt};
    probe.pressAnswer = Handled::Changed;
    EXPECT_TRUE(tablePress(play, Press{PileRef::tableau(0), 1}));
    EXPECT_EQ(st.drag.carriedCard, 0) << "the family took the press: nothing lifted";
    probe.pressAnswer = Handled::No;
    EXPECT_FALSE(tablePress(play, Press{PileRef::tableau(0), 1}));
    EXPECT_NE(st.drag.carriedCard, 0) << "not the family's: the ordinary rules lift";
    EXPECT_EQ(probe.presses, 2);
}

TEST(Family, CribCardsAreNotTurnedUpByAPress)
{
    GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: *9h");
    const PlayOptions opt;
    EXPECT_EQ(pressAction(Play{rules, st, opt}, PileRef::tableau(0), 0), PressAction::TurnUp);
    rules.set(54, 76);
    const Play crib{rules, st, opt};
    EXPECT_EQ(pressAction(crib, PileRef::tableau(0), 0), PressAction::None);
    MoveList list;
    generateMoves(crib, list);
    EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](const Move& m) { return m.kind == MoveKind::TurnUp; }));
}

TEST(Family, DropVerdictOverridesTheOrdinaryRules)
{
    Probe probe;
    const GameRules rules(basicRules(), probe);
    GameState st = stateFromText("Fila1: 9h 8h; Fila2: 9s; Fila3: 9h:2");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    const Carried eight = carriedAt(play, PileRef::tableau(0), 1);
    EXPECT_TRUE(mayDrop(play, eight, PileRef::tableau(2)));
    EXPECT_FALSE(mayDrop(play, eight, PileRef::tableau(1)));
    probe.verdict = DropVerdict::Refuse;
    EXPECT_FALSE(mayDrop(play, eight, PileRef::tableau(2)));
    probe.verdict = DropVerdict::Allow;
    EXPECT_TRUE(mayDrop(play, eight, PileRef::tableau(1)));
    EXPECT_TRUE(mayDropAt(play, eight, DropSpot{PileRef::tableau(1), 0}));
    EXPECT_EQ(probe.askedSpots.back(), (DropSpot{PileRef::tableau(1), 0})) << "a gap spot reaches the family";
}

TEST(Family, FamilyDropsIntoAGapItself)
{
    Probe probe;
    probe.verdict = DropVerdict::Allow;
    probe.dropsItself = true;
    const GameRules rules(basicRules(), probe);
    GameState st = stateFromText("Fila1: 2c 000 4c; Fila2: 3c 5d");
    const PlayOptions opt;
    Play play{rules, st, opt};
    const DropSpot gap{PileRef::tableau(0), 1};
    EXPECT_EQ(dropAttemptAt(play, carriedAt(play, PileRef::tableau(1), 0), std::span<const DropSpot>(&gap, 1)),
              PileRef::tableau(0));
    EXPECT_EQ(st.table.tableau(0).codes(), (stateFromText("Fila1: 2c 3c 4c").table.tableau(0).codes()));
    EXPECT_EQ(st.table.tableau(1).codes(), (stateFromText("Fila1: 000 5d").table.tableau(0).codes()));
    EXPECT_TRUE(st.moveMade);
}

TEST(Family, AfterMoveSeesWhatTheMoveDid)
{
    Probe probe;
    const GameRules rules(basicRules(), probe);
    GameState st = stateFromText("Fila1: Kd Qs Jh; Fila2: 10c");
    const PlayOptions opt;
    Play play{rules, st, opt};
    ASSERT_TRUE(moveCards(play, PileRef::tableau(0), 1, PileRef::tableau(1), true));
    ASSERT_EQ(probe.moves.size(), 1u);
    const MoveDone& m = probe.moves[0];
    EXPECT_EQ(m.source, PileRef::tableau(0));
    EXPECT_EQ(m.sourceIndex, 1);
    EXPECT_EQ(m.target, PileRef::tableau(1));
    EXPECT_EQ(m.card, st.table.tableau(1)[1]);
    EXPECT_EQ(m.count, 2);
    EXPECT_FALSE(m.automatic);
}

TEST(Family, WinTestIsTheFamilys)
{
    Probe probe;
    const GameRules rules(basicRules(), probe);
    GameState st = stateFromText("Fila1: 9h");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    EXPECT_FALSE(isWon(play)) << "no answer of its own: the ordinary test";
    probe.won = true;
    EXPECT_TRUE(testWon(play));
    EXPECT_EQ(std::count_if(ev.begin(), ev.end(), [](const Event& e) { return e.type == EventType::GameWon; }), 1);
    probe.won = false;
    st.table = Table{};
    EXPECT_FALSE(isWon(play)) << "an empty table the family does not call won";
}

TEST(Family, OwnMovesAreGeneratedCheckedAndApplied)
{
    Probe probe;
    const Move pair = selectMove({7, 20});
    probe.own = {pair};
    const GameRules rules(basicRules(), probe);
    GameState st = stateFromText("Fila1: 7h; Fila2: 7d");
    const PlayOptions opt;
    Play play{rules, st, opt};
    MoveList list;
    generateMoves(play, list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[list.size() - 1], pair) << "the family's moves come after the ordinary ones";

    std::string why;
    EXPECT_FALSE(playMove(play, selectMove({7}), &why));
    EXPECT_EQ(why, "the game does not offer that move now");
    EXPECT_TRUE(probe.applied.empty());
    ASSERT_TRUE(playMove(play, pair, &why)) << why;
    EXPECT_EQ(st.table.secondWaste().cardCount(), 2);
    EXPECT_TRUE(st.table.tableau(0).empty());
}

TEST(Family, NotationOfTheFamilyMoves)
{
    Move gap{MoveKind::Gap, PileRef::tableau(1), 4, PileRef::tableau(8)};
    gap.position = 3;
    const struct {
        Move move;
        const char* text;
    } cases[] = {
        {selectMove({7, 20, 212}), "select 007 020 212"},
        {gap, "Fila2 4 Fila9 3"},
        {Move{MoveKind::Press, PileRef::tableau(2), 5, {}}, "press Fila3 5"},
        {Move{MoveKind::Press, PileRef::secondWaste(), 0, {}}, "press Mazzo_Waste 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(moveText(c.move), c.text);
        const auto back = parseMove(c.text);
        ASSERT_TRUE(back) << c.text;
        EXPECT_EQ(*back, c.move) << c.text;
    }
    for (const char* bad : {"select", "select 7h", "select 000", "select 1 2 3 4 5 6 7 8 9", "Fila2 4 Dest1 3",
                            "Fila2 x Fila9 3", "Fila2 4 Fila9 -1", "press Fila3", "press Nowhere 1", "a b c d e"}) {
        std::string why;
        EXPECT_FALSE(parseMove(bad, &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
}

class FamilySession : public SessionTest {
protected:
    // Klondike played by the probe family.
    void startWithProbe()
    {
        start();
        session->game().rules = GameRules(session->rules(), probe);
    }
    Probe probe;
};

TEST_F(FamilySession, StepsArePacedInOrder)
{
    startWithProbe();
    probe.pacesMoves = true;
    for (const Move& m : legalMoves())
        if (m.kind == MoveKind::Transfer && session->playMove(m))
            break;
    ASSERT_EQ(probe.moves.size(), 1u);
    const auto& calls = host.calls;
    const auto at = [&](const std::string& line) {
        return std::find(calls.begin(), calls.end(), line) - calls.begin();
    };
    const auto firstAnimation =
        std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("animate:", 0) == 0; }) -
        calls.begin();
    const auto card = std::to_string(probe.moves[0].card);
    ASSERT_LT(at("highlight:" + card), static_cast<long>(calls.size()));
    EXPECT_LT(firstAnimation, at("highlight:" + card)) << "the move shows before the step that follows it";
    EXPECT_LT(at("highlight:" + card), at("wait:500"));
    EXPECT_LT(at("wait:500"), at("announce:One Pair"));
    EXPECT_LT(at("announce:One Pair"), at("unhighlight:" + card));
    EXPECT_LT(at("unhighlight:" + card), at("beep"));
}

TEST_F(FamilySession, WonBoxAndEndComeFromTheFamilysTest)
{
    startWithProbe();
    probe.won = true;
    probe.wonBox = "Your sequence is equal to 91.\rThe game is won.";
    ASSERT_TRUE(playAnyMove());
    EXPECT_TRUE(host.called("message:Your sequence is equal to 91.\rThe game is won."));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_TRUE(sink.records[0].won);
}

TEST_F(FamilySession, TimedStepRunsOnTheGameClock)
{
    startWithProbe();
    probe.timed = true;
    const int before = session->undoDepth();
    for (int s = 0; s < 12; ++s) {
        nowMs += 1000;
        session->tick();
    }
    ASSERT_FALSE(probe.tickSeconds.empty());
    EXPECT_EQ(probe.tickSeconds.back(), 12);
    EXPECT_EQ(session->state().table.secondWaste().cardCount(), 3) << "seconds 10, 11 and 12 each moved a card";
    EXPECT_EQ(session->undoDepth(), before + 3) << "each timed step is one undo step";
    session->pause();
    nowMs += 1000;
    const std::size_t ticks = probe.tickSeconds.size();
    session->tick();
    EXPECT_EQ(probe.tickSeconds.size(), ticks) << "no timed step while paused";
}

} // namespace
