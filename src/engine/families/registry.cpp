// The one registration table of the special game families: rule parameter 54's value to its family.
#include <array>

#include "engine/families/families.h"

namespace cw::engine {
namespace {

// The plain special family: a positive value without a registered family. It has no steps of its
// own, but the searches' shortcuts for ordinary games stay off for it.
class PlainSpecial final : public SpecialFamily {};

struct Entry {
    int number;
    const Family& (*family)();
};

// clang-format off
constexpr Entry kRegistered[] = {
    {2,  families::pressTops},        {12, families::pressTops},        {15, families::pressTops},
    {3,  families::toggling},         {4,  families::toggling},         {67, families::toggling},
    {83, families::toggling},
    {8,  families::gridPairs},        {45, families::gridPairs},        {71, families::gridPairs},
    {84, families::gridPairs},
    {22, families::heartsAside},
    {9,  families::pokerSquares},     {59, families::pokerSquares},
    {76, families::cribbagePatience}, {77, families::cribbageSquare},
    {11, families::reserveAces},      {28, families::countedDraws},     {40, families::pileRotation},
    {44, families::sequenceOf91},     {50, families::doubledBases},     {53, families::scrollingTable},
    {73, families::kingsQueensJacks}, {79, families::alternatingRuns},
};
// clang-format on

constexpr int kTableSize = 128;

} // namespace

const Family& familyFor(int number)
{
    static const PlainSpecial plain;
    static const std::array<const Family*, kTableSize> table = [] {
        std::array<const Family*, kTableSize> t{};
        for (const Entry& e : kRegistered)
            t[static_cast<std::size_t>(e.number)] = &e.family();
        return t;
    }();
    if (number <= 0)
        return ordinaryFamily();
    if (number < kTableSize && table[static_cast<std::size_t>(number)])
        return *table[static_cast<std::size_t>(number)];
    return plain;
}

} // namespace cw::engine
