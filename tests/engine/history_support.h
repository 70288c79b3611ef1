// Test helpers for the move history and saved games: tables from texts and hand-made random moves.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "engine/history.h"
#include "engine/table_text.h"

namespace cw::test {

using namespace cw::engine;

// A table from "pile=snapshot text" pairs, e.g. {{"Fila1", "00100021"}, {"Mazzo", "0030"}}.
inline Table tableOf(const std::vector<std::pair<std::string, std::string>>& piles)
{
    Table t;
    for (const auto& [name, text] : piles)
        decodeSnapshotPile(text, t, pileFromName(name));
    return t;
}

inline std::vector<std::string> snapshotLines(const Table& t)
{
    const auto a = encodeSnapshot(t);
    return {a.begin(), a.end()};
}

// One hand-made move of the kind move execution makes, recorded the way move execution records
// it: a snapshot first, the table change, the redo history cleared. Moves the top card (or the
// top two) of a random pile holding cards to another pile, sometimes turns the new top of the
// source, sometimes "redeals" (waste back to the stock, deal number up, event 003) or counts a
// stock click (event 002) or uses the one-time draw (event 004).
inline void randomMove(GameState& s, History& h, const HistoryPolicy& policy, std::mt19937& rng)
{
    h.pushUndo(s.table, policy);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int kind = pick(10);
    if (kind == 0 && s.table.stock().empty() && !s.table.waste().empty()) {
        while (!s.table.waste().empty()) {
            const int c = s.table.waste().pop();
            s.table.append(PileRef::stock(), c, false);
        }
        ++s.dealNumber;
        h.recordEvent(kEventRedeal);
    } else if (kind == 1 && !s.table.stock().empty()) {
        const int c = s.table.stock().pop();
        s.table.append(PileRef::waste(), c, true);
        ++s.stockClicks;
        h.recordEvent(kEventMoveCounter);
    } else if (kind == 2 && !s.drawUsed) {
        s.drawUsed = true;
        h.recordEvent(kEventOneTime);
    } else {
        std::vector<int> sources;
        for (int i = 0; i < kTablePiles; ++i)
            if (!s.table.pile(pileAtTableOrder(i)).empty())
                sources.push_back(i);
        if (sources.empty())
            return;
        const PileRef from = pileAtTableOrder(sources[static_cast<std::size_t>(pick(static_cast<int>(sources.size())))]);
        PileRef to = pileAtTableOrder(pick(kTablePiles));
        if (to == from)
            to = PileRef::tableau(0) == from ? PileRef::tableau(1) : PileRef::tableau(0);
        const int count = std::min<int>(1 + pick(2), static_cast<int>(s.table.pile(from).size()));
        std::vector<int> moving;
        for (int k = 0; k < count; ++k)
            moving.insert(moving.begin(), s.table.pile(from).pop());
        for (int c : moving)
            s.table.append(to, c, c == 0 ? true : pick(4) != 0);
        if (!s.table.pile(from).empty() && s.table.pile(from).top() != 0 && pick(2) == 0)
            s.table.setFace(s.table.pile(from).top(), true);
    }
    h.clearRedo();
}

} // namespace cw::test
