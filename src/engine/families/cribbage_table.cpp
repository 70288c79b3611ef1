// Cribbage games read from the table: the scored hand of cribbage patience, its total over the undo history, the full square.
#include "engine/families/cribbage_table.h"

#include <array>

#include "engine/history.h"

namespace cw::engine {
namespace {

// The card of a one-card pile, kNoCard when it holds none.
int cardOn(const Table& table, int pile)
{
    const int code = table.tableau(pile).top();
    return code > 0 ? code : kNoCard;
}

std::array<int, 4> fourFrom(const Table& table, int first)
{
    return {cardOn(table, first), cardOn(table, first + 1), cardOn(table, first + 2), cardOn(table, first + 3)};
}

bool holds(const Table& table, int pile) { return cardOn(table, pile) != kNoCard; }

} // namespace

CribbageTableScore scoreCribbageTable(const Table& table)
{
    CribbageTableScore s;
    const bool stockEmpty = table.stock().cardCount() == 0;
    if (holds(table, kStarterPile)) {
        const int starter = cardOn(table, kStarterPile);
        s.scored = true;
        const std::array<int, 4> crib = {cardOn(table, kCribPile1), cardOn(table, kCribPile1 + 1),
                                         cardOn(table, kLayAwayPile1), cardOn(table, kLayAwayPile1 + 1)};
        if (!stockEmpty)
            s.crib = scoreCribbageHand(CribbageKind::Crib, crib, starter);
        s.hand = scoreCribbageHand(CribbageKind::Hand, fourFrom(table, kHandPile1), starter);
        return s;
    }
    bool cribEmpty = true;
    for (int p = kCribPile1; p < kHandPile1; ++p)
        cribEmpty = cribEmpty && !holds(table, p);
    bool handDealt = false;
    for (int p = kHandPile1; p <= kLastHandPile; ++p)
        handDealt = handDealt || holds(table, p);
    if (stockEmpty && cribEmpty && handDealt) {
        s.scored = true;
        s.lastHand = true;
        s.hand = scoreCribbageHand(CribbageKind::Hand, fourFrom(table, kHandPile1), kNoCard);
    }
    return s;
}

int cribbagePatienceTotal(const HistoryList* undo, const Table& table)
{
    int total = 0;
    if (undo) {
        const auto& snapshots = undo->snapshots;
        Table before;
        bool hadStarter = false;
        for (std::size_t i = 0; i < snapshots.size(); ++i) {
            Table t;
            snapshots.restore(i, t);
            const bool starter = holds(t, kStarterPile);
            if (hadStarter && !starter)
                total += scoreCribbageTable(before).current();
            if (starter)
                before = t;
            hadStarter = starter;
        }
        if (hadStarter && !holds(table, kStarterPile))
            total += scoreCribbageTable(before).current();
    }
    const CribbageTableScore now = scoreCribbageTable(table);
    return total + (now.scored ? now.current() : 0);
}

std::optional<CribbageSquareScore> scoreCribbageSquareTable(const Table& table)
{
    std::array<int, kCribbageSquareCells> cells{};
    for (int p = 0; p < kCribbageSquareCells; ++p) {
        if (!holds(table, p))
            return std::nullopt;
        cells[static_cast<std::size_t>(p)] = cardOn(table, p);
    }
    const int starter = table.waste().top();
    if (starter <= 0)
        return std::nullopt;
    return scoreCribbageSquare(cells, starter);
}

} // namespace cw::engine
