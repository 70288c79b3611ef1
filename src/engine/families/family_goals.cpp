// The special families' score and win test on a running game: the deal's targets, the undo history's groups.
#include "engine/families/family_goals.h"

#include <vector>

#include "engine/deal.h"
#include "engine/families/family_scores.h"
#include "engine/families/family_wins.h"
#include "engine/history.h"

namespace cw::engine::families {
namespace {

// Family 64 pays the cards of the second waste in the groups they arrived in: the second
// wastes of the undo snapshots, oldest first.
std::vector<std::vector<int>> secondWastes(const History* history)
{
    std::vector<std::vector<int>> out;
    if (!history)
        return out;
    const SnapshotList& snaps = history->undo.snapshots;
    out.reserve(snaps.size());
    Table table;
    for (std::size_t i = 0; i < snaps.size(); ++i) {
        snaps.restore(i, table);
        const Pile& w = table.secondWaste();
        out.emplace_back(w.begin(), w.end());
    }
    return out;
}

} // namespace

std::array<int, 4> rowTargets(const GameRules& rules, const GameState& state)
{
    for (int v : state.gameCounters)
        if (v != 0)
            return state.gameCounters;
    // A restart or an opened game may have lost the counters: the same number deals the same
    // targets again.
    if (state.gameNumber.empty())
        return state.gameCounters;
    return deal(rules, state.gameNumber).state.gameCounters;
}

int targetSum(const GameState& state) { return state.gameCounters[0]; }

std::optional<int> goalScore(const ScoreInput& input)
{
    const int family = input.rules.specialFamily();
    std::vector<std::vector<int>> history;
    if (family == 64)
        history = secondWastes(input.history);
    FamilyScoreInput in{input.rules, input.state.table};
    in.rowTargets = family == 57 ? rowTargets(input.rules, input.state) : std::array<int, 4>{};
    in.targetSum = targetSum(input.state);
    in.dealLaidOut = input.state.dealFinished;
    in.secondWasteHistory = history;
    return familyScore(in);
}

std::optional<bool> goalWon(const Play& play)
{
    FamilyWinInput in{play.rules, play.table()};
    if (play.rules.specialFamily() == 57)
        in.rowTargets = rowTargets(play.rules, play.state);
    in.targetSum = targetSum(play.state);
    // The score tests read the family's formula on the table as it stands.
    FamilyScoreInput s{play.rules, play.table()};
    s.rowTargets = in.rowTargets;
    s.targetSum = in.targetSum;
    s.dealLaidOut = play.state.dealFinished;
    in.score = familyScore(s).value_or(play.state.score);
    return familyWon(in);
}

} // namespace cw::engine::families
