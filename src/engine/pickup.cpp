// The table press and release: pick-up rules, turn-ups, the Draw, click-to-play and point-and-click.
#include "engine/pickup.h"

#include <algorithm>

#include "engine/autoplay.h"
#include "engine/family.h"
#include "engine/moves.h"
#include "engine/rules_groups.h"
#include "engine/stock.h"

namespace cw::engine {
namespace {

constexpr const char* kReverseStockFirst =
    "The stock must be exhausted before you can reverse the column building order from \"descending\" to "
    "\"ascending\" and back to \"descending\".";
constexpr const char* kDrawAfterRedeal = "The Draw is allowed after the last Redeal.";
constexpr const char* kOneDraw = "Only one Draw is permitted.";

PressAction tableauAction(const Play& play, int c, int index)
{
    const Table& t = play.table();
    const Pile& p = t.tableau(c);
    if (c >= play.tableaus() || index < 0 || static_cast<std::size_t>(index) >= p.size())
        return PressAction::None;
    const int card = p[static_cast<std::size_t>(index)];
    if (card == 0)
        return PressAction::None;
    const PileRef pile = PileRef::tableau(c);
    const int style = play.rules.tableauFanStyle();
    if (style == 8 || style == 9 || style == 12)
        return groupFits(play, pile, index, false) == GroupFit::Fits ? PressAction::Lift : PressAction::None;
    if (hasGrid(play) && c < play.rules.tableauGridRows() * play.rules.tableauGridColumns())
        return gridOpen(play, c) ? PressAction::Lift : PressAction::None;
    const bool top = static_cast<std::size_t>(index) + 1 == p.size();
    if (top) {
        if (t.isFaceDown(card))
            return PressAction::TurnUp;
        return groupFits(play, pile, index, false) == GroupFit::Fits ? PressAction::Lift : PressAction::None;
    }
    if (t.isFaceDown(card))
        return PressAction::None;
    const GroupFit fit = groupFits(play, pile, index, false);
    if (fit == GroupFit::Draw)
        return PressAction::Draw;
    if (fit == GroupFit::Fits && groupIsSequence(play, c, index, c))
        return PressAction::Lift;
    return PressAction::None;
}

bool isTop(const Pile& p, int index) { return index >= 0 && static_cast<std::size_t>(index) + 1 == p.size(); }

void lift(Play& play, PileRef pile, int index)
{
    const Pile& p = play.table().pile(pile);
    const int card = p[static_cast<std::size_t>(index)];
    SelectionState& sel = play.state.selection;
    if (sel.pointAndClick) {
        if (sel.selectedCard == card) {
            sel = SelectionState{true};
        } else {
            sel.selectedCard = card;
            sel.source = pile;
            sel.sourceIndex = index;
            sel.clicks = 1;
        }
        return;
    }
    DragState& d = play.state.drag;
    d.carriedCard = card;
    d.source = pile;
    d.sourceIndex = index;
    d.topOfGroup = p.top();
    d.singleCard = isTop(p, index);
    d.moved = false;
    if (play.state.tutorMode == 0)
        play.sound("card_up");
}

} // namespace

namespace {

// What the ordinary pick-up rules make of a plain left press.
PressAction ordinaryPressAction(const Play& play, PileRef pile, int index)
{
    const Table& t = play.table();
    switch (pile.kind) {
    case PileKind::Stock: return PressAction::StockClick;
    case PileKind::Tableau: return tableauAction(play, pile.index, index);
    case PileKind::Waste: {
        const Pile& w = t.waste();
        if (holdsCard(w) && play.rules.wasteLocked() == 0)
            return isTop(w, index) && w.top() != 0 ? PressAction::Lift : PressAction::None;
        return play.rules.redealMode() >= 1 && t.stock().empty() && w.empty() ? PressAction::WasteRedeal
                                                                              : PressAction::None;
    }
    case PileKind::Foundation: {
        if (pile.index >= play.foundations())
            return PressAction::None;
        const Pile& f = t.foundation(pile.index);
        if (!isTop(f, index) || f.top() == 0)
            return PressAction::None;
        switch (play.rules.foundationTakeBack()) {
        case 1: return PressAction::Lift;
        case 2: return f.cardCount() >= 2 ? PressAction::Lift : PressAction::None;
        case 3: return isJoker(f.top()) ? PressAction::Lift : PressAction::None;
        default: return PressAction::None;
        }
    }
    case PileKind::Reserve: {
        if (pile.index >= play.reserves())
            return PressAction::None;
        const Pile& r = t.reserve(pile.index);
        if (index < 0 || static_cast<std::size_t>(index) >= r.size())
            return PressAction::None;
        const int card = r[static_cast<std::size_t>(index)];
        if (card == 0 || t.isFaceDown(card))
            return PressAction::None;
        const int rule = play.rules.reservePickupRule();
        if (rule == catalog::ReservePickup::OpenRow && !rowOpen(play, pile))
            return PressAction::None;
        if (isTop(r, index) || rule == catalog::ReservePickup::LiftsGroups)
            return PressAction::Lift;
        return PressAction::None;
    }
    default: return PressAction::None;
    }
}

} // namespace

PressAction pressAction(const Play& play, PileRef pile, int index)
{
    const PressAction ordinary = ordinaryPressAction(play, pile, index);
    return play.family().special() ? play.family().pressAction(play, pile, index, ordinary) : ordinary;
}

bool tryDraw(Play& play, int c, int index)
{
    if (play.state.tutorMode != 0)
        return false;
    if (play.state.dealNumber != 3) {
        play.message(kDrawAfterRedeal);
        return false;
    }
    if (play.state.drawUsed) {
        play.message(kOneDraw);
        return false;
    }
    const PileRef pile = PileRef::tableau(c);
    if (!moveCards(play, pile, index, pile, false))
        return false;
    play.state.drawUsed = true;
    play.recordEvent(4);
    return true;
}

bool reverseColumn(Play& play, int c)
{
    if (holdsCard(play.table().stock())) {
        play.message(kReverseStockFirst);
        return false;
    }
    Pile& p = play.table().tableau(c);
    std::vector<int> codes(p.begin(), p.end());
    p.clear();
    for (auto it = codes.rbegin(); it != codes.rend(); ++it)
        p.push(*it);
    play.state.ascendingColumns ^= std::uint64_t{1} << c;
    testWon(play);
    return true;
}

bool clickToPlay(Play& play, PileRef pile, int index, Gesture gesture, const TutorRecord* guard)
{
    const Table& t = play.table();
    if (!pile.valid())
        return false;
    const Pile& p = t.pile(pile);
    if (index < 0 || static_cast<std::size_t>(index) >= p.size())
        return false;
    const int card = p[static_cast<std::size_t>(index)];
    if (card == 0 || t.isFaceDown(card))
        return false;
    bool qualifies = false;
    switch (pile.kind) {
    case PileKind::Foundation: {
        const int rule = play.rules.foundationTakeBack();
        qualifies = isTop(p, index) && (rule == 1 || (rule == 2 && p.cardCount() >= 2));
        break;
    }
    case PileKind::Waste: qualifies = isTop(p, index); break;
    case PileKind::Tableau:
        if (play.rules.groupLimit() == 0)
            break;
        if (hasGrid(play) && pile.index < play.rules.tableauGridRows() * play.rules.tableauGridColumns() &&
            !gridOpen(play, pile.index))
            break;
        qualifies = (isTop(p, index) && tableauTopAvailable(play, pile.index)) ||
                    pressAction(play, pile, index) == PressAction::Lift;
        break;
    case PileKind::Reserve: qualifies = isTop(p, index) || play.rules.reserveLiftsGroups(); break;
    default: break;
    }
    if (!qualifies)
        return false;
    Destinations allowed;
    const bool both = play.state.tutorMode == 1 || play.state.tutorMode == 3 || play.rules.clickToPlay() == 1 ||
                      gesture == Gesture::Automatic;
    if (!both) {
        if (gesture == Gesture::RightClick) {
            allowed.foundations = play.options.rightClickToFoundations;
            allowed.tableaus = play.options.rightClickToTableaus;
        } else {
            allowed.foundations = play.options.doubleClickToFoundations;
            allowed.tableaus = play.options.doubleClickToTableaus;
            play.state.swallowStockPress = true;
        }
    }
    if (!allowed.foundations && !allowed.tableaus)
        return false;
    const bool moved = automaticDestination(play, pile, index, allowed, false, guard ? guard : play.tutorRecord);
    if (moved)
        play.state.moveMade = true;
    return moved;
}

bool tableDoubleClick(Play& play, PileRef pile, int index)
{
    if (pile.kind == PileKind::Stock) {
        play.state.swallowStockPress = false;
        return false;
    }
    if (play.state.drag.carriedCard != 0)
        return false;
    return clickToPlay(play, pile, index, Gesture::DoubleClick);
}

bool tablePress(Play& play, const Press& press)
{
    GameState& s = play.state;
    if (s.drag.carriedCard != 0)
        return false;
    s.drag.moved = false;
    if (press.pile.kind == PileKind::Stock && s.swallowStockPress) {
        s.swallowStockPress = false;
        return false;
    }
    s.swallowStockPress = false;
    if (const Handled h = play.family().press(play, press); h != Handled::No)
        return h == Handled::Changed;
    if (press.button == Button::Right && !press.ctrl) {
        clickToPlay(play, press.pile, press.index, Gesture::RightClick);
        return false;
    }
    if (press.button != Button::Left)
        return false;
    if (press.ctrl) {
        if (press.pile.kind == PileKind::Tableau && press.pile.index >= 2 && press.pile.index <= 9 &&
            play.tableauCode(press.pile.index) == catalog::BuildRule::Reversible)
            reverseColumn(play, press.pile.index);
        return false;
    }
    if (play.rules.clickToPlay() == 1 && press.pile.kind != PileKind::Stock) {
        clickToPlay(play, press.pile, press.index, Gesture::Automatic);
        return false;
    }
    SelectionState& sel = s.selection;
    if (sel.pointAndClick && sel.selectedCard != 0 && press.pile.kind != PileKind::Stock) {
        const Pile& p = press.pile.valid() ? play.table().pile(press.pile) : Pile{};
        const int card = press.index >= 0 && static_cast<std::size_t>(press.index) < p.size()
                             ? p[static_cast<std::size_t>(press.index)]
                             : 0;
        if (card != sel.selectedCard) {
            ++sel.clicks;
            return false;
        }
    }
    // Selection games pick cards only through their family's press.
    if (play.rules.selectionGame() != 0)
        return false;
    switch (pressAction(play, press.pile, press.index)) {
    case PressAction::None: return false;
    case PressAction::StockClick: return stockClick(play, s.tutorMode == 3);
    case PressAction::WasteRedeal: return wasteClick(play);
    case PressAction::TurnUp: turnUp(play, press.pile.index); return false;
    case PressAction::Draw: tryDraw(play, press.pile.index, press.index); return false;
    case PressAction::Lift: lift(play, press.pile, press.index); return false;
    }
    return false;
}

bool tableRelease(Play& play, std::span<const PileRef> candidates)
{
    std::vector<DropSpot> spots;
    spots.reserve(candidates.size());
    for (const PileRef& p : candidates)
        spots.push_back(DropSpot{p, -1});
    return tableReleaseAt(play, spots);
}

bool tableReleaseAt(Play& play, std::span<const DropSpot> spots)
{
    GameState& s = play.state;
    bool changed = false;
    if (s.redealArmed)
        changed = stockRelease(play);
    SelectionState& sel = s.selection;
    if (sel.pointAndClick && sel.selectedCard != 0) {
        if (sel.clicks < 2)
            return changed;
        s.drag.carriedCard = sel.selectedCard;
        s.drag.source = sel.source;
        s.drag.sourceIndex = sel.sourceIndex;
        s.drag.moved = true;
    }
    if (s.drag.carriedCard != 0) {
        // The carried card is found again where it lies: its position is the lift's unless the
        // table changed underneath.
        PileRef source = s.drag.source;
        int index = s.drag.sourceIndex;
        if (!source.valid() || play.table().pile(source).find(s.drag.carriedCard) != index) {
            source = play.table().locateCard(s.drag.carriedCard, EditMode::Report, play.tableaus());
            index = source.valid() ? play.table().pile(source).find(s.drag.carriedCard) : -1;
        }
        if (s.drag.moved && source.valid()) {
            const Carried g = carriedAt(play, source, index);
            if (dropAttemptAt(play, g, spots).valid())
                changed = true;
        }
        s.drag = DragState{};
        if (sel.pointAndClick)
            sel = SelectionState{true};
    }
    changed = afterRelease(play) || changed;
    return changed;
}

} // namespace cw::engine
