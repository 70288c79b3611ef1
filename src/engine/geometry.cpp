// Fan steps, card positions inside fanned piles, the hit test and the drop-candidate ranking.
#include "engine/geometry.h"

#include <algorithm>

#include "engine/family.h"

namespace cw::engine {

using catalog::Rules;

namespace {

int bySize(CardSize s, int x, int sLarge, int b, int m, int l)
{
    switch (s) {
    case CardSize::X: return x;
    case CardSize::S: return sLarge;
    case CardSize::B: return b;
    case CardSize::M: return m;
    case CardSize::L: return l;
    }
    return b;
}

bool isVerticalStyle(int s) { return s == 1 || s == 3 || s == 5 || s == 7 || s == 12 || s == 13; }

} // namespace

FanSteps fanSteps(const Rules& r, CardSize size, int screenWidth)
{
    FanSteps f;
    const int t = r.tableauFanStyle();
    const int fo = r.foundationFanStyle();
    const int re = r.reserveFanStyle();
    // Vertical steps serve every downward fan of the game: the tableau styles 1, 7, 12 and 13,
    // foundation styles 1 and 7 and reserve styles 1 and 13.
    if (t == 1 || t == 7 || t == 12 || t == 13 || fo == 1 || fo == 7 || re == 1 || re == 13) {
        f.downFaceUp = bySize(size, 24, 21, 18, 14, 3);
        f.downFaceDown = bySize(size, 6, 5, 4, 4, 3);
        if (t == 12) {
            f.downFaceUp = f.downFaceUp * 5 / 2;
            f.downFaceDown = f.downFaceDown * 5 / 2;
        }
        if (re == 13) {
            f.downFaceUp *= 2;
            f.downFaceDown *= 2;
        }
    }
    if (t == 2 || t == 10 || r.tableauMixedStyle() != 0 || re == 2 || fo == 2) {
        f.rightFaceUp = bySize(size, 16, 14, 12, 10, 3);
        f.rightFaceDown = size == CardSize::L ? 3 : 4;
    }
    if (t == 6 || fo == 6)
        f.style6Step = bySize(size, 7, 7, 7, 5, 3);
    f.snakeGapX = bySize(size, 12, 12, 12, 8, 4);
    f.snakeGapY = bySize(size, 8, 8, 8, 6, 3);
    const int perRow = r.tableauCardsPerRow();
    const int width = cardDims(size).width;
    f.snakePerRow = perRow > 0 ? perRow : std::max(1, screenWidth / (width + f.snakeGapX));
    return f;
}

int TableGeometry::styleOf(PileRef pile) const
{
    switch (pile.kind) {
    case PileKind::Tableau:
        if (tableauStyle != 11)
            return tableauStyle;
        if (mixedStyle != 1)
            return 0;
        return pile.index < 7 ? 2 : (pile.index < 12 ? 10 : 0);
    case PileKind::Foundation: return foundationStyle;
    case PileKind::Reserve: return reserveStyle;
    default: return 0;
    }
}

TableGeometry makeTableGeometry(const Rules& r, const Geometry& layout, CardSize size, int screenWidth)
{
    TableGeometry tg;
    tg.layout = layout;
    tg.steps = fanSteps(r, size, screenWidth);
    tg.tableauStyle = r.tableauFanStyle();
    tg.foundationStyle = r.foundationFanStyle();
    tg.reserveStyle = r.reserveFanStyle();
    tg.mixedStyle = r.tableauMixedStyle();
    tg.reservePickup = r.reservePickupRule();
    tg.tableauCount = std::clamp(r.tableauCount(), 0, kTableauPiles);
    tg.foundationCount = std::clamp(r.foundationCount(), 0, kFoundationPiles);
    tg.reserveCount = std::clamp(r.reserveCount(), 0, kReservePiles);
    tg.wasteNeverTarget = r.wasteNeverTarget() == 4;
    return tg;
}

namespace {

// Step after the card at position j of a vertically fanned pile.
int verticalStep(const TableGeometry& tg, const Table& table, int style, int code, int j)
{
    const FanSteps& f = tg.steps;
    switch (style) {
    case 1:
    case 3:
    case 13: return table.isFaceUp(code) ? f.downFaceUp : f.downFaceDown;
    case 12: return (code == 0 || table.isFaceUp(code)) ? f.downFaceUp : f.downFaceDown;
    case 7: return j == 0 ? f.downFaceUp : 0;
    case 5: return f.stacked;
    default: return 0;
    }
}

// Step after a card of a horizontally fanned pile (styles 2, 6 and, leftwards, 10).
int horizontalStep(const TableGeometry& tg, const Table& table, int style, int code)
{
    const FanSteps& f = tg.steps;
    if (style == 6)
        return f.style6Step;
    return table.isFaceUp(code) ? f.rightFaceUp : f.rightFaceDown;
}

int irregularShift(const TableGeometry& tg, PileRef pile, int index)
{
    if (!tg.irregular.enabled || pile.kind != PileKind::Tableau)
        return 0;
    const int p = pile.index;
    const int row = p < 7 ? p : p % 6; // rows 1..7, stored from 0
    const int k = index > 12 ? index % 12 : index;
    return tg.irregular.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)];
}

} // namespace

