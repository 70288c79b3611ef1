// Every complete set a selection game accepts on a table: the click moves of the hint, the demo and the solver.
#pragma once

#include <array>
#include <cstdint>

#include "catalog/rules.h"
#include "engine/families/family_cards.h"
#include "engine/families/selection_rules.h"
#include "engine/table.h"

namespace cw::engine::families {

// A set of cards in a click order that the family's validity test accepts card by card, the last
// click completing it.
struct CardSet {
    std::array<std::uint8_t, kMaxSelection> cards{};
    int size = 0;
    friend bool operator==(const CardSet&, const CardSet&) = default;
};

// A list of sets that never allocates; sets past the capacity are dropped.
class SetList {
public:
    static constexpr int kCapacity = 256;
    void clear() { size_ = 0; }
    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const CardSet& operator[](int i) const { return sets_[static_cast<std::size_t>(i)]; }
    void push(const CardSet& s)
    {
        if (size_ < kCapacity)
            sets_[static_cast<std::size_t>(size_++)] = s;
    }
    const CardSet* begin() const { return sets_.data(); }
    const CardSet* end() const { return sets_.data() + size_; }

private:
    std::array<CardSet, kCapacity> sets_{};
    int size_ = 0;
};

// Fills out with every complete set of the game's family on the table, as if no card were
// selected yet, each set once (in one click order). Families whose sets may hold many cards are
// searched up to kMaxSelection cards; the multiples of 7 of family 83 up to three cards.
void completeSets(const catalog::Rules& rules, const Table& table, SetList& out);

// The cards a click may select on the table, first clicks apart from later ones.
struct Selectable {
    std::array<CardSpot, 128> spots{};
    std::array<std::uint8_t, 128> codes{};
    std::array<bool, 128> first{}; // may start a selection
    int size = 0;
};
void selectableCards(const catalog::Rules& rules, const Table& table, Selectable& out);

} // namespace cw::engine::families
