// Validation of a game's layout for the catalog: every pile in use placed, inside the room,
// on its own corner and clear of the piles of other groups.
#include <string>
#include <vector>

#include <algorithm>
#include <cmath>

#include "engine/geometry.h"
#include "engine/history.h"
#include "engine/layout.h"

namespace cw::engine {

namespace {

struct UsedPile {
    PileRef pile;
    Point corner;
};

std::vector<UsedPile> usedPiles(const catalog::Rules& rules, const Geometry& g)
{
    std::vector<UsedPile> out;
    const StockGroupUse use = stockGroupUse(rules);
    if (use.stock)
        out.push_back({PileRef::stock(), g.stockGroup[0]});
    if (use.waste)
        out.push_back({PileRef::waste(), g.stockGroup[1]});
    if (use.secondWaste)
        out.push_back({PileRef::secondWaste(), g.stockGroup[2]});
    auto range = [&](int count, int max, auto make) {
        for (int i = 0; i < std::min(std::max(count, 0), max); ++i)
            out.push_back({make(i), g.corner(make(i))});
    };
    range(rules.foundationCount(), kFoundationPiles, [](int i) { return PileRef::foundation(i); });
    // The selection buffer (foundation 1 of the selection games) is not laid out.
    if (storesFoundation1Empty(GameRules(rules)))
        std::erase_if(out, [](const UsedPile& u) { return u.pile == PileRef::foundation(0); });
    range(rules.tableauCount(), kTableauPiles, [](int i) { return PileRef::tableau(i); });
    range(rules.reserveCount(), kReservePiles, [](int i) { return PileRef::reserve(i); });
    return out;
}

// Group of a pile for the overlap test: the three stock-group piles form one group.
int groupOf(PileKind k) { return (k == PileKind::Stock || k == PileKind::Waste || k == PileKind::SecondWaste) ? 0 : static_cast<int>(k); }

std::string describe(const UsedPile& u) { return pileName(u.pile); }
std::string at(Point p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

bool fail(std::string* whyNot, std::string text)
{
    if (whyNot)
        *whyNot = std::move(text);
    return false;
}

bool fitsRoom(const catalog::Rules& rules, const Geometry& g, const Rect& area, std::string* whyNot)
{
    static constexpr const char* kGroupNames[] = {"stock", "foundation", "table", "reserve", "second waste"};
    for (int bit = 0; bit < 5; ++bit)
        if (g.unknownArrangements & (1u << bit))
            return fail(whyNot, std::string("unknown ") + kGroupNames[bit] + " arrangement");

    const std::vector<UsedPile> piles = usedPiles(rules, g);
    for (const UsedPile& u : piles) {
        if (!u.corner.present())
            return fail(whyNot, describe(u) + " is not placed on the table");
        const Rect r = g.cardRectAt(u.corner);
        if (r.x < area.x || r.y < area.y || r.right() > area.right() || r.bottom() > area.bottom())
            return fail(whyNot, describe(u) + " at " + at(u.corner) + " does not fit in " + std::to_string(area.width) +
                                    " x " + std::to_string(area.height));
    }
    for (std::size_t i = 0; i < piles.size(); ++i) {
        for (std::size_t j = i + 1; j < piles.size(); ++j) {
            const UsedPile& a = piles[i];
            const UsedPile& b = piles[j];
            if (a.corner == b.corner)
                return fail(whyNot, describe(a) + " and " + describe(b) + " share the corner " + at(a.corner));
            if (groupOf(a.pile.kind) != groupOf(b.pile.kind) && overlapArea(g.cardRectAt(a.corner), g.cardRectAt(b.corner)) > 0)
                return fail(whyNot, describe(a) + " at " + at(a.corner) + " covers " + describe(b) + " at " + at(b.corner));
        }
    }
    if (whyNot)
        whyNot->clear();
    return true;
}

} // namespace

bool fitsIn(const catalog::Rules& rules, int width, int height, CardSize size, std::string* whyNot)
{
    LayoutRoom room;
    room.width = width;
    room.clientHeight = height;
    return fitsRoom(rules, layoutPiles(rules, room, size), Rect{0, 0, width, height}, whyNot);
}

LayoutRoom scaledRoom(const LayoutRoom& room, double scale)
{
    auto down = [scale](int v) { return v > 0 ? static_cast<int>(std::floor(v / scale)) : v; };
    LayoutRoom r = room;
    r.width = std::max(1, down(room.width));
    r.clientHeight = std::max(1, down(room.clientHeight));
    r.top = down(room.top);
    r.statusHeight = down(room.statusHeight);
    r.windowHeight = down(room.windowHeight);
    r.screenWidth = down(room.screenWidth);
    r.screenHeight = down(room.screenHeight);
    return r;
}

bool fitsWithFans(const catalog::Rules& rules, const LayoutRoom& room, CardSize size, std::string* whyNot)
{
    const Geometry g = layoutPiles(rules, room, size);
    const Rect area{0, room.top, room.width, room.bottom() - room.top};
    if (!fitsRoom(rules, g, area, whyNot))
        return false;
    // A tableau that fans downward keeps a run from King to Ace in view below its lowest row.
    const TableGeometry tg = makeTableGeometry(rules, g, size, room.effectiveScreenWidth());
    const int step = tg.steps.downFaceUp;
    for (int c = 0; c < tg.tableauCount; ++c) {
        const PileRef pile = PileRef::tableau(c);
        const int style = tg.styleOf(pile);
        if (!g.present(pile) || (style != 1 && style != 12 && style != 13))
            continue;
        const int reach = g.corner(pile).y + g.cardHeight + 12 * step;
        if (reach > area.bottom())
            return fail(whyNot, pileName(pile) + " has no room for its fan: it reaches " + std::to_string(reach) +
                                    ", the room ends at " + std::to_string(area.bottom()));
    }
    if (whyNot)
        whyNot->clear();
    return true;
}

FittedScale fittingScale(const catalog::Rules& rules, const LayoutRoom& room, CardSize base, int minWidth, int maxWidth)
{
    const int baseWidth = cardDims(base).width;
    minWidth = std::max(1, minWidth);
    // Every whole card width from the largest down: the layout is cheap, and a game whose fit is
    // not monotonic in the scale still gets its largest fitting size.
    for (int w = std::max(minWidth, maxWidth); w >= minWidth; --w) {
        const double scale = static_cast<double>(w) / baseWidth;
        if (fitsWithFans(rules, scaledRoom(room, scale), base, nullptr))
            return {scale, w, true};
    }
    return {static_cast<double>(minWidth) / baseWidth, minWidth, false};
}

} // namespace cw::engine
