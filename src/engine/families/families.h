// The special game families, one accessor per family class, grouped by the file that holds them.
#pragma once

#include "engine/family.h"

namespace cw::engine::families {

// ---- selection.cpp: games played by pressing cards instead of dragging them ----
const Family& pressTops();   // 2, 12, 15: each tableau top is pressed in turn
const Family& toggling();    // 3, 4, 67, 83: two-card selections kept in foundation 1
const Family& gridPairs();   // 8, 45, 71, 84: pairs in a grid, gaps closed from the stock
const Family& heartsAside(); // 22: the King and Queen of Hearts set aside by the deal

// ---- poker.cpp: poker squares ----
const Family& pokerSquares(); // 9, 59

// ---- cribbage.cpp: cribbage patience and cribbage square ----
const Family& cribbagePatience(); // 76
const Family& cribbageSquare();   // 77

// ---- steps.cpp: games with one step of their own ----
const Family& reserveAces();      // 11: the deal sends the aces of reserve 1 and the waste home
const Family& countedDraws();     // 28: every draw is counted
const Family& pileRotation();     // 40: cards go onto face-down tops
const Family& sequenceOf91();     // 44: a dealt table may already be won
const Family& doubledBases();     // 50: the upper foundations start at twice the lower bases
const Family& scrollingTable();   // 53: the table scrolls
const Family& kingsQueensJacks(); // 73: the empty stock shows the grid picture until the Draw
const Family& alternatingRuns();  // 79: its game counters start at 1111

} // namespace cw::engine::families
