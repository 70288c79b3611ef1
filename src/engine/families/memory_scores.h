// Memory games: the run of the Ace-to-King record and the score formulas of the four memory families.
#pragma once

#include <span>

namespace cw::engine {

// The memory families (rule parameter 54).
inline constexpr int kFamilyAceToKing = 36;
inline constexpr int kFamilyPairs = 37;
inline constexpr int kFamilyForgetMeNot = 38;
inline constexpr int kFamilyConcentration = 39;

// The run of a sequence record (card codes in the order they were turned up): one card gives
// 1 for an Ace and 0 otherwise; more cards give 1 + the number of cards after the first that
// each stand one rank above the card before, counting stops at the first that does not, and 0
// when the second card already fails. An empty record gives 0.
int memoryRun(std::span<const int> record);

// 15 x run - 52 - misses.
int aceToKingScore(int run, int misses);
// 10 x pairs - 52 - 2 x misses (pairs of identical cards of two decks).
int pairsScore(int pairs, int misses);
// 10 x matches - cards in play.
int forgetMeNotScore(int matches, int cardsInPlay);
// 7 x pairs - 52 - misses (pairs of one rank, one deck).
int concentrationScore(int pairs, int misses);

} // namespace cw::engine
