// What every search shares: one budget (positions, time, the cancel and stop flags and the key table's memory, checked in one place), the restart policy and the per-thread cache of rule tables.
#pragma once

#include <array>
#include <atomic>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>

#include "catalog/rules.h"
#include "engine/table.h"

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

// Depth-first searches that go wrong early spend their budget deep in a hopeless subtree. So a
// search runs in attempts with a growing position limit, each with a fresh table and ties between
// moves broken differently; the last attempt runs to the end of the budget. Only an attempt that
// ends by itself proves a deal lost.
struct RestartPolicy {
    std::uint64_t first; // positions of the first attempt
    int growthPercent;   // of an attempt's limit over the one before
    int attempts;        // the last of them has no limit of its own

    std::uint64_t next(std::uint64_t limit) const { return limit * static_cast<std::uint64_t>(growthPercent) / 100; }
    bool last(std::uint64_t attempt) const { return attempt + 1 >= static_cast<std::uint64_t>(attempts); }
    // What a later attempt adds to a child's score: below range, fixed by the child's key and the
    // attempt, nothing in the first attempt.
    static int tieBreak(std::uint64_t key, std::uint64_t attempt, int range)
    {
        if (attempt == 0)
            return 0;
        std::uint64_t x = key ^ (attempt * 0x9E3779B97F4A7C15ULL);
        x = (x ^ (x >> 31)) * 0xBF58476D1CE4E5B9ULL;
        return static_cast<int>((x >> 40) % static_cast<std::uint64_t>(range));
    }
};

// Tables a search builds from a game's rules and the cards in play, kept per thread (searches run
// on several threads at once): solving many deals of one game builds them once. build() makes
// them afresh when the rules or the cards differ from the last call's.
template <class Tables, class Build>
std::shared_ptr<const Tables> tablesFor(const catalog::Rules& rules, const std::bitset<kLastCard + 1>& cards,
                                        Build&& build)
{
    struct Cached {
        std::array<std::int16_t, catalog::kParamCount> rules{};
        std::bitset<kLastCard + 1> cards;
        std::shared_ptr<const Tables> tables;
    };
    thread_local Cached cache;
    if (!cache.tables || cache.cards != cards || cache.rules != rules.values()) {
        cache.tables = build();
        cache.rules = rules.values();
        cache.cards = cards;
    }
    return cache.tables;
}

} // namespace cw::engine