Point cardPosition(const TableGeometry& tg, const Table& table, PileRef pile, int index)
{
    const Point c = tg.layout.corner(pile);
    if (!c.present())
        return {};
    const Pile& cards = table.pile(pile);
    const int n = static_cast<int>(cards.size());
    index = std::clamp(index, 0, n);
    const int W = tg.layout.cardWidth;
    const int H = tg.layout.cardHeight;
    const int style = tg.styleOf(pile);
    Point p = c;
    switch (style) {
    case 1:
    case 12:
    case 13:
    case 5:
        for (int j = 0; j < index; ++j)
            p.y += verticalStep(tg, table, style, cards[static_cast<std::size_t>(j)], j);
        if (style == 1)
            p.x += irregularShift(tg, pile, index);
        break;
    case 7:
        // Only the top card of a pile of two or more stands lower; the next card would too.
        if ((index == n - 1 && n >= 2) || (index == n && n >= 1))
            p.y += tg.steps.downFaceUp;
        break;
    case 2:
    case 6:
    case 10: {
        int dx = 0;
        for (int j = 0; j < index; ++j)
            dx += horizontalStep(tg, table, style, cards[static_cast<std::size_t>(j)]);
        p.x += style == 10 ? -dx : dx;
        break;
    }
    case 4:
    case 9: p.x += index * (W + tg.steps.sideGap); break;
    case 8: {
        const int k = std::max(1, tg.steps.snakePerRow);
        const int row = index / k;
        int col = index % k;
        if (row % 2 == 1)
            col = k - 1 - col;
        p.x += col * (W + tg.steps.snakeGapX);
        p.y += row * (H + tg.steps.snakeGapY);
        break;
    }
    default: break;
    }
    return p;
}

namespace {

struct PileProbe {
    bool inArea = false;
    int index = -1; // position found under the point, -1 none
    Rect rect{};    // the found card's rectangle
};

// Looks for the card under (x, y) in one tableau pile or reserve drawn in `style`.
PileProbe probePile(const TableGeometry& tg, const Table& table, PileRef pile, int style, int x, int y, bool anyPile)
{
    PileProbe out;
    const Point c = tg.layout.corner(pile);
    const int W = tg.layout.cardWidth;
    const int H = tg.layout.cardHeight;
    const Pile& cards = table.pile(pile);
    const int n = static_cast<int>(cards.size());
    auto pos = [&](int i) { return cardPosition(tg, table, pile, i); };
    auto codeAt = [&](int i) { return static_cast<int>(cards[static_cast<std::size_t>(i)]); };
    auto found = [&](int i) {
        out.index = i;
        out.rect = tg.layout.cardRectAt(pos(i));
    };

    if (n == 0 || (style == 8 && pile.index != 0)) {
        out.inArea = style == 8 ? pile.index == 0 : tg.layout.cardRectAt(c).contains(x, y);
        return out;
    }
    const Point top = pos(n - 1);

    if (style == 8 || style == 9) {
        out.inArea = style == 8 || Rect{c.x, c.y, top.x + W - c.x, H}.contains(x, y);
        if (!out.inArea)
            return out;
        for (int i = 0; i < n; ++i) {
            if (codeAt(i) == 0 && !anyPile)
                continue;
            if (tg.layout.cardRectAt(pos(i)).contains(x, y)) {
                found(i);
                break;
            }
        }
        return out;
    }

    if (isVerticalStyle(style)) {
        out.inArea = Rect{c.x, c.y, W, top.y + H - c.y}.contains(x, y);
        if (!out.inArea)
            return out;
        int start = c.y;
        for (int j = 0; j < n; ++j) {
            const int len = j == n - 1 ? H - 1 : verticalStep(tg, table, style, codeAt(j), j);
            if (y >= start && y <= start + len) {
                if (style == 3) { // stacked: any band gives the top card at the corner
                    out.index = n - 1;
                    out.rect = tg.layout.cardRectAt(c);
                } else {
                    found(j);
                }
                break;
            }
            start += len;
        }
    } else if (style == 2 || style == 6) {
        out.inArea = Rect{c.x, c.y, top.x + W - c.x, H}.contains(x, y);
        if (!out.inArea)
            return out;
        int start = c.x;
        for (int j = 0; j < n; ++j) {
            const int len = j == n - 1 ? W - 1 : horizontalStep(tg, table, style, codeAt(j));
            if (x >= start && x <= start + len) {
                found(j);
                break;
            }
            start += len;
        }
    } else if (style == 10) {
        out.inArea = Rect{top.x, c.y, c.x + W - top.x, H}.contains(x, y);
        if (out.inArea && x <= top.x + W - 1)
            found(n - 1);
    } else if (style == 4) {
        out.inArea = Rect{c.x, c.y, top.x + W - c.x, H}.contains(x, y);
        if (!out.inArea)
            return out;
        for (int j = 0; j < n; ++j) {
            const int start = pos(j).x;
            if (x >= start && x <= start + W) { // the gaps between cards belong to no card
                found(j);
                break;
            }
        }
    } else {
        // Cards stacked on the corner: only the top card shows.
        out.inArea = tg.layout.cardRectAt(c).contains(x, y);
        if (out.inArea)
            found(n - 1);
    }
    if (out.index >= 0 && codeAt(out.index) == 0 && !anyPile)
        out.index = -1;
    return out;
}

Hit pileHit(const TableGeometry& tg, const Table& table, PileRef pile, int index, Rect rect)
{
    Hit h;
    h.pile = pile;
    h.index = index;
    h.code = index >= 0 ? static_cast<int>(table.pile(pile)[static_cast<std::size_t>(index)]) : 0;
    h.rect = index >= 0 ? rect : tg.layout.cardRect(pile);
    return h;
}

} // namespace

