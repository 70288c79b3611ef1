// Poker squares: cards placed one by one on a 5 x 5 grid, every full row and column scored as a poker hand.
#include "engine/families/families.h"

namespace cw::engine::families {
namespace {

// The grid's score is the hands': cards the deal sends home add nothing.
class PokerSquares final : public SpecialFamily {
public:
    bool addsDealPoints() const override { return false; }
};

} // namespace

const Family& pokerSquares()
{
    static const PokerSquares f;
    return f;
}

} // namespace cw::engine::families
