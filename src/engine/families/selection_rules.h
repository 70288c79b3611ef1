// The selection games: which cards a click may select and when the selected cards form a set, family by family.
#pragma once

#include <span>
#include <string>

#include "catalog/rules.h"
#include "engine/families/family_cards.h"
#include "engine/table.h"

namespace cw::engine::families {

// Games whose clicks select cards: rule parameter 41 set, or one of the pairing families that
// reach the selection from the press rules with parameter 41 at 0 (3, 4, 33, 67 and 83).
bool selectsByClicks(const catalog::Rules& rules);

// Families whose left press on any pile (the stock and the empty places too) goes to their rules.
bool pressesAnyPile(int family);

// Families that leave the gaps of a removed set open (no refill from the stock after a set).
bool keepsGaps(int family);

// The most cards a selection of the family can hold (0: no limit the rules fix).
int selectionLimit(int family);

// The most cards a selection may hold: a set is one move of the generator, which names at most
// this many cards.
inline constexpr int kMaxSelection = 8;

enum class SetState { Refused, Partial, Complete };

struct SetCheck {
    SetState state = SetState::Refused;
    std::string reason;         // why the cards cannot be (part of) a set, for the status bar
    bool offerExchange = false; // family 71: the two cards may change places instead, once per game
};

// What a complete set does to the table.
enum class SetEffect {
    Discard,   // every selected card goes to the second waste
    Exchange,  // two cards change places (the puzzle families 57 and 81)
    Accordion, // family 48: the right card takes the place of the left one, which is put away
};
SetEffect setEffect(int family);

// Whether the card at position index of pile may be selected at all ("where cards may be taken").
bool maySelect(const catalog::Rules& rules, const Table& table, PileRef pile, int index);
// The same, for a selection that has (or has not) been started, whatever the buffer holds now:
// the Pyramid games take the stock's top card only into a started selection.
bool maySelectWhile(const catalog::Rules& rules, const Table& table, PileRef pile, int index, bool selectionStarted);

// The family's validity and completion tests for the selected cards, in click order with the card
// just clicked last. A card that lies nowhere on the table refuses the selection.
SetCheck checkSet(const catalog::Rules& rules, const Table& table, std::span<const int> codes);
// The same tests without wording a refusal (the move generator's fast path).
SetCheck judgeSet(const catalog::Rules& rules, const Table& table, std::span<const int> codes);
// judgeSet with the spots of the cards given, one per code (the set search knows them), so that
// no card is looked for on the table; empty spots: they are looked for.
SetCheck judgeSetAt(const catalog::Rules& rules, const Table& table, std::span<const int> codes,
                    std::span<const CardSpot> spots);

// Pyramid availability: the card at position i of tableau pile c is uncovered. Each tableau pile
// is one row; when the next pile is one position longer it covers positions i and i + 1 (a
// pyramid), when it is one shorter positions i - 1 and i (a triangle standing on its point).
// Removed cards leave placeholders, which cover nothing.
bool pyramidOpen(const catalog::Rules& rules, const Table& table, int c, int i);

// "7 + 5 = 12": the values of the cards joined by " + " and their total.
std::string sumText(std::span<const int> codes);
// "Ace", "2" ... "10", "Jack", "Queen", "King".
std::string rankWord(int code);

} // namespace cw::engine::families
