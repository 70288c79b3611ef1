// Gap games (families 32, 46 and 74): every card lies in a place of the rows and moves only into a gap that takes it.
#include "engine/deal.h"
#include "engine/families/families.h"
#include "engine/families/family_drops.h"
#include "engine/families/family_goals.h"
#include "engine/families/gap_rules.h"
#include "engine/moves.h"

namespace cw::engine::families {
namespace {

// The first gap of tableau pile c that takes card; not found when none does.
CardSpot firstGapIn(const Play& play, int c, int card)
{
    const Pile& p = play.table().tableau(c);
    for (std::size_t i = 0; i < p.size(); ++i)
        if (p[i] == 0 && gapAccepts(play.rules, play.table(), c, static_cast<int>(i), card))
            return {PileRef::tableau(c), static_cast<int>(i)};
    return {};
}

// The gap a carried card goes to at a spot: the position dropped on, or for a drop on the
// pile as a whole the first gap of the pile that takes the card.
CardSpot gapAt(const Play& play, const Carried& carried, DropSpot spot)
{
    if (spot.pile.kind != PileKind::Tableau || spot.pile.index >= play.tableaus())
        return {};
    if (spot.position < 0)
        return firstGapIn(play, spot.pile.index, carried.card);
    if (!gapAccepts(play.rules, play.table(), spot.pile.index, spot.position, carried.card))
        return {};
    return {spot.pile, spot.position};
}

// The card goes into the gap, as a move the window slides.
bool moveToGap(Play& play, int card, CardSpot gap)
{
    const CardSpot from = findCard(play.rules, play.table(), card, false);
    if (!moveIntoGap(play.rules, play.table(), card, gap))
        return false;
    play.moved(card, from.pile, gap.pile, true);
    play.sound("card_down");
    play.recordEvent(1);
    testWon(play);
    return true;
}

class GapRows final : public GoalFamily {
public:
    // A left press on a card lifts it by itself (the generator offers gap moves, never the
    // ordinary lifts); a right press sends it to the first gap that takes it.
    Handled press(Play& play, const Press& press) const override
    {
        if (press.pile.kind != PileKind::Tableau || press.ctrl)
            return Handled::No;
        const Pile& p = play.table().tableau(press.pile.index);
        if (press.index < 0 || static_cast<std::size_t>(press.index) >= p.size())
            return Handled::Unchanged;
        const int card = p[static_cast<std::size_t>(press.index)];
        if (card == 0 || !gapMovable(play.rules, play.table(), card))
            return Handled::Unchanged;
        if (press.button == Button::Right) {
            const CardSpot gap = firstAcceptingGap(play.rules, play.table(), card);
            if (!gap.found() || !moveToGap(play, card, gap))
                return Handled::Unchanged;
            play.state.moveMade = true;
            return Handled::Changed;
        }
        if (press.button != Button::Left)
            return Handled::Unchanged;
        DragState& d = play.state.drag;
        d.carriedCard = card;
        d.source = press.pile;
        d.sourceIndex = press.index;
        d.topOfGroup = p.top();
        d.singleCard = true;
        d.moved = false;
        play.sound("card_up");
        return Handled::Unchanged;
    }
    PressAction pressAction(const Play&, PileRef pile, int, PressAction ordinary) const override
    {
        return pile.kind == PileKind::Tableau ? PressAction::None : ordinary;
    }
    bool pointAndClickApplies() const override { return false; }
    DropVerdict mayDrop(const Play& play, const Carried& carried, DropSpot spot) const override
    {
        return gapAt(play, carried, spot).found() ? DropVerdict::Allow : DropVerdict::Refuse;
    }
    bool drop(Play& play, const Carried& carried, DropSpot spot) const override
    {
        const CardSpot gap = gapAt(play, carried, spot);
        return gap.found() && moveToGap(play, carried.card, gap);
    }
    void addMoves(const Play& play, MoveList& list) const override
    {
        const Table& t = play.table();
        const int T = play.tableaus();
        for (int g = 0; g < T; ++g) {
            const Pile& gp = t.tableau(g);
            for (std::size_t gi = 0; gi < gp.size(); ++gi) {
                if (gp[gi] != 0)
                    continue;
                for (int c = 0; c < T; ++c) {
                    const Pile& p = t.tableau(c);
                    for (std::size_t i = 0; i < p.size(); ++i) {
                        const int card = p[i];
                        if (card == 0 || t.isFaceDown(card) ||
                            !gapAccepts(play.rules, t, g, static_cast<int>(gi), card))
                            continue;
                        Move m{MoveKind::Gap, PileRef::tableau(c), static_cast<int>(i), PileRef::tableau(g)};
                        m.position = static_cast<std::int16_t>(gi);
                        list.push(m);
                    }
                }
            }
        }
    }
    bool applyMove(Play& play, const Move& move) const override
    {
        if (move.kind != MoveKind::Gap)
            return Family::applyMove(play, move);
        if (!move.from.valid() || move.from.kind != PileKind::Tableau)
            return false;
        const Pile& p = play.table().tableau(move.from.index);
        if (move.index < 0 || static_cast<std::size_t>(move.index) >= p.size())
            return false;
        if (!moveToGap(play, p[static_cast<std::size_t>(move.index)], CardSpot{move.to, move.position}))
            return false;
        if (play.state.tutorMode != 3)
            play.state.moveMade = true;
        return true;
    }
    // The rows keep the places the deal laid out: a saved table whose rows hold other counts of
    // places is not one of these games.
    bool tableFits(const GameRules& rules, const Table& table) const override
    {
        const DealResult dealt = deal(rules, "1");
        for (int c = 0; c < kTableauPiles; ++c)
            if (table.tableau(c).size() != dealt.state.table.tableau(c).size())
                return false;
        return true;
    }
    // Montana's redeal: the runs from a Two stay, the other cards are dealt again behind them.
    void redeal(Play& play, int) const override
    {
        CardMoves moves;
        redealGapRows(play.rules, play.table(), &moves);
        for (const CardMove& m : moves)
            play.moved(m.card, m.from, m.to, m.faceUp);
        play.sound("Shuffle");
    }
};

} // namespace

const Family& gapRows()
{
    static const GapRows f;
    return f;
}

} // namespace cw::engine::families
