// The tutor step: the fixed order of attempts, the usefulness filter, the tutor record, the hint timer and the demo loop.
#include "engine/tutor.h"

#include <cstdio>

#include "engine/autoplay.h"
#include "engine/drop.h"
#include "engine/family.h"
#include "engine/moves.h"
#include "engine/pickup.h"
#include "engine/rules_building.h"
#include "engine/rules_groups.h"
#include "engine/stock.h"

namespace cw::engine {
namespace {

int recordKind(PileKind k)
{
    switch (k) {
    case PileKind::Tableau: return 4;
    case PileKind::Reserve: return 6;
    case PileKind::Waste: return 3;
    case PileKind::Foundation: return 5;
    default: return -1;
    }
}

// Whether the card at position index of tableau column c lies face up on a card it builds on.
bool liesOnItsBuild(const Play& play, int c, int index)
{
    const Pile& p = play.table().tableau(c);
    if (index <= 0 || static_cast<std::size_t>(index) >= p.size())
        return false;
    const int card = p[static_cast<std::size_t>(index)];
    const int below = p[static_cast<std::size_t>(index - 1)];
    if (below == 0 || play.table().isFaceDown(below))
        return false;
    BuildQuery q = tableauQuery(play, c, card, PileRef::tableau(c), true);
    q.target = below;
    q.foundation = true; // the plain building relation, as foundations use it
    return buildingTest(play, q);
}

// Every tableau pile's top card already builds on the card beneath it.
bool allTopsBuilt(const Play& play)
{
    for (int c = 0; c < play.tableaus(); ++c) {
        const Pile& p = play.table().tableau(c);
        if (p.size() >= 2 && !liesOnItsBuild(play, c, static_cast<int>(p.size()) - 1))
            return false;
    }
    return true;
}

// Building codes of the waste-pile games, where a card from the stock or waste has one proper pile.
bool preferredPileCode(int code) { return code == 17 || code == 18 || code == 19; }

// The first pile whose top is one rank above card, else the first whose top is higher, else
// the shortest pile.
int preferredPile(const Play& play, int card)
{
    const Table& t = play.table();
    for (int c = 0; c < play.tableaus(); ++c)
        if (holdsCard(t.tableau(c)) && rank(t.tableau(c).top()) == rank(card) + 1)
            return c;
    for (int c = 0; c < play.tableaus(); ++c)
        if (holdsCard(t.tableau(c)) && rank(t.tableau(c).top()) > rank(card))
            return c;
    int best = 0;
    for (int c = 1; c < play.tableaus(); ++c)
        if (t.tableau(c).cardCount() < t.tableau(best).cardCount())
            best = c;
    return best;
}

bool useful(const Play& play, const Carried& g, PileRef target, const TutorRecord& record)
{
    const bool fromTableau = g.source.kind == PileKind::Tableau;
    if (fromTableau && target.kind == PileKind::Tableau) {
        if (liesOnItsBuild(play, g.source.index, g.index) && !allTopsBuilt(play))
            return false;
        if (g.index == 0 && !holdsCard(play.table().tableau(target.index)))
            return false;
    }
    if (fromTableau && target.kind == PileKind::Reserve) {
        const int top = static_cast<int>(play.table().tableau(g.source.index).size()) - 1;
        if (g.index == top && liesOnItsBuild(play, g.source.index, g.index) && !allTopsBuilt(play))
            return false;
    }
    if ((g.source.kind == PileKind::Stock || g.source.kind == PileKind::Waste) && target.kind == PileKind::Tableau &&
        preferredPileCode(play.tableauCode(target.index)) && preferredPile(play, g.card) != target.index)
        return false;
    if (target.kind != PileKind::Waste && record.containsMoveOrReverse(tutorEntry(g.card, g.source, target)))
        return false;
    return true;
}

struct Attempt {
    Destinations allowed;
    bool automatic = false;
};

// The drop attempt of a click-to-play move at position index of pile, with the filter in front
// of every target. Returns the step (not yet made) or action None.
TutorStep tryPosition(const Play& play, PileRef pile, int index, const Attempt& a, const TutorRecord& record)
{
    TutorStep step;
    const Carried g = carriedAt(play, pile, index);
    if (g.count <= 0 || play.table().isFaceDown(g.card))
        return step;
    const bool holdTableau = play.tableauHeldByStock();
    PileRef list[kMaxAutoTargets];
    const int n = automaticTargets(play, g, a.allowed, a.automatic, list);
    for (int i = 0; i < n; ++i) {
        if ((holdTableau && list[i].kind == PileKind::Tableau) ||
            backMoveRefused(play.state, record, g.card, list[i]) || !mayDrop(play, g, list[i]) ||
            !useful(play, g, list[i], record))
            continue;
        step.action = TutorAction::CardMove;
        step.card = g.card;
        step.source = pile;
        step.sourceIndex = index;
        step.target = list[i];
        step.count = g.count;
        step.description = g.count > 1 ? kMoveAGroup : kMoveACard;
        return step;
    }
    return step;
}

int topIndex(const Pile& p) { return p.empty() || p.top() == 0 ? -1 : static_cast<int>(p.size()) - 1; }

// The completion step's moves one at a time: reserves, the waste, then tableau tops (a face-down
// top is turned up).
TutorStep completionMove(const Play& play, const TutorRecord& record)
{
    const Attempt home{Destinations{true, false, false}, true};
    const Table& t = play.table();
    for (int r = 0; r < play.reserves(); ++r) {
        const int i = topIndex(t.reserve(r));
        if (i >= 0) {
            TutorStep s = tryPosition(play, PileRef::reserve(r), i, home, record);
            if (s.found())
                return s;
        }
    }
    if (holdsCard(t.waste()) && play.rules.wasteLocked() == 0) {
        const int i = topIndex(t.waste());
        if (i >= 0) {
            TutorStep s = tryPosition(play, PileRef::waste(), i, home, record);
            if (s.found())
                return s;
        }
    }
    for (int c = 0; c < play.tableaus(); ++c) {
        const Pile& p = t.tableau(c);
        if (!holdsCard(p))
            continue;
        if (p.top() != 0 && t.isFaceDown(p.top())) {
            TutorStep s;
            s.action = TutorAction::TurnUp;
            s.card = p.top();
            s.source = PileRef::tableau(c);
            s.sourceIndex = static_cast<int>(p.size()) - 1;
            s.count = 1;
            s.description = kMoveACard;
            return s;
        }
        if (hasGrid(play) && !gridOpen(play, c))
            break;
        if (!tableauTopAvailable(play, c))
            continue;
        TutorStep s = tryPosition(play, PileRef::tableau(c), static_cast<int>(p.size()) - 1, home, record);
        if (s.found())
            return s;
    }
    return {};
}

// Positions of a pile from the bottom up, or only the top one.
template <typename Fn>
TutorStep eachPosition(const Play& play, PileRef pile, bool topOnly, Fn&& fn)
{
    const Pile& p = play.table().pile(pile);
    const int first = topOnly ? topIndex(p) : 0;
    if (first < 0)
        return {};
    for (int i = first; i < static_cast<int>(p.size()); ++i) {
        if (p[static_cast<std::size_t>(i)] == 0)
            continue;
        if (pile.kind == PileKind::Tableau && !topOnly && i != static_cast<int>(p.size()) - 1 &&
            pressAction(play, pile, i) != PressAction::Lift)
            continue;
        TutorStep s = fn(i);
        if (s.found())
            return s;
    }
    return {};
}

TutorStep findStep(Play& play, const TutorRecord& record)
{
    if (TutorStep s = completionMove(play, record); s.found())
        return s;
    {
        GameState copy = play.state;
        Play trial{play.rules, copy, play.options};
        if (automaticFill(trial)) {
            TutorStep s;
            s.action = TutorAction::Fill;
            s.description = kMoveACard;
            return s;
        }
    }
    const Table& t = play.table();
    const Attempt both{Destinations{true, true, true}, false};
    if (play.rules.wasteLocked() == 0) {
        const int i = topIndex(t.waste());
        if (i >= 0 && t.isFaceUp(t.waste().top()))
            if (TutorStep s = tryPosition(play, PileRef::waste(), i, both, record); s.found())
                return s;
    }
    const Attempt noReserves{Destinations{true, true, false}, false};
    for (int r = 0; r < play.reserves(); ++r) {
        const PileRef pile = PileRef::reserve(r);
        TutorStep s = eachPosition(play, pile, play.rules.reserveFanStyle() == 3,
                                   [&](int i) { return tryPosition(play, pile, i, noReserves, record); });
        if (s.found())
            return s;
    }
    for (const Attempt& a : {noReserves, both}) {
        for (int c = 0; c < play.tableaus(); ++c) {
            const PileRef pile = PileRef::tableau(c);
            TutorStep s = eachPosition(play, pile, play.rules.tableauFanStyle() == 3,
                                       [&](int i) { return tryPosition(play, pile, i, a, record); });
            if (s.found())
                return s;
        }
    }
    // The family's own moves (a valid set, a gap move, a press) come before the stock.
    if (play.family().special()) {
        MoveList own;
        play.family().addMoves(play, own);
        if (!own.empty()) {
            TutorStep s;
            s.action = TutorAction::FamilyMove;
            s.move = own[0];
            s.source = own[0].from;
            s.sourceIndex = own[0].index;
            s.target = own[0].to;
            s.description = kMoveACard;
            return s;
        }
    }
    if (stockClickAvailable(play)) {
        TutorStep s;
        s.action = TutorAction::StockClick;
        s.source = PileRef::stock();
        s.description = holdsCard(t.stock()) ? kClickToTurnUp : kClickToRedeal;
        return s;
    }
    return {};
}

// Makes a found step through move execution.
void makeStep(Play& play, const TutorStep& s)
{
    switch (s.action) {
    case TutorAction::CardMove:
        moveCards(play, s.source, s.sourceIndex, s.target, s.count > 1);
        afterRelease(play);
        break;
    case TutorAction::TurnUp: turnUp(play, s.source.index); break;
    case TutorAction::Fill: automaticFill(play); break;
    case TutorAction::StockClick: stockClick(play, true); break;
    case TutorAction::FamilyMove: applyMove(play, s.move); break;
    case TutorAction::None: break;
    }
}

} // namespace

std::string TutorEntry::text() const
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03d%02d%03d%02d%03d", card % 1000, sourceKind, sourceIndex % 1000, targetKind,
                  targetIndex % 1000);
    return std::string(buf).substr(0, TutorRecord::kEntryLength);
}

