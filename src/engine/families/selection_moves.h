// What a complete selection does to the table: the discard, the refill, closing the gaps, the exchange and the accordion.
#pragma once

#include <vector>

#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::engine::families {

// One card moved or turned by a family step, in the order it happened (the presentation
// animates them; a turn has from == to).
struct CardMove {
    int card = 0;
    PileRef from{};
    PileRef to{};
    bool faceUp = true;
    friend bool operator==(const CardMove&, const CardMove&) = default;
};
using CardMoves = std::vector<CardMove>;

// "Selezionate_Dest" ("Selezionate_Dest_Deck" with faceDown): every card of the selection buffer
// (foundation 1), from the first, leaves its pile for the second waste and the buffer. A tableau
// card of the row layout (fan style 4) leaves a placeholder; the row of fan style 8 closes up
// afterwards. Families 25 and 26 then turn up the face-down cards left on top. Nothing changes
// and false is returned when a buffer card lies nowhere.
bool discardSelection(const catalog::Rules& rules, Table& table, bool faceDown, CardMoves* moves);

// "Selezionate_Fila": every empty tableau pile in use, in order, gets the stock's top card face
// up while the stock holds cards. True when a card moved.
bool refillFromStock(const catalog::Rules& rules, Table& table, CardMoves* moves);

// Whether "Stock_To_Pile_Monte_Carlo" would change anything: some tableau pile is empty and,
// with an empty stock, an empty pile is followed by one that holds cards.
bool gapsCanClose(const catalog::Rules& rules, const Table& table);

// "Stock_To_Pile_Monte_Carlo": the selection buffer is emptied, each empty tableau pile takes
// the cards of the next pile after it that holds any, so the cards move up in reading order,
// then the empty piles at the end get one card each from the stock, face up. False (nothing
// changed) when gapsCanClose is false.
bool closeGaps(const catalog::Rules& rules, Table& table, CardMoves* moves);

// The puzzle families' move: the two selected cards change places; the buffer is emptied.
bool exchangeSelection(const catalog::Rules& rules, Table& table, CardMoves* moves);

// Family 48: of the two selected cards of the row the right one takes the place of the left one,
// which is put away on foundation 2; the row closes up and the buffer is emptied.
bool accordionSelection(Table& table, CardMoves* moves);

// Family 75's follow-up: every tableau pile whose top card is a King puts it on the second waste
// (a King has no partner adding up to 13). True when a card moved.
bool discardTopKings(const catalog::Rules& rules, Table& table, CardMoves* moves);

} // namespace cw::engine::families
