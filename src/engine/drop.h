// Where lifted cards may go: the legality test per target kind, the drop attempt, the release and the automatic destination search.
#pragma once

#include <span>
#include <vector>

#include "engine/rules_context.h"

namespace cw::engine {

class TutorRecord;

// A lifted group: the card at position index of source and, for a tableau group, every card above it.
struct Carried {
    int card = 0;
    PileRef source{};
    int index = -1;
    int count = 0;
    bool single() const { return count == 1; }
};

// The group lifted by a press on position index (tableau: the card and the cards above it;
// other piles: the one card). count 0 when the position holds no card.
Carried carriedAt(const Play& play, PileRef source, int index);

// Whether the carried group may be placed on target (tableau pile, foundation, reserve, waste).
bool mayDrop(const Play& play, const Carried& carried, PileRef target);

// Tries the candidates in order; the first legal one receives the cards through move execution.
// Returns that pile, or an invalid pile when none accepted.
PileRef dropAttempt(Play& play, const Carried& carried, std::span<const PileRef> candidates, bool automatic = false);

// A place the release names: a pile and, on the index-placed tableau styles 8 and 9, the
// position under the dragged card (-1, or any other pile: the pile's next place).
struct DropSpot {
    PileRef pile{};
    int position = -1;
    friend bool operator==(const DropSpot&, const DropSpot&) = default;
};

// Whether the carried group may go to the spot. At a position of an index-placed pile the
// cards are judged against the card they would follow (none, or a gap: the empty-pile rule);
// a single card fills a gap, other drops go in front of the card at the position.
bool mayDropAt(const Play& play, const Carried& carried, DropSpot spot);

// The drop attempt over spots: as dropAttempt, the cards going to the spot's position.
PileRef dropAttemptAt(Play& play, const Carried& carried, std::span<const DropSpot> spots);

// Where a card may go by itself (click-to-play, autoplay, the tutor): foundations first (single
// cards), then non-empty and then empty tableau piles, then reserves (single cards), then the
// waste. True when the card was moved. With a tutor record (the back-move guard asked for),
// targets the guard refuses are passed over: while the guard is set and outside the demo, the
// card the tutor moved or showed last may go only where that move took it.
struct Destinations {
    bool foundations = true;
    bool tableaus = true;
    bool reserves = true;
};
bool automaticDestination(Play& play, PileRef source, int index, Destinations allowed, bool automatic,
                          const TutorRecord* guard = nullptr);

// The targets the automatic search tries for the group, in its order; returns how many were
// written to out (room for every pile of the table).
inline constexpr int kMaxAutoTargets = kFoundationPiles + kTableauPiles + kReservePiles + 1;
int automaticTargets(const Play& play, const Carried& carried, Destinations allowed, bool automatic, PileRef* out);

// One drop candidate with the overlap area of its drop rectangle with the dragged card.
struct ScoredCandidate {
    PileRef pile;
    int area = 0;
};
// Ranks candidates for the release: larger area first, then the higher pile kind (reserve,
// foundation, tableau, waste), then the higher index; keeps the best four.
std::vector<PileRef> rankCandidates(std::vector<ScoredCandidate> candidates);

} // namespace cw::engine
