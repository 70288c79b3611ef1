// Selection games: the families whose presses pick cards instead of dragging them.
#include "engine/deal_steps.h"
#include "engine/families/families.h"

namespace cw::engine::families {
namespace {

// Each tableau top is pressed in turn: a press acts at once, so point-and-click stays off.
class PressTops final : public SpecialFamily {
public:
    bool pointAndClickApplies() const override { return false; }
};

// Two cards are toggled into a selection held in foundation 1, which undo snapshots store empty.
class Toggling final : public SpecialFamily {
public:
    bool selectionInFoundation1() const override { return true; }
};

// Pairs taken from a grid of tableau piles; the empty stock shows the grid's own picture.
class GridPairs final : public SpecialFamily {
public:
    void pileMarks(const GameRules&, const GameState&, PileMarks& out) const override
    {
        out.push_back(PileMark{MarkKind::EmptyPicture, PileRef::stock(), -1, kGridStockPicture, {}, false});
    }

private:
    static constexpr int kGridStockPicture = 21;
};

// The deal sets the King of Hearts under the stock and the Queen of Hearts on tableau pile 1.
class HeartsAside final : public SpecialFamily {
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

const Family& toggling()
{
    static const Toggling f;
    return f;
}

const Family& gridPairs()
{
    static const GridPairs f;
    return f;
}

const Family& heartsAside()
{
    static const HeartsAside f;
    return f;
}

} // namespace cw::engine::families
