// The redeal procedures of rule parameter 17: gathering the tableau and dealing it again, and the special redeals.
#include "engine/stock_redeal.h"

#include <algorithm>
#include <vector>

#include "engine/family.h"
#include "engine/stock.h"

namespace cw::engine {
namespace {

bool wasteFanned(const Play& play)
{
    return play.rules.stockPiles() != 0 && play.rules.stockShown() == 0 && play.rules.stockTurnsToWaste() == 1;
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

} // namespace

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
        // These redeals belong to the families that use them.
        play.family().redeal(play, mode);
        break;
    default:
        gatherAndRedeal(play, mode);
        play.sound("Redeal");
        break;
    }
}

} // namespace cw::engine
