// The stock: clicks by dealing scheme, drawing, dealing rows, turning the waste over and redeals.
#include "engine/stock.h"

#include <algorithm>
#include <string>

#include "engine/family.h"
#include "engine/moves.h"
#include "engine/stock_redeal.h"

namespace cw::engine {
namespace {

constexpr const char* kFillGaps = "Fill in any gaps in the tableau before dealing.";
constexpr const char* kEmptyReserves = "You must play all the cards from the Reserves piles before dealing.";

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

int digitsAfter(std::string_view name, std::size_t at, int count)
{
    int n = 0, got = 0;
    for (std::size_t i = at; i < name.size() && got < count; ++i, ++got) {
        if (name[i] < '0' || name[i] > '9')
            break;
        n = n * 10 + (name[i] - '0');
    }
    return got == 0 ? 0 : n;
}

bool stockFaceDown(const Play& play) { return play.rules.stockFaceAtDeal() != 0; }

bool anyTableauEmpty(const Play& play)
{
    for (int c = 0; c < play.tableaus(); ++c)
        if (!holdsCard(play.table().tableau(c)))
            return true;
    return false;
}

int lastTableauDealValue(const Play& play) { return play.rules.stockDealsToTableau(std::max(play.tableaus() - 1, 0)); }
int lastReserveDealValue(const Play& play) { return play.rules.stockDealsToReserve(std::max(play.reserves() - 1, 0)); }

// Takes the stock's top card onto pile p; face down when faceUp is false.
bool dealOne(Play& play, PileRef p, bool faceUp)
{
    Table& t = play.table();
    if (t.stock().empty())
        return false;
    const int card = t.stock().pop();
    if (p.kind == PileKind::Tableau && play.rules.tableauFanStyle() == 8)
        t.append(PileRef::tableau(0), 0);
    t.append(p, card, faceUp);
    if (card != 0)
        play.moved(card, PileRef::stock(), p, faceUp);
    return true;
}

enum class RowKind { Tableaus, Tableau, Reserves, Reserve, TableausLast, Fill };

// Deals one card to each pile of the range whose deal value says so; stops when the stock runs out.
bool dealRow(Play& play, RowKind kind, int only)
{
    Table& t = play.table();
    if (t.stock().empty())
        return false;
    const bool tableau =
        kind == RowKind::Tableaus || kind == RowKind::Tableau || kind == RowKind::TableausLast || kind == RowKind::Fill;
    int first = 0, last = tableau ? play.tableaus() : play.reserves();
    if (kind == RowKind::Tableau || kind == RowKind::Reserve) {
        first = only;
        last = only + 1;
        if (first < 0 || first >= (tableau ? kTableauPiles : kReservePiles))
            return false;
    }
    if (!tableau) {
        if (play.rules.stockDealsToReserve(0) == 5 && kind == RowKind::Reserves && !play.rules.unlimitedDeals() &&
            play.state.dealNumber >= play.rules.deals())
            return false;
        if (play.rules.redealMode() == 18) {
            bool reservesEmpty = true;
            for (int r = 0; r < 3; ++r)
                reservesEmpty = reservesEmpty && !holdsCard(t.reserve(r));
            if (anyTableauEmpty(play) && !reservesEmpty) {
                play.message(kFillGaps);
                return false;
            }
            const int upTo = std::max(1, 4 - play.state.dealNumber);
            first = std::max(first, 0);
            last = std::min(last, upTo);
        }
    }
    bool dealt = false;
    for (int i = first; i < last; ++i) {
        const PileRef p = tableau ? PileRef::tableau(i) : PileRef::reserve(i);
        int value = tableau ? play.rules.stockDealsToTableau(i) : play.rules.stockDealsToReserve(i);
        if (kind == RowKind::Fill)
            value = !holdsCard(t.pile(p)) ? 1 : 0;
        else if (kind == RowKind::TableausLast)
            value = 1;
        if (value < 1 || value > 16)
            continue;
        if (tableau && value == 7 && !holdsCard(t.pile(p)))
            continue;
        const bool faceDown = tableau ? value == 6 : value == 5;
        if (!dealOne(play, p, !faceDown))
            break;
        dealt = true;
    }
    if (dealt) {
        play.sound("Stock");
        play.family().afterStockDeal(play, tableau ? PileKind::Tableau : PileKind::Reserve, first, last);
        testWon(play);
    }
    return dealt;
}

// Draws up to parameter 24 cards from the stock to the waste (or to the second waste).
bool draw(Play& play, bool toSecondWaste)
{
    Table& t = play.table();
    if (play.state.tutorMode == 1 || t.stock().empty())
        return false;
    play.family().beforeDraw(play);
    if (play.rules.stockDealsToTableau(0) == 12)
        dealRow(play, RowKind::Tableaus, -1);
    const PileRef to = toSecondWaste ? PileRef::secondWaste() : PileRef::waste();
    const int count = std::max(play.rules.cardsPerClick(), 1);
    bool drew = false;
    for (int k = 0; k < count && !t.stock().empty(); ++k) {
        const int card = t.stock().pop();
        t.append(to, card, true);
        if (card == 0)
            continue;
        drew = true;
        play.moved(card, PileRef::stock(), to, true);
        if (!t.stock().empty() && t.stock().top() != 0)
            t.setFace(t.stock().top(), !stockFaceDown(play));
    }
    if (drew)
        play.sound("Stock");
    play.family().afterDraw(play, drew);
    testWon(play);
    return drew;
}

// Turns the waste back onto the stock, top card first.
bool turnWasteOver(Play& play)
{
    Table& t = play.table();
    if (t.waste().cardCount() < 2 || !dealsLeft(play))
        return false;
    ++play.state.dealNumber;
    const bool faceUp = !stockFaceDown(play);
    while (!t.waste().empty()) {
        const int card = t.waste().pop();
        t.append(PileRef::stock(), card, faceUp);
        if (card != 0)
            play.moved(card, PileRef::waste(), PileRef::stock(), faceUp);
    }
    play.sound("Redeal");
    play.family().afterTurnover(play);
    return true;
}

bool redeal(Play& play)
{
    const int mode = play.rules.redealMode();
    if (!dealsLeft(play) || (!play.table().stock().empty() && mode != 6))
        return false;
    ++play.state.dealNumber;
    redealProcedure(play);
    if (mode != 15 && mode != 20)
        play.recordEvent(3);
    testWon(play);
    return true;
}

// What a click would do, with the two-phase actions flagged.
enum class ClickAction { None, Draw, DrawSecond, Turnover, Redeal, Scheme };

ClickAction classify(const Play& play)
{
    const Table& t = play.table();
    const catalog::Rules& r = play.rules;
    if (r.stockTurnsToWaste() != 1) {
        if (r.redealMode() >= 1 && t.stock().empty())
            return ClickAction::Redeal;
        if (r.redealMode() == 6)
            return ClickAction::Redeal;
        return ClickAction::Scheme;
    }
    if (r.stockDealsToTableau(0) == 9 || r.stockDealsToTableau(0) == 15)
        return ClickAction::Scheme;
    const int restriction = r.drawRestriction();
    const bool wasteEmpty = !holdsCard(t.waste());
    if (restriction == 1 && !wasteEmpty)
        return ClickAction::None;
    if (restriction == 2 && !wasteEmpty && play.state.dealNumber < 3)
        return ClickAction::None;
    if (t.stock().empty())
        return r.redealMode() >= 1 ? ClickAction::Redeal : ClickAction::Turnover;
    return ClickAction::Draw;
}

bool runScheme(Play& play)
{
    Table& t = play.table();
    const catalog::Rules& r = play.rules;
    const int v295 = r.stockDealsToTableau(0);
    const int v347 = r.stockDealsToReserve(0);
    if (r.stockTurnsToWaste() == 1) {
        if (v295 == 9) {
            bool needed = false, changed = false;
            for (int c = 0; c < play.tableaus(); ++c) {
                while (t.tableau(c).cardCount() < 3) {
                    needed = true;
                    if (t.stock().empty()) {
                        if (holdsCard(t.waste()) && dealsLeft(play))
                            changed = turnWasteOver(play) || changed;
                        if (t.stock().empty())
                            break;
                    }
                    changed = dealRow(play, RowKind::Tableau, c) || changed;
                }
            }
            if (!needed)
                return executeStockMove(play, "Mazzo_Vis");
            return changed;
        }
        // v295 == 15: the first three clicks deal rows, later ones draw.
        if (play.state.eventCounts[2] < 3 && !t.stock().empty()) {
            play.recordEvent(2);
            return executeStockMove(play, "Add_Tableaus");
        }
        return executeStockMove(play, "Mazzo_Vis");
    }
    const int last295 = lastTableauDealValue(play);
    if (v295 == 1 || last295 == 1) {
        bool changed = executeStockMove(play, "Add_Tableaus");
        if (v347 == 5)
            changed = executeStockMove(play, "Add_Reserves") || changed;
        return changed;
    }
    if (v295 == 2 || last295 == 2) {
        if (anyTableauEmpty(play)) {
            play.message(kFillGaps);
            return false;
        }
        return executeStockMove(play, "Add_Tableaus");
    }
    if (v347 == 1 || lastReserveDealValue(play) == 1)
        return executeStockMove(play, "Add_Reserves");
    if (v347 == 3) {
        if (t.stock().cardCount() != 8) {
            bool changed = executeStockMove(play, "Add_Reserves");
            return executeStockMove(play, "Add_Reserves") || changed;
        }
        return executeStockMove(play, "Add_Tableaus_Last");
    }
    if (v347 == 4) {
        if (t.stock().empty())
            return false;
        if (play.state.tutorMode == 0)
            ++play.state.stockClicks;
        const int k = play.state.stockClicks % 2 == 1 ? 1 : 2;
        const std::string name = "Add_Reserve_" + std::to_string(k);
        bool changed = false;
        for (int i = 0; i < 3; ++i)
            changed = executeStockMove(play, name) || changed;
        play.recordEvent(2);
        return changed;
    }
    if (v295 == 8 || r.stockDealsToTableau(8) == 8) {
        bool changed = false;
        for (int c = 0; c < play.tableaus(); ++c)
            if (r.stockDealsToTableau(c) == 8)
                for (int k = 0; k < 4; ++k)
                    changed = dealRow(play, RowKind::Tableau, c) || changed;
        return changed;
    }
    if (v295 == 10) {
        if (t.stock().empty())
            return false;
        ++play.state.stockClicks;
        bool changed = false;
        const int from = 8 * play.state.stockClicks - 16;
        for (int c = from; c < from + 8; ++c) {
            if (c < 0 || c >= play.tableaus())
                continue;
            changed = dealOne(play, PileRef::tableau(c), true) || changed;
            if (changed && play.state.tutorMode != 0)
                break;
        }
        return changed;
    }
    if (v295 == 11) {
        if (t.stock().empty())
            return false;
        ++play.state.stockClicks;
        bool changed = false;
        for (int c = 0; c < play.tableaus(); ++c)
            changed = dealOne(play, PileRef::tableau(c), true) || changed;
        return changed;
    }
    if (v295 == 13) {
        bool changed = false;
        if (!holdsCard(t.tableau(0))) {
            changed = dealOne(play, PileRef::tableau(0), true);
            changed = dealOne(play, PileRef::tableau(1), true) || changed;
        } else if (!holdsCard(t.tableau(2))) {
            changed = dealOne(play, PileRef::tableau(2), true);
        }
        if (changed)
            play.family().afterStockDeal(play, PileKind::Tableau, 0, 3);
        return changed;
    }
    if (v295 == 14) {
        const int cards = t.stock().cardCount();
        if (cards > play.tableaus())
            return executeStockMove(play, "Add_Tableaus");
        bool changed = false;
        for (int c = 0; c < cards - 4 && c < play.tableaus(); ++c)
            changed = dealOne(play, PileRef::tableau(c), true) || changed;
        for (int k = 0; k < 4 && k < play.reserves(); ++k)
            changed = dealOne(play, PileRef::reserve(k), true) || changed;
        return changed;
    }
    if (v347 == 16) {
        bool empty = true;
        for (int k = 0; k < 5; ++k)
            empty = empty && !holdsCard(t.reserve(k));
        if (!empty) {
            if (play.state.tutorMode == 0)
                play.message(kEmptyReserves);
            return false;
        }
        bool changed = false;
        for (int k = 0; k < 5 && k < play.reserves(); ++k)
            changed = dealOne(play, PileRef::reserve(k), true) || changed;
        return changed;
    }
    if (r.waste2Arrangement() != 0)
        return executeStockMove(play, "Mazzo_Waste");
    return false;
}

} // namespace

bool dealsLeft(const Play& play) { return play.rules.unlimitedDeals() || play.state.dealNumber < play.rules.deals(); }

std::vector<int> interleaveGathered(std::vector<int> gathered)
{
    std::vector<int> order;
    order.reserve(gathered.size());
    std::size_t index = gathered.size() / 2;
    while (!gathered.empty()) {
        if (index >= gathered.size())
            index = 0;
        order.push_back(gathered[index]);
        gathered.erase(gathered.begin() + static_cast<std::ptrdiff_t>(index));
        index += order.size() % 2 == 1 ? 2 : 5;
    }
    return order;
}

bool executeStockMove(Play& play, std::string_view name)
{
    Table& t = play.table();
    if (name == "Mazzo_Vis" || name == "Mazzo_Waste") {
        if (!t.stock().empty())
            return draw(play, name == "Mazzo_Waste");
        if (play.rules.redealMode() >= 1 && dealsLeft(play))
            return redeal(play);
        return turnWasteOver(play);
    }
    if (name == "Mazzo_Redeal")
        return redeal(play);
    if (play.state.tutorMode == 1)
        return false;
    if (name == "Add_Tableaus_Last")
        return dealRow(play, RowKind::TableausLast, -1);
    if (name == "Add_Tableaus")
        return dealRow(play, RowKind::Tableaus, -1);
    if (name == "Fill_Tableaus")
        return dealRow(play, RowKind::Fill, -1);
    if (startsWith(name, "Add_Tableau_"))
        return dealRow(play, RowKind::Tableau, digitsAfter(name, 12, 2) - 1);
    if (name == "Add_Reserves")
        return dealRow(play, RowKind::Reserves, -1);
    if (startsWith(name, "Add_Reserve_"))
        return dealRow(play, RowKind::Reserve, digitsAfter(name, 12, 1) - 1);
    return false;
}

bool stockClick(Play& play, bool immediate)
{
    if (const Handled h = play.family().stockClick(play, immediate); h != Handled::No)
        return h == Handled::Changed;
    const ClickAction action = classify(play);
    if ((action == ClickAction::Turnover || action == ClickAction::Redeal) && !immediate && !play.state.redealArmed) {
        const bool possible = action == ClickAction::Redeal
                                  ? dealsLeft(play)
                                  : (play.table().waste().cardCount() >= 2 && dealsLeft(play));
        if (possible) {
            play.state.redealArmed = true;
            // The pressed-stock picture shows on the stock, or where the waste lies.
            const PileRef shownOn = play.rules.stockShown() != 1 && play.rules.stockTurnsToWaste() == 1
                                        ? PileRef::waste()
                                        : PileRef::stock();
            play.addEvent(Event{EventType::StockDown, 0, shownOn, {}, true, {}});
        }
        return false;
    }
    play.state.redealArmed = false;
    bool changed = false;
    switch (action) {
    case ClickAction::None: return false;
    case ClickAction::Draw: changed = executeStockMove(play, "Mazzo_Vis"); break;
    case ClickAction::DrawSecond: changed = executeStockMove(play, "Mazzo_Waste"); break;
    case ClickAction::Turnover: changed = turnWasteOver(play); break;
    case ClickAction::Redeal: changed = redeal(play); break;
    case ClickAction::Scheme: changed = runScheme(play); break;
    }
    if (changed)
        countMove(play);
    return changed;
}

bool stockRelease(Play& play)
{
    if (!play.state.redealArmed)
        return false;
    const PileRef shownOn =
        play.rules.stockShown() != 1 && play.rules.stockTurnsToWaste() == 1 ? PileRef::waste() : PileRef::stock();
    play.addEvent(Event{EventType::StockUp, 0, shownOn, {}, true, {}});
    return stockClick(play, true);
}

bool wasteClick(Play& play)
{
    const Table& t = play.table();
    if (play.rules.redealMode() >= 1 && t.stock().empty() && t.waste().empty())
        return redeal(play);
    return false;
}

bool stockClickAvailable(const Play& play)
{
    if (play.family().special())
        if (const std::optional<bool> available = play.family().stockClickAvailable(play))
            return *available;
    const Table& t = play.table();
    const catalog::Rules& r = play.rules;
    switch (classify(play)) {
    case ClickAction::None: return false;
    case ClickAction::Draw:
    case ClickAction::DrawSecond: return !t.stock().empty();
    case ClickAction::Turnover: return t.waste().cardCount() >= 2 && dealsLeft(play);
    case ClickAction::Redeal: return dealsLeft(play);
    case ClickAction::Scheme: break;
    }
    if (r.stockTurnsToWaste() == 1)
        return !t.stock().empty() || (t.waste().cardCount() >= 2 && dealsLeft(play));
    if (t.stock().empty())
        return false;
    const int v295 = r.stockDealsToTableau(0);
    const int v347 = r.stockDealsToReserve(0);
    const bool scheme = v295 == 1 || v295 == 2 || lastTableauDealValue(play) == 1 || lastTableauDealValue(play) == 2 ||
                        v347 == 1 || lastReserveDealValue(play) == 1 || v347 == 3 || v347 == 4 || v295 == 8 ||
                        r.stockDealsToTableau(8) == 8 || v295 == 10 || v295 == 11 || v295 == 13 || v295 == 14 ||
                        v347 == 16 || r.waste2Arrangement() != 0;
    if (!scheme)
        return false;
    if ((v295 == 2 || lastTableauDealValue(play) == 2) && anyTableauEmpty(play))
        return false;
    if (r.stockDealsToReserve(0) == 16)
        for (int k = 0; k < 5; ++k)
            if (holdsCard(t.reserve(k)))
                return false;
    return true;
}

} // namespace cw::engine
