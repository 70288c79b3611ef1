// Autoplay's completion step and the automatic fill of empty piles by rule parameter 25.
#include "engine/autoplay.h"

#include "engine/drop.h"
#include "engine/family.h"
#include "engine/moves.h"
#include "engine/rules_groups.h"

namespace cw::engine {
namespace {

constexpr Destinations kFoundationsOnly{true, false, false};

int topIndex(const Pile& p) { return p.empty() || p.top() == 0 ? -1 : static_cast<int>(p.size()) - 1; }

bool offerTop(Play& play, PileRef pile)
{
    const int i = topIndex(play.table().pile(pile));
    return i >= 0 && automaticDestination(play, pile, i, kFoundationsOnly, true);
}

// Moves the top card of source onto tableau pile c; false when source is empty.
bool fillFrom(Play& play, PileRef source, int c)
{
    const int i = topIndex(play.table().pile(source));
    return i >= 0 && moveCards(play, source, i, PileRef::tableau(c), false);
}

bool fillFromWasteOrStock(Play& play, int c)
{
    return fillFrom(play, PileRef::waste(), c) || fillFrom(play, PileRef::stock(), c);
}

bool inRange(int pile1, int lo, int hi) { return pile1 >= lo && pile1 <= hi; }

} // namespace

bool completionStep(Play& play)
{
    GameState& s = play.state;
    if (!s.dealFinished || (!play.options.autoplay && s.tutorMode == 0))
        return false;
    const bool tutor = s.tutorMode != 0;
    bool any = false;
    for (;;) {
        bool cycle = false;
        // Reserves, again and again while they give cards.
        for (bool pass = true; pass;) {
            pass = false;
            for (int r = 0; r < play.reserves(); ++r)
                if (offerTop(play, PileRef::reserve(r))) {
                    pass = true;
                    if (tutor)
                        break;
                }
            cycle = cycle || pass;
            if (tutor && pass)
                return true;
        }
        if (s.won)
            break;
        if (holdsCard(play.table().waste()) && play.rules.wasteLocked() == 0 && offerTop(play, PileRef::waste())) {
            cycle = true;
            if (tutor)
                return true;
        }
        if (s.won)
            break;
        for (int c = 0; c < play.tableaus(); ++c) {
            const Pile& p = play.table().tableau(c);
            if (!holdsCard(p))
                continue;
            if (p.top() != 0 && play.table().isFaceDown(p.top())) {
                if (tutor) {
                    turnUp(play, c);
                    return true;
                }
                if (play.options.automaticFaceUp && play.rules.tableauAutoFaceUp() == 1)
                    turnUp(play, c);
            }
            if (hasGrid(play) && !gridOpen(play, c))
                break;
            if (!tableauTopAvailable(play, c))
                continue;
            if (offerTop(play, PileRef::tableau(c))) {
                cycle = true;
                if (tutor)
                    return true;
                if (play.reserves() > 0 || s.won)
                    break;
            }
        }
        any = any || cycle;
        if (!cycle || s.won)
            break;
    }
    return any;
}

bool automaticFill(Play& play)
{
    const int v = play.rules.tableauAutoFill();
    if (v == 0 || (play.rules.firstMoveToFoundation() == 1 && play.state.movesMade == 0))
        return false;
    Table& t = play.table();
    const bool stockAndWasteEmpty = !holdsCard(t.stock()) && !holdsCard(t.waste());
    switch (v) {
    case 2:
    case 3:
    case 8:
    case 9:
    case 11:
    case 12:
    case 13:
    case 16:
    case 17:
    case 18:
    case 19:
    case 21:
        if (stockAndWasteEmpty)
            return false;
        break;
    case 1:
        if (!holdsCard(t.reserve(0)))
            return false;
        break;
    case 10:
        for (int r = 0; r < play.reserves(); ++r)
            if (holdsCard(t.reserve(r)))
                return false;
        break;
    case 4:
        if (play.eventRecorded(1))
            return false;
        break;
    default: break;
    }
    const int gridIndex = play.rules.tableauGridRows() * play.rules.tableauGridColumns();
    bool any = false;
    for (int c = 0; c < play.tableaus(); ++c) {
        if (holdsCard(t.tableau(c)))
            continue;
        const int n = c + 1;
        bool moved = false;
        switch (v) {
        case 1: moved = fillFrom(play, PileRef::reserve(0), c); break;
        case 2:
        case 4:
        case 8:
        case 10:
            if (c >= gridIndex)
                moved = fillFromWasteOrStock(play, c);
            break;
        case 3: moved = fillFrom(play, PileRef::stock(), c) || fillFrom(play, PileRef::waste(), c); break;
        case 5:
            for (int k = 0; k < 3; ++k)
                moved = fillFrom(play, PileRef::waste(), c) || moved;
            break;
        case 6:
            if (n == 1 || n == 7 || n == 8 || n == 14 || n == 15 || n == 21 || n == 22 || n == 28)
                moved = fillFrom(play, PileRef::waste(), c);
            break;
        case 7:
            if (n >= 11)
                moved = fillFrom(play, PileRef::stock(), c);
            break;
        case 9:
            for (int k = 0; k < 4; ++k)
                moved = fillFrom(play, PileRef::stock(), c) || moved;
            break;
        case 11:
            if (inRange(n, 25, 32))
                moved = fillFromWasteOrStock(play, c);
            break;
        case 12:
            for (int k = 0; k < 4; ++k)
                moved = fillFromWasteOrStock(play, c) || moved;
            break;
        case 14:
            if (inRange(n, 1, 8) || inRange(n, 17, 24)) {
                const int partner = n <= 8 ? c + 8 : c - 8;
                moved = fillFrom(play, PileRef::tableau(partner), c);
                for (int k = 15; !moved && k >= 8; --k)
                    if (holdsCard(t.tableau(k)))
                        moved = fillFrom(play, PileRef::tableau(k), c);
            }
            break;
        case 18:
            for (int k = 0; k < 4; ++k) {
                if (!fillFromWasteOrStock(play, c))
                    break;
                moved = true;
                if (k < 3)
                    t.setFace(t.tableau(c).top(), false);
            }
            break;
        case 19:
        case 20:
            if (v == 19 ? inRange(n, 15, 26) : inRange(n, 17, 25))
                moved = fillFromWasteOrStock(play, c);
            break;
        case 21:
            if (t.foundation(c % kFoundationPiles).cardCount() != 13 || c >= kFoundationPiles)
                moved = fillFromWasteOrStock(play, c);
            break;
        case 23:
            if (inRange(n, 25, 32)) {
                moved = fillFromWasteOrStock(play, c);
                for (int r = 3; !moved && r >= 0; --r)
                    moved = fillFrom(play, PileRef::reserve(r), c);
            }
            break;
        case 15: moved = play.family().fillGap(play, c); break;
        default: // 13, 16, 22: no tableau fill in this pass
            break;
        }
        any = any || moved;
    }
    switch (v) {
    case 17:
        if (holdsCard(t.stock())) {
            bool first = true;
            for (int c = 0; c < play.tableaus(); ++c) {
                if (c == 5 || holdsCard(t.tableau(c)))
                    continue;
                if (first && holdsCard(t.tableau(5))) {
                    first = false;
                    continue;
                }
                first = false;
                any = fillFrom(play, PileRef::stock(), c) || any;
            }
        }
        break;
    case 8:
    case 13:
        for (int r = 0; r < play.reserves(); ++r) {
            if (holdsCard(t.reserve(r)) || (v == 8 && r < gridIndex))
                continue;
            const PileRef target = PileRef::reserve(r);
            PileRef source = PileRef::stock();
            if (v == 8 && holdsCard(t.waste()))
                source = PileRef::waste();
            const int i = topIndex(t.pile(source));
            if (i >= 0)
                any = moveCards(play, source, i, target, false) || any;
        }
        break;
    case 16:
        for (int c = 0; c < play.tableaus(); ++c) {
            Pile& p = t.tableau(c);
            for (std::size_t i = 0; i < p.size() && i < 10; ++i) {
                if (p[i] != 0 || t.stock().empty())
                    continue;
                const int card = t.stock().pop();
                p.set(i, card);
                t.setFace(card, true);
                play.moved(card, PileRef::stock(), PileRef::tableau(c), true);
                any = true;
            }
        }
        break;
    case 22:
        for (int c = 0; c < 5 && c < play.tableaus(); ++c)
            if (!holdsCard(t.tableau(c)))
                any = fillFrom(play, PileRef::secondWaste(), c) || any;
        break;
    default: break;
    }
    if (any)
        testWon(play);
    return any;
}

std::string customAutoplayKey(int gameId)
{
    std::string digits = std::to_string(gameId);
    if (digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return "Cust_" + digits;
}

bool storedAutoplayOn(std::string_view gamesFlags, std::string_view customValue, int gameId)
{
    if (gameId >= kFirstCustomGameId)
        return customValue != "N";
    if (gameId < 0 || static_cast<std::size_t>(gameId) >= gamesFlags.size())
        return true;
    return gamesFlags[static_cast<std::size_t>(gameId)] != 'N';
}

std::string withAutoplayFlag(std::string gamesFlags, int gameId, bool on)
{
    if (gameId < 0 || gameId >= kFirstCustomGameId)
        return gamesFlags;
    const std::size_t i = static_cast<std::size_t>(gameId);
    if (gamesFlags.size() <= i)
        gamesFlags.resize(i + 10, 'Y');
    gamesFlags[i] = on ? 'Y' : 'N';
    return gamesFlags;
}

bool runAutoplay(Play& play)
{
    bool any = false;
    while (completionStep(play)) {
        any = true;
        automaticFill(play);
        if (play.state.won)
            break;
    }
    return any;
}

bool afterRelease(Play& play)
{
    bool any = automaticFill(play);
    if (play.options.autoplay)
        any = runAutoplay(play) || any;
    return any;
}

} // namespace cw::engine
