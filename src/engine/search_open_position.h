// Compact positions of the open-game search: piles as bytes, moves done and undone in place, the move generator.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/game_state.h"
#include "engine/search_open_rules.h"
#include "engine/zobrist.h"

namespace cw::engine::compact {

// A move between compact piles: the cards from position index of pile from up go on pile to;
// index kClick: a stock click.
struct OpenMove {
    std::uint8_t from = 0;
    std::uint8_t index = 0;
    std::uint8_t to = 0;
    bool click() const { return index == kClick; }
};

// One step as it was made, for undo and for the line: count cards from pile from (position
// index) to pile to. Stock clicks are one step: count clicks from a split of the stock and waste
// with index cards drawn.
struct Op {
    std::uint8_t from;
    std::uint8_t count;
    std::uint8_t to;
    std::uint8_t index;
    bool click = false;      // stock clicks (count of them)
    std::uint8_t passes = 0; // the turn-overs of a click step
    bool turned = false;     // the card it uncovered was turned face up
};

// Piles as byte vectors in compact order, face-down cards of the tableau, the pass number.
class Position {
public:
    Position(const OpenRules& open, const GameState& state) : open_(open)
    {
        const Table& t = state.table;
        const ZobristKeys& keys = ZobristKeys::instance();
        for (int i = 0; i < open.piles(); ++i) {
            auto& p = piles_[static_cast<std::size_t>(i)];
            p.reserve(static_cast<std::size_t>(open.cards.count()));
            for (int c : t.pile(open.ref(i)))
                p.push_back(static_cast<std::uint8_t>(c));
            const bool talon = isTalon(i);
            for (std::size_t k = 0; k < p.size(); ++k) {
                if (!talon)
                    key_ ^= k == 0 ? keys.bottom(open.slot[static_cast<std::size_t>(i)], p[0]) : keys.pair(p[k], p[k - 1]);
                at_[p[k]] = static_cast<std::uint8_t>(i);
                index_[p[k]] = static_cast<std::uint8_t>(k);
                if (i < open.tableaus && t.isFaceDown(p[k])) {
                    down_[p[k]] = true;
                    key_ ^= keys.faceDown(p[k]);
                }
                if (i >= open.homeFirst())
                    home_[p[k]] = true;
            }
        }
        deal_ = state.dealNumber;
        key_ ^= dealKey();
        if (open.stock) {
            // The stock and waste as the one sequence the clicks go through: the waste from
            // its bottom up, then the stock from its top down. Clicks never change it, only
            // where it is split.
            const auto& w = pile(open.wastePile());
            const auto& st = pile(open.stockPile());
            std::vector<std::uint8_t> seq(w.begin(), w.end());
            seq.insert(seq.end(), st.rbegin(), st.rend());
            for (std::size_t k = 0; k < seq.size(); ++k)
                talonKey_ ^= k == 0 ? keys.bottom(talonSlot(), seq[0]) : keys.pair(seq[k], seq[k - 1]);
            talonKey_ ^= splitKey(w.size()) ^ dealKey();
            key_ ^= talonKey_ ^ dealKey();
            for (const std::uint8_t c : seq)
                talonSet_ ^= keys.pair(c, c);
        }
        for (int c = 0; c < open.tableaus; ++c)
            if (!pile(c).empty())
                tops_[pile(c).back()] = true;
        findWanted();
        for (int q = 0; q < open.reserves; ++q)
            if (pile(open.tableaus + q).empty())
                emptyCellBits_ |= 1U << q;
    }

    const std::vector<std::uint8_t>& pile(int i) const { return piles_[static_cast<std::size_t>(i)]; }
    std::uint64_t key() const { return key_; }
    // The part of the key that the stock and waste make (with the pass where passes are limited).
    std::uint64_t talonKey() const { return talonKey_; }
    // The key with the stock and waste counted as a set of cards: where every stock card can be
    // reached at any time, their order does not matter.
    std::uint64_t setKey() const { return key_ ^ talonKey_ ^ talonSet_; }
    const CardSet& home() const { return home_; }
    // The top cards of the tableau piles.
    const CardSet& columnTops() const { return tops_; }
    // The cards some foundation takes now.
    const CardSet& wanted() const { return wanted_; }
    bool faceDown(int card) const { return down_[static_cast<std::size_t>(card)]; }
    int deal() const { return deal_; }
    bool won() const
    {
        for (int i = 0; i < open_.homeFirst(); ++i)
            if (!pile(i).empty())
                return false;
        return true;
    }
    int emptyColumns() const
    {
        int n = 0;
        for (int c = 0; c < open_.tableaus; ++c)
            n += pile(c).empty() ? 1 : 0;
        return n;
    }
    int emptyCells() const { return __builtin_popcount(emptyCellBits_); }
    // Bit q set: reserve q is empty.
    std::uint32_t emptyCellBits() const { return emptyCellBits_; }
    int pileOf(int card) const { return at_[static_cast<std::size_t>(card)]; }
    int indexOf(int card) const { return index_[static_cast<std::size_t>(card)]; }

