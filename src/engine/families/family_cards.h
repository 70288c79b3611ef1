// What the special families' rules read on a table: card values, where a card lies, grid and row neighbours.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>

#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::engine::families {

// Pile counts in use, clamped to the table's lists.
inline int tableausInUse(const catalog::Rules& r) { return std::clamp(r.tableauCount(), 0, kTableauPiles); }
inline int foundationsInUse(const catalog::Rules& r) { return std::clamp(r.foundationCount(), 0, kFoundationPiles); }
inline int reservesInUse(const catalog::Rules& r) { return std::clamp(r.reserveCount(), 0, kReservePiles); }

// The value a card counts for in the adding games: Ace 1 ... King 13; 0 for anything else.
inline int cardValue(int code)
{
    const int r = rank(code);
    return r >= 1 && r <= 13 ? r : 0;
}
// Number cards are Ace to Ten; face cards Jack, Queen and King.
inline bool isNumberCard(int code) { return cardValue(code) >= 1 && cardValue(code) <= 10; }
inline bool isFaceCard(int code) { return cardValue(code) >= 11; }

// Where a card lies; an invalid pile when it lies nowhere.
struct CardSpot {
    PileRef pile{};
    int index = -1;
    bool found() const { return pile.valid() && index >= 0; }
    friend bool operator==(const CardSpot&, const CardSpot&) = default;
};

// Finds a card on the piles of the game: tableau piles in use, the waste, the stock, foundations,
// reserves in use and the second waste. Foundation 1 is passed over when it is the selection
// buffer (its codes name cards that lie elsewhere).
CardSpot findCard(const catalog::Rules& rules, const Table& table, int code, bool skipFoundation1);

// The tableau grid the neighbour tests read: rule parameter 30 (piles per row) when it is set,
// otherwise the family's own width.
int gridWidth(const catalog::Rules& rules, int familyWidth);

// Grid position of tableau pile index c (0-based) in a grid width wide.
struct GridCell {
    int row = 0;
    int column = 0;
};
inline GridCell gridCell(int c, int width) { return {c / std::max(width, 1), c % std::max(width, 1)}; }

// Two tableau piles touch: horizontally, vertically or diagonally neighbouring grid cells.
inline bool touching(int a, int b, int width)
{
    const GridCell p = gridCell(a, width), q = gridCell(b, width);
    return a != b && std::abs(p.row - q.row) <= 1 && std::abs(p.column - q.column) <= 1;
}
// Two tableau piles share a grid row or a grid column.
inline bool sameLine(int a, int b, int width)
{
    const GridCell p = gridCell(a, width), q = gridCell(b, width);
    return a != b && (p.row == q.row || p.column == q.column);
}

// The cards of a row game's single row (tableau pile 1), placeholders left out, with the
// position of each card in the pile string.
struct RowCard {
    int code = 0;
    int position = 0;
};
// The row's cards in a list that never allocates (a row holds at most the cards of the pack).
class RowCards {
public:
    static constexpr int kCapacity = kLastCard;
    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const RowCard& operator[](int i) const { return cards_[static_cast<std::size_t>(i)]; }
    const RowCard& front() const { return cards_[0]; }
    void push(RowCard c)
    {
        if (size_ < kCapacity)
            cards_[static_cast<std::size_t>(size_++)] = c;
    }
    // Index of a card among the row's cards; -1 when it is not in the row.
    int indexOf(int code) const
    {
        for (int i = 0; i < size_; ++i)
            if (cards_[static_cast<std::size_t>(i)].code == code)
                return i;
        return -1;
    }

private:
    std::array<RowCard, kCapacity> cards_{};
    int size_ = 0;
};
RowCards rowCards(const Pile& row);

// Rewrites a row game's row with one placeholder between neighbouring cards, the form the
// dealt row has: card, placeholder, card, ... (a single card stands alone).
void compactRow(Pile& row);

} // namespace cw::engine::families
