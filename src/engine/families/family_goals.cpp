// The special families' score and win test on a running game: the deal's targets, the undo history's groups.
#include "engine/families/family_goals.h"

#include <vector>

#include "engine/deal.h"
#include "engine/families/family_drops.h"
#include "engine/families/family_scores.h"
#include "engine/families/family_steps.h"
#include "engine/families/family_wins.h"
#include "engine/history.h"
#include "engine/moves.h"
#include "engine/shuffle.h"

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

int targetSum(const GameState& state)
{
    // Characters 3, 5, 8, 10 and 12 of the number; a digit taken already becomes the next one.
    const auto digits = gameNumberDigits(state.gameNumber);
    std::array<bool, 10> taken{};
    int sum = 0;
    for (int pos : {3, 5, 8, 10, 12}) {
        int d = digits[static_cast<std::size_t>(pos - 1)];
        while (taken[static_cast<std::size_t>(d)])
            d = (d + 1) % 10;
        taken[static_cast<std::size_t>(d)] = true;
        sum += d == 0 ? 10 : d;
    }
    return sum;
}

std::optional<int> goalScore(const ScoreInput& input)
{
    const int family = input.rules.specialFamily();
    std::vector<std::vector<int>> history;
    if (family == 64)
        history = secondWastes(input.history);
    FamilyScoreInput in{input.rules, input.state.table};
    in.rowTargets = family == 57 ? rowTargets(input.rules, input.state) : std::array<int, 4>{};
    in.targetSum = family == 58 ? targetSum(input.state) : 0;
    in.dealLaidOut = input.state.dealFinished;
    in.secondWasteHistory = history;
    return familyScore(in);
}

std::optional<bool> goalWon(const Play& play)
{
    FamilyWinInput in{play.rules, play.table()};
    if (play.rules.specialFamily() == 57)
        in.rowTargets = rowTargets(play.rules, play.state);
    if (play.rules.specialFamily() == 58)
        in.targetSum = targetSum(play.state);
    // The score tests read the family's formula on the table as it stands.
    FamilyScoreInput s{play.rules, play.table()};
    s.rowTargets = in.rowTargets;
    s.targetSum = in.targetSum;
    s.dealLaidOut = play.state.dealFinished;
    in.score = familyScore(s).value_or(play.state.score);
    return familyWon(in);
}

namespace {

void present(Play& play, const CardMoves& moves, const char* sound)
{
    for (const CardMove& m : moves)
        if (m.from == m.to)
            play.turned(m.card, m.from, m.faceUp);
        else
            play.moved(m.card, m.from, m.to, m.faceUp);
    if (!moves.empty())
        play.sound(sound);
}

} // namespace

DropVerdict GoalFamily::mayDrop(const Play& play, const Carried& carried, DropSpot spot) const
{
    switch (familyDrop(play.rules, play.table(), carried.card, carried.count, carried.source, spot.pile)) {
    case DropRule::Allow: return DropVerdict::Allow;
    case DropRule::Refuse: return DropVerdict::Refuse;
    case DropRule::Ordinary: break;
    }
    return DropVerdict::Default;
}

void GoalFamily::afterMove(Play& play, const MoveDone& move) const
{
    Table& t = play.table();
    const int family = play.rules.specialFamily();
    if (move.target.kind == PileKind::Tableau && move.target.index < play.tableaus()) {
        if (family == 29)
            present(play, fourOfAKindLeave(t, move.target.index), "Waste");
        else if (family == 40)
            present(play, clockStep(play.rules, t, move.target.index), "Face_up");
    } else if (family == 30 && move.target.kind == PileKind::Foundation) {
        if (const auto partner = partnerFollows(play.rules, t, move.target.index + 1, move.card))
            present(play, CardMoves{*partner}, "Foundation");
    }
}

void GoalFamily::afterStockDeal(Play& play, PileKind kind, int first, int last) const
{
    if (play.rules.specialFamily() != 29 || kind != PileKind::Tableau)
        return;
    for (int c = first; c < last && c < play.tableaus(); ++c)
        present(play, fourOfAKindLeave(play.table(), c), "Waste");
}

void GoalFamily::pileMarks(const GameRules& rules, const GameState& state, PileMarks& out) const
{
    if (rules.specialFamily() != 42)
        return;
    const int T = std::clamp(rules.tableauCount(), 0, kTableauPiles);
    for (int c = 0; c < T; ++c) {
        const int n = static_cast<int>(state.table.tableau(c).size());
        out.push_back(PileMark{MarkKind::LabelAbove, PileRef::tableau(c), -1, n, pileCountLabel(n), n == 13});
    }
}

std::string GoalFamily::wonMessage(const Play& play) const
{
    return play.rules.specialFamily() == 44 && topsMake91(play.rules, play.table()) ? kNinetyOneMessage : "";
}

} // namespace cw::engine::families