    // Whether a click would change the table, and the click itself (as single-card steps).
    bool clickAvailable() const
    {
        if (!open_.stock)
            return false;
        return !pile(open_.stockPile()).empty() ||
               (pile(open_.wastePile()).size() >= 2 && (open_.deals == -1 || deal_ < open_.deals));
    }
    // A click as one step. It changes only where the stock and waste are split (and the pass).
    void click(std::vector<Op>& ops) { clicks(1, ops); }
    // count clicks (each available in turn) as one step: the cards between the old split and
    // the new one change sides at once, the turn-overs on the way only count passes.
    void clicks(int count, std::vector<Op>& ops)
    {
        const int total = static_cast<int>(pile(open_.stockPile()).size() + pile(open_.wastePile()).size());
        const int from = static_cast<int>(pile(open_.wastePile()).size());
        int split = from, passes = 0;
        for (int k = 0; k < count; ++k) {
            if (split < total) {
                split = std::min(total, split + open_.drawCount);
            } else {
                split = 0;
                ++passes;
            }
        }
        Op op{static_cast<std::uint8_t>(open_.stockPile()), static_cast<std::uint8_t>(count),
              static_cast<std::uint8_t>(open_.wastePile()), static_cast<std::uint8_t>(from)};
        op.click = true;
        op.passes = static_cast<std::uint8_t>(passes);
        flipTalon(dealKey());
        deal_ += passes;
        flipTalon(dealKey());
        splitAt(split);
        ops.push_back(op);
    }
    // Moves the top count cards of from onto to and turns up a tableau card it uncovers.
    Op move(int from, int index, int to)
    {
        Op op{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(pile(from).size() - static_cast<std::size_t>(index)),
              static_cast<std::uint8_t>(to), static_cast<std::uint8_t>(index)};
        shift(from, op.count, to);
        const auto& p = pile(from);
        if (from < open_.tableaus && !p.empty() && down_[p.back()]) {
            reveal(p.back(), false);
            op.turned = true;
        }
        return op;
    }
    void undo(const Op& op)
    {
        if (op.click) {
            unclick(op);
            return;
        }
        if (op.turned)
            reveal(pile(op.from).back(), true);
        shift(op.to, op.count, op.from);
    }

    // The key where the stock and waste split loses nothing: with any number of passes, every
    // split that a click of a full draw or the turn-over reaches (drawn a multiple of the draw
    // count, or all drawn) can reach every other such split by clicks alone, so those positions
    // win or lose together and count as one. Other splits (a short draw left over, limited
    // passes, fewer than two cards) keep their own key.
    std::uint64_t searchKey() const
    {
        if (!open_.stock || open_.deals != -1 || open_.drawCount < 1)
            return key_;
        const std::size_t drawn = pile(open_.wastePile()).size();
        const std::size_t n = pile(open_.stockPile()).size() + drawn;
        if (n < 2 || drawn == 0 || (drawn % static_cast<std::size_t>(open_.drawCount) != 0 && drawn != n))
            return key_;
        return key_ ^ splitKey(drawn) ^ splitKey(0);
    }

