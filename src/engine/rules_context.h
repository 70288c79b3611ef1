// What every rule function works on: the game's rules, the deal's state, the player's options and an event sink.
#pragma once

#include <algorithm>
#include <string>

#include "catalog/rules.h"
#include "engine/events.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"

namespace cw::engine {

// Whether a pile holds a card (not only placeholders): the cheap form of cardCount() > 0.
inline bool holdsCard(const Pile& p)
{
    for (int c : p)
        if (c != 0)
            return true;
    return false;
}

// The preferences the play rules consult, with their defaults.
struct PlayOptions {
    bool autoplay = false;                // the "Auto&play" switch
    bool automaticFaceUp = true;          // "Automatic_FaceUp"
    bool rightClickToFoundations = true;  // "RightClick_To_Foundations"
    bool rightClickToTableaus = true;     // "RightClick_To_Tableaus"
    bool doubleClickToFoundations = true; // "DoubleClick_To_Foundations"
    bool doubleClickToTableaus = false;   // "DoubleClick_To_Tableaus"
};

class TutorRecord;

// One call's working set. Rules are const: per-game changes the play makes (a reversed column)
// live in the state. Events are appended when a sink is given; the fast paths pass none.
struct Play {
    Play(const GameRules& rules, GameState& state, const PlayOptions& options, Events* events = nullptr,
         const TutorRecord* tutorRecord = nullptr)
        : rules(rules), state(state), options(options), events(events), tutorRecord(tutorRecord)
    {}
    // Bare rule vectors carry no family: make GameRules of them first (which resolves it once).
    Play(const catalog::Rules&, GameState&, const PlayOptions&, Events* = nullptr,
         const TutorRecord* = nullptr) = delete;
    Play(const GameRules&&, GameState&, const PlayOptions&, Events* = nullptr, const TutorRecord* = nullptr) = delete;

    const GameRules& rules;
    GameState& state;
    const PlayOptions& options;
    Events* events = nullptr;
    // The tutor's record where the window keeps one: the player's own right and double clicks
    // then honour the back-move guard too, so a card just shown by a hint goes where it showed.
    const TutorRecord* tutorRecord = nullptr;

    Table& table() { return state.table; }
    const Table& table() const { return state.table; }

    int foundations() const { return std::clamp(rules.foundationCount(), 0, kFoundationPiles); }
    int tableaus() const { return std::clamp(rules.tableauCount(), 0, kTableauPiles); }
    int reserves() const { return std::clamp(rules.reserveCount(), 0, kReservePiles); }
    // The game's special family (the ordinary one for ordinary games).
    const Family& family() const { return rules.family(); }

    // Column direction with the player's reversal (building rule Reversible) applied.
    int columnDirection(int c) const
    {
        const int d = rules.tableauDirection(c);
        if (c >= 0 && c < 64 && (state.ascendingColumns >> c) & 1U)
            return d == catalog::Direction::Down ? catalog::Direction::Up
                                                 : (d == catalog::Direction::Up ? catalog::Direction::Down : d);
        return d;
    }

    // Building rule codes, with the "all piles" values (488, 487) taking precedence when set.
    int tableauCode(int c) const { return rules.tableauBuildRule(c); }
    int foundationCode(int f) const { return rules.foundationBuildRule(f); }
    // Nothing is built on the tableau while the stock holds cards (building rule HeldByStock).
    bool tableauHeldByStock() const
    {
        return tableauCode(0) == catalog::BuildRule::HeldByStock && holdsCard(table().stock());
    }

    void addEvent(Event e)
    {
        if (events)
            events->push_back(std::move(e));
    }
    void sound(const char* name) { addEvent(Event{EventType::Sound, 0, {}, {}, true, name}); }
    void message(std::string text) { addEvent(Event{EventType::Message, 0, {}, {}, true, std::move(text)}); }
    void moved(int card, PileRef from, PileRef to, bool faceUp)
    {
        addEvent(Event{EventType::CardMoved, card, from, to, faceUp, {}});
    }
    void turned(int card, PileRef on, bool faceUp) { addEvent(Event{EventType::CardTurned, card, on, on, faceUp, {}}); }

    void recordEvent(int code)
    {
        if (code > 0 && code < kEventCodes && state.eventCounts[static_cast<std::size_t>(code)] < 255)
            ++state.eventCounts[static_cast<std::size_t>(code)];
    }
    bool eventRecorded(int code) const
    {
        return code > 0 && code < kEventCodes && state.eventCounts[static_cast<std::size_t>(code)] > 0;
    }
};

} // namespace cw::engine