TutorEntry tutorEntry(int card, PileRef source, PileRef target)
{
    TutorEntry e;
    e.card = card;
    e.sourceKind = recordKind(source.kind);
    e.sourceIndex = source.kind == PileKind::Waste || source.kind == PileKind::Unknown ? 0 : source.index;
    e.targetKind = recordKind(target.kind);
    e.targetIndex = target.kind == PileKind::Reserve || target.kind == PileKind::Waste ? 0 : target.index;
    return e;
}

void TutorRecord::append(const TutorEntry& e)
{
    text_ += e.text();
    if (text_.size() > kMaxLength)
        text_.erase(0, text_.size() - kMaxLength);
}

bool TutorRecord::contains(const TutorEntry& e) const
{
    const std::string t = e.text();
    for (std::size_t i = 0; i + kEntryLength <= text_.size(); i += kEntryLength)
        if (text_.compare(i, kEntryLength, t) == 0)
            return true;
    return false;
}

bool TutorRecord::containsMoveOrReverse(const TutorEntry& e) const
{
    // The reverse names the reserve as a target, so its index is 0 as targets are recorded.
    TutorEntry reverse{e.card, e.targetKind, e.targetIndex, e.sourceKind, e.sourceKind == 6 ? 0 : e.sourceIndex};
    return contains(e) || contains(reverse);
}

