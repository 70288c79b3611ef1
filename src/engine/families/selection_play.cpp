// The selection games in play: the press toggles cards in the buffer, a complete set leaves the table.
#include "engine/families/selection_play.h"

#include <array>

#include "engine/families/family_cards.h"
#include "engine/families/selection_moves.h"
#include "engine/families/selection_rules.h"
#include "engine/families/selection_sets.h"
#include "engine/moves.h"
#include "engine/stock.h"

namespace cw::engine::families {
namespace {

// The event code that records family 71's one exchange of a game (undo gives it back).
constexpr int kExchangeEvent = 1;
constexpr const char* kExchangeOffer =
    ". You may exchange the positions of these two cards once in a game: Ctrl+click the second card.";

// The buffer's codes in click order, with room for the card being tried.
struct Codes {
    std::array<int, kMaxSelection + 1> at{};
    int size = 0;
    std::span<const int> span() const { return {at.data(), static_cast<std::size_t>(size)}; }
};

Codes bufferCodes(const Table& t)
{
    Codes c;
    for (int code : t.foundation(0))
        if (code != 0 && c.size < kMaxSelection)
            c.at[static_cast<std::size_t>(c.size++)] = code;
    return c;
}

void present(Play& play, const CardMoves& moves)
{
    for (const CardMove& m : moves) {
        if (m.from == m.to)
            play.turned(m.card, m.from, m.faceUp);
        else
            play.moved(m.card, m.from, m.to, m.faceUp);
    }
}

void beep(Play& play, std::string why) { play.addEvent(Event{EventType::Beep, 0, {}, {}, true, std::move(why)}); }

void highlight(Play& play, int card, PileRef pile, bool on)
{
    play.addEvent(Event{on ? EventType::Highlight : EventType::Unhighlight, card, pile, pile, true, {}});
}

// Takes card out of the buffer; false when it was not there.
bool deselect(Play& play, int card)
{
    Pile& buffer = play.table().foundation(0);
    const int at = buffer.find(card);
    if (at < 0)
        return false;
    buffer.erase(static_cast<std::size_t>(at));
    highlight(play, card, findCard(play.rules, play.table(), card, true).pile, false);
    return true;
}

} // namespace

PressAction selectionPressAction(PressAction ordinary)
{
    return ordinary == PressAction::Lift || ordinary == PressAction::Draw ? PressAction::None : ordinary;
}

Handled selectionPress(Play& play, const Press& press)
{
    const GameRules& r = play.rules;
    const int family = r.specialFamily();
    if (press.button != Button::Left || !press.pile.valid() || (press.ctrl && family != 71))
        return Handled::Unchanged;
    Table& t = play.table();
    const PileRef pile = press.pile;
    const Pile& p = t.pile(pile);
    int index = press.index;
    if (pile.kind == PileKind::Stock) {
        // The stock's top card joins a started selection in the Pyramid games; otherwise the
        // stock deals by the game's scheme.
        index = static_cast<int>(p.size()) - 1;
        if (p.empty() || !maySelect(r, t, pile, index))
            return stockClick(play, play.state.tutorMode == 3) ? Handled::Changed : Handled::Unchanged;
    }
    if (pile.kind == PileKind::Waste && !holdsCard(p) && (family == 14 || family == 16))
        return stockClick(play, true) ? Handled::Changed : Handled::Unchanged;
    if (index < 0 || static_cast<std::size_t>(index) >= p.size() || p[static_cast<std::size_t>(index)] == 0)
        return Handled::Unchanged;
    const int card = p[static_cast<std::size_t>(index)];
    if (pile.kind == PileKind::Tableau && t.isFaceDown(card)) {
        const bool top = static_cast<std::size_t>(index) + 1 == p.size();
        if (top && (family == 25 || family == 26) && pile.index < tableausInUse(r))
            return turnUp(play, pile.index) ? Handled::Changed : Handled::Unchanged;
        return Handled::Unchanged;
    }
    if (deselect(play, card))
        return Handled::Changed;
    if (!maySelect(r, t, pile, index)) {
        beep(play, rankWord(card) + " cannot be taken now");
        return Handled::Unchanged;
    }
    Codes codes = bufferCodes(t);
    if (codes.size >= kMaxSelection) {
        beep(play, "at most " + std::to_string(kMaxSelection) + " cards at a time");
        return Handled::Unchanged;
    }
    codes.at[static_cast<std::size_t>(codes.size++)] = card;
    const SetCheck check = checkSet(r, t, codes.span());
    if (check.state == SetState::Refused) {
        // Family 71: two cards that do not pair may change places instead, once in a game.
        if (check.offerExchange && !play.eventRecorded(kExchangeEvent)) {
            if (!press.ctrl) {
                beep(play, check.reason + kExchangeOffer);
                return Handled::Unchanged;
            }
            t.foundation(0).push(card);
            CardMoves moves;
            exchangeSelection(r, t, &moves);
            present(play, moves);
            play.sound("Tableau");
            play.recordEvent(kExchangeEvent);
            return Handled::Changed;
        }
        beep(play, check.reason);
        return Handled::Unchanged;
    }
    t.foundation(0).push(card);
    highlight(play, card, pile, true);
    if (check.state == SetState::Complete)
        completeSelection(play);
    return Handled::Changed;
}

void completeSelection(Play& play)
{
    const GameRules& r = play.rules;
    const int family = r.specialFamily();
    Table& t = play.table();
    CardMoves moves;
    switch (setEffect(family)) {
    case SetEffect::Exchange:
        exchangeSelection(r, t, &moves);
        present(play, moves);
        play.sound("Tableau");
        break;
    case SetEffect::Accordion:
        accordionSelection(t, &moves);
        present(play, moves);
        play.sound("Pairing");
        break;
    case SetEffect::Discard:
        if (!discardSelection(r, t, false, &moves)) {
            t.foundation(0).clear();
            return;
        }
        present(play, moves);
        play.sound("Pairing");
        moves.clear();
        if (!keepsGaps(family) && refillFromStock(r, t, &moves)) {
            present(play, moves);
            play.sound("Shuffle");
        }
        moves.clear();
        if (family == 75 && discardTopKings(r, t, &moves)) {
            present(play, moves);
            play.sound("Pairing");
        }
        break;
    }
    t.foundation(0).clear();
    testWon(play);
}

void addSetMoves(const Play& play, MoveList& list)
{
    SetList sets;
    completeSets(play.rules, play.table(), sets);
    for (const CardSet& s : sets) {
        Move m{MoveKind::Select, {}, -1, {}};
        for (int i = 0; i < s.size && i < Move::kMaxCards; ++i)
            m.cards[static_cast<std::size_t>(i)] = s.cards[static_cast<std::size_t>(i)];
        list.push(m);
    }
}

bool playSet(Play& play, const Move& move)
{
    const int n = move.cardCount();
    if (n == 0)
        return false;
    Codes codes;
    for (int i = 0; i < n; ++i)
        codes.at[static_cast<std::size_t>(codes.size++)] = move.cards[static_cast<std::size_t>(i)];
    Table& t = play.table();
    if (judgeSet(play.rules, t, codes.span()).state != SetState::Complete)
        return false;
    Pile& buffer = t.foundation(0);
    buffer.clear();
    for (int i = 0; i < codes.size; ++i) {
        const int card = codes.at[static_cast<std::size_t>(i)];
        buffer.push(card);
        highlight(play, card, findCard(play.rules, t, card, true).pile, true);
    }
    completeSelection(play);
    if (play.state.tutorMode != 3)
        play.state.moveMade = true;
    return true;
}

bool selectionFits(const GameRules& rules, const Table& table)
{
    const Pile& buffer = table.foundation(0);
    if (buffer.size() > static_cast<std::size_t>(kMaxSelection))
        return false;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const int code = buffer[i];
        if (code == 0 || buffer.find(code) != static_cast<int>(i))
            return false;
        const CardSpot s = findCard(rules, table, code, true);
        if (!s.found() || s.pile.kind == PileKind::SecondWaste)
            return false;
    }
    return true;
}

void selectionMarks(const GameRules& rules, const GameState& state, PileMarks& out)
{
    for (int code : state.table.foundation(0)) {
        if (code == 0)
            continue;
        const CardSpot s = findCard(rules, state.table, code, true);
        if (s.found())
            out.push_back(PileMark{MarkKind::Highlight, s.pile, s.index, 0, {}, false});
    }
}

} // namespace cw::engine::families