Hit hitTest(const TableGeometry& tg, const Table& table, int x, int y, bool anyPile)
{
    const Geometry& g = tg.layout;

    // 1. The stock group: one card each, reported also when empty.
    for (PileRef p : {PileRef::stock(), PileRef::waste(), PileRef::secondWaste()}) {
        if (g.present(p) && g.cardRect(p).contains(x, y)) {
            const int n = static_cast<int>(table.pile(p).size());
            return pileHit(tg, table, p, n - 1, g.cardRect(p));
        }
    }

    // 2. Tableau piles, the last first: a later pile is drawn over an earlier one, so where
    // areas overlap the visible card wins. The first pile whose area holds the point ends the
    // search, except in style 4 where an area without a card under the point lets it go on.
    for (int i = tg.tableauCount - 1; i >= 0; --i) {
        const PileRef p = PileRef::tableau(i);
        if (!g.present(p))
            continue;
        const int style = tg.styleOf(p);
        if (style == 8 && i != 0)
            continue;
        const PileProbe probe = probePile(tg, table, p, style, x, y, anyPile);
        if (!probe.inArea)
            continue;
        if (probe.index >= 0)
            return pileHit(tg, table, p, probe.index, probe.rect);
        if (anyPile)
            return pileHit(tg, table, p, -1, {});
        if (style != 4)
            break;
    }

    // 3. Foundations: only the top card's place.
    for (int i = 0; i < kFoundationPiles; ++i) {
        const PileRef p = PileRef::foundation(i);
        if (!g.present(p))
            continue;
        const int n = static_cast<int>(table.pile(p).size());
        const Rect r = g.cardRectAt(n > 0 ? cardPosition(tg, table, p, n - 1) : g.corner(p));
        if (r.contains(x, y))
            return pileHit(tg, table, p, n - 1, r);
    }

    // 4. Reserves, the last first for the same reason as the tableau.
    for (int i = tg.reserveCount - 1; i >= 0; --i) {
        const PileRef p = PileRef::reserve(i);
        if (!g.present(p))
            continue;
        int style = tg.styleOf(p);
        if (!isVerticalStyle(style) && style != 2)
            style = 0;
        const PileProbe probe = probePile(tg, table, p, style, x, y, anyPile);
        if (!probe.inArea)
            continue;
        if (probe.index >= 0) {
            Rect r = probe.rect;
            if (tg.reservePickup != catalog::ReservePickup::LiftsGroups) {
                // The lifted group reaches to the end of the fan.
                const Point top = cardPosition(tg, table, p, static_cast<int>(table.pile(p).size()) - 1);
                if (style == 2)
                    r.width = top.x + g.cardWidth - r.x;
                else
                    r.height = top.y + g.cardHeight - r.y;
            }
            return pileHit(tg, table, p, probe.index, r);
        }
        if (anyPile)
            return pileHit(tg, table, p, -1, {});
    }
    return {};
}

