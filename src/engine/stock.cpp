// The stock: clicks by dealing scheme, drawing, dealing rows, turning the waste over and redeals.
#include "engine/stock.h"

#include <algorithm>
#include <string>

#include "engine/moves.h"

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

bool wasteFanned(const Play& play)
{
    return play.rules.stockPiles() != 0 && play.rules.stockShown() == 0 && play.rules.stockTurnsToWaste() == 1;
}

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
    const bool tableau = kind == RowKind::Tableaus || kind == RowKind::Tableau || kind == RowKind::TableausLast ||
                         kind == RowKind::Fill;
    int first = 0, last = tableau ? play.tableaus() : play.reserves();
    if (kind == RowKind::Tableau || kind == RowKind::Reserve) {
        first = only;
        last = only + 1;
        if (first < 0 || first >= (tableau ? kTableauPiles : kReservePiles))
            return false;
    }
    if (!tableau) {
        if (play.rules.stockDealsToReserve(0) == 5 && kind == RowKind::Reserves && play.rules.deals() != -1 &&
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
        switch (play.family()) {
        default: // family 29 clears piles that end in four of a kind after a tableau deal
            break;
        }
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
    switch (play.family()) {
    default: // family 60 runs its step before the draw
        break;
    }
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
    if (play.family() == 28) {
        ++play.state.stockClicks;
        play.recordEvent(2);
    }
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
    switch (play.family()) {
    default: // families 4, 67 and 83 update their selection in foundation 1
        break;
    }
    return true;
}

void takeAllOff(Play& play, PileRef p, std::vector<int>& out)
{
    Pile& pile = play.table().pile(p);
    for (int card : pile)
        if (card != 0) {
            out.push_back(card);
            play.moved(card, p, PileRef::stock(), false);
        }
    pile.clear();
}

// Deals the new order to the tableau piles in turn, by the initial deal's counts and faces.
void dealOut(Play& play, const std::vector<int>& order, int mode)
{
    Table& t = play.table();
    const int n = play.tableaus();
    if (n == 0) {
        for (int card : order)
            t.append(PileRef::stock(), card, false);
        return;
    }
    const bool capped = mode == 1 || mode == 6 || mode == 12;
    std::size_t next = 0;
    bool progress = true;
    while (next < order.size() && progress) {
        progress = false;
        for (int c = 0; c < n && next < order.size(); ++c) {
            const PileRef p = PileRef::tableau(c);
            if (capped && t.pile(p).cardCount() >= play.rules.tableauDeal(c))
                continue;
            const bool faceUp = play.rules.tableauDeal(c) == play.rules.tableauFace(c);
            const int card = order[next++];
            t.append(p, card, faceUp);
            play.moved(card, PileRef::stock(), p, faceUp);
            progress = true;
        }
        if (mode == 6)
            break;
    }
    // Cards no pile could take stay in the stock rather than vanish.
    for (; next < order.size(); ++next)
        t.append(PileRef::stock(), order[next], false);
    for (int c = 0; c < n; ++c) {
        if (play.rules.tableauFace(c) == 1 && play.rules.tableauDeal(c) > 1) {
            const int top = t.tableau(c).top();
            if (top != 0)
                t.setFace(top, true);
        }
    }
}

void gatherAndRedeal(Play& play, int mode)
{
    Table& t = play.table();
    std::vector<int> gathered;
    if (mode != 18 && mode != 22)
        for (int c = 0; c < play.tableaus(); ++c)
            takeAllOff(play, PileRef::tableau(c), gathered);
    if (mode == 10 || mode == 18 || mode == 22)
        for (int r = 0; r < play.reserves(); ++r)
            takeAllOff(play, PileRef::reserve(r), gathered);
    if (mode == 6) {
        std::size_t at = 0;
        for (int card : t.waste()) {
            if (card == 0)
                continue;
            if (at > gathered.size())
                at = 0;
            gathered.insert(gathered.begin() + static_cast<std::ptrdiff_t>(at), card);
            at += 3;
        }
        t.waste().clear();
    }
    std::vector<int> order = interleaveGathered(std::move(gathered));
    if (mode == 6) {
        // Every Ace moves to the front, keeping its order (a leading run of Aces stays first).
        std::vector<int> aces;
        std::vector<int> rest;
        for (int c : order)
            (rank(c) == 1 ? aces : rest).push_back(c);
        order = aces;
        order.insert(order.end(), rest.begin(), rest.end());
        std::size_t i = 0;
        for (int f = 0; f < play.foundations() && i < order.size() && rank(order[i]) == 1; ++f) {
            if (!t.foundation(f).empty())
                continue;
            t.append(PileRef::foundation(f), order[i], true);
            play.moved(order[i], PileRef::stock(), PileRef::foundation(f), true);
            ++i;
        }
        order.erase(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(i));
        while (order.size() > 54) {
            const int card = order.back();
            order.pop_back();
            t.append(PileRef::waste(), card, true);
        }
    }
    if (mode == 10) {
        for (int card : order)
            t.append(PileRef::stock(), card, false);
        return;
    }
    dealOut(play, order, mode);
}

// The top card of every non-empty tableau pile, last pile first, pass after pass.
std::vector<int> gatherInPasses(Play& play, PileRef to)
{
    Table& t = play.table();
    std::vector<int> out;
    bool any = true;
    while (any) {
        any = false;
        for (int c = play.tableaus() - 1; c >= 0; --c) {
            Pile& p = t.tableau(c);
            while (!p.empty() && p.top() == 0)
                p.pop();
            if (p.empty())
                continue;
            const int card = p.pop();
            out.push_back(card);
            play.moved(card, PileRef::tableau(c), to, false);
            any = true;
        }
    }
    return out;
}

void redealProcedure(Play& play)
{
    Table& t = play.table();
    const int mode = play.rules.redealMode();
    switch (mode) {
    case 7: // every pile's bottom card goes to its top
        for (int c = 0; c < play.tableaus(); ++c) {
            Pile& p = t.tableau(c);
            if (p.cardCount() < 2)
                continue;
            const int card = p.bottom();
            p.erase(0);
            t.append(PileRef::tableau(c), card, true);
            play.moved(card, PileRef::tableau(c), PileRef::tableau(c), true);
        }
        play.sound("Shuffle");
        break;
    case 4:
    case 5: { // the tableau goes back to the stock, last pile first, each from its deepest card
        const bool faceUp = wasteFanned(play);
        for (int c = play.tableaus() - 1; c >= 0; --c) {
            Pile& p = t.tableau(c);
            for (int card : p)
                if (card != 0) {
                    t.append(PileRef::stock(), card, faceUp);
                    play.moved(card, PileRef::tableau(c), PileRef::stock(), faceUp);
                }
            p.clear();
        }
        break;
    }
    case 8: // rows keep the suit run started by a Two at their start; the rest goes to the stock
        for (int c = 0; c < play.tableaus(); ++c) {
            Pile& p = t.tableau(c);
            std::size_t keep = 0;
            if (!p.empty() && rank(p[0]) == 2) {
                keep = 1;
                while (keep < p.size() && p[keep] != 0 && suit(p[keep]) == suit(p[0]) &&
                       rank(p[keep]) == rank(p[keep - 1]) + 1)
                    ++keep;
            }
            for (std::size_t i = keep; i < p.size(); ++i)
                if (p[i] != 0) {
                    t.append(PileRef::stock(), p[i], false);
                    play.moved(p[i], PileRef::tableau(c), PileRef::stock(), false);
                }
            while (p.size() > keep)
                p.pop();
            p.push(0);
        }
        break;
    case 11: { // gathered into the stock in passes, then the stock's order reversed
        std::vector<int> cards = gatherInPasses(play, PileRef::stock());
        for (auto it = cards.rbegin(); it != cards.rend(); ++it)
            t.append(PileRef::stock(), *it, false);
        break;
    }
    case 12: // gathered in passes and dealt out again without the interleave
        dealOut(play, gatherInPasses(play, PileRef::stock()), 12);
        break;
    case 13: { // the first pile with cards from pile d - 1 on keeps its top; the rest is dealt round
        int d = play.state.dealNumber;
        int c = std::max(d - 2, 0);
        while (c < play.tableaus() && !holdsCard(t.tableau(c))) {
            ++c;
            ++play.state.dealNumber;
        }
        if (c >= play.tableaus()) {
            ++play.state.dealNumber;
            break;
        }
        Pile& p = t.tableau(c);
        std::vector<int> cards(p.begin(), p.end() - 1);
        const int top = p.top();
        p.clear();
        p.push(top);
        int to = 0;
        for (int card : cards) {
            if (card == 0)
                continue;
            t.append(PileRef::tableau(to), card, true);
            play.moved(card, PileRef::tableau(c), PileRef::tableau(to), true);
            to = (to + 1) % std::max(play.tableaus(), 1);
        }
        play.sound("Shuffle");
        break;
    }
    case 20: { // once per game: up to eight cards from the bottom of the waste to reserves 1-8
        if (play.eventRecorded(4))
            break;
        play.recordEvent(4);
        for (int r = 0; r < 8 && r < play.reserves() && !t.waste().empty(); ++r) {
            const int card = t.waste().bottom();
            t.waste().erase(0);
            t.append(PileRef::reserve(r), card, true);
            play.moved(card, PileRef::waste(), PileRef::reserve(r), true);
        }
        play.sound("Shuffle");
        break;
    }
    case 19: { // the top card of each of the first seven piles onto its neighbour, direction alternating
        const int n = std::min(play.tableaus(), 7);
        int filled = 0;
        for (int c = 0; c < n; ++c)
            filled += holdsCard(t.tableau(c)) ? 1 : 0;
        if (filled < 2) {
            play.message("Only one pile left.  There are no more redeals.");
            break;
        }
        // Rightwards after odd redeals, leftwards after even ones; empty piles are passed over.
        const int step = play.state.dealNumber % 2 == 0 ? 1 : n - 1;
        int tops[7] = {0, 0, 0, 0, 0, 0, 0};
        for (int c = 0; c < n; ++c) {
            Pile& p = t.tableau(c);
            if (!p.empty() && p.top() != 0)
                tops[c] = p.pop();
        }
        bool moved = false;
        for (int c = 0; c < n; ++c) {
            if (tops[c] == 0)
                continue;
            int to = (c + step) % n;
            while (to != c && !holdsCard(t.tableau(to)) && tops[to] == 0)
                to = (to + step) % n;
            t.append(PileRef::tableau(to), tops[c], true);
            play.moved(tops[c], PileRef::tableau(c), PileRef::tableau(to), true);
            moved = moved || to != c;
        }
        if (!moved)
            play.message("No cards available to move.");
        play.sound("Shuffle");
        break;
    }
    case 9:
    case 14:
    case 15:
    case 16:
        // Hook: these redeals belong to the games that use them.
        break;
    default:
        gatherAndRedeal(play, mode);
        play.sound("Redeal");
        break;
    }
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
        // Hook: the family's partial score line.
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

bool dealsLeft(const Play& play)
{
    return play.rules.deals() == -1 || play.state.dealNumber < play.rules.deals();
}

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
    switch (play.family()) {
    default: // families 2, 4, 15, 28, 49, 51, 56, 60, 67, 73, 76, 80, 83 have their own stock rules
        break;
    }
    const ClickAction action = classify(play);
    if ((action == ClickAction::Turnover || action == ClickAction::Redeal) && !immediate &&
        !play.state.redealArmed) {
        const bool possible = action == ClickAction::Redeal
                                  ? dealsLeft(play)
                                  : (play.table().waste().cardCount() >= 2 && dealsLeft(play));
        if (possible) {
            play.state.redealArmed = true;
            // The pressed-stock picture shows on the stock, or where the waste lies.
            const PileRef shownOn =
                play.rules.stockShown() != 1 && play.rules.stockTurnsToWaste() == 1 ? PileRef::waste() : PileRef::stock();
            play.emit(Event{EventType::StockDown, 0, shownOn, {}, true, {}});
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
    play.emit(Event{EventType::StockUp, 0, shownOn, {}, true, {}});
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
    const bool scheme = v295 == 1 || v295 == 2 || lastTableauDealValue(play) == 1 ||
                        lastTableauDealValue(play) == 2 || v347 == 1 || lastReserveDealValue(play) == 1 ||
                        v347 == 3 || v347 == 4 || v295 == 8 || r.stockDealsToTableau(8) == 8 || v295 == 10 ||
                        v295 == 11 || v295 == 13 || v295 == 14 || v347 == 16 || r.waste2Arrangement() != 0;
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
