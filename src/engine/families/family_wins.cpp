// Win tests of the special families, each a pure test of the table, the score and the deal's targets.
#include "engine/families/family_wins.h"

#include "engine/families/family_cards.h"
#include "engine/families/family_scores.h"

namespace cw::engine::families {
namespace {

int positions(const Pile& p) { return static_cast<int>(p.size()); }

template <typename Test>
bool everyTableau(const catalog::Rules& r, const Table& t, Test test)
{
    for (int c = 0; c < tableausInUse(r); ++c)
        if (!test(t.tableau(c)))
            return false;
    return true;
}

// Family 32: every row ends with a gap and runs in suit from a Two up to the card below it.
bool rowsFromTwos(const Pile& p)
{
    if (p.size() < 2 || p.top() != 0 || rank(p[0]) != 2)
        return false;
    for (std::size_t i = 1; i + 1 < p.size(); ++i)
        if (p[i] == 0 || suit(p[i]) != suit(p[i - 1]) || rank(p[i]) != rank(p[i - 1]) + 1)
            return false;
    return true;
}

// Family 74: at each position the four piles hold gaps only, or cards adding up to 30; in each
// pile no gap follows a card. A position past a pile's end counts as a gap there.
bool columnsDone(const Table& t)
{
    std::size_t longest = 0;
    for (int c = 0; c < 4; ++c) {
        const Pile& p = t.tableau(c);
        longest = std::max(longest, p.size());
        bool card = false;
        for (int code : p) {
            if (code == 0 && card)
                return false;
            card = card || code != 0;
        }
    }
    for (std::size_t i = 0; i < std::min<std::size_t>(longest, 13); ++i) {
        int sum = 0, gaps = 0;
        for (int c = 0; c < 4; ++c) {
            const Pile& p = t.tableau(c);
            if (i >= p.size() || p[i] == 0)
                ++gaps;
            else
                sum += rank(p[i]);
        }
        if (gaps != 4 && (gaps != 0 || sum != 30))
            return false;
    }
    return true;
}

bool courtDone(const catalog::Rules& r, const Table& t)
{
    if (!t.stock().empty() || !t.waste().empty())
        return false;
    for (int f = 0; f < foundationsInUse(r); ++f)
        if (positions(t.foundation(f)) != 10)
            return false;
    return everyTableau(
        r, t, [](const Pile& p) { return p.size() == 3 && rank(p[0]) == 13 && rank(p[1]) == 12 && rank(p[2]) == 11; });
}

} // namespace

std::optional<bool> familyWon(const FamilyWinInput& in)
{
    const catalog::Rules& r = in.rules;
    const Table& t = in.table;
    const int T = tableausInUse(r);
    const bool stockEmpty = t.stock().empty();
    switch (r.specialFamily()) {
    case 21:
    case 22:
    case 70: return stockEmpty && t.tableau(0).size() <= 4;
    case 27: return stockEmpty && t.waste().empty() && everyTableau(r, t, [](const Pile& p) { return p.size() == 1; });
    case 31: return stockEmpty && everyTableau(r, t, [](const Pile& p) { return p.size() == 1 && rank(p[0]) == 1; });
    case 32: return T > 0 && everyTableau(r, t, rowsFromTwos);
    case 34:
    case 35:
    case 40:
    case 42:
    case 47: return in.score >= r.targetScore();
    case 41:
        if (foundationsInUse(r) < 2)
            return false;
        for (int f = 1; f < foundationsInUse(r); ++f)
            if (!t.foundation(f).empty())
                return false;
        return true;
    case 43:
        for (int c = 0; c < T; ++c)
            if (nineDown(t.tableau(c)))
                return true;
        return false;
    case 44: return topsMake91(r, t);
    case 45: {
        int holding = 0;
        for (int c = 0; c < T; ++c)
            holding += t.tableau(c).cardCount() > 0 ? 1 : 0;
        return holding == 4;
    }
    case 46: return rowScore46(r, t) >= r.targetScore();
    case 48: return stockEmpty && t.tableau(0).size() == 1 && t.tableau(0)[0] != 0;
    case 49:
    case 63:
        for (int c = 0; c < 24; ++c)
            if (t.tableau(c).size() != 4)
                return false;
        return true;
    case 52:
        return stockEmpty && t.waste().empty() && positions(t.reserve(0)) == 8 &&
               everyTableau(r, t, [](const Pile& p) { return p.empty(); });
    case 55: return stockEmpty;
    case 57: return rowsMatchTargets(t, in.rowTargets);
    case 58: return fiveMakeTheTarget(t, in.targetSum);
    case 62:
        if (!stockEmpty)
            return false;
        for (int c = 0; c < 9; ++c)
            if (!t.tableau(c).empty())
                return false;
        return true;
    case 64: return stockEmpty && t.tableau(0).empty() && t.tableau(1).empty() && t.tableau(2).empty();
    case 65: return stockEmpty && t.waste().empty();
    case 72: return T > 0 && everyTableau(r, t, [](const Pile& p) { return p.size() == 5; });
    case 73: return courtDone(r, t);
    case 74: return columnsDone(t);
    case 79: {
        if (!stockEmpty || !t.tableau(0).empty() || !t.tableau(1).empty())
            return false;
        for (int c = 2; c < T; ++c) {
            const Pile& p = t.tableau(c);
            if (p.size() > 13 || alternatingRunLength(p) != positions(p))
                return false;
        }
        return true;
    }
    case 81: return magicSquare(t);
    case 82: {
        if (!stockEmpty || !t.waste().empty())
            return false;
        for (int res = 0; res < reservesInUse(r); ++res)
            if (!t.reserve(res).empty())
                return false;
        return true;
    }
    case 85: {
        int holding = 0;
        for (int c = 0; c < T; ++c) {
            const int n = t.tableau(c).cardCount();
            if (n > 1)
                return false;
            holding += n;
        }
        return holding <= 1;
    }
    default: return std::nullopt;
    }
}

} // namespace cw::engine::families
