// The enumeration of complete sets: a search over the selectable cards pruned by the family's own validity test.
#include "engine/families/selection_sets.h"

#include <algorithm>

namespace cw::engine::families {
namespace {

class SetSearch {
public:
    SetSearch(const catalog::Rules& rules, const Table& table, const Selectable& cards, SetList& out)
        : rules_(rules), table_(table), cards_(cards), out_(out)
    {}

    // Sets in the order of the candidate list: enough wherever the tests do not depend on the
    // click order (or the candidates are ordered so that they need not).
    void combinations(int start, int depth, int limit)
    {
        for (int k = start; k < cards_.size; ++k) {
            if (depth == 0 && !cards_.first[static_cast<std::size_t>(k)])
                continue;
            chosen_[static_cast<std::size_t>(depth)] = cards_.codes[static_cast<std::size_t>(k)];
            spots_[static_cast<std::size_t>(depth)] = cards_.spots[static_cast<std::size_t>(k)];
            const SetState s = judge(depth + 1);
            if (s == SetState::Complete)
                record(depth + 1);
            else if (s == SetState::Partial && depth + 1 < limit)
                combinations(k + 1, depth + 1, limit);
        }
    }

    // Sets in every click order, each kept once: for the tests that read the order.
    void orders(int depth, int limit)
    {
        for (int k = 0; k < cards_.size; ++k) {
            if (used_[static_cast<std::size_t>(k)] || (depth == 0 && !cards_.first[static_cast<std::size_t>(k)]))
                continue;
            chosen_[static_cast<std::size_t>(depth)] = cards_.codes[static_cast<std::size_t>(k)];
            spots_[static_cast<std::size_t>(depth)] = cards_.spots[static_cast<std::size_t>(k)];
            const SetState s = judge(depth + 1);
            if (s == SetState::Complete) {
                if (!known(depth + 1))
                    record(depth + 1);
            } else if (s == SetState::Partial && depth + 1 < limit) {
                used_[static_cast<std::size_t>(k)] = true;
                orders(depth + 1, limit);
                used_[static_cast<std::size_t>(k)] = false;
            }
        }
    }

private:
    SetState judge(int n)
    {
        int codes[kMaxSelection];
        for (int i = 0; i < n; ++i)
            codes[i] = chosen_[static_cast<std::size_t>(i)];
        return judgeSetAt(rules_, table_, std::span<const int>(codes, static_cast<std::size_t>(n)),
                          std::span<const CardSpot>(spots_.data(), static_cast<std::size_t>(n)))
            .state;
    }

    void record(int n)
    {
        CardSet set;
        set.size = n;
        for (int i = 0; i < n; ++i)
            set.cards[static_cast<std::size_t>(i)] = chosen_[static_cast<std::size_t>(i)];
        out_.push(set);
    }

    // Whether the same cards were recorded already in another order.
    bool known(int n) const
    {
        std::array<std::uint8_t, kMaxSelection> mine = chosen_;
        std::sort(mine.begin(), mine.begin() + n);
        for (const CardSet& s : out_) {
            if (s.size != n)
                continue;
            std::array<std::uint8_t, kMaxSelection> theirs = s.cards;
            std::sort(theirs.begin(), theirs.begin() + n);
            if (std::equal(mine.begin(), mine.begin() + n, theirs.begin()))
                return true;
        }
        return false;
    }

    const catalog::Rules& rules_;
    const Table& table_;
    const Selectable& cards_;
    SetList& out_;
    std::array<std::uint8_t, kMaxSelection> chosen_{};
    std::array<CardSpot, kMaxSelection> spots_{};
    std::array<bool, 128> used_{};
};

} // namespace

void selectableCards(const catalog::Rules& rules, const Table& table, Selectable& out)
{
    out.size = 0;
    auto consider = [&](PileRef p, int i) {
        const bool first = maySelectWhile(rules, table, p, i, false);
        if (out.size >= 128 || !(first || maySelectWhile(rules, table, p, i, true)))
            return;
        const auto k = static_cast<std::size_t>(out.size++);
        out.spots[k] = {p, i};
        out.codes[k] = static_cast<std::uint8_t>(table.pile(p)[static_cast<std::size_t>(i)]);
        out.first[k] = first;
    };
    for (int c = 0; c < tableausInUse(rules); ++c)
        for (std::size_t i = 0; i < table.tableau(c).size(); ++i)
            consider(PileRef::tableau(c), static_cast<int>(i));
    for (int f = 1; f < foundationsInUse(rules); ++f)
        if (!table.foundation(f).empty())
            consider(PileRef::foundation(f), static_cast<int>(table.foundation(f).size()) - 1);
    // The stock comes last, so that the searches in list order never start a set with it.
    for (PileRef p : {PileRef::waste(), PileRef::stock()})
        if (!table.pile(p).empty())
            consider(p, static_cast<int>(table.pile(p).size()) - 1);
}

void completeSets(const catalog::Rules& rules, const Table& table, SetList& out)
{
    out.clear();
    Selectable cards;
    selectableCards(rules, table, cards);
    const int family = rules.specialFamily();
    if (family == 18) {
        // An Ace clicked first leaves alone: the Aces go last, so that a set of four may hold one.
        std::array<std::size_t, 128> order{};
        for (int i = 0; i < cards.size; ++i)
            order[static_cast<std::size_t>(i)] = static_cast<std::size_t>(i);
        std::stable_partition(order.begin(), order.begin() + cards.size,
                              [&](std::size_t i) { return rank(cards.codes[i]) != 1; });
        Selectable sorted = cards;
        for (int i = 0; i < cards.size; ++i) {
            const std::size_t from = order[static_cast<std::size_t>(i)];
            sorted.spots[static_cast<std::size_t>(i)] = cards.spots[from];
            sorted.codes[static_cast<std::size_t>(i)] = cards.codes[from];
            sorted.first[static_cast<std::size_t>(i)] = cards.first[from];
        }
        cards = sorted;
    }
    const int limit = family == 83 ? 3 : (selectionLimit(family) > 0 ? selectionLimit(family) : kMaxSelection);
    SetSearch search(rules, table, cards, out);
    if (family == 85 || family == 83)
        search.orders(0, limit);
    else
        search.combinations(0, 0, limit);
}

} // namespace cw::engine::families
