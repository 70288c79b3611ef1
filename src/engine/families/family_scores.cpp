// Score formulas of the special families (row, group and square scores among them).
#include "engine/families/family_scores.h"

#include "engine/families/family_cards.h"

namespace cw::engine::families {
namespace {

int positions(const Pile& p) { return static_cast<int>(p.size()); }

int sumTableau(const Table& t, int first, int last)
{
    int n = 0;
    for (int c = first; c < last && c < kTableauPiles; ++c)
        n += positions(t.tableau(c));
    return n;
}
int sumFoundations(const Table& t, int count)
{
    int n = 0;
    for (int f = 0; f < count; ++f)
        n += positions(t.foundation(f));
    return n;
}
int sumReserves(const Table& t, int count)
{
    int n = 0;
    for (int r = 0; r < count; ++r)
        n += positions(t.reserve(r));
    return n;
}

// Family 32: 5 for a pile starting with a Two, 5 more per following card of the suit one rank
// higher, up to the card below the top position.
int gapRowsScore(const catalog::Rules& r, const Table& t)
{
    int s = 5 * r.scoreConstant() - r.cardsInPlay();
    for (int c = 0; c < tableausInUse(r); ++c) {
        const Pile& p = t.tableau(c);
        if (p.empty() || rank(p[0]) != 2)
            continue;
        s += 5;
        for (std::size_t i = 1; i + 1 < p.size(); ++i) {
            if (p[i] == 0 || suit(p[i]) != suit(p[i - 1]) || rank(p[i]) != rank(p[i - 1]) + 1)
                break;
            s += 5;
        }
    }
    return s;
}

// Family 34: 10 per pile in order from pile 1 whose bottom card has the code p or p + 13.
int orderedBottoms(const catalog::Rules& r, const Table& t)
{
    int s = -r.cardsInPlay();
    for (int c = 0; c < tableausInUse(r); ++c) {
        const Pile& p = t.tableau(c);
        const int want = c + 1;
        if (p.cardCount() == 0 || (p.bottom() != want && p.bottom() != want + 13))
            break;
        s += 10;
    }
    return s;
}

// Family 42: 5 per card whose rank continues, cyclically, the pile's bottom rank by its height.
int cyclicPiles(const catalog::Rules& r, const Table& t)
{
    int s = -r.cardsInPlay();
    for (int c = 0; c < tableausInUse(r); ++c) {
        const Pile& p = t.tableau(c);
        if (p.empty())
            continue;
        const int base = rank(p.bottom());
        if (base < 1 || base > 13)
            continue;
        for (std::size_t k = 0; k < p.size(); ++k)
            if (rank(p[k]) == (base - 1 + static_cast<int>(k)) % 13 + 1)
                s += 5;
    }
    return s;
}

// Family 73: King, Queen, Jack from the bottom of each pile, face up, 5 each while they last.
int courtPiles(const catalog::Rules& r, const Table& t)
{
    int s = -r.cardsInPlay() + 5 * sumFoundations(t, foundationsInUse(r));
    for (int c = 0; c < tableausInUse(r); ++c) {
        const Pile& p = t.tableau(c);
        for (std::size_t i = 0; i < p.size() && i < 3; ++i) {
            if (rank(p[i]) != 13 - static_cast<int>(i) || t.isFaceDown(p[i]))
                break;
            s += 5;
        }
    }
    return s;
}

// Family 74: 20 per position at which the four piles' cards add up to 30.
int columnsOfThirty(const catalog::Rules& r, const Table& t, bool laidOut)
{
    if (!laidOut)
        return 0;
    int s = 20 - r.cardsInPlay();
    for (std::size_t i = 0; i < 13; ++i) {
        int sum = 0;
        bool gap = false;
        for (int c = 0; c < 4; ++c) {
            const Pile& p = t.tableau(c);
            if (i >= p.size() || p[i] == 0)
                gap = true;
            else
                sum += rank(p[i]);
        }
        if (!gap && sum == 30)
            s += 20;
    }
    return s;
}

} // namespace

bool nineDown(const Pile& p)
{
    if (p.size() != 9)
        return false;
    for (std::size_t i = 0; i < 9; ++i)
        if (rank(p[i]) != 9 - static_cast<int>(i))
            return false;
    return true;
}

int alternatingRunLength(const Pile& p)
{
    int n = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (rank(p[i]) != 13 - static_cast<int>(i) || (i > 0 && isRed(p[i]) == isRed(p[i - 1])))
            break;
        ++n;
    }
    return n;
}

int rowScore46(const catalog::Rules& rules, const Table& table)
{
    const int T = tableausInUse(rules);
    int s = -32;
    int expected = -1; // the previous rank of the run; -1 none, 0 after a Queen (nothing follows)
    int runSuit = -1;
    auto read = [&](int code, bool wrap) {
        if (code == 0) {
            expected = -1;
        } else if (rank(code) == 1) {
            expected = 1;
            runSuit = suit(code);
        } else if (expected >= 1 && rank(code) == expected + 1 && suit(code) == runSuit) {
            s += expected == 1 ? 10 : 5;
            expected = rank(code) == 12 && !wrap ? 0 : rank(code);
        } else {
            expected = -1;
        }
    };
    for (int c = 0; c < T; ++c)
        for (int code : table.tableau(c))
            read(code, false);
    // The reading wraps to the start and goes on up to the first Ace.
    for (int c = 0; c < T; ++c)
        for (int code : table.tableau(c)) {
            if (rank(code) == 1)
                return s;
            read(code, true);
        }
    return s;
}

