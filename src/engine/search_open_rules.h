// The rule tables of the open-game search and the kinds of source its building tables tell apart.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "catalog/rules.h"
#include "engine/card.h"
#include "engine/table.h"

namespace cw::engine {

namespace compact {

using CardSet = std::bitset<kLastCard + 1>;

// Lifted from where: the building test may tell them apart.
enum Source : int {
    kFromTableauSingle = 0,
    kFromTableauGroup = 1,
    kFromReserve = 2,
    kFromWaste = 3,
    kFromFoundation = 4,
    kSources = 5
};

// The index of a move that is a stock click.
constexpr std::uint8_t kClick = 255;

} // namespace compact

// What the rules of one game say, as tables over card codes (see search_open.h).
class OpenRules {
public:
    int tableaus = 0;
    int reserves = 0;
    int foundations = 0;
    int groupLimit = 0;
    int foundationCap = 0;
    int takeBack = 0; // 1: foundation top cards may be taken back; 2: while two or more are there
    // A stock that only feeds the waste: drawCount cards a click, the waste turned over when the
    // stock is empty while passes remain (deals: -1 any number).
    bool stock = false;
    int drawCount = 1;
    int deals = -1;
    std::array<bool, kReservePiles> cellTakes{};
    std::array<std::array<compact::CardSet, kLastCard + 1>, compact::kSources> tabOn{}; // [source][moving]: tops it goes on
    std::array<compact::CardSet, compact::kSources> tabEmpty{};                          // [source]: cards an empty column takes
    std::vector<std::array<compact::CardSet, kLastCard + 1>> foundOn;           // [f][moving]: tops it goes on
    std::vector<compact::CardSet> foundEmpty;                                   // [f]: cards an empty foundation takes
    std::vector<std::array<compact::CardSet, kLastCard + 1>> foundNext;         // [f][top]: cards that go on it
    std::array<compact::CardSet, kLastCard + 1> sequence{};                     // [lower]: cards that lift with it
    std::array<std::vector<std::uint8_t>, kLastCard + 1> builders;     // cards that may be built on a card
    std::array<int, kTablePiles> slot{};                               // hash slot per compact pile
    std::array<std::int8_t, kLastCard + 1> rankOf{};
    std::vector<int> cardList; // the cards in play
    std::vector<std::int8_t> pairScore; // [below * (kLastCard + 1) + card]: how well card sits on below
    bool safeHome = false;
    // The one other card every card that goes on a card also goes on (and lifts with), where
    // there is exactly one and the cards built on them are one rank lower; 0 for none. A run
    // lying on one of two such cards may as well lie on the other.
    std::array<std::uint8_t, kLastCard + 1> twin{};
    // For the test of positions no line can win (search_open_dead.h): the tops each card may be
    // built on when it leaves a column, the cards an empty column takes, the foundation cards
    // each card may follow and the cards that start a foundation.
    std::array<std::vector<std::uint8_t>, kLastCard + 1> buildsOn;
    compact::CardSet emptyColumnTakes;
    std::array<std::vector<std::uint8_t>, kLastCard + 1> homeAfter;
    compact::CardSet homeStarts;
    // What the tables were built for.
    catalog::Rules rules;
    compact::CardSet cards;

    // Compact pile order: tableau, reserves, stock and waste (when in play), foundations.
    int stockPile() const { return tableaus + reserves; }
    int wastePile() const { return tableaus + reserves + 1; }
    int homeFirst() const { return tableaus + reserves + (stock ? 2 : 0); }
    int piles() const { return homeFirst() + foundations; }
    PileRef ref(int i) const
    {
        if (i < tableaus)
            return PileRef::tableau(i);
        if (i < tableaus + reserves)
            return PileRef::reserve(i - tableaus);
        if (i < homeFirst())
            return i == stockPile() ? PileRef::stock() : PileRef::waste();
        return PileRef::foundation(i - homeFirst());
    }

    // The group-size test of the press (targetEmpty false) and of the drop on an empty column.
    bool fits(int n, int emptyColumns, int emptyCells, bool targetEmpty) const
    {
        switch (groupLimit) {
        case catalog::GroupLimit::Unlimited:
        case catalog::GroupLimit::Always: return true;
        case catalog::GroupLimit::CellsAndPiles:
        case catalog::GroupLimit::CellsAndPilesStrict:
            if (emptyColumns == 0)
                return n <= emptyCells + 1;
            if (groupLimit == catalog::GroupLimit::CellsAndPiles && !targetEmpty)
                return n <= emptyCells + emptyColumns + 1;
            return n <= emptyCells + emptyColumns;
        default:
            if (groupLimit < 0)
                return n <= std::max(emptyColumns, 1);
            return n <= groupLimit;
        }
    }
};

} // namespace cw::engine
