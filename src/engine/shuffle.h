// The shuffle by game number: the deal array (order of every card in play) from the game number's digits.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {
class Rules;
}

namespace cw::engine {

// The message shown when the rules ask for a card count the shuffle does not know.
inline constexpr const char* kShuffleErrorMessage = "Error 01 - fnGameNumberCardsArray";

// The 13-digit form of a game number: the stored text without trailing blanks, padded on the
// left with zeros, rightmost 13 characters kept. Each entry is a digit 0..9 (a character that
// is not a digit reads as 0).
std::array<int, 13> gameNumberDigits(std::string_view gameNumber);

struct ShuffleInput {
    int cards = 52;       // cards in play: 52, 104, 156 or 208
    bool jokers = false;  // jokers added to the pack
    int jokerCount = 0;   // how many (at most four are placed)
    int reduced = 0;      // 1: ranks 2-6 removed; 2: ranks 2-6 and the kings removed

    static ShuffleInput fromRules(const catalog::Rules& rules);
};

struct ShuffleResult {
    std::vector<int> cards;    // front card first; 0 marks a slot no card reached
    bool badCardCount = false; // cards was not 52/104/156/208 (only jokers were placed)
};

// Derives the deal array from the digits of the game number through the fixed suit and step
// tables. This is the promise that a game number always deals the same table: never change the
// tables, the order of the steps or the slot search.
ShuffleResult fnGameNumberCardsArray(std::string_view gameNumber, const ShuffleInput& input);

} // namespace cw::engine
