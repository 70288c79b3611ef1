// Autoplay's completion step and the automatic filling of empty piles.
#pragma once

#include <string>
#include <string_view>

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

// ---- Per-game autoplay memory (autoplay mode 2, settings section "Autoplay") ----
// Built-in games keep one "Y"/"N" flag each in the key "Games", character n + 1 for game id n;
// custom games (ids from 8000) keep the key "Cust_" + the id in four digits.
inline constexpr int kFirstCustomGameId = 8000;
std::string customAutoplayKey(int gameId);
// Whether the stored flags switch autoplay on for the game: a missing or non-"N" flag means on.
// customValue is the value of the game's "Cust_" key (empty when absent).
bool storedAutoplayOn(std::string_view gamesFlags, std::string_view customValue, int gameId);
// The "Games" text with the flag of built-in game gameId set; a short text is first padded with
// "Y" up to gameId + 10 characters.
std::string withAutoplayFlag(std::string gamesFlags, int gameId, bool on);

} // namespace cw::engine
