// Autoplay's completion step and the automatic filling of empty piles.
#pragma once

#include "engine/rules_context.h"

namespace cw::engine {

// Plays every card that may go to a foundation from the tops of the reserves, the waste and the
// tableau, repeatedly, until none is left. Runs only when the deal is finished and autoplay is
// on (or a tutor mode is set). True when at least one card moved.
bool completionStep(Play& play);

// Refills empty tableau piles (and for some values reserves) from the source rule parameter 25
// names. True when at least one card moved.
bool automaticFill(Play& play);

// After every release: the automatic fill once, then, while autoplay is on, the completion step
// and the fill alternately as long as the completion step moves a card.
bool afterRelease(Play& play);

// When autoplay is switched on during a game, or after a deal with autoplay on: the completion
// step, then the fill and the completion step alternately.
bool runAutoplay(Play& play);

} // namespace cw::engine
