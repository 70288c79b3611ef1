// The solver played over a run of deals of one game: how many it won, proved lost or left undecided.
#pragma once

#include <atomic>
#include <functional>

#include "catalog/rules.h"
#include "engine/solver.h"

namespace cw::engine {

struct WinSample {
    int won = 0;
    int lost = 0;      // proved not winnable
    int undecided = 0; // the budget ran out first
    int played() const { return won + lost + undecided; }
};

// Solves deals first, first + 1, ... (count of them) of a game whose rules are loaded. Each deal
// has the limits' budget; limits.cancel stops the run between or inside deals (the sample then
// holds the deals finished so far). `progress` is called after every deal. A deal that cannot be
// dealt (a bad card count) ends the run.
WinSample sampleWins(const catalog::Rules& rules, int gameId, int count, const SolverLimits& limits,
                     long long first = 1, const std::function<void(const WinSample&)>& progress = {});

// What a sample is worth as the figure shown beside a game's chance of winning: won deals and the
// sample size, as the catalog's measured games count them (undecided deals in the sample, not
// won); no figure (0 of 0) when more than a quarter of the deals stayed undecided.
struct WinFigure {
    int won = 0;
    int sample = 0;
};
WinFigure figureOf(const WinSample& sample);

} // namespace cw::engine