    // The order of a tableau pile: face-down cards, builds that hold together, cards lying on
    // lower ones; kept until a move touches the pile.
    int columnScore(int c) const
    {
        if (!(dirty_ >> c & 1U))
            return columnScore_[static_cast<std::size_t>(c)];
        const auto& p = pile(c);
        int h = 0;
        if (p.empty()) {
            h = 100;
        } else {
            int lowest = 14;
            const std::int8_t* pairs = open_.pairScore.data();
            for (std::size_t i = 0; i < p.size(); ++i) {
                if (down_[p[i]]) {
                    h -= 30;
                    continue;
                }
                if (i > 0 && !down_[p[i - 1]])
                    h += pairs[p[i - 1] * (kLastCard + 1) + p[i]];
                // Cards lying on a lower card keep it from its foundation.
                const int r = open_.rankOf[p[i]];
                if (r > lowest)
                    h -= 4;
                lowest = std::min(lowest, r);
            }
        }
        columnScore_[static_cast<std::size_t>(c)] = h;
        dirty_ &= ~(std::uint64_t{1} << c);
        return h;
    }

private:
    void flipTalon(std::uint64_t k)
    {
        key_ ^= k;
        talonKey_ ^= k;
    }
    bool isTalon(int i) const { return open_.stock && (i == open_.stockPile() || i == open_.wastePile()); }
    int talonSlot() const { return open_.slot[static_cast<std::size_t>(open_.stockPile())]; }
    // The key of a split of the stock and waste (the number of cards drawn).
    static std::uint64_t splitKey(std::size_t drawn)
    {
        static const auto table = [] {
            std::array<std::uint64_t, 256> t{};
            for (std::size_t i = 0; i < t.size(); ++i)
                t[i] = mixSplit(i);
            return t;
        }();
        return table[drawn & 255];
    }
    static std::uint64_t mixSplit(std::size_t drawn)
    {
        std::uint64_t x = (drawn + 1) * 0x9E3779B97F4A7C15ULL;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        return x ^ (x >> 31);
    }
    // The links of the waste's top card in the sequence of the stock and waste: to the card
    // before it, the card after it, and the link those two form once it is gone. Taking the
    // card out and putting it back both flip these keys.
    std::uint64_t wasteTopLinks() const
    {
        const ZobristKeys& keys = ZobristKeys::instance();
        const auto& w = pile(open_.wastePile());
        const auto& st = pile(open_.stockPile());
        const int x = w.back();
        const int before = w.size() >= 2 ? w[w.size() - 2] : -1;
        std::uint64_t k = before >= 0 ? keys.pair(x, before) : keys.bottom(talonSlot(), x);
        if (!st.empty()) {
            const int after = st.back();
            k ^= keys.pair(after, x) ^ (before >= 0 ? keys.pair(after, before) : keys.bottom(talonSlot(), after));
        }
        return k;
    }
    void place(std::uint8_t card, int pile, std::size_t index)
    {
        at_[card] = static_cast<std::uint8_t>(pile);
        index_[card] = static_cast<std::uint8_t>(index);
    }
    void unclick(const Op& op)
    {
        flipTalon(dealKey());
        deal_ -= op.passes;
        flipTalon(dealKey());
        splitAt(op.index);
    }
    // Moves the split of the stock and waste to drawn cards drawn: the sequence of both read
    // from the waste's bottom to the stock's bottom stays as it is.
    void splitAt(int drawn)
    {
        auto& s = piles_[static_cast<std::size_t>(open_.stockPile())];
        auto& w = piles_[static_cast<std::size_t>(open_.wastePile())];
        flipTalon(splitKey(w.size()));
        while (static_cast<int>(w.size()) < drawn) {
            const std::uint8_t card = s.back();
            s.pop_back();
            place(card, open_.wastePile(), w.size());
            w.push_back(card);
        }
        while (static_cast<int>(w.size()) > drawn) {
            const std::uint8_t card = w.back();
            w.pop_back();
            place(card, open_.stockPile(), s.size());
            s.push_back(card);
        }
        flipTalon(splitKey(w.size()));
    }
    std::uint64_t dealKey() const
    {
        // Passes count only where they are limited.
        return !open_.stock || open_.deals == -1 ? 0 : ZobristKeys::instance().placeholder(kTablePiles, deal_ & 63);
    }
    void findWanted()
    {
        wanted_.reset();
        for (int f = 0; f < open_.foundations; ++f) {
            const auto& p = pile(open_.homeFirst() + f);
            if (open_.foundationCap <= 0 || static_cast<int>(p.size()) < open_.foundationCap)
                wanted_ |= p.empty() ? open_.foundEmpty[static_cast<std::size_t>(f)]
                                     : open_.foundNext[static_cast<std::size_t>(f)][p.back()];
        }
    }
    void reveal(int card, bool down)
    {
        down_[static_cast<std::size_t>(card)] = down;
        key_ ^= ZobristKeys::instance().faceDown(card);
        dirty_ |= std::uint64_t{1} << at_[static_cast<std::size_t>(card)];
    }
    // Moves the top n cards of from onto to, keeping their order, and updates the key.
    void shift(int from, int n, int to)
    {
        auto& a = piles_[static_cast<std::size_t>(from)];
        auto& b = piles_[static_cast<std::size_t>(to)];
        const ZobristKeys& keys = ZobristKeys::instance();
        const std::size_t first = a.size() - static_cast<std::size_t>(n);
        const std::uint8_t card = a[first];
        // Only single waste cards come and go on the stock and waste (clicks aside).
        const bool fromTalon = isTalon(from), toTalon = isTalon(to);
        if (fromTalon != toTalon)
            talonSet_ ^= keys.pair(card, card);
        if (fromTalon)
            flipTalon(wasteTopLinks() ^ splitKey(a.size()) ^ splitKey(a.size() - 1));
        else
            key_ ^= first == 0 ? keys.bottom(open_.slot[static_cast<std::size_t>(from)], card) : keys.pair(card, a[first - 1]);
        if (!toTalon)
            key_ ^= b.empty() ? keys.bottom(open_.slot[static_cast<std::size_t>(to)], card) : keys.pair(card, b.back());
        if (from < open_.tableaus) {
            tops_[a.back()] = false;
            if (first > 0)
                tops_[a[first - 1]] = true;
        }
        if (to < open_.tableaus) {
            if (!b.empty())
                tops_[b.back()] = false;
            tops_[a.back()] = true;
        }
        const int homeFirst = open_.homeFirst();
        if (to >= homeFirst)
            home_[card] = true;
        if (from >= homeFirst)
            home_[card] = false;
        const bool foundationChanged = to >= homeFirst || from >= homeFirst;
        for (std::size_t k = first; k < a.size(); ++k) {
            at_[a[k]] = static_cast<std::uint8_t>(to);
            index_[a[k]] = static_cast<std::uint8_t>(b.size() + k - first);
        }
        b.insert(b.end(), a.begin() + static_cast<std::ptrdiff_t>(first), a.end());
        a.resize(first);
        if (toTalon)
            flipTalon(wasteTopLinks() ^ splitKey(b.size()) ^ splitKey(b.size() - 1));
        if (foundationChanged)
            findWanted();
        const int cells = open_.tableaus;
        if (from >= cells && from < cells + open_.reserves && a.empty())
            emptyCellBits_ |= 1U << (from - cells);
        if (to >= cells && to < cells + open_.reserves)
            emptyCellBits_ &= ~(1U << (to - cells));
        if (from < 64)
            dirty_ |= std::uint64_t{1} << from;
        if (to < 64)
            dirty_ |= std::uint64_t{1} << to;
    }

