// Why a drop is refused, in the player's words: what the carried card goes on, what fills an empty pile.
#pragma once

#include <string>

#include "engine/drop.h"

namespace cw::engine {

// The reason the carried group may not go on target, for the status bar: "A 7 of Clubs goes on
// a red 8", "Only a King fills an empty pile", "One card at a time goes to a foundation". Empty
// when the drop is allowed (or the target is no pile).
std::string dropRefusal(const Play& play, const Carried& carried, PileRef target);

// "Ace", "2" ... "10", "Jack", "Queen", "King"; "" for other ranks.
std::string rankWord(int rank);
// "the 7 of Clubs" (with the article asked for: "a 7 of Clubs", "an 8 of Hearts").
std::string cardWords(int code, bool definite);

} // namespace cw::engine
