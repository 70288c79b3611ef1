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
    // The selection games: sets of cards clicked together.
    {1,  families::selection},        {3,  families::selection},        {4,  families::selection},
    {7,  families::selection},        {14, families::selection},        {16, families::selection},
    {17, families::selection},        {18, families::selection},        {20, families::selection},
    {21, families::selection},        {23, families::selection},        {24, families::selection},
    {25, families::selection},        {26, families::selection},        {33, families::selection},
    {41, families::selection},        {47, families::selection},        {48, families::selection},
    {55, families::selection},        {57, families::selection},        {67, families::selection},
    {70, families::selection},        {75, families::selection},        {81, families::selection},
    {83, families::selection},        {85, families::selection},
    {8,  families::gridPairs},        {84, families::gridPairs},
    {45, families::filledGrid},       {71, families::filledGrid},
    {22, families::heartsAside},
    // The gap games: cards moved into the gaps of the rows.
    {32, families::gapRows},          {46, families::gapRows},          {74, families::gapRows},
    // Games with goals of their own.
    {27, families::ownGoals},         {29, families::ownGoals},         {30, families::ownGoals},
    {31, families::ownGoals},         {34, families::ownGoals},         {42, families::ownGoals},
    {43, families::ownGoals},         {49, families::ownGoals},         {52, families::ownGoals},
    {58, families::ownGoals},         {62, families::ownGoals},         {63, families::ownGoals},
    {64, families::ownGoals},         {65, families::ownGoals},         {72, families::ownGoals},
    {82, families::ownGoals},         {35, families::discardTops},
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
