// The special game families, one accessor per family class, grouped by the file that holds them.
#pragma once

#include "engine/family.h"

namespace cw::engine::families {

// ---- selection.cpp: games played by pressing cards instead of dragging them ----
const Family& pressTops();   // 2, 12, 15: each tableau top is pressed in turn
const Family& selection();   // pairs, sums and runs clicked together, the selection kept in foundation 1
const Family& gridPairs();   // 8, 84: pairs in a grid whose gaps the stock click closes
const Family& filledGrid();  // 45, 71: pairs in a grid refilled after every set
const Family& heartsAside(); // 22: row pairs; the King and Queen of Hearts set aside by the deal

// ---- gaps.cpp: cards moved into the gaps of rows of places ----
const Family& gapRows(); // 32, 46, 74

// ---- goals.cpp: games with goals, drops and steps of their own ----
const Family& ownGoals();    // their rows of the score, win, drop and step tables
const Family& discardTops(); // 35: a click discards a beaten top card

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
