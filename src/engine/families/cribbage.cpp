// Cribbage patience and cribbage square: hands laid out from the stock and scored by the rules of cribbage.
#include "engine/families/families.h"

namespace cw::engine::families {
namespace {

// Hands dealt from the stock with two face-down crib cards, which a press does not turn up.
class CribbagePatience final : public SpecialFamily {
public:
    bool addsDealPoints() const override { return false; }
    PressAction pressAction(const Play&, PileRef, int, PressAction ordinary) const override
    {
        return ordinary == PressAction::TurnUp ? PressAction::None : ordinary;
    }
};

// A 4 x 4 square filled from the stock, scored when it is full.
class CribbageSquare final : public SpecialFamily {
public:
    bool addsDealPoints() const override { return false; }
};

} // namespace

const Family& cribbagePatience()
{
    static const CribbagePatience f;
    return f;
}

const Family& cribbageSquare()
{
    static const CribbageSquare f;
    return f;
}

} // namespace cw::engine::families
