// Games with one step of their own: a deal step, a counted draw, a start value, a picture or a test.
#include "engine/deal_steps.h"
#include "engine/families/families.h"
#include "engine/families/family_goals.h"

namespace cw::engine::families {
namespace {

// The deal sends the aces of reserve 1 to foundations 2 and up and the waste's aces to
// foundation 1; for each ace sent from the reserve, a waste card takes its place in the reserve.
class ReserveAces final : public SpecialFamily {
public:
    void dealStep(DealPoint point, dealsteps::Context& c) const override
    {
        if (point != DealPoint::AfterExtraCard)
            return;
        Table& t = c.table();
        int aces = 0;
        for (;;) {
            const Pile& r1 = t.reserve(0);
            std::size_t i = 0;
            while (i < r1.size() && rank(r1[i]) != 1)
                ++i;
            if (i == r1.size() || aces + 1 >= kFoundationPiles)
                break;
            dealsteps::moveToFoundation(c, PileRef::reserve(0), i, aces + 1);
            ++aces;
        }
        bool aceToFoundation1 = false;
        for (std::size_t i = 0; i < t.waste().size(); ++i) {
            const int code = t.waste()[i];
            if (rank(code) == 1) {
                dealsteps::moveToFoundation(c, PileRef::waste(), i, 0);
                aceToFoundation1 = true;
            } else if (aces > 0) {
                t.waste().erase(i);
                t.append(PileRef::reserve(0), code);
                for (int r : t.reserve(0))
                    t.setFace(r, true);
                --aces;
            }
            // The card that slid into the examined position is passed over.
            if (aces == 0 && aceToFoundation1)
                break;
        }
    }
};

// Every draw counts as a stock click (event code 2), drawn or not.
class CountedDraws final : public SpecialFamily {
public:
    void afterDraw(Play& play, bool) const override
    {
        ++play.state.stockClicks;
        play.recordEvent(2);
    }
};

// The clock: cards are put onto the tableau's face-down tops, and each pile turns after a move
// onto it (the family's step).
class PileRotation final : public GoalFamily {
public:
    bool buildsOnFaceDown() const override { return true; }
    // Only the clock's own step turns cards up.
    PressAction pressAction(const Play&, PileRef, int, PressAction ordinary) const override
    {
        return ordinary == PressAction::TurnUp ? PressAction::None : ordinary;
    }
};

// A dealt table is tested for won at once.
class SequenceOf91 final : public GoalFamily {
public:
    bool testsWinAfterDeal() const override { return true; }
};

// The upper half of the foundations starts at twice the base of its partner in the lower half.
class DoubledBases final : public SpecialFamily {
public:
    void dealStep(DealPoint point, dealsteps::Context& c) const override
    {
        if (point != DealPoint::FoundationBases)
            return;
        catalog::Rules& r = c.rules;
        const int count = c.foundations();
        const int h = count / 2;
        for (int i = h + 1; i <= count; ++i) {
            int b = 2 * r.foundationBase(i - h - 1);
            if (b > 13)
                b -= 13;
            if (b == 0)
                b = 13;
            r.setFoundationBase(i - 1, b);
        }
    }
};

class ScrollingTable final : public SpecialFamily {
public:
    bool tableScrolls() const override { return true; }
};

// Until the Draw is used (event code 4) the empty stock shows the grid picture.
class KingsQueensJacks final : public GoalFamily {
public:
    void pileMarks(const GameRules&, const GameState& state, PileMarks& out) const override
    {
        if (state.eventCounts[4] == 0)
            out.push_back(PileMark{MarkKind::EmptyPicture, PileRef::stock(), -1, kGridStockPicture, {}, false});
    }

private:
    static constexpr int kGridStockPicture = 21;
};

// The first two game counters start each deal at 1111.
class AlternatingRuns final : public GoalFamily {
public:
    void startDeal(GameState& state) const override { state.gameCounters[0] = state.gameCounters[1] = 1111; }
};

} // namespace

const Family& reserveAces()
{
    static const ReserveAces f;
    return f;
}

const Family& countedDraws()
{
    static const CountedDraws f;
    return f;
}

const Family& pileRotation()
{
    static const PileRotation f;
    return f;
}

const Family& sequenceOf91()
{
    static const SequenceOf91 f;
    return f;
}

const Family& doubledBases()
{
    static const DoubledBases f;
    return f;
}

const Family& scrollingTable()
{
    static const ScrollingTable f;
    return f;
}

const Family& kingsQueensJacks()
{
    static const KingsQueensJacks f;
    return f;
}

const Family& alternatingRuns()
{
    static const AlternatingRuns f;
    return f;
}

} // namespace cw::engine::families