TutorEntry TutorRecord::newest() const
{
    TutorEntry e;
    if (text_.size() < kEntryLength)
        return e;
    const std::string t = text_.substr(text_.size() - kEntryLength);
    e.card = std::stoi(t.substr(0, 3));
    e.sourceKind = std::stoi(t.substr(3, 2));
    e.sourceIndex = std::stoi(t.substr(5, 3));
    e.targetKind = std::stoi(t.substr(8, 2));
    e.targetIndex = std::stoi(t.substr(10, 3));
    return e;
}

TutorStep tutorStep(Play& play, TutorRecord& record, int mode)
{
    GameState& s = play.state;
    if (s.drag.carriedCard != 0 || s.won)
        return {};
    s.tutorMode = mode;
    TutorStep step = findStep(play, record);
    if (!step.found()) {
        record.clear();
        if (mode == kTutorDemo)
            step.description = kEndOfDemo;
        else
            step.message = kNoOtherMoves;
        return step;
    }
    s.backMoveGuard = true;
    if (step.action == TutorAction::CardMove)
        record.append(tutorEntry(step.card, step.source, step.target));
    if (mode == kTutorDemo) {
        makeStep(play, step);
        s.backMoveGuard = true; // move execution clears it; the guard covers the move just made
    }
    return step;
}

bool backMoveRefused(const GameState& state, const TutorRecord& record, int card, PileRef target)
{
    if (!state.backMoveGuard || state.tutorMode == kTutorDemo || record.empty())
        return false;
    const TutorEntry last = record.newest();
    if (last.card != card)
        return false;
    const TutorEntry wanted = tutorEntry(card, PileRef{}, target);
    return wanted.targetKind != last.targetKind || wanted.targetIndex != last.targetIndex;
}

bool stopTutor(GameState& state, bool forced)
{
    if (!forced && state.tutorMode != 1 && state.tutorMode != 2)
        return false;
    state.tutorMode = 0;
    state.drag = {};
    return true;
}

bool HintTimer::tick(GameState& state)
{
    if (state.tutorMode != kTutorHint)
        return false;
    if (++ticks_ < kTicks)
        return false;
    ticks_ = 0;
    return stopTutor(state, false);
}

void GameDemo::start(GameState& state)
{
    stopTutor(state, false);
    paused_ = false;
    state.tutorMode = kTutorDemo;
}

void GameDemo::pause(GameState& state, bool paused)
{
    paused_ = paused;
    state.tutorMode = paused ? 0 : kTutorDemo;
}

void GameDemo::stop(GameState& state)
{
    paused_ = false;
    state.tutorMode = 0;
}

GameDemo::Tick GameDemo::tick(Play& play, TutorRecord& record)
{
    Tick t;
    if (!running(play.state) || play.state.won) {
        t.finished = true;
        if (play.state.tutorMode == kTutorDemo)
            play.state.tutorMode = 0;
        return t;
    }
    const TutorStep step = tutorStep(play, record, kTutorDemo);
    t.description = step.description;
    if (!step.found()) {
        play.state.tutorMode = 0;
        t.finished = true;
        return t;
    }
    ++moves_;
    t.moved = true;
    t.delayMs = kStepDelayMs;
    if (play.state.won) {
        play.state.tutorMode = 0;
        t.finished = true;
    }
    return t;
}

} // namespace cw::engine
