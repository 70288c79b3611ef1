// Zobrist keys of game states in a standard form: piles that play alike hash alike, wherever they lie.
#pragma once

#include <array>
#include <cstdint>

#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"

namespace cw::engine {

// Which piles the rules make interchangeable. Piles of one class share their hash slot, so
// two states that differ only by the order of such piles get the same key. A pile is put in a
// class of its own whenever anything in the rules (stock rows, fills, grids, special families,
// per-pile parameters) could tell it from its neighbours.
class PileClasses {
public:
    static constexpr int kSlots = kTablePiles;

    // stockSpent: the stock and waste are empty and cannot come back, so rows the stock would
    // deal no longer tell the tableau piles apart.
    explicit PileClasses(const GameRules& rules, bool stockSpent = false, bool symmetric = true);

    // Hash slot 0..70 of a pile in table order.
    int slot(int tableOrder) const { return slots_[static_cast<std::size_t>(tableOrder)]; }
    int slot(PileRef pile) const { return slot(tableOrderIndex(pile)); }
    // Whether two piles are interchangeable (same slot).
    bool alike(PileRef a, PileRef b) const { return slot(a) == slot(b); }
    bool tableausInterchangeable() const { return tableauSymmetric_; }
    bool foundationsInterchangeable() const { return foundationSymmetric_; }

    // Piles in use, in table order (stock group, foundations, tableau, reserves).
    int usedCount() const { return used_; }
    PileRef usedPile(int i) const { return usedPiles_[static_cast<std::size_t>(i)]; }

private:
    std::array<int, kTablePiles> slots_{};
    std::array<PileRef, kTablePiles> usedPiles_{};
    int used_ = 0;
    bool tableauSymmetric_ = false;
    bool foundationSymmetric_ = false;
};

// The random keys. A pile's key combines a key for its bottom card in its slot with one key per
// (card, card directly below it) pair: the pairs alone fix every pile's order, so piles can be
// exchanged without a pile number inside the key. Face-down cards add a key of their own.
class ZobristKeys {
public:
    static const ZobristKeys& instance();

    std::uint64_t bottom(int slot, int card) const { return key(idx(slot, card)); }
    std::uint64_t pair(int card, int below) const
    {
        return key(kPairsAt + static_cast<std::size_t>(card * kCodes + below));
    }
    std::uint64_t faceDown(int card) const { return key(kFaceDownAt + static_cast<std::size_t>(card)); }
    std::uint64_t placeholder(int slot, int position) const
    {
        return key(kPlaceholderAt + static_cast<std::size_t>(position & 63)) * static_cast<std::uint64_t>(2 * slot + 1);
    }

private:
    static constexpr int kCodes = kLastCard + 1;
    static constexpr std::size_t kPairsAt = static_cast<std::size_t>(PileClasses::kSlots * kCodes);
    static constexpr std::size_t kFaceDownAt = kPairsAt + static_cast<std::size_t>(kCodes * kCodes);
    static constexpr std::size_t kPlaceholderAt = kFaceDownAt + static_cast<std::size_t>(kCodes);
    static std::size_t idx(int slot, int card) { return static_cast<std::size_t>(slot * kCodes + card); }
    // The n-th value of one fixed SplitMix64 sequence (the same keys on every run), worked out
    // when asked: a table of them took half a megabyte and a share of every short program's start.
    static std::uint64_t key(std::size_t n)
    {
        std::uint64_t z = 0x43617264776973ULL + (static_cast<std::uint64_t>(n) + 1) * 0x9E3779B97F4A7C15ULL;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
};

// Hashes states of one game. The key of a state is the XOR of its piles' keys, the face-down
// keys and a key of the per-deal counters the rules read; updating it after a move touches only
// the piles and faces that changed.
class StateHasher {
public:
    // symmetric false: every pile keeps a class of its own.
    explicit StateHasher(const GameRules& rules, bool symmetric = true)
        : classes_(rules, false, symmetric), spentClasses_(rules, true, symmetric),
          unlimitedDeals_(rules.unlimitedDeals()), redealsFromNothing_(rules.redealMode() != 0)
    {}

    // The classes of the dealt game, and those that apply to a given state: once the stock is
    // spent, piles it used to deal to may become interchangeable.
    const PileClasses& classes() const { return classes_; }
    const PileClasses& classesFor(const GameState& s) const { return stockSpent(s) ? spentClasses_ : classes_; }
    bool stockSpent(const GameState& s) const
    {
        return !redealsFromNothing_ && s.table.stock().empty() && s.table.waste().empty();
    }

    std::uint64_t pileKey(const Pile& pile, int slot) const;
    std::uint64_t countersKey(const GameState& s) const;
    // The key computed from nothing but the state.
    std::uint64_t full(const GameState& s) const;
    // The key of after, given the key of before (the state it came from by one move).
    std::uint64_t update(std::uint64_t beforeKey, const GameState& before, const GameState& after) const;

private:
    PileClasses classes_;
    PileClasses spentClasses_;
    bool unlimitedDeals_ = false;
    bool redealsFromNothing_ = false;
};

} // namespace cw::engine