    const OpenRules& open_;
    std::array<std::vector<std::uint8_t>, kTablePiles> piles_;
    CardSet home_;
    CardSet down_;
    CardSet tops_;
    CardSet wanted_;
    std::uint32_t emptyCellBits_ = 0;
    int deal_ = 1;
    std::uint64_t key_ = 0;
    std::uint64_t talonKey_ = 0;
    // The cards of the stock and waste as a set (no card lies on itself, so these keys are free).
    std::uint64_t talonSet_ = 0;
    std::array<std::uint8_t, kLastCard + 1> at_{};
    std::array<std::uint8_t, kLastCard + 1> index_{};
    mutable std::array<int, kTablePiles> columnScore_{};
    mutable std::uint64_t dirty_ = ~std::uint64_t{0}; // bit per pile (only tableau piles, under 64, are read)
};

// Whether foundation f takes card now.
inline bool foundationTakes(const OpenRules& open, const Position& pos, int f, int card)
{
    const auto& p = pos.pile(open.homeFirst() + f);
    if (open.foundationCap > 0 && static_cast<int>(p.size()) >= open.foundationCap)
        return false;
    const auto fi = static_cast<std::size_t>(f);
    return p.empty() ? open.foundEmpty[fi][static_cast<std::size_t>(card)]
                     : open.foundOn[fi][static_cast<std::size_t>(card)][p.back()];
}

// Whether tableau column c takes the single card or group of n cards that starts with card.
inline bool columnTakes(const OpenRules& open, const Position& pos, int c, int card, int n, Source source, int emptyColumns,
                        int emptyCells)
{
    const auto src = static_cast<std::size_t>(source);
    const auto& p = pos.pile(c);
    return p.empty() ? open.tabEmpty[src][static_cast<std::size_t>(card)] &&
                           (n == 1 || open.groupLimit != catalog::GroupLimit::CellsAndPiles ||
                            open.fits(n, emptyColumns, emptyCells, true))
                     : open.tabOn[src][static_cast<std::size_t>(card)][p.back()];
}

// Where the single card or group from position index of pile from may go.
template <class Push>
void addTargets(const OpenRules& open, const Position& pos, int from, int index, int card, int n, Source source,
                int emptyColumns, int emptyCells, Push&& push)
{
    auto out = [&](int to) {
        push(OpenMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(to)});
    };
    if (n == 1 && pos.wanted()[static_cast<std::size_t>(card)])
        for (int f = 0; f < open.foundations; ++f)
            if (foundationTakes(open, pos, f, card))
                out(open.homeFirst() + f);
    const auto src = static_cast<std::size_t>(source);
    // Most cards fit on no top at all: the loop below (which keeps the column order) runs only
    // when some top or an empty column takes the card.
    const bool fitsSomewhere = (open.tabOn[src][static_cast<std::size_t>(card)] & pos.columnTops()).any() ||
                               (emptyColumns > 0 && open.tabEmpty[src][static_cast<std::size_t>(card)]);
    for (int c = 0; c < open.tableaus && fitsSomewhere; ++c) {
        if (c == from)
            continue; // the engine never drops cards back on their own pile
        if (columnTakes(open, pos, c, card, n, source, emptyColumns, emptyCells))
            out(c);
    }
    if (n == 1)
        for (std::uint32_t bits = pos.emptyCellBits(); bits != 0; bits &= bits - 1) {
            const int q = __builtin_ctz(bits);
            if (open.cellTakes[static_cast<std::size_t>(q)])
                out(open.tableaus + q);
        }
}

