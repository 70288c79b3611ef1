// A game a statistics dialog asks to play: the list's game with a fresh number, or a logged deal again.
#pragma once

#include <functional>
#include <string>

namespace cw::ui {

struct PlayRequest {
    int gameId = -1;
    std::string gameName;
    std::string gameNumber; // "" for a fresh game number; else the logged deal is dealt again
};

// Asked before the dialogs close for the request: the running game may be abandoned (confirm quit) and
// has been recorded. False keeps the dialogs open as they are.
using PlayAgreement = std::function<bool(const PlayRequest&)>;

} // namespace cw::ui
