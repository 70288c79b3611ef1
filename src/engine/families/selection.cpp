// Selection games: the families whose presses pick cards instead of dragging them.
#include "engine/deal_steps.h"
#include "engine/families/families.h"
#include "engine/families/family_goals.h"
#include "engine/families/selection_moves.h"
#include "engine/families/selection_play.h"

namespace cw::engine::families {
namespace {

// Each tableau top is pressed in turn: a press acts at once, so point-and-click stays off.
class PressTops final : public SpecialFamily {
public:
    bool pointAndClickApplies() const override { return false; }
};

// The games played by clicking cards into sets: the cards of a set stay where they lie while
// they are selected (foundation 1 holds their codes) and leave together once the set is
// complete. The family number picks the rules of the sets; the classes below add what the
// stock does.
class Selection : public GoalFamily {
public:
    Handled press(Play& play, const Press& press) const override { return selectionPress(play, press); }
    PressAction pressAction(const Play&, PileRef, int, PressAction ordinary) const override
    {
        return selectionPressAction(ordinary);
    }
    bool pointAndClickApplies() const override { return false; }
    void addMoves(const Play& play, MoveList& list) const override { addSetMoves(play, list); }
    bool applyMove(Play& play, const Move& move) const override
    {
        return move.kind == MoveKind::Select ? playSet(play, move) : Family::applyMove(play, move);
    }
    bool selectionInFoundation1() const override { return true; }
    bool tableFits(const GameRules& rules, const Table& table) const override { return selectionFits(rules, table); }
    void pileMarks(const GameRules& rules, const GameState& state, PileMarks& out) const override
    {
        selectionMarks(rules, state, out);
    }
    // A stock that neither turns cards to a waste nor deals a row only refills the gaps after
    // each set, by itself: clicking it does nothing.
    Handled stockClick(Play& play, bool) const override { return refillsOnly(play) ? Handled::Unchanged : Handled::No; }
    std::optional<bool> stockClickAvailable(const Play& play) const override
    {
        return refillsOnly(play) ? std::optional<bool>(false) : std::nullopt;
    }

private:
    static bool refillsOnly(const Play& play)
    {
        return play.rules.stockTurnsToWaste() == 0 && play.rules.stockDealsToTableau(0) == 0;
    }
};

// Pairs taken from a grid whose gaps stay open: the stock click moves the cards up in reading
// order to close them and fills the places left at the end ("Stock_To_Pile_Monte_Carlo"). The
// empty stock shows the grid's own picture.
class GridPairs final : public Selection {
public:
    Handled stockClick(Play& play, bool) const override
    {
        CardMoves moves;
        if (!closeGaps(play.rules, play.table(), &moves))
            return Handled::Unchanged;
        for (const CardMove& m : moves)
            play.moved(m.card, m.from, m.to, m.faceUp);
        play.sound("Shuffle");
        return Handled::Changed;
    }
    std::optional<bool> stockClickAvailable(const Play& play) const override
    {
        return gapsCanClose(play.rules, play.table());
    }
    void pileMarks(const GameRules& rules, const GameState& state, PileMarks& out) const override
    {
        Selection::pileMarks(rules, state, out);
        out.push_back(PileMark{MarkKind::EmptyPicture, PileRef::stock(), -1, kGridStockPicture, {}, false});
    }

private:
    static constexpr int kGridStockPicture = 21;
};

// A grid refilled from the stock after every set; the empty stock shows the grid's picture.
class FilledGrid final : public Selection {
public:
    void pileMarks(const GameRules& rules, const GameState& state, PileMarks& out) const override
    {
        Selection::pileMarks(rules, state, out);
        out.push_back(PileMark{MarkKind::EmptyPicture, PileRef::stock(), -1, kGridStockPicture, {}, false});
    }

private:
    static constexpr int kGridStockPicture = 21;
};

// The deal sets the King of Hearts under the stock and the Queen of Hearts on tableau pile 1.
class HeartsAside final : public Selection {
public:
    void dealStep(DealPoint point, dealsteps::Context& c) const override
    {
        if (point != DealPoint::BeforePattern)
            return;
        Table& t = c.table();
        constexpr int kQueenOfHearts = 12;
        constexpr int kKingOfHearts = 13;
        for (int code : {kKingOfHearts, kQueenOfHearts}) {
            if (!t.locateCard(code, EditMode::Remove, kTableauPiles).valid() && !c.takeCode(code))
                continue;
            if (code == kKingOfHearts)
                t.stock().insert(0, code);
            else
                t.append(PileRef::tableau(0), code, true);
        }
    }
};

} // namespace

const Family& pressTops()
{
    static const PressTops f;
    return f;
}

const Family& selection()
{
    static const Selection f;
    return f;
}

const Family& gridPairs()
{
    static const GridPairs f;
    return f;
}

const Family& filledGrid()
{
    static const FilledGrid f;
    return f;
}

const Family& heartsAside()
{
    static const HeartsAside f;
    return f;
}

} // namespace cw::engine::families
