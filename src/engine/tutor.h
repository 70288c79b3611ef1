// The tutor: one legal, useful move found by the engine's own move machinery, for the hint and the game demo.
#pragma once

#include <string>
#include <string_view>

#include "engine/legal_moves.h"
#include "engine/rules_context.h"

namespace cw::engine {

inline constexpr int kTutorHint = 1;
inline constexpr int kTutorDemo = 3;

inline constexpr const char* kNoOtherMoves = "No other moves.";
inline constexpr const char* kEndOfDemo = "End of the Game Demo";
inline constexpr const char* kMoveACard = "Move a card";
inline constexpr const char* kMoveAGroup = "Move a group of cards";
inline constexpr const char* kClickToRedeal = "Click to redeal";
inline constexpr const char* kClickToTurnUp = "Click to turn up a card(s)";

// One record entry: card code, source and target as (kind, index). Kinds: 4 tableau, 6 reserve,
// 3 waste, 5 foundation, -1 other; a reserve target always has index 0.
struct TutorEntry {
    int card = 0;
    int sourceKind = -1;
    int sourceIndex = 0;
    int targetKind = -1;
    int targetIndex = 0;

    // 13 characters: card (3 digits), source kind (2), source index (3), target kind (2), target index (3).
    std::string text() const;
    friend bool operator==(const TutorEntry&, const TutorEntry&) = default;
};

// The entry of a card moving from source to target.
TutorEntry tutorEntry(int card, PileRef source, PileRef target);

// The last 30 moves the tutor showed or made, newest last, as the 390-character text.
class TutorRecord {
public:
    static constexpr std::size_t kEntryLength = 13;
    static constexpr std::size_t kMaxLength = 390;

    void append(const TutorEntry& e);
    bool contains(const TutorEntry& e) const;
    // The move or its reverse is in the record.
    bool containsMoveOrReverse(const TutorEntry& e) const;
    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size() / kEntryLength; }
    // The newest entry; card 0 when the record is empty.
    TutorEntry newest() const;
    void clear() { text_.clear(); }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// What the tutor found.
enum class TutorAction {
    None,       // nothing: "No other moves." / "End of the Game Demo"
    CardMove,   // a card or a group goes from source to target
    TurnUp,     // the completion step turns up a face-down tableau top
    Fill,       // the automatic fill has a card to place
    StockClick, // a click on the stock
    FamilyMove, // one of the family's own moves (`move`: a set, a gap move, a press)
};

struct TutorStep {
    TutorAction action = TutorAction::None;
    int card = 0;
    PileRef source{};
    int sourceIndex = -1;
    PileRef target{};
    int count = 0;           // cards moved (a group when more than one)
    Move move{};             // FamilyMove: the move
    std::string description; // the demo window's text of this step
    std::string message;     // the box to show (hint only): "No other moves."
    bool found() const { return action != TutorAction::None; }
};

// One tutor step. mode kTutorHint finds the move and leaves the table as it is; kTutorDemo
// finds it and makes it through move execution (events go to play's sink). The tutor mode of
// the state is set to mode; the back-move guard is set when a move was found; the record gets
// the move, or is cleared when nothing was found. Nothing happens while cards are carried or
// the game is over (action None, no message).
TutorStep tutorStep(Play& play, TutorRecord& record, int mode);

// The automatic destination search's back-move guard: while it is set and outside the demo,
// the card of the newest record entry may go only to that entry's target.
bool backMoveRefused(const GameState& state, const TutorRecord& record, int card, PileRef target);

// Ends a running hint or demo: tutor mode 0, the carried card cleared. Unless forced it acts
// only in tutor modes 1 and 2. True when it stopped something.
bool stopTutor(GameState& state, bool forced);

// The pointer of a hint lives three ticks of the clock timer.
class HintTimer {
public:
    static constexpr int kTicks = 3;
    void reset() { ticks_ = 0; }
    // One tick of the clock timer: true when the hint has ended now (tutor mode back to 0).
    bool tick(GameState& state);

private:
    int ticks_ = 0;
};

// The game demo's sequencing, without the window: the caller waits delayMs before each step
// and shows description and moveCount after it.
class GameDemo {
public:
    static constexpr int kStartDelayMs = 200;
    static constexpr int kStepDelayMs = 500;

    // "Game Demo" or "Play": tutor mode 3; the first step comes after kStartDelayMs.
    void start(GameState& state);
    // "Pause" pressed (true) or released (false).
    void pause(GameState& state, bool paused);
    // "Stop": both buttons up, tutor mode 0.
    void stop(GameState& state);
    bool running(const GameState& state) const { return !paused_ && state.tutorMode == kTutorDemo; }
    bool paused() const { return paused_; }

    struct Tick {
        bool moved = false;
        bool finished = false; // the demo ended (no move left, or it was stopped)
        int delayMs = 0;       // wait before the next tick
        std::string description;
    };
    // One step of the demo loop with the session's tutor record; a game that is over ends it.
    Tick tick(Play& play, TutorRecord& record);

    int moveCount() const { return moves_; }

private:
    int moves_ = 0;
    bool paused_ = false;
};

} // namespace cw::engine
