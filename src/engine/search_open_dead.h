// A quick proof that no line wins from a position: some card can never get home, because what
// it waits for lies underneath it.
#pragma once

#include <array>
#include <cstdint>

#include "engine/search_open_position.h"

namespace cw::engine::compact {

// Plays a looser game in which time does not matter: a card leaves its column once every card
// that lies on it can leave and some card it may be built on can ever be uncovered (or leave its
// own column), or an empty column takes it, or it can go home; a card gets home once the card it
// follows can and it can ever be uncovered. Cards of the stock, the waste and the cells count as
// always at hand, and so do foundation cards where they may be taken back; such a card, or one
// that lies above the card in its own column, can carry it only once it can itself be laid on
// the tableau (on a card that can ever be uncovered, or in an empty column). An empty column is
// there only once some column is empty or all of its cards can leave. Every real line is a line
// of the looser game, so a card that cannot get home even there proves the position lost.
// A card still under its own group is carried along: a group lifts from any card in it whose
// target can be uncovered. Cells take any uncovered card, so with cells only cards blocked by
// what lies under them (not by a missing target) count.
class DeadlockTest {
public:
    explicit DeadlockTest(const OpenRules& open) : open_(open)
    {
        for (int q = 0; q < open.reserves; ++q)
            cells_ = cells_ || open.cellTakes[static_cast<std::size_t>(q)];
    }

    bool lost(const Position& pos)
    {
        leaves_.reset();
        home_.reset();
        laid_.reset();
        const int columns = open_.tableaus;
        emptyAtHand_ = false;
        for (int c = 0; c < columns; ++c) {
            clearFrom_[static_cast<std::size_t>(c)] = static_cast<int>(pos.pile(c).size());
            emptyAtHand_ = emptyAtHand_ || pos.pile(c).empty();
        }
        for (bool changed = true; changed;) {
            changed = false;
            for (int c = 0; c < columns; ++c)
                changed = settleColumn(pos, c) || changed;
            changed = findLaid(pos) || changed;
            // A column can be emptied once every card in it can leave.
            for (int c = 0; c < columns && !emptyAtHand_; ++c)
                if (clearFrom_[static_cast<std::size_t>(c)] == 0)
                    emptyAtHand_ = changed = true;
            bool all = true;
            for (const int card : open_.cardList) {
                const auto ci = static_cast<std::size_t>(card);
                if (home_[ci])
                    continue;
                if (atHand(pos, card) && follows(card)) {
                    home_[ci] = true;
                    changed = true;
                } else {
                    all = false;
                }
            }
            if (all)
                return false;
        }
        return true;
    }

private:
    // Every card from clearFrom_[c] up can leave column c, so the card under it can be uncovered.
    bool uncovered(const Position& pos, int card) const
    {
        const int pile = pos.pileOf(card);
        return clearFrom_[static_cast<std::size_t>(pile)] <= pos.indexOf(card) + 1;
    }
    bool atHand(const Position& pos, int card) const
    {
        const int pile = pos.pileOf(card);
        if (pile >= open_.tableaus)
            return true;
        return leaves_[static_cast<std::size_t>(card)] || uncovered(pos, card);
    }
    // The foundation takes card once the card it follows is home.
    bool follows(int card) const
    {
        const auto ci = static_cast<std::size_t>(card);
        if (open_.homeStarts[ci])
            return true;
        for (const std::uint8_t t : open_.homeAfter[ci])
            if (home_[t])
                return true;
        return false;
    }
    // Whether an empty column may ever take card: one must be empty, or every card of some
    // column must be able to leave it.
    bool emptyColumn(int card) const { return emptyAtHand_ && open_.emptyColumnTakes[static_cast<std::size_t>(card)]; }
    // Whether a group lifted from position index of column may ever land on top: a card of
    // another column once it can be uncovered (or leave); a card off the tableau, or one above
    // the group in its own column, once it can be laid on the tableau.
    bool target(const Position& pos, int top, int column, int index) const
    {
        const int pile = pos.pileOf(top);
        const auto ti = static_cast<std::size_t>(top);
        if (pile >= open_.homeFirst())
            return open_.takeBack != 0 && laid_[ti];
        if (pile >= open_.tableaus)
            return laid_[ti];
        if (pile == column)
            return pos.indexOf(top) > index && laid_[ti];
        return leaves_[ti] || uncovered(pos, top);
    }
    // The cards that can ever be laid on the tableau: in an empty column, or on a card of the
    // tableau that can be uncovered or leave, or on one that can itself be laid there.
    bool findLaid(const Position& pos)
    {
        bool changed = false;
        for (bool more = true; more;) {
            more = false;
            for (const int card : open_.cardList) {
                const auto ci = static_cast<std::size_t>(card);
                if (laid_[ci])
                    continue;
                bool ok = emptyColumn(card);
                for (const std::uint8_t b : open_.buildsOn[ci]) {
                    if (ok)
                        break;
                    const int pile = pos.pileOf(b);
                    if (pile < open_.tableaus)
                        ok = leaves_[b] || uncovered(pos, b);
                    else
                        ok = laid_[b] && (pile < open_.homeFirst() || open_.takeBack != 0);
                }
                if (ok) {
                    laid_[ci] = true;
                    more = changed = true;
                }
            }
        }
        return changed;
    }
    bool settleColumn(const Position& pos, int c)
    {
        const auto& p = pos.pile(c);
        const int n = static_cast<int>(p.size());
        auto& clear = clearFrom_[static_cast<std::size_t>(c)];
        bool changed = false;
        for (int i = n - 1; i >= 0; --i) {
            const int x = p[static_cast<std::size_t>(i)];
            if (leaves_[static_cast<std::size_t>(x)]) {
                if (clear == i + 1)
                    clear = i;
                continue;
            }
            bool ok = clear <= i + 1 && (cells_ || follows(x) || emptyColumn(x));
            // Groups that would carry x: lifted from x or from a card under it in the same run.
            for (int k = i; !ok; --k) {
                const int b = p[static_cast<std::size_t>(k)];
                int top = k;
                while (top + 1 < n && linked(pos, p[static_cast<std::size_t>(top)], p[static_cast<std::size_t>(top + 1)]))
                    ++top;
                if (clear <= top + 1) {
                    ok = emptyColumn(b);
                    for (const std::uint8_t t : open_.buildsOn[static_cast<std::size_t>(b)])
                        ok = ok || target(pos, t, c, k);
                }
                if (k == 0 || !linked(pos, p[static_cast<std::size_t>(k - 1)], b))
                    break;
            }
            if (!ok)
                continue;
            leaves_[static_cast<std::size_t>(x)] = true;
            changed = true;
            if (clear == i + 1)
                clear = i;
        }
        return changed;
    }
    bool linked(const Position& pos, int lower, int upper) const
    {
        return !pos.faceDown(lower) && !pos.faceDown(upper) &&
               open_.sequence[static_cast<std::size_t>(lower)][static_cast<std::size_t>(upper)];
    }

    const OpenRules& open_;
    bool cells_ = false;
    CardSet leaves_;
    CardSet home_;
    CardSet laid_;
    bool emptyAtHand_ = false;
    std::array<int, kTablePiles> clearFrom_{};
};

} // namespace cw::engine::compact
