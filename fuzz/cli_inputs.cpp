// libFuzzer target: what cardwise-cli reads from the user's files: the moves of "play --moves" (one
// move a line) and the board of "solve --freecell-board".
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "cli/play_setup.h"
#include "engine/freecell_board.h"
#include "engine/legal_moves.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    std::string line;
    int number = 0;
    while (cw::cli::nextMoveLine(in, line, number)) {
        std::string reason;
        (void)cw::engine::parseMove(line, &reason);
    }
    cw::engine::FreecellBoard board;
    std::string error;
    if (cw::engine::parseFreecellBoard(bytes, board, &error))
        for (int code = 0; code <= 53; ++code)
            (void)cw::engine::freecellCardText(code);
    return 0;
}
