// The solver: whether a deal can still be won, searched with the engine's own rules for every game.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/rules.h"
#include "engine/game_state.h"
#include "engine/legal_moves.h"

namespace cw::engine {

enum class Verdict {
    Winnable,    // a winning line was found (and replayed)
    NotWinnable, // every reachable position was searched
    Unknown,     // the budget ran out or the search was cancelled first
};

// "Winnable", "Not winnable", "Unknown".
const char* verdictText(Verdict v);

struct SolverLimits {
    std::uint64_t maxStates = 0; // positions to visit; 0: no limit
    int budgetMs = 0;            // wall-clock time; 0: no limit
    // Set from another thread to stop the search; the answer is then Unknown.
    const std::atomic<bool>* cancel = nullptr;
    // Bytes the transposition table may use before the search gives up as Unknown.
    std::size_t maxTableBytes = std::size_t{1} << 30;
    // Safe foundation moves and the merging of interchangeable piles; off only to check that
    // they never change an answer.
    bool reductions = true;
    // Where a game has a stock, the search first looks for wins with the rarely needed moves
    // skipped; off, the complete search runs alone (on one thread), only to check that it finds
    // every win by itself.
    bool winsFirst = true;
    // 2: where the search of a game with a stock has a quick part that looks for wins and a
    // complete part that proves losses, the two run side by side on two threads, each with the
    // whole budget (the position limit counts for each, the table limit for both together).
    int threads = 1;
};

struct SolveResult {
    Verdict verdict = Verdict::Unknown;
    std::vector<Move> line;     // the winning line from the given state (Winnable only)
    std::uint64_t states = 0;   // distinct positions visited
    double milliseconds = 0;    // wall-clock time
    double cpuMilliseconds = 0; // processor time of the search
    bool cancelled = false;
    std::size_t tableBytes = 0; // memory held by the transposition table at the end
};

// Searches from state under rules (the rules as the deal left them). The state is copied, so a
// background thread may search a copy of the table while the player goes on. Face-down cards
// are visible to the search. A winning line is checked by replaying it before it is returned.
// A game whose family the solver cannot search gives Unknown at once.
SolveResult solve(const GameRules& rules, const GameState& state, const SolverLimits& limits = {});

// Plays line from state through the engine's legality checks; true when every move is accepted
// and the game ends won. On failure why says which move failed.
bool replayWins(const GameRules& rules, const GameState& state, const std::vector<Move>& line,
                std::string* why = nullptr);

// The play options the solver plays under (no autoplay: the solver makes its own foundation
// moves; automatic turn-ups on), so that a line replays the same anywhere.
PlayOptions solverPlayOptions();

} // namespace cw::engine
