// The common FreeCell text notation of a position: one line per column, cards like "KH 7C", free cells and foundations.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/rules.h"
#include "engine/game_state.h"

namespace cw::engine {

// A position as the notation gives it. Columns list their cards bottom first (the last card
// of a line is the exposed one); foundations hold the rank reached per suit index
// (0 Hearts, 1 Diamonds, 2 Clubs, 3 Spades).
struct FreecellBoard {
    std::vector<std::vector<int>> columns;
    std::vector<int> freecells;             // cards in the free cells (empty cells left out)
    std::array<int, 4> foundationRank{};    // 0: nothing yet
};

// Reads the notation: optional "Foundations: H-5 C-0 D-A S-2" and "Freecells: 8H -" lines
// (also the short forms "Founds:" and "FC:"), then one line per column, optionally starting
// with ':'. Ranks A 2-9 T J Q K (10 too), suits C D H S, either case. Each of the 52 cards must
// appear exactly once. On failure returns false with the reason and line number in error.
bool parseFreecellBoard(std::string_view text, FreecellBoard& board, std::string* error);

// Puts the board on a state of a FreeCell-like game (rules of its deal): columns on tableau
// piles 1..n, free cells on the reserves, each started foundation on the next foundation pile.
// False with a reason when the board needs more columns or cells than the game has.
bool placeFreecellBoard(const FreecellBoard& board, const catalog::Rules& rules, GameState& state,
                        std::string* error);

// "KH", "TC", "AS": the notation of one first-deck card; "??" for anything else.
std::string freecellCardText(int code);
// The first-deck code of one card in the notation ("KH", "10c"), or -1 when the word is not a card.
int freecellCardCode(std::string_view word);

} // namespace cw::engine
