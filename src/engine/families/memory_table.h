// Memory games read from the table: pairs found, matches, the sequence record, the score and the result dialog's page.
#pragma once

#include <string>
#include <vector>

#include "engine/table.h"

namespace cw::engine {

// Twins are the same card of the first and second pack.
inline constexpr int kTwinOffset = 52;
// Forget me not: foundations 1-10 hold the cards to remember, tableau piles 1-10 the answers.
inline constexpr int kForgetMeNotCards = 10;
inline constexpr int kFirstTwinPile = 10; // tableau pile 11

// Pairs of families 37 and 39: the second waste's positions divided by two.
int memoryPairsFound(const Table& table);
// Forget me not: 0 while an answer pile is empty; then the answer piles whose bottom card is the
// twin of the bottom card of the foundation above.
int forgetMeNotMatches(const Table& table);
// The Ace-to-King record: the cards turned up since the last miss. A miss turns every card
// down again, so they are exactly the face-up cards of tableau piles [0, tableaus), in the order
// of their ranks. (Kept as copies on a reserve, the cards would lie on two piles at once, which
// undo snapshots and saved games refuse.)
std::vector<int> aceToKingRecord(const Table& table, int tableaus);

// Whether two face-up cards are a pair: family 37 the same card of two packs, family 39 the same rank.
bool memoryCardsPair(int family, int a, int b);
// Face-up cards of tableau piles [0, tableaus), pile by pile and bottom to top, placeholders skipped.
std::vector<PileRef> faceUpTableauPiles(const Table& table, int tableaus, std::vector<int>* cards = nullptr);
// Whether any face-down card is left on tableau piles [0, tableaus).
bool faceDownLeft(const Table& table, int tableaus);

// The score of a memory family (36-39) from the table, the misses counter and the cards in
// play (rule parameter 378); 0 for any other family.
int memoryScore(int family, const Table& table, int tableaus, int misses, int cardsInPlay);

// The page of the result dialog, as the words and numbers it shows.
struct MemoryResultPage {
    std::string caption; // "Game Won" or "Game Lost"
    bool won = false;
    std::string page;  // "Pairs", "Ace-To-King", "Forget me not", "Concentration"
    std::string group; // "Grid: 4 x 3", "Sequence ", "Cards: 10 ", "Cards: 52 "
    int matches = 0;
    int misses = 0;
    int perMatch = 0;
    std::string perMiss;  // "-2", "-1", "0"
    int matchesTotal = 0; // matches x per match
    int missesTotal = 0;
    std::string start = "-52";
    int total = 0;  // the current score
    int target = 0; // rule parameter 53
};
MemoryResultPage memoryResultPage(int family, int tableaus, const Table& table, int misses, int score, int target,
                                  bool won);

} // namespace cw::engine
