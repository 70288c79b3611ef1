// Four of a kind leaving (29), the partner card following (30), the clock's rotation (40) and the count labels (42).
#include "engine/families/family_steps.h"

#include "engine/families/family_cards.h"

namespace cw::engine::families {

CardMoves fourOfAKindLeave(Table& table, int c)
{
    CardMoves moves;
    if (c < 0 || c >= kTableauPiles)
        return moves;
    Pile& p = table.tableau(c);
    if (p.size() < 4 || p.top() == 0)
        return moves;
    const int r = rank(p.top());
    for (std::size_t i = p.size() - 4; i < p.size(); ++i)
        if (rank(p[i]) != r)
            return moves;
    for (int k = 0; k < 4; ++k) {
        const int card = p.pop();
        table.append(PileRef::secondWaste(), card, true);
        moves.push_back({card, PileRef::tableau(c), PileRef::secondWaste(), true});
    }
    return moves;
}

std::optional<CardMove> partnerFollows(const catalog::Rules& rules, Table& table, int f, int card)
{
    const int r = rank(card);
    if (f < 5 || f > kFoundationPiles || (r != 11 && r != 13))
        return std::nullopt;
    const int partner = card - (r == 13 ? 1 : 10);
    const CardSpot s = findCard(rules, table, partner, false);
    const PileRef target = PileRef::foundation(f - 5);
    if (!s.found() || s.pile == target)
        return std::nullopt;
    table.pile(s.pile).erase(static_cast<std::size_t>(s.index));
    table.append(target, partner, true);
    return CardMove{partner, s.pile, target, true};
}

void rotatePile(Table& table, int p, CardMoves* moves)
{
    Pile& pile = table.tableau(p);
    if (pile.empty())
        return;
    const int card = pile.pop();
    pile.insert(0, card);
    if (moves)
        moves->push_back({card, PileRef::tableau(p), PileRef::tableau(p), table.isFaceUp(card)});
    const int top = pile.top();
    if (top != 0 && table.isFaceDown(top)) {
        table.setFace(top, true);
        if (moves)
            moves->push_back({top, PileRef::tableau(p), PileRef::tableau(p), true});
    }
}

CardMoves clockStep(const catalog::Rules& rules, Table& table, int p)
{
    CardMoves moves;
    const int piles = std::min(tableausInUse(rules), 13);
    if (p < 0 || p >= piles)
        return moves;
    auto faceDownTop = [&](int q) {
        const Pile& pile = table.tableau(q);
        return !pile.empty() && pile.top() != 0 && table.isFaceDown(pile.top());
    };
    int pile = p;
    // Every turn brings a card home or turns one face up; the bound only guards odd tables.
    for (int guard = 0; guard < 4 * kLastCard; ++guard) {
        rotatePile(table, pile, &moves);
        const Pile& here = table.tableau(pile);
        if (here.empty() || rank(here.top()) != pile + 1)
            break;
        if (here.size() >= 2 && here[here.size() - 2] != 0 && table.isFaceDown(here[here.size() - 2]))
            continue;
        int next = -1;
        for (int q = pile + 1; q < piles && next < 0; ++q)
            if (faceDownTop(q))
                next = q;
        for (int q = 0; q < pile && next < 0; ++q)
            if (faceDownTop(q))
                next = q;
        if (next < 0)
            break;
        pile = next;
    }
    return moves;
}

std::string pileCountLabel(int positions)
{
    if (positions == 13)
        return "Completed";
    return std::to_string(positions) + (positions == 1 ? " card" : " cards");
}

} // namespace cw::engine::families
