// What may be lifted from a tableau pile: sequences, group limits and the availability tests.
#include "engine/rules_groups.h"

#include <algorithm>

#include "engine/rules_building.h"

namespace cw::engine {

using catalog::BuildRule;
using catalog::GroupLimit;
using catalog::SequenceRule;

namespace {

bool tableauEmpty(const Play& play, int i)
{
    return i < 0 || i >= play.tableaus() || !holdsCard(play.table().tableau(i));
}

bool reserveEmpty(const Play& play, int i)
{
    return i < 0 || i >= play.reserves() || !holdsCard(play.table().reserve(i));
}

} // namespace

int emptyTableaus(const Play& play)
{
    int n = 0;
    for (int i = 0; i < play.tableaus(); ++i)
        n += !holdsCard(play.table().tableau(i)) ? 1 : 0;
    return n;
}

int emptyReserves(const Play& play)
{
    int n = 0;
    for (int i = 0; i < play.reserves(); ++i)
        n += !holdsCard(play.table().reserve(i)) ? 1 : 0;
    return n;
}

bool rowOpen(const Play& play, PileRef pile)
{
    const int i = pile.index;
    if (pile.kind == PileKind::Reserve && i >= 10)
        return true;
    if (pile.kind != PileKind::Tableau && pile.kind != PileKind::Reserve)
        return true;
    const bool tableau = pile.kind == PileKind::Tableau;
    const int rowStart = i / 10 * 10;
    const int pos = i - rowStart;
    auto empty = [&](int k) { return tableau ? tableauEmpty(play, k) : reserveEmpty(play, k); };
    if (pos < 5) {
        for (int k = rowStart; k < i; ++k)
            if (!empty(k))
                return false;
    } else {
        for (int k = i + 1; k < rowStart + 10; ++k)
            if (!empty(k))
                return false;
    }
    return true;
}

bool hasGrid(const Play& play) { return play.rules.tableauGridRows() >= 1 && play.rules.tableauGridColumns() >= 1; }

bool gridOpen(const Play& play, int k)
{
    const int rows = play.rules.tableauGridRows();
    const int cols = play.rules.tableauGridColumns();
    if (rows < 1 || cols < 1)
        return true;
    for (int below = k + cols; below < rows * cols; below += cols)
        if (!tableauEmpty(play, below))
            return false;
    return true;
}

bool threeRowOpen(const Play& play, int p)
{
    if (p >= 1 && p <= 12)
        return tableauEmpty(play, p + 11) && tableauEmpty(play, p + 23);
    if (p >= 13 && p <= 24)
        return tableauEmpty(play, p + 11);
    return true;
}

bool tableauTopAvailable(const Play& play, int c)
{
    switch (play.rules.groupLimit()) {
    case GroupLimit::OpenRow: return rowOpen(play, PileRef::tableau(c));
    case GroupLimit::ThreeRowOpen: return threeRowOpen(play, c + 1);
    default: return true;
    }
}

namespace {

// The building query of the pair test for column c, or false when the rule has none.
bool pairQuery(const Play& play, int c, BuildQuery& q)
{
    int code = 0;
    switch (play.rules.sequenceRule()) {
    case SequenceRule::PileRule: code = play.tableauCode(c); break;
    case SequenceRule::Suit: code = BuildRule::Suit; break;
    case SequenceRule::Colour: code = BuildRule::Colour; break;
    default: return false;
    }
    q.emptyRule = play.rules.tableauEmptyRule(c);
    q.column = c;
    q.continuity = play.rules.tableauContinuity(c);
    q.code = code;
    q.direction = play.columnDirection(c);
    q.baseRank = play.rules.foundationBase(0);
    return true;
}

} // namespace

bool sequencePair(const Play& play, int c, int lower, int upper)
{
    BuildQuery q;
    if (!pairQuery(play, c, q))
        return true;
    if (lower == 0 || upper == 0)
        return false;
    if (!generalRuleMayPass(q.code, upper, lower))
        return false;
    q.target = lower;
    q.moving = upper;
    return buildingTest(play, q);
}

bool groupIsSequence(const Play& play, int c, int index, int ruleColumn)
{
    const Pile& p = play.table().tableau(c);
    const int size = static_cast<int>(p.size());
    if (index < 0 || index >= size)
        return false;
    for (int i = index; i < size; ++i)
        if (p[static_cast<std::size_t>(i)] != 0 && play.table().isFaceDown(p[static_cast<std::size_t>(i)]))
            return false;
    if (index == size - 1)
        return true;
    if (play.rules.topCardOnly())
        return play.state.dealNumber == 3;
    BuildQuery q;
    if (!pairQuery(play, ruleColumn, q))
        return true;
    for (int i = index; i + 1 < size; ++i) {
        q.target = p[static_cast<std::size_t>(i)];
        q.moving = p[static_cast<std::size_t>(i + 1)];
        if (q.target == 0 || q.moving == 0 || !generalRuleMayPass(q.code, q.moving, q.target) || !buildingTest(play, q))
            return false;
    }
    return true;
}

GroupFit groupFits(const Play& play, PileRef pile, int index, bool targetEmptyTableau)
{
    if (pile.kind != PileKind::Tableau)
        return GroupFit::Fits;
    const Pile& p = play.table().tableau(pile.index);
    const int size = static_cast<int>(p.size());
    const int n = size - index;
    if (n <= 0)
        return GroupFit::TooLarge;
    auto fit = [](bool ok) { return ok ? GroupFit::Fits : GroupFit::TooLarge; };
    const int limit = play.rules.groupLimit();
    switch (limit) {
    case GroupLimit::Unlimited:
    case GroupLimit::Always: return GroupFit::Fits;
    case GroupLimit::KingOrSingle: return fit(n == 1 || rank(p[static_cast<std::size_t>(index)]) == 13);
    case GroupLimit::WholePileOrSingle: return fit(n == 1 || index == 0);
    case GroupLimit::OpenRow: return fit(rowOpen(play, pile));
    case GroupLimit::EitherEnd: {
        bool below = true, above = true;
        for (int i = 0; i < index; ++i)
            below = below && p[static_cast<std::size_t>(i)] == 0;
        for (int i = index + 1; i < size; ++i)
            above = above && p[static_cast<std::size_t>(i)] == 0;
        return fit(below || above);
    }
    case GroupLimit::SingleUntilDraw: return n == 1 ? GroupFit::Fits : GroupFit::Draw;
    case GroupLimit::ThreeRowOpen: return fit(threeRowOpen(play, pile.index + 1));
    case GroupLimit::CellsAndPiles:
    case GroupLimit::CellsAndPilesStrict: {
        const int e = emptyTableaus(play);
        const int r = emptyReserves(play);
        if (e == 0)
            return fit(n <= r + 1);
        if (limit == GroupLimit::CellsAndPiles && !targetEmptyTableau)
            return fit(n <= r + e + 1);
        return fit(n <= r + e);
    }
    default:
        if (limit < 0)
            return fit(n <= std::max(emptyTableaus(play), 1));
        return fit(n <= limit);
    }
}

} // namespace cw::engine
