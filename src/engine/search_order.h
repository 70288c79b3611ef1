// Move ordering shared by the depth-first searches: which move of cards from one pile to another is tried first.
#pragma once

#include "engine/table.h"

namespace cw::engine {

// What the ordering reads of a move of cards, in whatever form the search keeps its position.
struct MoveShape {
    PileKind from = PileKind::Tableau;
    PileKind to = PileKind::Tableau;
    int index = 0;         // the lifted card's place in its pile: the cards left under it
    bool uncovers = false; // the card left on top is face down
    int hiddenUnder = 0;   // face-down cards left under it
    bool targetEmpty = false;
    int lowestUnder = 14; // the lowest rank left under it (14: none)
};

// Cards home first, cards taken back from home last; between them the moves that turn a card up
// (the deeper its pile, the better), empty a column or bring a waste or reserve card into play,
// less a column filled or a card parked in a reserve. Lower cards freed first: they are the ones
// the foundations wait for.
inline int transferOrder(const MoveShape& m)
{
    if (m.to == PileKind::Foundation)
        return 9000;
    if (m.from == PileKind::Foundation)
        return -500;
    int s = 0;
    switch (m.from) {
    case PileKind::Tableau: s += m.index == 0 ? 400 : m.uncovers ? 600 + 20 * m.hiddenUnder : 100; break;
    case PileKind::Waste: s += 500; break;
    case PileKind::Reserve: s += 550; break;
    default: break;
    }
    switch (m.to) {
    case PileKind::Tableau: s += m.targetEmpty ? -250 : 50; break;
    case PileKind::Reserve: s -= 300; break;
    default: break;
    }
    if (m.from == PileKind::Tableau && m.index > 0)
        s += (14 - m.lowestUnder) * 8;
    return s;
}

} // namespace cw::engine
