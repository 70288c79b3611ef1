// The card counter's model and grid: for every card of the deal, face up, face down or outside the counted piles.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/rules.h"
#include "engine/events.h"
#include "engine/table.h"

namespace cw::tools {

enum class CounterMark : std::uint8_t { None, Up, Down };

// Which piles are counted: "&Tableau only" (tableau, foundations, reserves and the second
// waste), "&Stock only" (stock and waste), or, with neither, all of them.
struct CounterFilter {
    bool tableauOnly = true;
    bool stockOnly = false;

    bool countsStockGroup() const { return !tableauOnly; }
    bool countsTable() const { return !stockOnly || tableauOnly; }
    friend bool operator==(const CounterFilter&, const CounterFilter&) = default;
};

// The grid: one row per suit per deck (Clubs, Diamonds, Spades, Hearts in each deck), one column
// per rank, 14 x 18 pixels a cell.
namespace counter_grid {
inline constexpr int kCellWidth = 14;
inline constexpr int kRowHeight = 18;
inline constexpr int kTop = 3; // y of row 0
inline constexpr int kMaxRows = 16;
inline constexpr int kGridWidth = kCellWidth + 186; // the suit column, then the cells up to the King's
// The code of rank 0 in each row.
inline constexpr std::array<int, kMaxRows> kRowBase = {26,  13,  39,  0,   78,  65,  91,  52,
                                                       130, 117, 143, 104, 182, 169, 195, 156};

// 4 rows for one deck, 8 for two, 12 for three, 16 for four (cards in play: rule parameter 378).
int rowsInUse(int cardsInPlay);
constexpr int rowY(int row) { return row * kRowHeight + kTop; }
constexpr int cellX(int rank) { return rank * kCellWidth + 2; }
// Row (0-15) and rank (1-13) of a card code 1-208; row -1 for anything else.
int rowOf(int code);
int codeAt(int row, int rank);
// The card whose cell holds the point, 0 when none: the point must lie in a drawn cell of a row
// in use and the card must be in play.
int hitTest(int x, int y, int cardsInPlay);
// "card_clubs", "card_diamonds", "card_spades", "card_hearts" by row.
std::string headerPicture(int row);
// "Card_None", or "Card_" + rank + "_Up"/"_Down" + "_red"/"_black" (Up and Down exchanged when
// inverted; "Card_None" never is).
std::string cellPicture(int code, CounterMark mark, bool invert);
} // namespace counter_grid

class CardCounterModel {
public:
    // Reads the whole table. The codes whose mark changed are appended to `changed` when given.
    void refresh(const catalog::Rules& rules, const engine::Table& table, const CounterFilter& filter,
                 std::vector<int>* changed = nullptr);
    // After one action's events: the piles they name are read again and a card that left the
    // table is no longer counted. Appends the codes whose mark changed.
    void update(const catalog::Rules& rules, const engine::Table& table, const engine::Events& events,
                std::vector<int>& changed);
    // Everything back to "not counted" (no game).
    void clear(std::vector<int>* changed = nullptr);

    CounterMark mark(int code) const
    {
        return code > 0 && code <= engine::kLastDeckCard ? m_marks[static_cast<std::size_t>(code)] : CounterMark::None;
    }
    int cardsInPlay() const { return m_cards; }
    int rows() const { return counter_grid::rowsInUse(m_cards); }
    const CounterFilter& filter() const { return m_filter; }

private:
    void markPile(const catalog::Rules& rules, const engine::Table& table, engine::PileRef pile,
                  std::vector<int>* changed);
    void set(int code, CounterMark mark, std::vector<int>* changed);

    std::array<CounterMark, engine::kLastDeckCard + 1> m_marks{};
    CounterFilter m_filter;
    int m_cards = 52;
};

} // namespace cw::tools