// The moves of generate that leave pile from or from2, or go to tableau column to (clicks aside).
struct Touching {
    int from = -1;
    int from2 = -1;
    int to = -1;
};

// Every legal move, as the general generator finds them (the same set, any order); with touching,
// only the moves it names.
template <class Push>
void generate(const OpenRules& open, const Position& pos, Push&& push, const Touching* touching = nullptr)
{
    const int emptyColumns = pos.emptyColumns();
    const int emptyCells = pos.emptyCells();
    auto addTargets = [&](int from, int index, int card, int n, Source source) {
        if (!touching || from == touching->from || from == touching->from2) {
            compact::addTargets(open, pos, from, index, card, n, source, emptyColumns, emptyCells, push);
        } else if (touching->to >= 0 && touching->to != from &&
                   columnTakes(open, pos, touching->to, card, n, source, emptyColumns, emptyCells)) {
            push(OpenMove{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(touching->to)});
        }
    };
    for (int c = 0; c < open.tableaus; ++c) {
        const auto& p = pos.pile(c);
        const int size = static_cast<int>(p.size());
        for (int i = size - 1; i >= 0; --i) {
            // Nothing below a face-down card lifts; sequences are chains: once a pair breaks,
            // no deeper group lifts.
            if (pos.faceDown(p[static_cast<std::size_t>(i)]) ||
                (i + 1 < size && !open.sequence[p[static_cast<std::size_t>(i)]][p[static_cast<std::size_t>(i + 1)]]))
                break;
            const int n = size - i;
            if (!open.fits(n, emptyColumns, emptyCells, false))
                continue;
            addTargets(c, i, p[static_cast<std::size_t>(i)], n, n == 1 ? kFromTableauSingle : kFromTableauGroup);
        }
    }
    if (open.stock && !pos.pile(open.wastePile()).empty())
        addTargets(open.wastePile(), static_cast<int>(pos.pile(open.wastePile()).size()) - 1,
                   pos.pile(open.wastePile()).back(), 1, kFromWaste);
    for (int q = 0; q < open.reserves; ++q) {
        const auto& p = pos.pile(open.tableaus + q);
        if (!p.empty())
            addTargets(open.tableaus + q, static_cast<int>(p.size()) - 1, p.back(), 1, kFromReserve);
    }
    for (int f = 0; f < open.foundations && open.takeBack != 0; ++f) {
        const auto& p = pos.pile(open.homeFirst() + f);
        if (p.size() >= static_cast<std::size_t>(open.takeBack))
            addTargets(open.homeFirst() + f, static_cast<int>(p.size()) - 1, p.back(), 1, kFromFoundation);
    }
    if (!touching && pos.clickAvailable())
        push(OpenMove{static_cast<std::uint8_t>(open.stockPile()), kClick, static_cast<std::uint8_t>(open.wastePile())});
}

} // namespace cw::engine::compact
