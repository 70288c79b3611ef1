// The one budget of every search: positions, time, the cancel and stop flags and the key table's memory, checked in one place.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>

#include "engine/search_keyset.h"
#include "engine/solver.h"

namespace cw::engine {

class SearchBudget {
public:
    using Clock = std::chrono::steady_clock;

    // stop: set when a search running beside this one has settled the deal.
    explicit SearchBudget(const SolverLimits& limits, const std::atomic<bool>* stop = nullptr)
        : limits_(limits), stop_(stop), started_(Clock::now()), cpuStart_(std::clock())
    {}

    // Whether the search must end now. The position limit is exact; the clock, the flags and the
    // table are read every 256th call (counted by calls, not positions: a stretch that adds no
    // position must still reach the clock).
    bool over(std::uint64_t states, const KeySet& table)
    {
        clockRead_ = false;
        if (limits_.maxStates != 0 && states >= limits_.maxStates)
            return true;
        if ((calls_++ & 255) != 0)
            return false;
        if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed))
            return cancelled_ = true;
        if (stop_ && stop_->load(std::memory_order_relaxed))
            return true;
        clockRead_ = true;
        elapsed_ = Clock::now() - started_;
        if (limits_.budgetMs > 0 && elapsed_ >= std::chrono::milliseconds(limits_.budgetMs))
            return true;
        return table.full();
    }

    // Whether part/of of the budget is spent: the positions at every call, the time where the
    // last call of over read the clock.
    bool shareOver(std::uint64_t states, int part, int of) const
    {
        if (limits_.maxStates != 0 && states >= limits_.maxStates / static_cast<std::uint64_t>(of) * part)
            return true;
        return clockRead_ && limits_.budgetMs > 0 &&
               elapsed_ >= std::chrono::milliseconds(limits_.budgetMs) * part / of;
    }

    // The next call of over reads the clock.
    void readClockNext() { calls_ = 0; }
    void markCancelled() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    Clock::duration elapsed() const { return Clock::now() - started_; }

    // The wall-clock and processor time since the budget was made, and whether the search was
    // cancelled.
    void finish(SolveResult& result) const
    {
        result.milliseconds = std::chrono::duration<double, std::milli>(elapsed()).count();
        result.cpuMilliseconds = 1000.0 * static_cast<double>(std::clock() - cpuStart_) / CLOCKS_PER_SEC;
        result.cancelled = result.cancelled || cancelled_;
    }

private:
    SolverLimits limits_;
    const std::atomic<bool>* stop_;
    Clock::time_point started_;
    std::clock_t cpuStart_;
    std::uint64_t calls_ = 0;
    Clock::duration elapsed_{};
    bool clockRead_ = false;
    bool cancelled_ = false;
};

} // namespace cw::engine
