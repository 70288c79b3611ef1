// libFuzzer target: arbitrary bytes as a saved game file; a file read is written back, read again and played back.
#include "engine/history.h"
#include "engine/saved_game.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace cw::engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SavedGameRead r = parseSavedGame(text, "fuzz.gam");
    if (!r.ok())
        return 0;

    // What was read is written back: the file always reads again, to the same table and
    // history, and writing is stable from then on (texts lose control characters, numbers are
    // clamped to their fields the first time).
    const std::string written = encodeSavedGame(r.game);
    const SavedGameRead again = parseSavedGame(written, "fuzz.gam");
    if (!again.ok() || !(again.game.table == r.game.table) || !(again.game.undo == r.game.undo) ||
        encodeSavedGame(again.game) != written)
        std::abort();

    // The history it holds can be undone to the start and redone to the end.
    cw::catalog::Rules rules;
    restoreRules(r.game, rules);
    GameState state;
    History history;
    restoreGame(r.game, rules, RestoreMode::Open, state, history);
    const HistoryPolicy policy;
    while (history.undoMove(state, policy)) {
    }
    while (history.redoMove(state, policy)) {
    }
    return 0;
}
