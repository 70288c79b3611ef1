// Drop rules: legality per target kind, the drop attempt and the automatic destination search.
#include "engine/drop.h"

#include <algorithm>

#include "engine/family.h"
#include "engine/moves.h"
#include "engine/rules_building.h"
#include "engine/rules_groups.h"
#include "engine/tutor.h"

namespace cw::engine {

using catalog::ReserveAccept;

namespace {

constexpr const char* kStockFirst = "Building on the tableau is allowed only when the stock is empty.";

bool mayDropTableau(const Play& play, const Carried& g, int c)
{
    if (c >= play.tableaus())
        return false;
    const Table& t = play.table();
    const Pile& p = t.tableau(c);
    const int top = p.top();
    if (top != 0) {
        if (t.isFaceDown(top) && !play.family().buildsOnFaceDown())
            return false;
        const int cap = play.rules.tableauCapacity();
        if (cap > 0 && static_cast<int>(p.size()) >= cap)
            return false;
        if (!generalRuleMayPass(play.tableauCode(c), g.card, top))
            return false;
    }
    if (!buildingTest(play, tableauQuery(play, c, g.card, g.source, g.single())))
        return false;
    if (!g.single() && g.source.kind == PileKind::Tableau) {
        if (play.rules.sequenceRule() != 0 && !groupIsSequence(play, g.source.index, g.index, c))
            return false;
        if (top == 0 && play.rules.groupLimit() == catalog::GroupLimit::CellsAndPiles &&
            groupFits(play, g.source, g.index, true) != GroupFit::Fits)
            return false;
    }
    return true;
}

bool mayDropFoundation(const Play& play, const Carried& g, int f)
{
    if (f >= play.foundations() || !g.single())
        return false;
    const Table& t = play.table();
    const Pile& p = t.foundation(f);
    const int code = play.foundationCode(f);
    if (p.top() != 0 && !generalRuleMayPass(code, g.card, p.top()))
        return false;
    if (code == 10)
        return rank(g.card) == 12 && !holdsCard(p);
    if (code == 22) {
        if (rank(g.card) == 1)
            return false;
        bool found = false;
        for (int c = 0; c < play.tableaus() && !found; ++c) {
            const int top = t.tableau(c).top();
            found = top != 0 && ((suit(top) == suit(g.card) && rank(top) > rank(g.card)) || rank(top) == 1);
        }
        if (!found)
            return false;
    }
    const int size = p.cardCount();
    if (code == 20) {
        if (size >= 52)
            return false;
    } else if (code != 29) {
        const int cap = play.rules.foundationCapacity();
        if (cap > 0 && size >= cap)
            return false;
    }
    return buildingTest(play, foundationQuery(play, f, g.card, g.source));
}

bool mayDropReserve(const Play& play, const Carried& g, int r)
{
    if (r >= play.reserves())
        return false;
    const Table& t = play.table();
    const Pile& p = t.reserve(r);
    const bool empty = !holdsCard(p);
    const bool single = g.single();
    const int rk = rank(g.card);
    switch (play.rules.reserveAccept(r)) {
    case ReserveAccept::Nothing: return false;
    case 8: return single && rk == 13 && t.reserve(0).cardCount() < 3; // a King while reserve 1 is short
    case ReserveAccept::Anything: return true;
    case ReserveAccept::FromWaste: return single && g.source.kind == PileKind::Waste;
    case 13: return single && t.reserve(0).cardCount() < 5;      // while reserve 1 holds fewer than 5
    case 88: return single && empty && rk == 11;                 // a Jack
    case 89: return single && empty && rk == 12;                 // a Queen
    case 90: return single && empty && rk == 13;                 // a King
    case 103: return single && empty && rowOpen(play, g.source); // an open card of its row
    case 107:                                                    // Aces, alternating colours
        return single && rk == 1 && (empty || isRed(g.card) != isRed(p.top()));
    case 119: { // the Queen of foundation r's suit
        const Pile& f = t.foundation(r);
        return single && empty && rk == 12 && holdsCard(f) && suit(f.bottom()) == suit(g.card);
    }
    case ReserveAccept::UpInSuit:
        return single && (empty || (suit(p.top()) == suit(g.card) && rk == rank(p.top()) + 1));
    case 146: // from the waste after the Draw
        return single && empty && g.source.kind == PileKind::Waste && !holdsCard(t.stock()) && play.eventRecorded(4);
    case 154: // not tableau or reserve, before deal 3
        return single && g.source.kind != PileKind::Tableau && g.source.kind != PileKind::Reserve &&
               play.state.dealNumber < 3;
    case 161: return single && empty && holdsCard(t.stock()); // while the stock holds cards
    case ReserveAccept::Waive: // waived once the stock is out: a card or a sequence from the tableau
        return empty && g.source.kind == PileKind::Tableau && !holdsCard(t.stock()) && !holdsCard(t.waste());
    case 9: return single && empty && isPictureCard(g.card); // a picture card
    default: return single && empty;                         // a free cell
    }
}

bool mayDropWaste(const Play& play, const Carried& g)
{
    if (play.rules.wasteAccepts() != 2 || play.rules.wasteNeverTarget() == 4 || !g.single())
        return false;
    const int top = play.table().waste().top();
    if (top == 0 || suit(top) != suit(g.card))
        return false;
    const int rt = rank(top), rm = rank(g.card);
    return rm == rt % 13 + 1 || rt == rm % 13 + 1;
}

// The family's verdict on a spot, asked before the ordinary rules (ordinary games have none).
DropVerdict familyVerdict(const Play& play, const Carried& g, DropSpot spot)
{
    return play.family().special() ? play.family().mayDrop(play, g, spot) : DropVerdict::Default;
}

bool firstMoveRestricted(const Play& play)
{
    return play.rules.firstMoveToFoundation() == 1 && play.state.movesMade == 0;
}

// A position inside a pile of the index-placed tableau styles (the next place counts as the top).
bool indexPlaced(const Play& play, DropSpot spot)
{
    if (spot.position < 0 || spot.pile.kind != PileKind::Tableau || spot.pile.index >= play.tableaus())
        return false;
    const int style = play.rules.tableauFanStyle();
    return (style == 8 || style == 9) &&
           static_cast<std::size_t>(spot.position) < play.table().tableau(spot.pile.index).size();
}

bool mayDropInside(const Play& play, const Carried& g, int c, int position)
{
    const Table& t = play.table();
    const Pile& p = t.tableau(c);
    const PileRef pile = PileRef::tableau(c);
    // Onto its own place (or just above it) nothing would change.
    if (g.source == pile && position >= g.index && position <= g.index + g.count)
        return false;
    if (firstMoveRestricted(play))
        return false;
    const bool fillsGap = g.single() && p[static_cast<std::size_t>(position)] == 0;
    const int cap = play.rules.tableauCapacity();
    if (!fillsGap && g.source != pile && cap > 0 && p.cardCount() >= cap)
        return false;
    const int prev = position > 0 ? p[static_cast<std::size_t>(position - 1)] : 0;
    if (prev != 0 && (t.isFaceDown(prev) || !generalRuleMayPass(play.tableauCode(c), g.card, prev)))
        return false;
    BuildQuery q = tableauQuery(play, c, g.card, g.source, g.single());
    q.target = prev;
    if (!buildingTest(play, q))
        return false;
    return g.single() || g.source.kind != PileKind::Tableau || play.rules.sequenceRule() == 0 ||
           groupIsSequence(play, g.source.index, g.index, c);
}

// One candidate of a drop attempt: true when the cards went there. HeldByStock holds tableau
// building back while the stock has cards; such a candidate is noted in heldBack.
bool dropOn(Play& play, const Carried& g, DropSpot spot, bool automatic, bool& heldBack)
{
    if (play.tableauHeldByStock() && spot.pile.kind == PileKind::Tableau) {
        heldBack = true;
        return false;
    }
    if (!mayDropAt(play, g, spot))
        return false;
    // Hook: in tutor mode 1 the tutor only shows the move.
    const bool familyDropped = play.family().special() && play.family().drop(play, g, spot);
    if (!familyDropped && !moveCards(play, g.source, g.index, spot.pile, g.count > 1, automatic,
                                     indexPlaced(play, spot) ? spot.position : -1))
        return false;
    if (!automatic && play.state.tutorMode != 3)
        play.state.moveMade = true;
    return true;
}

void reportHeldBack(Play& play, bool heldBack)
{
    if (heldBack && play.state.tutorMode == 0)
        play.message(kStockFirst);
}

} // namespace

Carried carriedAt(const Play& play, PileRef source, int index)
{
    Carried g;
    if (!source.valid())
        return g;
    const Pile& p = play.table().pile(source);
    if (index < 0 || static_cast<std::size_t>(index) >= p.size() || p[static_cast<std::size_t>(index)] == 0)
        return g;
    g.card = p[static_cast<std::size_t>(index)];
    g.source = source;
    g.index = index;
    g.count = source.kind == PileKind::Tableau || (source.kind == PileKind::Reserve && play.rules.reserveLiftsGroups())
                  ? static_cast<int>(p.size()) - index
                  : 1;
    return g;
}

bool mayDrop(const Play& play, const Carried& g, PileRef target)
{
    if (g.count <= 0 || !target.valid() || target == g.source)
        return false;
    if (const DropVerdict v = familyVerdict(play, g, DropSpot{target, -1}); v != DropVerdict::Default)
        return v == DropVerdict::Allow;
    if (firstMoveRestricted(play) && (target.kind != PileKind::Foundation || g.source.kind != PileKind::Tableau))
        return false;
    switch (target.kind) {
    case PileKind::Tableau: return mayDropTableau(play, g, target.index);
    case PileKind::Foundation: return mayDropFoundation(play, g, target.index);
    case PileKind::Reserve: return mayDropReserve(play, g, target.index);
    case PileKind::Waste: return mayDropWaste(play, g);
    default: return false;
    }
}

bool mayDropAt(const Play& play, const Carried& g, DropSpot spot)
{
    if (g.count <= 0)
        return false;
    if (spot.position >= 0)
        if (const DropVerdict v = familyVerdict(play, g, spot); v != DropVerdict::Default)
            return v == DropVerdict::Allow;
    return indexPlaced(play, spot) ? mayDropInside(play, g, spot.pile.index, spot.position)
                                   : mayDrop(play, g, spot.pile);
}

PileRef dropAttempt(Play& play, const Carried& g, std::span<const PileRef> candidates, bool automatic)
{
    bool heldBack = false;
    for (const PileRef& target : candidates)
        if (dropOn(play, g, DropSpot{target, -1}, automatic, heldBack))
            return target;
    reportHeldBack(play, heldBack);
    return {};
}

PileRef dropAttemptAt(Play& play, const Carried& g, std::span<const DropSpot> spots)
{
    bool heldBack = false;
    for (const DropSpot& spot : spots)
        if (dropOn(play, g, spot, false, heldBack))
            return spot.pile;
    reportHeldBack(play, heldBack);
    return {};
}

int automaticTargets(const Play& play, const Carried& g, Destinations allowed, bool automatic, PileRef* list)
{
    const Table& t = play.table();
    int n = 0;
    if (allowed.foundations && g.single()) {
        const int which = play.rules.autoplayFoundationTarget();
        bool skip = which != 0 && which != 1;
        if (automatic && !skip) {
            bool allSpecialEmpty = play.foundations() > 0;
            for (int f = 0; f < play.foundations() && allSpecialEmpty; ++f) {
                const int b = play.rules.foundationBase(f);
                allSpecialEmpty = (b == catalog::FoundationBase::Chosen || b == 93) && t.foundation(f).empty();
            }
            skip = allSpecialEmpty;
        }
        if (!skip)
            for (int f = 0; f < play.foundations(); ++f)
                if (which == 0 || holdsCard(t.foundation(f)))
                    list[n++] = PileRef::foundation(f);
    }
    if (allowed.tableaus) {
        for (int c = 0; c < play.tableaus(); ++c)
            if (holdsCard(t.tableau(c)) && !(g.source == PileRef::tableau(c)))
                list[n++] = PileRef::tableau(c);
        for (int c = 0; c < play.tableaus(); ++c)
            if (!holdsCard(t.tableau(c)) && !(g.source == PileRef::tableau(c)))
                list[n++] = PileRef::tableau(c);
    }
    if (g.single() && allowed.reserves)
        for (int r = 0; r < play.reserves(); ++r)
            list[n++] = PileRef::reserve(r);
    if (allowed.tableaus)
        list[n++] = PileRef::waste();
    return n;
}

bool automaticDestination(Play& play, PileRef source, int index, Destinations allowed, bool automatic,
                          const TutorRecord* guard)
{
    const Carried g = carriedAt(play, source, index);
    if (g.count <= 0 || play.table().isFaceDown(g.card))
        return false;
    PileRef list[kMaxAutoTargets];
    int n = automaticTargets(play, g, allowed, automatic, list);
    if (guard)
        n = static_cast<int>(
            std::remove_if(list, list + n,
                           [&](PileRef target) { return backMoveRefused(play.state, *guard, g.card, target); }) -
            list);
    return dropAttempt(play, g, std::span<const PileRef>(list, static_cast<std::size_t>(n)), automatic).valid();
}

std::vector<PileRef> rankCandidates(std::vector<ScoredCandidate> candidates)
{
    std::sort(candidates.begin(), candidates.end(), [](const ScoredCandidate& a, const ScoredCandidate& b) {
        if (a.area != b.area)
            return a.area > b.area;
        if (a.pile.kind != b.pile.kind)
            return static_cast<int>(a.pile.kind) > static_cast<int>(b.pile.kind);
        return a.pile.index > b.pile.index;
    });
    std::vector<PileRef> out;
    for (std::size_t i = 0; i < candidates.size() && i < 4; ++i)
        if (candidates[i].area > 0)
            out.push_back(candidates[i].pile);
    return out;
}

} // namespace cw::engine
