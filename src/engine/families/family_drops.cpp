// Drop rules of the families that build their own way, and the redeal of the gap rows.
#include "engine/families/family_drops.h"

#include <vector>

#include "engine/families/family_cards.h"
#include "engine/stock.h"

namespace cw::engine::families {
namespace {

// Aces rank high in the Aces Up games.
int acesHigh(int code) { return rank(code) == 1 ? 14 : rank(code); }

DropRule when(bool ok) { return ok ? DropRule::Allow : DropRule::Refuse; }

DropRule royalCouples(const Table& table, int card, PileRef target)
{
    if (target.kind != PileKind::Foundation)
        return DropRule::Ordinary;
    const int r = rank(card);
    if (target.index < 4)
        return (r == 1 || r == 11 || r == 12) ? DropRule::Refuse : DropRule::Ordinary;
    if (target.index >= 8)
        return DropRule::Ordinary;
    const Pile& partner = table.foundation(target.index - 4);
    if (r == 11)
        return partner.empty() ? DropRule::Ordinary : DropRule::Refuse;
    if (r == 13) {
        const int ten = card - 3; // the Ten of the King's suit
        return partner.top() == ten ? DropRule::Ordinary : DropRule::Refuse;
    }
    return DropRule::Ordinary;
}

} // namespace

bool acesUpDiscardable(const catalog::Rules& rules, const Table& table, int c)
{
    if (c < 0 || c >= tableausInUse(rules))
        return false;
    const int card = table.tableau(c).top();
    if (card == 0 || table.isFaceDown(card))
        return false;
    for (int o = 0; o < tableausInUse(rules); ++o) {
        const int other = table.tableau(o).top();
        if (o != c && other != 0 && suit(other) == suit(card) && acesHigh(other) > acesHigh(card))
            return true;
    }
    return false;
}

DropRule familyDrop(const catalog::Rules& rules, const Table& table, int card, int count, PileRef source,
                    PileRef target)
{
    const int T = tableausInUse(rules);
    const bool toTableau = target.kind == PileKind::Tableau && target.index < T;
    switch (rules.specialFamily()) {
    case 29:
        if (!toTableau || table.tableau(target.index).empty())
            return DropRule::Ordinary;
        return when(count == 1 && rank(table.tableau(target.index).top()) == rank(card));
    case 31:
        if (target.kind != PileKind::Foundation)
            return DropRule::Ordinary;
        return when(count == 1 && source.kind == PileKind::Tableau && table.tableau(source.index).top() == card &&
                    acesUpDiscardable(rules, table, source.index));
    case 34: {
        if (!toTableau)
            return DropRule::Refuse;
        const int w = gridWidth(rules, 3);
        const GridCell a = gridCell(source.index, w), b = gridCell(target.index, w);
        const bool side = std::abs(a.row - b.row) + std::abs(a.column - b.column) == 1;
        return when(source.kind == PileKind::Tableau && side && table.tableau(target.index).empty());
    }
    case 40:
        if (!toTableau)
            return DropRule::Refuse;
        return when(count == 1 && target.index < 13 && rank(card) == target.index + 1 && target != source);
    case 49:
    case 63:
        if (!toTableau)
            return DropRule::Ordinary;
        if (target.index == T - 1)
            return when(count == 1 && rank(card) == 1);
        if (rank(card) == 1)
            return DropRule::Refuse;
        if (!table.tableau(target.index).empty() && suit(table.tableau(target.index).top()) != suit(card))
            return DropRule::Refuse;
        return DropRule::Ordinary;
    case 52:
        if (target != PileRef::reserve(0))
            return DropRule::Ordinary;
        return when(count == 1 && rank(card) == 13);
    case 30: return royalCouples(table, card, target);
    default: return DropRule::Ordinary;
    }
}

void redealGapRows(const catalog::Rules& rules, Table& table, CardMoves* moves)
{
    const int T = tableausInUse(rules);
    std::vector<int> kept(static_cast<std::size_t>(T), 0);
    std::vector<std::size_t> places(static_cast<std::size_t>(T), 0);
    std::vector<int> gathered;
    for (int c = 0; c < T; ++c) {
        const Pile& p = table.tableau(c);
        places[static_cast<std::size_t>(c)] = p.size();
        std::size_t keep = 0;
        if (!p.empty() && rank(p[0]) == 2) {
            keep = 1;
            while (keep < p.size() && p[keep] != 0 && suit(p[keep]) == suit(p[0]) &&
                   rank(p[keep]) == rank(p[keep - 1]) + 1)
                ++keep;
        }
        kept[static_cast<std::size_t>(c)] = static_cast<int>(keep);
        for (std::size_t i = keep; i < p.size(); ++i)
            if (p[i] != 0)
                gathered.push_back(p[i]);
    }
    const std::vector<int> order = interleaveGathered(gathered);
    std::size_t next = 0;
    for (int c = 0; c < T; ++c) {
        Pile& p = table.tableau(c);
        const std::size_t keep = static_cast<std::size_t>(kept[static_cast<std::size_t>(c)]);
        while (p.size() > keep)
            p.pop();
        if (p.size() < places[static_cast<std::size_t>(c)])
            p.push(0);
        while (p.size() < places[static_cast<std::size_t>(c)] && next < order.size()) {
            const int card = order[next++];
            p.push(card);
            table.setFace(card, true);
            if (moves)
                moves->push_back({card, PileRef::tableau(c), PileRef::tableau(c), true});
        }
    }
}

} // namespace cw::engine::families
