// The memory families' score formulas and the run of the Ace-to-King record.
#include "engine/families/memory_scores.h"

#include "engine/card.h"

namespace cw::engine {

int memoryRun(std::span<const int> record)
{
    if (record.empty())
        return 0;
    if (record.size() == 1)
        return rank(record[0]) == 1 ? 1 : 0;
    int following = 0;
    for (std::size_t i = 1; i < record.size() && rank(record[i]) == rank(record[i - 1]) + 1; ++i)
        ++following;
    return following == 0 ? 0 : following + 1;
}

int aceToKingScore(int run, int misses) { return 15 * run - 52 - misses; }
int pairsScore(int pairs, int misses) { return 10 * pairs - 52 - 2 * misses; }
int forgetMeNotScore(int matches, int cardsInPlay) { return 10 * matches - cardsInPlay; }
int concentrationScore(int pairs, int misses) { return 7 * pairs - 52 - misses; }

} // namespace cw::engine