std::vector<DropCandidate> dropCandidates(const TableGeometry& tg, const Table& table, const Rect& drag,
                                          bool foundationsOnly)
{
    const Geometry& g = tg.layout;
    std::vector<DropCandidate> out;
    auto consider = [&](PileRef p, int position, Point place) {
        if (!place.present())
            return;
        const int area = overlapArea(g.cardRectAt(place), drag);
        if (area > 0)
            out.push_back({p, position, area});
    };
    auto nextPlace = [&](PileRef p) { return cardPosition(tg, table, p, static_cast<int>(table.pile(p).size())); };

    for (int i = 0; i < tg.foundationCount; ++i)
        consider(PileRef::foundation(i), -1, nextPlace(PileRef::foundation(i)));
    if (!foundationsOnly) {
        for (int i = 0; i < tg.tableauCount; ++i) {
            const PileRef p = PileRef::tableau(i);
            const int style = tg.styleOf(p);
            if (style == 8 || style == 9) {
                // Index-placed piles: every position (and the next one) is a target of its own.
                const int n = static_cast<int>(table.pile(p).size());
                for (int k = 0; k <= n; ++k)
                    consider(p, k, cardPosition(tg, table, p, k));
            } else {
                consider(p, -1, nextPlace(p));
            }
        }
        for (int i = 0; i < tg.reserveCount; ++i)
            consider(PileRef::reserve(i), -1, nextPlace(PileRef::reserve(i)));
        if (!tg.wasteNeverTarget)
            consider(PileRef::waste(), -1, g.corner(PileRef::waste()));
    }
    std::sort(out.begin(), out.end(), [](const DropCandidate& a, const DropCandidate& b) {
        if (a.area != b.area)
            return a.area > b.area;
        if (a.pile.kind != b.pile.kind)
            return static_cast<int>(a.pile.kind) > static_cast<int>(b.pile.kind);
        if (a.pile.index != b.pile.index)
            return a.pile.index > b.pile.index;
        return a.position > b.position;
    });
    return out;
}

int neededHeight(const TableGeometry& tg, const Table& table)
{
    const Geometry& g = tg.layout;
    int lowest = 0;
    auto pileBottom = [&](PileRef p, bool fanned) {
        if (!g.present(p))
            return;
        // In every fan style the last card lies lowest.
        const int n = static_cast<int>(table.pile(p).size());
        const int y = (fanned && n > 0) ? cardPosition(tg, table, p, n - 1).y : g.corner(p).y;
        lowest = std::max(lowest, y + g.cardHeight);
    };
    for (PileRef p : {PileRef::stock(), PileRef::waste(), PileRef::secondWaste()})
        pileBottom(p, false);
    for (int i = 0; i < tg.foundationCount; ++i)
        pileBottom(PileRef::foundation(i), true);
    for (int i = 0; i < tg.tableauCount; ++i)
        pileBottom(PileRef::tableau(i), true);
    for (int i = 0; i < tg.reserveCount; ++i)
        pileBottom(PileRef::reserve(i), true);
    return lowest;
}

bool scrollBarAllowed(const GameRules& r, bool optionOn)
{
    const int t = r.tableauFanStyle();
    return optionOn && (t == 1 || t == 8 || t == 12 || r.reserveFanStyle() == 13 || r.family().tableScrolls());
}

ScrollDecision evaluateScrollBar(bool allowed, int needed, int clientHeight, int cardHeight, const ScrollState& current)
{
    ScrollDecision d;
    d.state = current;
    if (allowed && needed > clientHeight) {
        // Grow the pictures only when they are too short, so that evaluating again after the
        // relayout settles instead of growing them without end.
        if (!current.shown || current.bitmapHeight < needed + 2 * cardHeight) {
            const int excess = needed - clientHeight + 2 * cardHeight;
            d.state.bitmapHeight += excess;
            d.state.maximum += excess - 30;
            d.state.shown = true;
            d.state.position = clampScroll(d.state.position, d.state);
            d.change = ScrollChange::Grown;
            d.relayout = true;
        }
        return d;
    }
    if (current.shown) {
        d.state.shown = false;
        d.state.position = 0;
        d.state.maximum = 100;
        d.change = ScrollChange::Hidden;
        d.relayout = true;
    }
    return d;
}

int clampScroll(int position, const ScrollState& state) { return std::clamp(position, 0, std::max(0, state.maximum)); }

} // namespace cw::engine
