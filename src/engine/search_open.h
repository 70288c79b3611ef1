// The fast search for open games (FreeCell, Klondike and their kin): compact positions changed in place.
#pragma once

#include <memory>
#include <optional>

#include "catalog/rules.h"
#include "engine/game_state.h"
#include "engine/legal_moves.h"
#include "engine/solver.h"

namespace cw::engine {

// What the rules of one game say, as tables over card codes: which card may go on which top
// card of a tableau pile or a foundation, which cards an empty pile takes, which pairs form a
// sequence that lifts together. The tables are filled by asking the engine's own building and
// sequence tests once per game, so the fast generator never holds rules of its own; only the
// group-size limits are restated (a few formulas of the free cells and empty columns).
class OpenRules;

// The tables for rules and the cards of state, or null when the game or the position lies
// outside what the compact form covers: special families, click-to-play, grids and fan styles
// that lift differently, automatic fills, foundation take-backs and re-sorting, foundation
// start tests, complete runs, reserves other than plain free cells, columns with rules of their
// own, placeholders, face-down cards other than under the face-up ones of the tableau (where they
// turn up by themselves), and a stock other than one that only feeds one waste. Those games are
// searched through the general move generator. Tables are cached per thread.
std::shared_ptr<const OpenRules> openRulesFor(const GameRules& rules, const GameState& state);

// The moves the compact generator finds on state, in the engine's notation (the property the
// tests check: the same set as generateMoves gives).
void openMoves(const OpenRules& open, const GameState& state, MoveList& list);

// Plays move on the compact form of state and writes the piles, the tableau's face-down cards
// and the pass number into after (a copy of state); false for a move it cannot make. For the
// tests: the result must match the engine's applyMove.
bool openPlay(const OpenRules& open, const GameState& state, const Move& move, GameState& after);

// Searches state when openRulesFor accepts it; nullopt otherwise. A winning line is not yet
// replayed here (solve does that).
std::optional<SolveResult> solveOpen(const GameRules& rules, const GameState& state, const SolverLimits& limits);

} // namespace cw::engine
