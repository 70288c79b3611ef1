// The table changes of the selection games: discard, refill from the stock, closing gaps, exchange, accordion.
#include "engine/families/selection_moves.h"

#include "engine/families/family_cards.h"

namespace cw::engine::families {
namespace {

void note(CardMoves* moves, int card, PileRef from, PileRef to, bool faceUp)
{
    if (moves)
        moves->push_back({card, from, to, faceUp});
}

std::vector<int> bufferCodes(const Table& table)
{
    std::vector<int> codes;
    for (int c : table.foundation(0))
        if (c != 0)
            codes.push_back(c);
    return codes;
}

// Takes the card at a spot out of its pile: a placeholder stays where the row layout keeps
// positions (tableau fan style 4), otherwise the position goes.
void takeOut(const catalog::Rules& rules, Table& table, const CardSpot& s)
{
    Pile& p = table.pile(s.pile);
    if (s.pile.kind == PileKind::Tableau && rules.tableauFanStyle() == 4)
        p.set(static_cast<std::size_t>(s.index), 0);
    else
        p.erase(static_cast<std::size_t>(s.index));
}

bool allOnTable(const catalog::Rules& rules, const Table& table, const std::vector<int>& codes)
{
    for (int c : codes)
        if (!findCard(rules, table, c, true).found())
            return false;
    return true;
}

} // namespace

bool discardSelection(const catalog::Rules& rules, Table& table, bool faceDown, CardMoves* moves)
{
    const std::vector<int> codes = bufferCodes(table);
    if (codes.empty() || !allOnTable(rules, table, codes))
        return false;
    for (int code : codes) {
        const CardSpot s = findCard(rules, table, code, true);
        takeOut(rules, table, s);
        table.append(PileRef::secondWaste(), code, !faceDown);
        table.foundation(0).erase(static_cast<std::size_t>(table.foundation(0).find(code)));
        note(moves, code, s.pile, PileRef::secondWaste(), !faceDown);
    }
    if (rules.tableauFanStyle() == 8)
        compactRow(table.tableau(0));
    const int family = rules.specialFamily();
    if (family == 25 || family == 26)
        for (int c = 0; c < tableausInUse(rules); ++c) {
            const int top = table.tableau(c).top();
            if (top != 0 && table.isFaceDown(top)) {
                table.setFace(top, true);
                note(moves, top, PileRef::tableau(c), PileRef::tableau(c), true);
            }
        }
    return true;
}

bool refillFromStock(const catalog::Rules& rules, Table& table, CardMoves* moves)
{
    bool moved = false;
    for (int c = 0; c < tableausInUse(rules) && !table.stock().empty(); ++c) {
        if (!table.tableau(c).empty())
            continue;
        const int card = table.stock().pop();
        table.append(PileRef::tableau(c), card, true);
        note(moves, card, PileRef::stock(), PileRef::tableau(c), true);
        moved = true;
    }
    return moved;
}

bool gapsCanClose(const catalog::Rules& rules, const Table& table)
{
    const int T = tableausInUse(rules);
    bool gap = false, gapThenCard = false;
    for (int c = 0; c < T; ++c) {
        if (table.tableau(c).empty())
            gap = true;
        else if (gap)
            gapThenCard = true;
    }
    return gap && (!table.stock().empty() || gapThenCard);
}

bool closeGaps(const catalog::Rules& rules, Table& table, CardMoves* moves)
{
    if (!gapsCanClose(rules, table))
        return false;
    table.foundation(0).clear();
    const int T = tableausInUse(rules);
    int next = 0; // the first pile not yet looked at for cards to move up
    for (int c = 0; c < T; ++c) {
        if (!table.tableau(c).empty())
            continue;
        next = std::max(next, c + 1);
        while (next < T && table.tableau(next).empty())
            ++next;
        if (next >= T)
            break;
        Pile& from = table.tableau(next);
        for (int card : from) {
            table.append(PileRef::tableau(c), card);
            note(moves, card, PileRef::tableau(next), PileRef::tableau(c), table.isFaceUp(card));
        }
        from.clear();
    }
    refillFromStock(rules, table, moves);
    return true;
}

bool exchangeSelection(const catalog::Rules& rules, Table& table, CardMoves* moves)
{
    const std::vector<int> codes = bufferCodes(table);
    if (codes.size() != 2)
        return false;
    const CardSpot a = findCard(rules, table, codes[0], true), b = findCard(rules, table, codes[1], true);
    if (!a.found() || !b.found())
        return false;
    table.pile(a.pile).set(static_cast<std::size_t>(a.index), codes[1]);
    table.pile(b.pile).set(static_cast<std::size_t>(b.index), codes[0]);
    table.foundation(0).clear();
    note(moves, codes[0], a.pile, b.pile, table.isFaceUp(codes[0]));
    note(moves, codes[1], b.pile, a.pile, table.isFaceUp(codes[1]));
    return true;
}

bool accordionSelection(Table& table, CardMoves* moves)
{
    const std::vector<int> codes = bufferCodes(table);
    if (codes.size() != 2)
        return false;
    Pile& row = table.tableau(0);
    const int i = row.find(codes[0]), j = row.find(codes[1]);
    if (i < 0 || j < 0)
        return false;
    const int left = std::min(i, j), right = std::max(i, j);
    const int leftCard = row[static_cast<std::size_t>(left)], rightCard = row[static_cast<std::size_t>(right)];
    row.set(static_cast<std::size_t>(left), rightCard);
    row.set(static_cast<std::size_t>(right), 0);
    compactRow(row);
    table.append(PileRef::foundation(1), leftCard, true);
    table.foundation(0).clear();
    note(moves, leftCard, PileRef::tableau(0), PileRef::foundation(1), true);
    note(moves, rightCard, PileRef::tableau(0), PileRef::tableau(0), true);
    return true;
}

bool discardTopKings(const catalog::Rules& rules, Table& table, CardMoves* moves)
{
    bool moved = false;
    for (int c = 0; c < tableausInUse(rules); ++c) {
        Pile& p = table.tableau(c);
        while (!p.empty() && rank(p.top()) == 13 && table.isFaceUp(p.top())) {
            const int king = p.pop();
            table.append(PileRef::secondWaste(), king, true);
            note(moves, king, PileRef::tableau(c), PileRef::secondWaste(), true);
            moved = true;
        }
    }
    return moved;
}

} // namespace cw::engine::families
