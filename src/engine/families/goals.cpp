// Games with goals of their own: the families whose drops, automatic steps, labels, score and win test follow their own rows.
#include "engine/families/families.h"
#include "engine/families/family_drops.h"
#include "engine/families/family_goals.h"
#include "engine/families/family_steps.h"
#include "engine/moves.h"

namespace cw::engine::families {
namespace {

// Aces Up with a discard pile: a click on a top card that a higher card of its suit beats
// (Aces high) discards it to the second waste.
class DiscardTops final : public GoalFamily {
public:
    Handled press(Play& play, const Press& press) const override
    {
        if (press.pile.kind != PileKind::Tableau || press.button == Button::Middle || press.ctrl)
            return Handled::No;
        const Pile& p = play.table().tableau(press.pile.index);
        const bool top = press.index >= 0 && static_cast<std::size_t>(press.index) + 1 == p.size();
        if (!top || !acesUpDiscardable(play.rules, play.table(), press.pile.index))
            return press.button == Button::Right ? Handled::Unchanged : Handled::No;
        const int card = p.top();
        Table& t = play.table();
        t.tableau(press.pile.index).pop();
        t.append(PileRef::secondWaste(), card, true);
        play.moved(card, press.pile, PileRef::secondWaste(), true);
        play.sound("Waste");
        play.state.moveMade = true;
        testWon(play);
        return Handled::Changed;
    }
    void addMoves(const Play& play, MoveList& list) const override
    {
        for (int c = 0; c < play.tableaus(); ++c)
            if (acesUpDiscardable(play.rules, play.table(), c))
                list.push(Move{
                    MoveKind::Press, PileRef::tableau(c), static_cast<int>(play.table().tableau(c).size()) - 1, {}});
    }
    bool applyMove(Play& play, const Move& move) const override
    {
        if (move.kind != MoveKind::Press)
            return false;
        return press(play, Press{move.from, move.index, Button::Left, false}) == Handled::Changed;
    }
};

} // namespace

const Family& ownGoals()
{
    static const GoalFamily f;
    return f;
}

const Family& discardTops()
{
    static const DiscardTops f;
    return f;
}

} // namespace cw::engine::families
