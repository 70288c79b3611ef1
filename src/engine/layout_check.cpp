// Validation of a game's layout for the catalog: every pile in use placed, inside the room,
// on its own corner and clear of the piles of other groups.
#include <string>
#include <vector>

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

} // namespace

bool fitsIn(const catalog::Rules& rules, int width, int height, CardSize size, std::string* whyNot)
{
    LayoutRoom room;
    room.width = width;
    room.clientHeight = height;
    const Geometry g = layoutPiles(rules, room, size);

    static constexpr const char* kGroupNames[] = {"stock", "foundation", "table", "reserve", "second waste"};
    for (int bit = 0; bit < 5; ++bit)
        if (g.unknownArrangements & (1u << bit))
            return fail(whyNot, std::string("unknown ") + kGroupNames[bit] + " arrangement");

    const std::vector<UsedPile> piles = usedPiles(rules, g);
    const Rect roomRect{0, 0, width, height};
    for (const UsedPile& u : piles) {
        if (!u.corner.present())
            return fail(whyNot, describe(u) + " is not placed on the table");
        const Rect r = g.cardRectAt(u.corner);
        if (r.x < 0 || r.y < 0 || r.right() > roomRect.right() || r.bottom() > roomRect.bottom())
            return fail(whyNot, describe(u) + " at " + at(u.corner) + " does not fit in " + std::to_string(width) +
                                    " x " + std::to_string(height));
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

} // namespace cw::engine
