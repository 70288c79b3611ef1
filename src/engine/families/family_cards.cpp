// Card search, grid width and the row form shared by the special families' rules.
#include "engine/families/family_cards.h"

namespace cw::engine::families {

CardSpot findCard(const catalog::Rules& rules, const Table& table, int code, bool skipFoundation1)
{
    if (code < 1 || code > kLastCard)
        return {};
    auto look = [&](PileRef p) -> CardSpot {
        const int i = table.pile(p).find(code);
        return i >= 0 ? CardSpot{p, i} : CardSpot{};
    };
    for (int c = 0; c < tableausInUse(rules); ++c)
        if (CardSpot s = look(PileRef::tableau(c)); s.found())
            return s;
    for (PileRef p : {PileRef::waste(), PileRef::stock()})
        if (CardSpot s = look(p); s.found())
            return s;
    for (int f = skipFoundation1 ? 1 : 0; f < kFoundationPiles; ++f)
        if (CardSpot s = look(PileRef::foundation(f)); s.found())
            return s;
    for (int r = 0; r < reservesInUse(rules); ++r)
        if (CardSpot s = look(PileRef::reserve(r)); s.found())
            return s;
    return look(PileRef::secondWaste());
}

int gridWidth(const catalog::Rules& rules, int familyWidth)
{
    const int w = rules.tableauGridRowLength();
    return w >= 1 ? w : familyWidth;
}

RowCards rowCards(const Pile& row)
{
    RowCards out;
    for (std::size_t i = 0; i < row.size(); ++i)
        if (row[i] != 0)
            out.push({row[i], static_cast<int>(i)});
    return out;
}

void compactRow(Pile& row)
{
    const RowCards cards = rowCards(row);
    row.clear();
    for (int i = 0; i < cards.size(); ++i) {
        if (i > 0)
            row.push(0);
        row.push(cards[i].code);
    }
}

} // namespace cw::engine::families
