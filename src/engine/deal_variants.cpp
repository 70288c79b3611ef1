// Deal variants: deck filters, foundation starters and set-ups, post-deal steps and deal patterns.
#include <algorithm>
#include <string>

#include "engine/deal_steps.h"
#include "engine/family.h"
#include "engine/shuffle.h"

namespace cw::engine::dealsteps {

namespace {

bool isKing(int code) { return rank(code) == 13; }

// A joker gives -2 as a base rank for every foundation.
int baseRankOf(int code) { return isJoker(code) ? -2 : rank(code); }

// One rank up, a king giving the ace; one rank down, an ace giving the king.
int rankAbove(int r) { return r >= 13 ? 1 : r + 1; }
int rankBelow(int r) { return r <= 1 ? 13 : r - 1; }

void keepOnly(Context& c, auto keep)
{
    std::erase_if(c.cards, [&](int code) { return !keep(code); });
}

void filterRankOnce(Context& c, int lastRank, int onlySuit)
{
    std::vector<int> kept;
    std::vector<bool> seen(14, false);
    for (int code : c.cards) {
        const int r = rank(code);
        if (r < 1 || r > lastRank || seen[static_cast<std::size_t>(r)])
            continue;
        if (onlySuit >= 0 && suit(code) != onlySuit)
            continue;
        seen[static_cast<std::size_t>(r)] = true;
        kept.push_back(code);
    }
    c.cards = std::move(kept);
}

// Jacks, queens and kings leave the array; they are kept aside for the foundations of pattern 21.
void setPictureCardsAside(Context& c)
{
    for (int code : c.cards)
        if (isPictureCard(code))
            c.setAside.push_back(code);
    keepOnly(c, [](int code) { return !isPictureCard(code); });
}

// The bottom card of a foundation, 0 when it is empty.
int firstCardOf(const Pile& p)
{
    for (int code : p)
        if (code != 0)
            return code;
    return 0;
}

// The foundations a card of tableau pile k may go to in the post-deal sweeps.
std::vector<int> sweepTargets(Context& c, int mode, int k)
{
    std::vector<int> targets;
    const int f = c.foundations();
    auto range = [&](int from, int to) {
        for (int i = from; i <= to && i < f; ++i)
            targets.push_back(i);
    };
    if (mode == 94)
        range(k, k);
    else if (mode == 95) {
        if (k <= 3)
            range(0, 3);
        else if (k >= 6 && k <= 9)
            range(4, 7);
        else
            range(0, 7);
    } else
        range(0, f - 1);
    return targets;
}

// Offers a tableau card to its foundations; true when it moved.
bool offerToFoundations(Context& c, int mode, int k, std::size_t i)
{
    const int code = c.table().tableau(k)[i];
    if (code == 0)
        return false;
    for (int f : sweepTargets(c, mode, k)) {
        if (c.accepts(f, code)) {
            moveToFoundation(c, PileRef::tableau(k), i, f);
            return true;
        }
    }
    return false;
}

// Every tableau card is offered to the foundations, row by row across the piles or pile by
// pile; after a move the same position is looked at again.
void postDealSweep(Context& c, int mode)
{
    const int piles = c.tableaus();
    Table& t = c.table();
    if (c.rules.postDealOrder() == 0) {
        for (std::size_t depth = 0;; ++depth) {
            bool any = false;
            for (int k = 0; k < piles; ++k) {
                while (depth < t.tableau(k).size() && offerToFoundations(c, mode, k, depth)) {
                }
                any = any || depth < t.tableau(k).size();
            }
            if (!any)
                break;
        }
    } else {
        for (int k = 0; k < piles; ++k)
            for (std::size_t depth = 0; depth < t.tableau(k).size(); ++depth)
                while (depth < t.tableau(k).size() && offerToFoundations(c, mode, k, depth)) {
                }
    }
}

// Aces found by depth across the given piles go to the first foundation that takes them; the
// gap is filled from the stock (or the waste once the stock is empty) on top of that pile.
void aceSweep(Context& c, PileKind kind, int piles)
{
    Table& t = c.table();
    for (std::size_t depth = 0;; ++depth) {
        bool any = false;
        for (int k = 0; k < piles; ++k) {
            const PileRef pile{kind, k};
            while (depth < t.pile(pile).size()) {
                const int code = t.pile(pile)[depth];
                if (rank(code) != 1)
                    break;
                int target = -1;
                for (int f = 0; f < c.foundations() && target < 0; ++f)
                    if (c.accepts(f, code))
                        target = f;
                if (target < 0)
                    break;
                moveToFoundation(c, pile, depth, target);
                c.state.score += 5;
                const PileRef source = !t.stock().empty() ? PileRef::stock() : PileRef::waste();
                if (!t.pile(source).empty())
                    t.append(pile, t.pile(source).pop(), true);
            }
            any = any || depth < t.pile(pile).size();
        }
        if (!any)
            break;
    }
}

void kingsToBottom(Context& c)
{
    for (int k = 0; k < kTableauPiles; ++k) {
        Pile& p = c.table().tableau(k);
        for (std::size_t i = 1; i < p.size(); ++i) {
            if (isKing(p[i])) {
                const int code = p[i];
                p.erase(i);
                p.insert(0, code);
            }
        }
    }
}

// Pattern 2 and 4: each card of the marker rank starts the next pile; the array is read from
// its first marker to the end and then from its start, so no card is left out.
void dealRunsFromMarkers(Context& c, int markerRank)
{
    const int first = c.findFirst([&](int code) { return rank(code) == markerRank; });
    if (first < 0)
        return;
    std::rotate(c.cards.begin(), c.cards.begin() + first, c.cards.end());
    int pile = -1;
    for (int code : c.cards) {
        if (rank(code) == markerRank && pile < kTableauPiles - 1)
            ++pile;
        c.table().append(PileRef::tableau(pile), code, true);
    }
    c.cards.clear();
    const int mode = c.rules.foundationInitialCard(0);
    postDealSweep(c, (mode == 94 || mode == 95) ? mode : 93);
}

void pattern1KingsToStock(Context& c)
{
    Table& t = c.table();
    auto handle = [&](PileRef pileRef) {
        Pile& p = t.pile(pileRef);
        if (p.empty() || !isKing(p.bottom()))
            return;
        // The emptied pile's cards go under the stock, the king lowest.
        std::vector<int> moved(p.begin(), p.end());
        p.clear();
        for (auto it = moved.rbegin(); it != moved.rend(); ++it)
            t.stock().insert(0, *it);
        t.setFace(t.stock().top(), false);
        Pile& stock = t.stock();
        for (std::size_t i = 0; i < stock.size(); ++i) {
            if (stock[i] != 0 && !isKing(stock[i])) {
                const int code = stock[i];
                stock.erase(i);
                t.append(pileRef, code, true);
                break;
            }
        }
    };
    for (int k = 0; k < kTableauPiles; ++k)
        handle(PileRef::tableau(k));
    for (int f = 0; f < kFoundationPiles; ++f)
        handle(PileRef::foundation(f));
}

void pattern3DistinctRanks(Context& c)
{
    Table& t = c.table();
    const int piles = c.tableaus();
    std::vector<int> pool;
    for (int k = 0; k < piles; ++k) {
        for (int code : t.tableau(k))
            if (code != 0)
                pool.push_back(code);
        const std::size_t positions = t.tableau(k).size();
        t.tableau(k).clear();
        for (std::size_t i = 0; i < positions; ++i)
            t.tableau(k).push(0);
    }
    for (int k = 0; k < piles; ++k) {
        Pile& p = t.tableau(k);
        for (std::size_t pos = 0; pos < p.size(); ++pos) {
            auto fits = std::find_if(pool.begin(), pool.end(), [&](int code) {
                return std::none_of(p.begin(), p.end(),
                                    [&](int held) { return held != 0 && rank(held) == rank(code); });
            });
            if (fits == pool.end())
                break;
            p.set(static_cast<std::size_t>(p.find(0)), *fits);
            pool.erase(fits);
        }
    }
    // When no remaining card has a rank new to some pile, the leftovers take the open
    // positions in pile order rather than leave the table.
    for (int k = 0; k < piles && !pool.empty(); ++k) {
        Pile& p = t.tableau(k);
        for (int i = p.find(0); i >= 0 && !pool.empty(); i = p.find(0)) {
            p.set(static_cast<std::size_t>(i), pool.front());
            pool.erase(pool.begin());
        }
    }
}

std::vector<int> reorderPattern18(std::vector<int> cards)
{
    std::vector<int> result;
    if (cards.empty())
        return result;
    int b = rank(cards[cards.size() / 2]);
    while (!cards.empty()) {
        if (b > static_cast<int>(cards.size()) - 1 || b < 0)
            b = 0;
        result.push_back(cards[static_cast<std::size_t>(b)]);
        cards.erase(cards.begin() + b);
        if (!cards.empty())
            b = rank(cards.front()) + 2 + (cards.size() % 2 == 0 ? 1 : 0);
    }
    return result;
}

void pattern18(Context& c)
{
    for (std::size_t i = 0; i < 21 && i < c.cards.size();) {
        if (isPictureCard(c.cards[i]))
            c.cards.erase(c.cards.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    for (std::size_t g = 0; g < 4; ++g) {
        int sum = 0;
        for (std::size_t i = g * 4; i < g * 4 + 4 && i < c.cards.size(); ++i)
            sum += rank(c.cards[i]);
        c.state.gameCounters[g] = sum;
    }
    if (c.cards.size() > 16)
        c.cards.resize(16);
    c.cards = reorderPattern18(std::move(c.cards));
    for (std::size_t i = 0; i < c.cards.size(); ++i)
        c.table().append(PileRef::tableau(static_cast<int>(i)), c.cards[i], true);
    c.cards.clear();
}

// Five distinct digits from characters 3, 5, 8, 10 and 12 of the game number; a repeated digit
// becomes the next one (9 followed by 0) not yet taken.
std::string digitPattern(const std::string& gameNumber)
{
    const auto digits = gameNumberDigits(gameNumber);
    std::string pattern;
    for (int pos : {3, 5, 8, 10, 12}) {
        int d = digits[static_cast<std::size_t>(pos - 1)];
        while (pattern.find(static_cast<char>('0' + d)) != std::string::npos)
            d = (d + 1) % 10;
        pattern += static_cast<char>('0' + d);
    }
    return pattern;
}

void pattern19(Context& c)
{
    std::string pattern = digitPattern(c.state.gameNumber);
    int l = 0;
    while (l < 10 && !c.cards.empty()) {
        const int code = c.takeFront();
        const int r = rank(code);
        if (r < 1 || r > 10)
            continue;
        const auto at = pattern.find(static_cast<char>('0' + r % 10));
        if (at != std::string::npos) {
            pattern.erase(at, 1);
        } else if (9 - l < static_cast<int>(pattern.size())) {
            continue;
        }
        c.table().append(PileRef::tableau(l), code, true);
        ++l;
    }
}

void applyDealPattern(Context& c)
{
    Table& t = c.table();
    const int piles = c.tableaus();
    switch (c.rules.dealPattern()) {
    case 1: pattern1KingsToStock(c); break;
    case 2: dealRunsFromMarkers(c, 13); break;
    case 4: dealRunsFromMarkers(c, 12); break;
    case 3: pattern3DistinctRanks(c); break;
    case 5:
    case 6: {
        const int shift = c.rules.dealPattern() == 5 ? 1 : 0;
        std::vector<int> left;
        for (int code : c.cards) {
            const int pile = rank(code) - shift;
            if (pile >= 1 && pile <= kTableauPiles)
                t.append(PileRef::tableau(pile - 1), code, true);
            else
                left.push_back(code);
        }
        c.cards = std::move(left);
        break;
    }
    case 7:
        for (int k = 0; k < piles && k < kFoundationPiles; ++k) {
            Pile& p = t.tableau(k);
            if (!p.empty() && c.accepts(k, p.bottom()))
                moveToFoundation(c, PileRef::tableau(k), 0, k);
        }
        break;
    case 8:
    case 21:
        for (int k = 0; k < kTableauPiles; ++k) {
            Pile& p = t.tableau(k);
            for (std::size_t i = 0; i < p.size(); ++i)
                if (rank(p[i]) == 1) {
                    c.setAside.push_back(p[i]);
                    p.set(i, 0);
                }
        }
        if (c.rules.dealPattern() == 21) {
            const char* sets[4] = {"014027040001", "024037050011", "025038051012", "026039052013"};
            for (int f = 0; f < 4; ++f)
                t.foundation(f).clear();
            for (int f = 0; f < 4; ++f) {
                const std::string s = sets[f];
                for (std::size_t i = 0; i < s.size(); i += 3) {
                    // A card the deal placed elsewhere moves here, so no card lies twice; a
                    // card the pack does not hold (a reduced pack) is left out.
                    const int code = std::stoi(s.substr(i, 3));
                    const auto aside = std::find(c.setAside.begin(), c.setAside.end(), code);
                    const bool inPack = aside != c.setAside.end() || c.takeCode(code) ||
                                        t.locateCard(code, EditMode::Remove, kTableauPiles).valid();
                    if (aside != c.setAside.end())
                        c.setAside.erase(aside);
                    if (inPack)
                        t.append(PileRef::foundation(f), code, true);
                }
            }
        }
        break;
    case 9: {
        const int T = c.rules.tableauCount();
        const int code = T > 13 ? T + 13 : T;
        for (int k = 0; k < kTableauPiles; ++k)
            if (!t.tableau(k).empty() && t.tableau(k).bottom() == code) {
                t.tableau(k).clear();
                break;
            }
        break;
    }
    case 10:
        if (piles >= 2)
            t.tableau(c.random.next(piles - 1)).clear();
        break;
    case 13:
        for (int f = 0; f < c.foundations(); ++f) {
            t.foundation(f).clear();
            if (static_cast<std::size_t>(f) < c.cards.size())
                t.append(PileRef::foundation(f), c.cards[static_cast<std::size_t>(f)], true);
        }
        // The array keeps these cards; they leave play with the rest of it.
        break;
    case 15:
        for (int k = 0; k < piles; ++k) {
            Pile& p = t.tableau(k);
            for (std::size_t i = 0; i < p.size(); ++i)
                if (isKing(p[i]))
                    p.set(i, 0);
            while (p.size() < 9)
                p.push(0);
        }
        break;
    case 17: {
        int count = 1;
        for (int code : c.cards) {
            if (rank(code) == count) {
                t.append(PileRef::stock(), code, false);
                continue;
            }
            t.append(count == 13 ? PileRef::reserve(0) : PileRef::tableau(count - 1), code, true);
            count = count == 13 ? 1 : count + 1;
        }
        c.cards.clear();
        break;
    }
    case 18: pattern18(c); break;
    case 19: pattern19(c); break;
    case 20:
        for (int k = 0; k < 4; ++k) {
            Pile& p = t.tableau(k);
            for (std::size_t i = 0; i < p.size();) {
                if (!isKing(p[i])) {
                    ++i;
                    continue;
                }
                int empty = -1;
                for (int f = 0; f < c.foundations() && empty < 0; ++f)
                    if (t.foundation(f).empty())
                        empty = f;
                if (empty < 0)
                    break;
                moveToFoundation(c, PileRef::tableau(k), i, empty);
            }
        }
        break;
    case 22:
        std::erase_if(c.cards, [](int code) { return rank(code) == 1; });
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 12 && !c.cards.empty(); ++i) {
                t.append(PileRef::tableau(k), c.takeFront(), true);
                if (i == 5)
                    t.append(PileRef::tableau(k), 0);
            }
        break;
    default: break;
    }
}

} // namespace

void moveToFoundation(Context& c, PileRef from, std::size_t i, int f)
{
    Pile& p = c.table().pile(from);
    const int code = p[i];
    p.erase(i);
    c.table().append(PileRef::foundation(f), code, true);
}

void applyDeckFilter(Context& c)
{
    const int T = c.rules.tableauCount();
    switch (c.rules.dealPattern()) {
    case 11: filterRankOnce(c, std::min(T, 13), -1); break;
    case 14: filterRankOnce(c, 9, c.cards.empty() ? -1 : suit(c.cards.front())); break;
    case 9:
        if (T <= 13)
            keepOnly(c, [&](int code) { return code >= 1 && code <= T; });
        else
            keepOnly(c, [&](int code) { return !(code >= 14 && code <= 26) && code <= T + 13; });
        break;
    case 12: {
        std::vector<int> allowed{1, 5, 15, 19, 29, 43, 53, 57, 67, 71, 81, 95};
        if (T != 3)
            allowed.insert(allowed.end(), {9, 23, 33, 37, 47, 51, 61, 75, 85, 89, 99, 103});
        if (T != 3 && T != 4)
            allowed.insert(allowed.end(), {2, 10, 16, 24, 30, 38, 44, 52, 54, 62, 68, 76, 82, 90, 96, 104});
        keepOnly(c, [&](int code) { return std::find(allowed.begin(), allowed.end(), code) != allowed.end(); });
        break;
    }
    case 16: keepOnly(c, [](int code) { return rank(code) != 12 && rank(code) != 13; }); break;
    default: break;
    }
}

void applyInitialFoundationCards(Context& c)
{
    catalog::Rules& r = c.rules;
    Table& t = c.table();
    const int F = c.foundations();
    for (int k = 0; k < F; ++k) {
        const int v = r.foundationInitialCard(k);
        int index = -1;
        switch (v) {
        case 0:
        case 96:
        case 97:
        case 98: continue;
        case 92: r.setFoundationBase(k, r.foundationBase(0)); continue;
        case 20: index = c.cards.empty() ? -1 : 0; break;
        case 21:
            index = c.findFirst([&](int code) {
                for (int j = 0; j < k; ++j) {
                    const int first = firstCardOf(t.foundation(j));
                    if (first != 0 && suit(first) == suit(code))
                        return false;
                }
                return true;
            });
            break;
        case 22:
            index = c.findFirst([&](int code) {
                if (isKing(code))
                    return false;
                for (int j = 0; j < k; ++j) {
                    const int first = firstCardOf(t.foundation(j));
                    if (first != 0 && rank(first) == rank(code))
                        return false;
                }
                return true;
            });
            break;
        default:
            if (v >= 51 && v <= 63) {
                index = c.findFirst([&](int code) { return rank(code) == v - 50; });
                break;
            }
            int code = 0;
            if (v == 91) {
                if (c.cards.empty())
                    break;
                code = c.cards.front() + 13 * (k + 1);
                if (code > r.cardsInPlay() && r.cardsInPlay() > 0)
                    code %= r.cardsInPlay();
            } else if (v == 93 || v == 94) {
                code = 13 * k + 1;
            } else if (v == 95) {
                code = k <= 3 ? 13 * (k + 1) : 13 * (k - 4) + 1;
            } else if (v > 99) {
                code = v - 100;
            } else {
                code = 13 * k + v;
            }
            // A named card is taken only from the cards in play, so no card is ever doubled.
            if (code > 0)
                index = c.findFirst([&](int x) { return x == code; });
            break;
        }
        if (index >= 0)
            c.startFoundation(k, c.takeAt(index));
    }

    if (r.foundationInitialCard(0) == 97) {
        for (int k = 0; k < 8; ++k) {
            const int i = c.findFirst([&](int code) { return rank(code) == k + 2; });
            if (i >= 0)
                c.startFoundation(k, c.takeAt(i));
        }
    }

    c.family.dealStep(DealPoint::FoundationBases, c);

    if (r.dealPattern() == 21)
        setPictureCardsAside(c);

    if (r.foundationSetup() == 5 && !c.cards.empty()) {
        const int first = c.takeFront();
        t.append(PileRef::foundation(0), first, true);
        int next = 1;
        for (std::size_t i = 0; i < c.cards.size() && next < kFoundationPiles;) {
            if (rank(c.cards[i]) == rank(first)) {
                t.append(PileRef::foundation(next++), c.cards[i], true);
                c.cards.erase(c.cards.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
        for (int k = 0; k < kFoundationPiles; ++k)
            r.setFoundationBase(k, baseRankOf(first));
    }

    // Setup 9: the front card (Penguin's "beak") sets every base rank but stays in the array, so
    // the main deal puts it first into the tableau; the other cards of its rank start the
    // foundations after the first, which waits for the beak itself.
    if (r.foundationSetup() == 9 && !c.cards.empty()) {
        const int beak = c.cards.front();
        int next = 1;
        for (std::size_t i = 1; i < c.cards.size() && next < c.foundations();) {
            if (rank(c.cards[i]) == rank(beak)) {
                t.append(PileRef::foundation(next++), c.cards[i], true);
                c.cards.erase(c.cards.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
        for (int k = 0; k < kFoundationPiles; ++k)
            r.setFoundationBase(k, baseRankOf(beak));
    }

    if (const int v = r.waste2StartCard(); v != 0) {
        const int code = v > 100 ? v - 100 : v;
        if (c.takeCode(code))
            t.append(PileRef::secondWaste(), code, true);
    }
}

void applyFoundationSetup(Context& c)
{
    catalog::Rules& r = c.rules;
    Table& t = c.table();
    const int F = c.foundations();
    const int setup = r.foundationSetup();
    if (setup == 3) {
        for (int k = 0; k < F; ++k) {
            const int bottom = k < kReservePiles ? t.reserve(k).bottom() : 0;
            r.setFoundationBase(k, bottom == 0 ? 1 : rankAbove(rank(bottom)));
        }
        return;
    }
    if (setup == 2) {
        for (int k = 0; k < F && !c.cards.empty(); ++k) {
            t.append(PileRef::foundation(k), c.takeFront(), true);
            r.setFoundationBase(k, rank(t.foundation(0).bottom()));
        }
        return;
    }
    if (setup != 1 && setup != 4 && setup != 6 && setup != 7 && setup != 8)
        return;
    if (c.cards.empty())
        return;
    const int card = c.takeFront();
    const int cr = rank(card);
    switch (setup) {
    case 1:
        t.append(PileRef::foundation(0), card, true);
        for (int k = 0; k < kFoundationPiles; ++k)
            r.setFoundationBase(k, baseRankOf(card));
        break;
    case 4:
        t.append(PileRef::foundation(0), card, true);
        for (int k = 1; k < 4; ++k)
            r.setFoundationBase(k, cr);
        for (int k = 4; k < 8; ++k)
            r.setFoundationBase(k, rankAbove(cr));
        break;
    case 6: {
        t.append(PileRef::foundation(0), card, true);
        int b = cr;
        for (int k = 0; k < kFoundationPiles; ++k) {
            r.setFoundationBase(k, b);
            b = rankBelow(b);
        }
        break;
    }
    case 7:
        if (cr == 11)
            t.append(PileRef::tableau(0), card, true);
        else if (cr == 1)
            t.append(PileRef::foundation(0), card, true);
        else if (cr >= 2 && cr <= 10)
            t.append(PileRef::foundation(cr - 1), card, true);
        else if (cr == 12)
            t.append(PileRef::foundation(10), card, true);
        else if (cr == 13)
            t.append(PileRef::foundation(11), card, true);
        else
            c.cards.insert(c.cards.begin(), card); // a joker has no place: it stays in the array
        c.state.gameCounters[0] = suit(card);
        break;
    case 8:
        t.append(PileRef::foundation(4), card, true);
        r.setFoundationBase(4, cr);
        for (int k = 0; k < 4; ++k)
            r.setFoundationBase(k, rankAbove(cr));
        for (int k = 5; k < 9; ++k)
            r.setFoundationBase(k, rankBelow(cr));
        break;
    default: break;
    }
}

void applyPostDealSteps(Context& c)
{
    catalog::Rules& r = c.rules;
    Table& t = c.table();

    // Empty-pile rule 91 ("king only") becomes the rank one below the first foundation's base,
    // so a game whose foundations start at another rank fills gaps with the card that ends a run.
    const int base = r.foundationBase(0);
    const int derived = (base >= 2 && base <= 13) ? base - 1 : 13;
    for (int k = 0; k < kTableauPiles; ++k)
        if (r.emptyTableauTakesBaseRank(k))
            r.setTableauEmptyRule(k, derived);

    if (r.dealExtraStep() == 1 && !c.cards.empty())
        t.append(PileRef::foundation(0), c.takeFront(), true);

    c.family.dealStep(DealPoint::AfterExtraCard, c);

    const int initial = r.foundationInitialCard(0);
    if (initial == 93 || initial == 94 || initial == 95)
        postDealSweep(c, initial);
    if (initial == 96)
        aceSweep(c, PileKind::Tableau, c.tableaus());
    if (initial == 98) {
        const int former = r.foundationSuitRule(0);
        for (int k = 0; k < c.foundations(); ++k)
            r.setFoundationSuitRule(k, 0);
        aceSweep(c, PileKind::Reserve, c.reserves());
        for (int k = 0; k < c.foundations(); ++k)
            r.setFoundationSuitRule(k, former);
    }

    if (r.kingsToBottom() == 1)
        kingsToBottom(c);

    c.family.dealStep(DealPoint::BeforePattern, c);

    applyDealPattern(c);

    if (r.tableauFanStyle() == 8) {
        Pile& p = t.tableau(0);
        for (std::size_t i = p.size(); i > 1; --i)
            p.insert(i - 1, 0);
    }
}

} // namespace cw::engine::dealsteps
