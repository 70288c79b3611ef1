// The card counter's model and grid: marks from the whole table, or from the piles one action touched.
#include "tools/core/card_counter.h"

#include <algorithm>

#include "engine/card.h"

namespace cw::tools {

using engine::PileKind;
using engine::PileRef;

namespace counter_grid {

int rowsInUse(int cardsInPlay)
{
    if (cardsInPlay > 156)
        return 16;
    if (cardsInPlay > 104)
        return 12;
    if (cardsInPlay > 52)
        return 8;
    return 4;
}

int rowOf(int code)
{
    if (code < 1 || code > engine::kLastDeckCard)
        return -1;
    const int deck = (code - 1) / 52;
    const int base = deck * 52 + engine::suit(code) * 13;
    for (int r = deck * 4; r < deck * 4 + 4; ++r)
        if (kRowBase[static_cast<std::size_t>(r)] == base)
            return r;
    return -1;
}

int codeAt(int row, int rank)
{
    if (row < 0 || row >= kMaxRows || rank < 1 || rank > 13)
        return 0;
    return kRowBase[static_cast<std::size_t>(row)] + rank;
}

int hitTest(int x, int y, int cardsInPlay)
{
    // The cell of rank r spans cellX(r) to cellX(r) + 13, the row r rowY(r) to rowY(r) + 17.
    if (x < cellX(1) || y < kTop)
        return 0;
    const int rank = (x - 2) / kCellWidth;
    const int row = (y - kTop) / kRowHeight;
    if (rank > 13 || row >= rowsInUse(cardsInPlay))
        return 0;
    const int code = codeAt(row, rank);
    return code <= cardsInPlay ? code : 0;
}

std::string headerPicture(int row)
{
    static const char* const names[] = {"card_clubs", "card_diamonds", "card_spades", "card_hearts"};
    return row >= 0 && row < kMaxRows ? names[row % 4] : "";
}

std::string cellPicture(int code, CounterMark mark, bool invert)
{
    if (mark == CounterMark::None || rowOf(code) < 0)
        return "Card_None";
    const bool up = (mark == CounterMark::Up) != invert;
    return "Card_" + std::to_string(engine::rank(code)) + (up ? "_Up" : "_Down") +
           (engine::isRed(code) ? "_red" : "_black");
}

} // namespace counter_grid

void CardCounterModel::set(int code, CounterMark mark, std::vector<int>* changed)
{
    if (code < 1 || code > engine::kLastDeckCard)
        return;
    CounterMark& m = m_marks[static_cast<std::size_t>(code)];
    if (m == mark)
        return;
    m = mark;
    if (changed)
        changed->push_back(code);
}

void CardCounterModel::markPile(const catalog::Rules& rules, const engine::Table& table, PileRef pile,
                                std::vector<int>* changed)
{
    if (!pile.valid())
        return;
    const engine::Pile& p = table.pile(pile);
    const auto n = p.size();
    auto byFace = [&](int code) { return table.isFaceDown(code) ? CounterMark::Down : CounterMark::Up; };
    // A pile the game does not use is never drawn: its cards (if any) count as outside.
    bool inUse = true;
    bool counted = m_filter.countsTable();
    switch (pile.kind) {
    case PileKind::Stock:
    case PileKind::Waste: counted = m_filter.countsStockGroup(); break;
    case PileKind::Tableau: inUse = pile.index < rules.tableauCount(); break;
    case PileKind::Foundation: inUse = pile.index < rules.foundationCount(); break;
    case PileKind::Reserve: inUse = pile.index < rules.reserveCount(); break;
    default: break;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const int code = p[i];
        if (code == engine::kPlaceholder)
            continue;
        CounterMark mark = CounterMark::None;
        if (counted && inUse) {
            switch (pile.kind) {
            case PileKind::Stock: mark = CounterMark::Down; break;
            case PileKind::Waste:
                // A waste beside a shown stock shows all its cards; a waste that is the only pile of
                // the stock group shows only its top card.
                if (rules.stockShown() == 1 && rules.stockTurnsToWaste() == 1)
                    mark = CounterMark::Up;
                else if (rules.stockShown() == 0 && rules.stockTurnsToWaste() == 1)
                    mark = i + 1 == n ? CounterMark::Up : CounterMark::Down;
                break;
            case PileKind::Reserve: mark = CounterMark::Up; break;
            default: mark = byFace(code); break;
            }
        }
        set(code, code <= m_cards ? mark : CounterMark::None, changed);
    }
}

void CardCounterModel::refresh(const catalog::Rules& rules, const engine::Table& table, const CounterFilter& filter,
                               std::vector<int>* changed)
{
    m_filter = filter;
    m_cards = std::clamp(rules.cardsInPlay(), 0, engine::kLastDeckCard);
    // Cards on no pile stay outside; every pile then sets the marks of its own cards.
    std::array<bool, engine::kLastDeckCard + 1> seen{};
    for (int position = 0; position < engine::kTablePiles; ++position)
        for (int code : table.pile(engine::pileAtTableOrder(position)))
            if (code > 0 && code <= engine::kLastDeckCard)
                seen[static_cast<std::size_t>(code)] = true;
    for (int code = 1; code <= engine::kLastDeckCard; ++code)
        if (!seen[static_cast<std::size_t>(code)])
            set(code, CounterMark::None, changed);
    for (int position = 0; position < engine::kTablePiles; ++position)
        markPile(rules, table, engine::pileAtTableOrder(position), changed);
}

void CardCounterModel::update(const catalog::Rules& rules, const engine::Table& table, const engine::Events& events,
                              std::vector<int>& changed)
{
    std::array<bool, engine::kTablePiles> touched{};
    auto touch = [&](PileRef pile) {
        const int at = engine::tableOrderIndex(pile);
        if (at >= 0)
            touched[static_cast<std::size_t>(at)] = true;
    };
    for (const engine::Event& e : events) {
        if (e.type != engine::EventType::CardMoved && e.type != engine::EventType::CardTurned)
            continue;
        touch(e.from);
        touch(e.to);
        if (e.type == engine::EventType::CardMoved && !e.to.valid())
            set(e.card, CounterMark::None, &changed); // off the table
    }
    for (int position = 0; position < engine::kTablePiles; ++position)
        if (touched[static_cast<std::size_t>(position)])
            markPile(rules, table, engine::pileAtTableOrder(position), &changed);
}

void CardCounterModel::clear(std::vector<int>* changed)
{
    for (int code = 1; code <= engine::kLastDeckCard; ++code)
        set(code, CounterMark::None, changed);
}

} // namespace cw::tools
