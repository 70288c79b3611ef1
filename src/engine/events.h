// What applying an action did to the table: the events the presentation animates, sounds and shows.
#pragma once

#include <string>
#include <vector>

#include "engine/table.h"

namespace cw::engine {

enum class EventType : int {
    CardMoved,  // card went from `from` to `to` (face as it lies there now)
    CardTurned, // card on `from` changed its face to `faceUp`
    Sound,      // the named sound of the picture library ("Tableau", "Foundation", ...)
    Message,    // an information box with `text`
    StockDown,  // the pressed-stock picture: a redeal is armed
    StockUp,    // the released-stock picture, shown before the armed redeal runs
    GameWon,    // the table now satisfies the win test
    // Pacing of the families' steps: the window plays them in order with the moves around them.
    Pause,       // wait `amount` milliseconds
    Highlight,   // card on `from` is drawn highlighted
    Unhighlight, // card on `from` loses its highlight
    Announce,    // the announcement box shows `text` (empty: the box closes)
    Beep,        // the system beep
};

struct Event {
    EventType type = EventType::Sound;
    int card = 0;
    PileRef from{};
    PileRef to{};
    bool faceUp = true;
    std::string text;
    int amount = 0; // Pause: milliseconds

    friend bool operator==(const Event&, const Event&) = default;
};

using Events = std::vector<Event>;

} // namespace cw::engine
