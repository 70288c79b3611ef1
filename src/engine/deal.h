// The initial deal: shuffle, deck filters, foundation starters, main deal, set-ups and deal patterns.
#pragma once

#include <functional>
#include <string_view>

#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"
#include "engine/random.h"

namespace cw::engine {

// Whether foundation (0-based) accepts code as its next card during the deal's own moves
// to the foundations (aces moved up, post-deal sweeps). The deal passes the rules as adjusted
// so far (base ranks set).
using FoundationAcceptsFn =
    std::function<bool(const catalog::Rules& rules, const GameState& state, int foundation, int code)>;

// A plain foundation test for the deal: capacity (parameter 34, none when 0 or less), the
// empty-pile base (55 + f), the suit rule (487, else 87 + f) and the direction (71 + f) of the
// general building rule. Special building codes read as "any suit".
bool dealFoundationAccepts(const catalog::Rules& rules, const GameState& state, int foundation, int code);

struct DealOptions {
    // Replaces the plain foundation test with the full drop rules when they are available.
    FoundationAcceptsFn foundationAccepts;
    // The generator for the one pattern that picks a pile at random. When null the deal seeds
    // its own from the game number, so the same number always deals the same table.
    Random* random = nullptr;
};

// The dealt table and the rules as the deal left them. The deal writes rule parameters:
// base ranks (55 + k), empty-pile rules of value 91 (135 + k) and, for the ace sweep of
// reserves, the foundation suit rules (87 + k). Callers keep the returned rules as the
// current rules of the deal (and the loaded ones for a restart).
struct DealResult {
    GameState state;
    GameRules rules;
    bool badCardCount = false; // the cards-in-play value was not 52/104/156/208
};

// Deals game number gameNumber (decimal digits, as stored) under rules onto a fresh table.
// Pure: no I/O, the same inputs always give the same result. The family's own deal steps run
// at their points.
DealResult deal(const GameRules& rules, std::string_view gameNumber, const DealOptions& options = {});
// The same for a bare rule vector: its family is resolved here, once.
inline DealResult deal(const catalog::Rules& rules, std::string_view gameNumber, const DealOptions& options = {})
{
    return deal(GameRules(rules), gameNumber, options);
}

// The same sequence on an existing state, whose piles the caller has emptied. Face flags of
// cards the deal does not place are left as they were. Returns false when the card count was
// not one the shuffle knows (the deal then places only jokers).
bool dealInto(GameRules& rules, GameState& state, const DealOptions& options = {});

} // namespace cw::engine
