// The solver played over a run of deals of one game: how many it won, proved lost or left undecided.
#include "engine/win_sample.h"

#include <string>

#include "engine/deal.h"

namespace cw::engine {

WinSample sampleWins(const catalog::Rules& rules, int gameId, int count, const SolverLimits& limits, long long first,
                     const std::function<void(const WinSample&)>& progress)
{
    WinSample sample;
    for (int k = 0; k < count; ++k) {
        if (limits.cancel && limits.cancel->load())
            break;
        const std::string number = std::to_string(first + k);
        DealResult dealt = deal(rules, number);
        if (dealt.badCardCount)
            break;
        dealt.state.gameId = gameId;
        dealt.state.gameNumber = number;
        const SolveResult r = solve(dealt.rules, dealt.state, limits);
        if (r.cancelled)
            break;
        switch (r.verdict) {
        case Verdict::Winnable: ++sample.won; break;
        case Verdict::NotWinnable: ++sample.lost; break;
        case Verdict::Unknown: ++sample.undecided; break;
        }
        if (progress)
            progress(sample);
    }
    return sample;
}

WinFigure figureOf(const WinSample& sample)
{
    const int n = sample.played();
    if (n == 0 || sample.undecided * 4 > n)
        return {};
    return {sample.won, n};
}

} // namespace cw::engine
