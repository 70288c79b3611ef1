// Pile information for the tooltip panel and the status bar: type, count, rule text and redeal texts.
#pragma once

#include <string>

#include "engine/rules_context.h"

namespace cw::engine {

struct PileInfo {
    std::string type;        // "Stock", "Waste", "Foundation", "Tableau", "Reserve"
    std::string panel;       // type + " (" + number of such piles + ")"
    std::string count;       // "1 card", "7 cards"
    std::string description; // what the pile does or how it builds
    std::string redeal;      // stock only: "Unlimited redeals", "1/2 redeals", "No redeal"
    std::string redealShort; // stock only: "Unlimited", "1/2", "none"
};

// "Build down in alternating colors (ex. 10 [d] on Jack [c][s])" for a direction (0 down, 1 up,
// 2 up or down) and a suit rule (0 in suit, 1 same colour, 2 any suit, 3 alternating, 4 the
// foundation-only text); empty for other values. "[h]" and the like are suit markers.
std::string buildingText(int direction, int suitRule);

// The information about a pile of the current game; empty texts for an invalid pile.
PileInfo pileInformation(const Play& play, PileRef pile);

} // namespace cw::engine
