// Gap acceptance of families 32, 46 and 74 and the move of a card into a gap.
#include "engine/families/gap_rules.h"

namespace cw::engine::families {
namespace {

// The card at a position, 0 for a placeholder or a position outside the pile.
int at(const Pile& p, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < p.size() ? p[static_cast<std::size_t>(i)] : 0;
}

bool oneBelow(int lower, int card) { return lower != 0 && suit(lower) == suit(card) && rank(lower) + 1 == rank(card); }

// Family 46 reads the rows as one ring: before the first position of a pile lies the last
// position of the previous pile, after the last position the first of the next.
int ringBefore(const Table& t, int T, int c, int position)
{
    if (position > 0)
        return at(t.tableau(c), position - 1);
    const Pile& prev = t.tableau(c == 0 ? T - 1 : c - 1);
    return prev.empty() ? 0 : prev.top();
}
int ringAfter(const Table& t, int T, int c, int position)
{
    const Pile& p = t.tableau(c);
    if (static_cast<std::size_t>(position) + 1 < p.size())
        return at(p, position + 1);
    const Pile& next = t.tableau(c + 1 >= T ? 0 : c + 1);
    return next.empty() ? 0 : next.bottom();
}

} // namespace

bool movesIntoGaps(int family) { return family == 32 || family == 46 || family == 74; }

bool gapMovable(const catalog::Rules& rules, const Table& table, int card)
{
    const CardSpot s = findCard(rules, table, card, false);
    return s.found() && s.pile.kind == PileKind::Tableau && table.isFaceUp(card);
}

bool gapAccepts(const catalog::Rules& rules, const Table& table, int c, int position, int card)
{
    const int T = tableausInUse(rules);
    if (c < 0 || c >= T || card < 1)
        return false;
    const Pile& p = table.tableau(c);
    if (position < 0 || static_cast<std::size_t>(position) >= p.size() || p[static_cast<std::size_t>(position)] != 0)
        return false;
    switch (rules.specialFamily()) {
    case 32: return position == 0 ? rank(card) == 2 : oneBelow(at(p, position - 1), card);
    case 46: {
        const int before = ringBefore(table, T, c, position);
        const int after = ringAfter(table, T, c, position);
        if (oneBelow(before, card))
            return true;
        if (after != 0 && suit(after) == suit(card) && rank(after) == rank(card) + 1)
            return true;
        return rank(card) == 1 && before != 0 && rank(before) == 12;
    }
    case 74: return true;
    default: return false;
    }
}

CardSpot firstAcceptingGap(const catalog::Rules& rules, const Table& table, int card)
{
    for (int c = 0; c < tableausInUse(rules); ++c) {
        const Pile& p = table.tableau(c);
        for (std::size_t i = 0; i < p.size(); ++i)
            if (p[i] == 0 && gapAccepts(rules, table, c, static_cast<int>(i), card))
                return {PileRef::tableau(c), static_cast<int>(i)};
    }
    return {};
}

bool moveIntoGap(const catalog::Rules& rules, Table& table, int card, CardSpot gap)
{
    if (!gapMovable(rules, table, card) || gap.pile.kind != PileKind::Tableau ||
        !gapAccepts(rules, table, gap.pile.index, gap.index, card))
        return false;
    const CardSpot from = findCard(rules, table, card, false);
    table.pile(from.pile).set(static_cast<std::size_t>(from.index), 0);
    table.pile(gap.pile).set(static_cast<std::size_t>(gap.index), card);
    table.setFace(card, true);
    return true;
}

} // namespace cw::engine::families
