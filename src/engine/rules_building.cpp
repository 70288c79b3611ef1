// The building test: the general rule, the empty-pile rules, the foundation start tests and the special codes.
#include "engine/rules_building.h"

#include <cstdlib>

#include "engine/rules_groups.h"

namespace cw::engine {

using catalog::BuildRule;
using catalog::Continuity;
using catalog::Direction;
using catalog::EmptyRule;
using catalog::FoundationBase;

namespace {

enum class SuitFilter { Same, Colour, Alternate, Any, NotSame };

bool sameColour(int a, int b) { return isRed(a) == isRed(b); }

bool suitPasses(SuitFilter f, int moving, int target)
{
    switch (f) {
    case SuitFilter::Same: return suit(moving) == suit(target);
    case SuitFilter::Colour: return sameColour(moving, target);
    case SuitFilter::Alternate: return !sameColour(moving, target);
    case SuitFilter::NotSame: return suit(moving) != suit(target);
    case SuitFilter::Any: return true;
    }
    return false;
}

bool isBaseCode(int v) { return v == 81 || v == FoundationBase::RunsByRule || v == FoundationBase::Runs; }

// The card next to the column's base: a Queen on a King building down, a Two on an Ace building up.
bool baseNeighbour(int rm, int rt, bool up) { return up ? (rt == 1 && rm == 2) : (rt == 13 && rm == 12); }

bool upAccepts(const BuildQuery& q, int rm, int rt)
{
    if (!q.foundation) {
        if (q.continuity <= Continuity::NoTurn) // never turns from King to Ace
            return rm == rt + 1;
        if (q.continuity == Continuity::TurnsToBase) {
            if (baseNeighbour(rm, rt, true))
                return true;
        } else if (rt == q.baseRank && q.continuity <= Continuity::StopsAtBase) {
            return false;
        }
        if (rt == 13)
            return rm == 1;
    } else if (rt == 13) {
        return rm == 1 && q.emptyRule != EmptyRule::Ace;
    }
    return rm == rt + 1;
}

bool downAccepts(const BuildQuery& q, int rm, int rt)
{
    if (!q.foundation) {
        if (q.continuity <= Continuity::NoTurn) // never turns from Ace to King
            return rm == rt - 1;
        if (q.continuity == Continuity::TurnsToBase) {
            if (baseNeighbour(rm, rt, false))
                return true;
        } else if ((rt == q.baseRank || (rt == 1 && isBaseCode(q.baseRank))) &&
                   q.continuity <= Continuity::StopsAtBase) {
            return false;
        }
        if (rt == 1)
            return rm == 13;
    } else if (rt == 1) {
        return rm == 13 && q.emptyRule != EmptyRule::King;
    }
    return rm == rt - 1;
}

bool generalRule(const Play& play, const BuildQuery& q, SuitFilter filter)
{
    if (q.target <= 0)
        return emptyPileAccepts(play, q);
    if (!suitPasses(filter, q.moving, q.target))
        return false;
    const int rm = rank(q.moving);
    const int rt = rank(q.target);
    if ((q.direction == Direction::Up || q.direction == Direction::Both) && upAccepts(q, rm, rt))
        return true;
    if (q.direction == Direction::Down || q.direction == Direction::Both)
        return downAccepts(q, rm, rt);
    return false;
}

int targetSize(const Play& play, const BuildQuery& q)
{
    return q.targetPile.valid() ? play.table().pile(q.targetPile).cardCount() : 0;
}

// Cards of the target pile as ranks from the top: 0 the top card, 1 the one below.
int targetRankBelowTop(const Play& play, const BuildQuery& q)
{
    if (!q.targetPile.valid())
        return 0;
    const Pile& p = play.table().pile(q.targetPile);
    return p.size() >= 2 ? rank(p[p.size() - 2]) : 0;
}

// No suit occurs twice among the first cards of foundations 1 to 4, counting the moving card
// for the foundation being filled.
bool suitSpread(const Play& play, int moving, PileRef targetPile)
{
    bool seen[4] = {false, false, false, false};
    const int s = suit(moving);
    if (s >= 0)
        seen[s] = true;
    for (int f = 0; f < 4 && f < play.foundations(); ++f) {
        if (targetPile == PileRef::foundation(f))
            continue;
        const Pile& p = play.table().foundation(f);
        if (p.empty() || p.bottom() == 0)
            continue;
        const int fs = suit(p.bottom());
        if (fs < 0)
            continue;
        if (seen[fs])
            return false;
        seen[fs] = true;
    }
    return true;
}

// The first cards of the foundations alternate in colour around the ring.
bool colourAlternation(const Play& play, int moving, PileRef targetPile)
{
    const int n = play.foundations();
    if (n < 2)
        return true;
    auto first = [&](int f) {
        if (targetPile == PileRef::foundation(f))
            return moving;
        return play.table().foundation(f).bottom();
    };
    for (int f = 0; f < n; ++f) {
        const int a = first(f);
        const int b = first((f + 1) % n);
        if (a > 0 && b > 0 && sameColour(a, b))
            return false;
    }
    return true;
}

bool threeRowMove(const Play& play, const BuildQuery& q)
{
    // Code 150: rows of twelve; a card moves only upwards, onto an open card of its suit one
    // rank above, or into an open gap whose piles above are filled.
    const int src = q.source.kind == PileKind::Tableau ? q.source.index + 1 : 0;
    if (src > 0 && !threeRowOpen(play, src))
        return false;
    if (q.targetPile.kind != PileKind::Tableau)
        return false;
    const int dst = q.targetPile.index + 1;
    const int srcRow = src >= 1 && src <= 36 ? (src - 1) / 12 : -1;
    const int dstRow = dst <= 36 ? (dst - 1) / 12 : 3;
    if (srcRow == 0)
        return false;
    if (srcRow >= 1 && dstRow >= srcRow)
        return false;
    if (q.target > 0) {
        if (suit(q.moving) != suit(q.target) || rank(q.moving) != rank(q.target) - 1)
            return false;
        return threeRowOpen(play, dst) || src == dst + 12;
    }
    if (!threeRowOpen(play, dst))
        return false;
    const Table& t = play.table();
    if (dstRow == 1)
        return holdsCard(t.tableau(dst - 13));
    if (dstRow == 2)
        return holdsCard(t.tableau(dst - 13)) && holdsCard(t.tableau(dst - 25));
    return true;
}

} // namespace

bool colourBalance(const Play& play, int baseCode, int moving, bool distinctSuits)
{
    int count = 0, reds = 0, blacks = 0;
    bool seen[4] = {false, false, false, false};
    auto add = [&](int card) {
        if (isRed(card))
            ++reds;
        else if (isBlack(card))
            ++blacks;
        const int s = suit(card);
        if (s >= 0) {
            if (seen[s])
                return false;
            seen[s] = true;
        }
        return true;
    };
    bool distinct = true;
    for (int f = 0; f < play.foundations(); ++f) {
        if (play.rules.foundationBase(f) != baseCode)
            continue;
        ++count;
        const Pile& p = play.table().foundation(f);
        if (!p.empty() && p.bottom() > 0)
            distinct = add(p.bottom()) && distinct;
    }
    distinct = add(moving) && distinct;
    if (distinctSuits && !distinct)
        return false;
    return reds * 2 <= count && blacks * 2 <= count;
}

bool emptyPileAccepts(const Play& play, const BuildQuery& q)
{
    if (q.baseRank == -1)
        return true;
    const int rm = rank(q.moving);
    const Table& t = play.table();
    switch (q.emptyRule) {
    case EmptyRule::Any: return true;
    case EmptyRule::None: return false;
    case 81: return rm == 1 && colourBalance(play, 81, q.moving, false); // "Q"
    case 84: return rm == 1 && colourBalance(play, 84, q.moving, true);  // "T"
    case 85: return rm == 13 && colourBalance(play, 85, q.moving, true); // "U"
    case 90: return rm == 2 && colourBalance(play, 90, q.moving, true);  // "Z"
    case EmptyRule::Single: return q.singleCard;                         // "V"
    case EmptyRule::FromStock:                                           // "W"
        return q.source.kind == PileKind::Stock || q.source.kind == PileKind::Waste ||
               q.source.kind == PileKind::SecondWaste;
    case EmptyRule::NotFromTableau: return q.source.kind != PileKind::Tableau; // "X"
    case EmptyRule::AceOrKing: return rm == 1 || rm == 13;
    case 92:   // "\"
    case 93: { // "]"
        bool started = false;
        for (int f = 0; f < play.foundations(); ++f) {
            const Pile& p = t.foundation(f);
            if (p.empty() || p.bottom() == 0)
                continue;
            started = true;
            if (rank(p.bottom()) != rm)
                return false;
        }
        return started || q.emptyRule == 92 || q.source.kind == PileKind::Reserve;
    }
    case 96: { // "`"
        for (int r = 0; r < play.reserves(); ++r)
            if (holdsCard(t.reserve(r)))
                return q.source.kind == PileKind::Reserve;
        return q.source.kind == PileKind::Waste;
    }
    default:
        if (q.emptyRule >= 1 && q.emptyRule <= 13)
            return rm == q.emptyRule;
        return false;
    }
}

namespace {
bool buildingCore(const Play& play, const BuildQuery& q);
} // namespace

bool buildingTest(const Play& play, const BuildQuery& q)
{
    if (!buildingCore(play, q))
        return false;
    // The foundation start tests for the first card of an empty foundation.
    if (q.foundation && q.target <= 0) {
        const int test = play.rules.foundationStartTest();
        if (test == 1)
            return suitSpread(play, q.moving, q.targetPile);
        if (test == 2)
            return colourAlternation(play, q.moving, q.targetPile);
    }
    return true;
}

namespace {
bool buildingCore(const Play& play, const BuildQuery& q)
{
    if (q.moving <= 0 || (q.target > 0 && q.target == q.moving))
        return false;
    const Table& t = play.table();

    // The stock first: while stock or waste hold cards, tableau cards are refused.
    const int sf = play.rules.stockFirstRestriction();
    if ((sf == 1 && q.foundation) || sf == 2 || sf == 3) {
        const bool stockOrWaste = holdsCard(t.stock()) || holdsCard(t.waste());
        if (stockOrWaste && q.source.kind == PileKind::Tableau)
            return false;
        // Variants 2 and 3 also hold the tableau back while the waste holds a card; a family that
        // tests columns its own way does so in its drop verdict, asked before these rules.
        if ((sf == 2 || sf == 3) && q.targetPile.kind == PileKind::Tableau && holdsCard(t.waste()) &&
            !(q.source.kind == PileKind::Waste && q.moving == t.waste().top()))
            return false;
    }

    const bool empty = q.target <= 0;
    const int rm = rank(q.moving);
    const int rt = empty ? 0 : rank(q.target);
    const bool sameSuit = !empty && suit(q.moving) == suit(q.target);

    switch (q.code) {
    case BuildRule::Suit: return generalRule(play, q, SuitFilter::Same);
    case BuildRule::Colour: return generalRule(play, q, SuitFilter::Colour);
    case BuildRule::AnySuit:
    case 13: return generalRule(play, q, SuitFilter::Any); // regardless of suit
    case BuildRule::Alternate: return generalRule(play, q, SuitFilter::Alternate);
    case BuildRule::None: return false;
    case BuildRule::EmptyOnly: return empty && emptyPileAccepts(play, q);
    case BuildRule::AnyCard: return true;
    case 11: // in suit, but never a Queen on a King or on a Jack
        if (!empty && rm == 12 && (rt == 13 || rt == 11))
            return false;
        return generalRule(play, q, SuitFilter::Same);
    case 14: // rank exactly 2 above the target, modulo 13, any suit
    case 15: // exactly 3 above
    case 16: // exactly 4 above
        if (empty)
            return emptyPileAccepts(play, q);
        return rm == (rt + (q.code - 12) - 1) % 13 + 1;
    case 17: // any card, not from the tableau
        return q.source.kind != PileKind::Tableau;
    case 18: // any card; a tableau card only onto an empty tableau pile
        return q.source.kind != PileKind::Tableau || (empty && q.targetPile.kind == PileKind::Tableau);
    case 19: // any card, not from the tableau nor from a reserve
        return q.source.kind != PileKind::Tableau && q.source.kind != PileKind::Reserve;
    case 33: // any card, not from the tableau, onto a tableau pile holding fewer than two cards
        return q.source.kind != PileKind::Tableau &&
               !(q.targetPile.kind == PileKind::Tableau && targetSize(play, q) >= 2);
    case 20: // one rank above, any suit, King-Ace allowed; an Ace on an empty pile
        return empty ? rm == 1 : (rm == rt + 1 || (rt == 13 && rm == 1));
    case BuildRule::OtherSuit: return generalRule(play, q, SuitFilter::NotSame);
    case 23: // only while the waste is empty: same suit, one rank above; nothing on an empty pile
        return !empty && !holdsCard(t.waste()) && sameSuit && rm == rt + 1;
    case 24: // in suit by the general direction, but King and Queen never on each other
        if (!empty && ((rm == 12 && rt == 13) || (rm == 13 && rt == 12)))
            return false;
        return generalRule(play, q, SuitFilter::Same);
    case 25:   // same suit, two ranks up or down by the direction
    case 61: { // as 25, plus Two on King and Ace on Queen while the pile is short of 13 cards
        if (empty)
            return emptyPileAccepts(play, q);
        if (!sameSuit)
            return false;
        const bool up = q.direction == Direction::Up || q.direction == Direction::Both;
        const bool down = q.direction == Direction::Down || q.direction == Direction::Both;
        if ((up && rm == rt + 2) || (down && rm == rt - 2))
            return true;
        return q.code == 61 && targetSize(play, q) < 13 && ((rt == 13 && rm == 2) || (rt == 12 && rm == 1));
    }
    case 26: // while the pile holds fewer than three cards, one rank up or down, any suit
        if (empty)
            return q.emptyRule == EmptyRule::King ? rm == 13 : q.emptyRule == EmptyRule::Any;
        return targetSize(play, q) < 3 && std::abs(rm - rt) == 1;
    case BuildRule::AlternateNotFromReserve: // nor from a foundation
        if (q.source.kind == PileKind::Foundation || q.source.kind == PileKind::Reserve)
            return false;
        return generalRule(play, q, SuitFilter::Alternate);
    case 28: // any card on an empty pile; one rank up or down, no King-Ace turn
    case 60: // as 28, in suit
        if (empty)
            return true;
        if (q.code == 60 && !sameSuit)
            return false;
        if (rt == 1)
            return rm == 2;
        if (rt == 13)
            return rm == 12;
        return std::abs(rm - rt) == 1;
    case 29: { // in suit: up to 13 cards up, then only the King, then down again
        if (empty) {
            const int e = q.emptyRule;
            return colourBalance(play, e, q.moving, e == 84 || e == 85 || e == 90);
        }
        if (!sameSuit)
            return false;
        const int n = targetSize(play, q);
        if (n <= 12)
            return rm == rt + 1;
        if (n == 13)
            return rm == 13;
        return rm == rt - 1;
    }
    case 30: { // in suit, one rank on, continuing the pile's direction; no King-Ace turn
        if (empty)
            return emptyPileAccepts(play, q);
        if (!sameSuit)
            return false;
        const int below = targetRankBelowTop(play, q);
        if (targetSize(play, q) < 2 || below <= 0)
            return std::abs(rm - rt) == 1;
        return below < rt ? rm == rt + 1 : rm == rt - 1;
    }
    case 31: // in suit, one rank below; nothing on an Ace, nothing on an empty pile
        return !empty && sameSuit && rt > 1 && rm == rt - 1;
    case 32: // in suit, one rank above; nothing on a King, nothing on an empty pile
        return !empty && sameSuit && rt < 13 && rm == rt + 1;
    case 34: // one rank below, any suit; single cards only on a non-empty pile
        if (empty)
            return emptyPileAccepts(play, q);
        return q.singleCard && rm == rt - 1;
    case 35: // one rank up or down, any suit, King and Ace adjacent
        if (empty)
            return emptyPileAccepts(play, q);
        return std::abs(rm - rt) == 1 || (rm == 1 && rt == 13) || (rm == 13 && rt == 1);
    case 37: // down regardless of suit; a King alone at the head of its column takes any card
        if (!empty && rt == 13 && targetSize(play, q) == 1)
            return true;
        return generalRule(play, q, SuitFilter::Any);
    case 39: // one rank above, any suit; Queens and Kings are never placed; an Ace on an empty pile
        if (rm == 12 || rm == 13)
            return false;
        return empty ? rm == 1 : rm == rt + 1;
    case 41: // in suit, two ranks above modulo 13; an empty pile takes the base rank, suits spread
        if (empty)
            return rm == q.baseRank && suitSpread(play, q.moving, q.targetPile);
        return sameSuit && rm == (rt + 1) % 13 + 1;
    case 43: // in suit, exactly two ranks above
        if (empty)
            return emptyPileAccepts(play, q);
        return sameSuit && rm == rt + 2;
    case BuildRule::HeldByStock: // any suit by the general rule; the drop holds tableau moves back
        return generalRule(play, q, SuitFilter::Any);
    case BuildRule::Reversible: // in suit, in the column's direction
        return generalRule(play, q, SuitFilter::Same);
    case 150: // three rows of twelve: upwards only, in suit one rank below an open card
        return threeRowMove(play, q);
    case 151: // an open card, in suit one rank above; an Ace on an empty pile
        if (q.source.kind == PileKind::Tableau && !threeRowOpen(play, q.source.index + 1))
            return false;
        return empty ? rm == 1 : (sameSuit && rm == rt + 1);
    default:
        // The games of the remaining codes define their own rule; until they are written the
        // general rule without a suit filter stands in.
        return generalRule(play, q, SuitFilter::Any);
    }
}
} // namespace

BuildQuery tableauQuery(const Play& play, int c, int moving, PileRef source, bool singleCard)
{
    BuildQuery q;
    const Pile& p = play.table().tableau(c);
    q.target = p.top();
    q.moving = moving;
    q.emptyRule = play.rules.tableauEmptyRule(c);
    q.column = c;
    q.continuity = play.rules.tableauContinuity(c);
    q.foundation = false;
    q.code = play.tableauCode(c);
    q.direction = play.columnDirection(c);
    q.baseRank = play.rules.foundationBase(0);
    q.source = source;
    q.targetPile = PileRef::tableau(c);
    q.singleCard = singleCard;
    return q;
}

BuildQuery foundationQuery(const Play& play, int f, int moving, PileRef source)
{
    BuildQuery q;
    const Pile& p = play.table().foundation(f);
    q.target = p.top();
    q.moving = moving;
    q.emptyRule = play.rules.foundationBase(f);
    q.continuity = 1;
    q.foundation = true;
    q.code = play.foundationCode(f);
    q.direction = play.rules.foundationDirection(f);
    q.baseRank = play.rules.foundationBase(f);
    q.source = source;
    q.targetPile = PileRef::foundation(f);
    q.singleCard = true;
    return q;
}

} // namespace cw::engine
