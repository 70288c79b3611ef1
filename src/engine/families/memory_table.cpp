// Memory games read from the table, and the result dialog's page as plain data.
#include "engine/families/memory_table.h"

#include <algorithm>

#include "engine/card.h"
#include "engine/families/memory_scores.h"

namespace cw::engine {

int memoryPairsFound(const Table& table) { return static_cast<int>(table.secondWaste().size()) / 2; }

int forgetMeNotMatches(const Table& table)
{
    int matches = 0;
    for (int j = 0; j < kForgetMeNotCards; ++j) {
        const Pile& answer = table.tableau(j);
        if (answer.empty() || answer.bottom() == 0)
            return 0;
        const int shown = table.foundation(j).bottom();
        matches += shown > 0 && answer.bottom() == shown + kTwinOffset;
    }
    return matches;
}

std::vector<int> aceToKingRecord(const Table& table, int tableaus)
{
    std::vector<int> record;
    faceUpTableauPiles(table, tableaus, &record);
    std::stable_sort(record.begin(), record.end(), [](int a, int b) { return rank(a) < rank(b); });
    return record;
}

bool memoryCardsPair(int family, int a, int b)
{
    if (a <= 0 || b <= 0 || rank(a) != rank(b))
        return false;
    return family == kFamilyConcentration || (family == kFamilyPairs && (a - b == kTwinOffset || b - a == kTwinOffset));
}

std::vector<PileRef> faceUpTableauPiles(const Table& table, int tableaus, std::vector<int>* cards)
{
    std::vector<PileRef> piles;
    for (int p = 0; p < tableaus; ++p)
        for (int code : table.tableau(p))
            if (code != 0 && table.isFaceUp(code)) {
                piles.push_back(PileRef::tableau(p));
                if (cards)
                    cards->push_back(code);
            }
    return piles;
}

bool faceDownLeft(const Table& table, int tableaus)
{
    for (int p = 0; p < tableaus; ++p)
        for (int code : table.tableau(p))
            if (code != 0 && table.isFaceDown(code))
                return true;
    return false;
}

int memoryScore(int family, const Table& table, int tableaus, int misses, int cardsInPlay)
{
    switch (family) {
    case kFamilyAceToKing: return aceToKingScore(memoryRun(aceToKingRecord(table, tableaus)), misses);
    case kFamilyPairs: return pairsScore(memoryPairsFound(table), misses);
    case kFamilyForgetMeNot: return forgetMeNotScore(forgetMeNotMatches(table), cardsInPlay);
    case kFamilyConcentration: return concentrationScore(memoryPairsFound(table), misses);
    default: return 0;
    }
}

MemoryResultPage memoryResultPage(int family, int tableaus, const Table& table, int misses, int score, int target,
                                  bool won)
{
    MemoryResultPage p;
    p.caption = won ? "Game Won" : "Game Lost";
    p.won = won;
    p.total = score;
    p.target = target;
    p.misses = misses;
    switch (family) {
    case kFamilyPairs:
        p.page = "Pairs";
        p.group = tableaus == 3 ? "Grid: 4 x 3" : (tableaus == 4 ? "Grid: 6 x 4" : "Grid: 8 x 5");
        p.matches = memoryPairsFound(table);
        p.perMatch = 10;
        p.perMiss = "-2";
        p.missesTotal = -2 * misses;
        break;
    case kFamilyAceToKing:
        p.page = "Ace-To-King";
        p.group = "Sequence ";
        p.matches = memoryRun(aceToKingRecord(table, tableaus));
        p.perMatch = 15;
        p.perMiss = "-1";
        p.missesTotal = -misses;
        break;
    case kFamilyForgetMeNot:
        p.page = "Forget me not";
        p.group = "Cards: 10 ";
        p.matches = forgetMeNotMatches(table);
        p.misses = kForgetMeNotCards - p.matches;
        p.perMatch = 10;
        p.perMiss = "0";
        p.missesTotal = 0;
        break;
    default:
        p.page = "Concentration";
        p.group = "Cards: 52 ";
        p.matches = memoryPairsFound(table);
        p.perMatch = 7;
        p.perMiss = "-1";
        p.missesTotal = -misses;
        break;
    }
    p.matchesTotal = p.matches * p.perMatch;
    return p;
}

} // namespace cw::engine