int groupPoints64(std::span<const int> group)
{
    auto worth = [](int code) { return rank(code) >= 1 && rank(code) <= 9 ? rank(code) : 0; };
    if (group.empty())
        return 0;
    int v = worth(group[0]);
    for (std::size_t i = 1; i < group.size(); ++i) {
        v += worth(group[i]);
        if (v > 9)
            v = i == 1 ? v - 10 : 0;
    }
    return v;
}

int groupScore64(int cardsInPlay, std::span<const std::vector<int>> history, const Pile& current)
{
    int s = -cardsInPlay;
    std::vector<int> last = history.empty() ? std::vector<int>{} : history.front();
    auto payNew = [&](const std::vector<int>& now) {
        if (now.size() > last.size())
            s += groupPoints64(std::span<const int>(now).subspan(last.size()));
        last = now;
    };
    for (std::size_t i = 1; i < history.size(); ++i)
        if (history[i] != last)
            payNew(history[i]);
    if (current.size() != last.size())
        payNew(std::vector<int>(current.begin(), current.end()));
    return s;
}

bool clockLost(const catalog::Rules& rules, const Table& table, int score)
{
    int kings = 0;
    for (int code : table.tableau(12))
        if (rank(code) == 13 && table.isFaceUp(code))
            ++kings;
    return kings >= 4 && score != rules.hiscoreBase();
}

bool magicSquare(const Table& table)
{
    int v[9];
    for (int c = 0; c < 9; ++c) {
        const Pile& p = table.tableau(c);
        if (p.empty() || p.bottom() == 0)
            return false;
        v[c] = rank(p.bottom());
    }
    for (int i = 0; i < 3; ++i)
        if (v[3 * i] + v[3 * i + 1] + v[3 * i + 2] != 15 || v[i] + v[i + 3] + v[i + 6] != 15)
            return false;
    return v[0] + v[4] + v[8] == 15;
}

bool rowsMatchTargets(const Table& table, const std::array<int, 4>& targets)
{
    for (int row = 0; row < 4; ++row) {
        int sum = 0;
        for (int c = 4 * row; c < 4 * row + 4; ++c)
            for (int code : table.tableau(c))
                sum += cardValue(code);
        if (sum != targets[static_cast<std::size_t>(row)])
            return false;
    }
    return true;
}

bool fiveMakeTheTarget(const Table& table, int target)
{
    int sum = 0;
    for (int f = 0; f < 5; ++f) {
        const Pile& p = table.foundation(f);
        if (p.cardCount() == 0)
            return false;
        sum += cardValue(p.bottom());
    }
    return sum == target;
}

bool topsMake91(const catalog::Rules& rules, const Table& table)
{
    int sum = 0;
    for (int c = 0; c < tableausInUse(rules) && !table.tableau(c).empty(); ++c)
        sum += cardValue(table.tableau(c).top());
    return sum == 91;
}

std::optional<int> familyScore(const FamilyScoreInput& in)
{
    const catalog::Rules& r = in.rules;
    const Table& t = in.table;
    const int N = r.cardsInPlay();
    const int B = r.scoreConstant();
    const int T = tableausInUse(r);
    const int F = foundationsInUse(r);
    switch (r.specialFamily()) {
    case 32: return gapRowsScore(r, t);
    case 34: return orderedBottoms(r, t);
    case 35: return -N + 10 * positions(t.secondWaste());
    case 40: {
        int s = -N;
        for (int c = 0; c < T; ++c)
            for (int code : t.tableau(c))
                if (code != 0 && t.isFaceUp(code) && rank(code) == c + 1)
                    s += 5;
        return s;
    }
    case 41: {
        int s = -N;
        for (int f = 1; f < F; ++f)
            if (t.foundation(f).empty())
                s += 20;
        return s;
    }
    case 42: return cyclicPiles(r, t);
    case 43: {
        int s = -N;
        for (int c = 0; c < T; ++c)
            if (nineDown(t.tableau(c)))
                s += 225;
        return s;
    }
    case 44: return topsMake91(r, t) ? 150 : -N;
    case 46: return rowScore46(r, t);
    case 47: {
        for (int c = 0; c < T; ++c)
            if (t.tableau(c).cardCount() > 0)
                return -N + 5 * positions(t.secondWaste());
        return 4 * N;
    }
    case 48: return 5 * B - N + 5 * positions(t.foundation(1));
    case 49:
    case 63: return 5 * B - N + 5 * sumTableau(t, 0, 24);
    case 55:
    case 72: return -N + 5 * sumTableau(t, 0, T);
    case 57: return rowsMatchTargets(t, in.rowTargets) ? 48 : -52;
    case 58: return fiveMakeTheTarget(t, in.targetSum) ? 23 : -52;
    case 62: return -N + 5 * sumReserves(t, reservesInUse(r)) + 5 * sumFoundations(t, F);
    case 64: return groupScore64(N, in.secondWasteHistory, t.secondWaste());
    case 65: return -N + 5 * sumTableau(t, 0, T) + 5 * sumFoundations(t, F);
    case 70: return 5 * B - N + 5 * positions(t.secondWaste());
    case 73: return courtPiles(r, t);
    case 74: return columnsOfThirty(r, t, in.dealLaidOut);
    case 79: {
        int s = -N;
        for (int c = 2; c < T; ++c)
            s += 5 * alternatingRunLength(t.tableau(c));
        return s;
    }
    case 81: return magicSquare(t) ? r.hiscoreBase() : -52;
    case 82: return -104 + 5 * sumTableau(t, 0, 8);
    default: return std::nullopt;
    }
}

} // namespace cw::engine::families
