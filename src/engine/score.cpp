// The standard score formula, added points and the family's own formula where it has one.
#include "engine/score.h"

#include <algorithm>

#include "engine/family.h"

namespace cw::engine {

int scoreBase(const catalog::Rules& rules)
{
    switch (rules.reducedPack()) {
    case 0: return -rules.cardsInPlay();
    case 1: return rules.cardsInPlay() == 104 ? -64 : -32;
    case 2: return -28;
    default: return 0;
    }
}

int standardScore(const catalog::Rules& rules, const Table& table, std::string_view scoringCode)
{
    if (scoringCode != kStandardScoring)
        return 0;
    int positions = static_cast<int>(table.secondWaste().size());
    const int foundations = std::clamp(rules.foundationCount(), 0, kFoundationPiles);
    for (int f = 0; f < foundations; ++f)
        positions += static_cast<int>(table.foundation(f).size());
    return scoreBase(rules) + 5 * rules.scoreConstant() - 5 * rules.jokerCount() + 5 * positions;
}

int addPoints(int score, int n, std::string_view scoringCode, const Family& family)
{
    if (scoringCode != kStandardScoring || !family.addsDealPoints())
        return score;
    return score + 5 * n;
}

int recomputeScore(const ScoreInput& input)
{
    if (input.rules.family().special())
        if (const std::optional<int> own = input.rules.family().score(input))
            return *own;
    return standardScore(input.rules, input.state.table, input.scoringCode);
}

} // namespace cw::engine
