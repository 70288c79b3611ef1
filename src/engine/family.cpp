// The ordinary family and the defaults of the family hooks that need more than a line.
#include "engine/family.h"

namespace cw::engine {

bool Family::applyMove(Play& play, const Move& move) const
{
    if (move.kind != MoveKind::Press)
        return false;
    const bool stock = tablePress(play, Press{move.from, move.index, Button::Left, false});
    return tableRelease(play, {}) || stock;
}

const Family& ordinaryFamily()
{
    static const Family ordinary;
    return ordinary;
}

} // namespace cw::engine
