// The fast search for the Spider family: rows dealt from the stock, complete runs leaving for the foundations.
#pragma once

#include <memory>
#include <optional>

#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"
#include "engine/legal_moves.h"
#include "engine/solver.h"

namespace cw::engine {

// What the rules of one Spider-like game say, as tables over card codes (filled once per game by
// the engine's own building and sequence tests) plus the few facts of the stock and the runs.
class SpiderRules;

// The tables for rules and the cards of state, or null when the game or the position lies
// outside what the compact form covers: games whose stock does more than deal one card face up
// to every tableau pile, foundations other than complete-run ones, reserves, a waste, fan styles
// and grids that lift differently, and face-down cards anywhere but under the face-up ones of the
// tableau. Those are searched through the general move generator. Tables are cached per thread.
std::shared_ptr<const SpiderRules> spiderRulesFor(const GameRules& rules, const GameState& state);

// The moves the compact generator finds on state, in the engine's notation (the tests check it is
// the same set as generateMoves gives).
void spiderMoves(const SpiderRules& spider, const GameState& state, MoveList& list);

// Plays move on the compact form of state and writes the piles and the tableau's faces into after
// (a copy of state); false for a move it cannot make. For the tests: the result must match the
// engine's applyMove.
bool spiderPlay(const SpiderRules& spider, const GameState& state, const Move& move, GameState& after);

// Searches state when spiderRulesFor accepts it; nullopt otherwise. A winning line is not yet
// replayed here (solve does that).
std::optional<SolveResult> solveSpider(const GameRules& rules, const GameState& state, const SolverLimits& limits);

} // namespace cw::engine
