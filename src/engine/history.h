// Move history: undo and redo snapshots of the table, their event logs, the undo option and marks.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"
#include "engine/table.h"

namespace cw::engine {

// The player's undo option (settings column 137, preference "Undo_Enabled").
enum class UndoOption : int {
    Unlimited = 0, // "0": any number of undo and redo steps
    OneInARow = 1, // "1": one undo or one redo, then the other direction (or a move) first
    Disabled = 2,  // "2": undo and redo refused
};
// "1" and "2" select their options; anything else is unlimited, as the options dialog reads it.
UndoOption undoOptionFromText(std::string_view text);
const char* undoOptionText(UndoOption option);

// Event codes of the move log. A log entry is either empty (0) or one code written as three
// digits; codes read from files other than these four are kept as they are.
inline constexpr int kNoEvent = 0;
inline constexpr int kEventDrop = 1;        // "001" recorded by the drop rules
inline constexpr int kEventMoveCounter = 2; // "002" the move (stock-click) counter rose by one
inline constexpr int kEventRedeal = 3;      // "003" the deal number rose by one
inline constexpr int kEventOneTime = 4;     // "004" the one-time draw or a game's one-time action
inline constexpr int kLastEventCode = 999;

// Selection games keep their selection buffer in foundation 1, which is not part of the
// position: rule parameter 41 not 0, or a family that keeps its selection there.
bool storesFoundation1Empty(const GameRules& rules);

// A list of whole-table snapshots, oldest first. Stored compactly (one byte per position, a
// length per pile and the face bits of the cards) so that a move costs a few hundred bytes and
// no allocation once the list has grown; the snapshot texts are made only when saving.
class SnapshotList {
public:
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }

    // Appends the table; with blankFoundation1 foundation 1 is stored as an empty pile.
    void push(const Table& table, bool blankFoundation1 = false);
    // Appends a snapshot given as its 71 snapshot texts in table order (saved games). False
    // (list unchanged) when a text is not a valid snapshot text or a card appears twice.
    bool pushTexts(const std::vector<std::string_view>& texts);
    void popBack();
    void clear();
    void reserve(std::size_t snapshots, std::size_t positionsPerSnapshot);

    // Restores snapshot i onto the table, pile by pile in the order second waste, waste, stock,
    // foundations 16 to 1, tableau 40 to 1, reserves 12 to 1: each pile is cleared and refilled
    // with the stored positions, and the cards' face flags come back as stored (cards of a
    // snapshot read from texts that lie on no pile read as face up). keepFoundation1 leaves
    // foundation 1 and the faces of its cards alone.
    void restore(std::size_t i, Table& table, bool keepFoundation1 = false) const;

    // Snapshot text ("0011" + ...) of the pile at table-order position 0..70 of snapshot i.
    std::string pileText(std::size_t i, int tableOrder) const;
    // Positions of the pile at table-order position 0..70 of snapshot i.
    std::size_t pileSize(std::size_t i, int tableOrder) const;

    // Bytes held by the list (capacity, not size), for the memory budget of long games.
    std::size_t memoryBytes() const;

    friend bool operator==(const SnapshotList& a, const SnapshotList& b);

private:
    using FaceBits = std::bitset<kLastCard + 1>; // bit c set: card code c lies face down

    std::size_t pileOffset(std::size_t i, int tableOrder) const;

    std::vector<std::uint8_t> codes_;    // every snapshot's positions, piles in table order
    std::vector<std::uint16_t> lengths_; // kTablePiles lengths per snapshot
    std::vector<std::uint32_t> starts_;  // first position of each snapshot in codes_
    std::vector<FaceBits> faces_;        // the whole table's face bits, one per snapshot
};

// The event log of one history: one entry per snapshot, 0 for an empty entry.
using EventLog = std::vector<std::uint16_t>;

// ",003,," style text: every entry followed by a comma, codes as three digits.
std::string eventLogText(const EventLog& log);
// Reads a log text. Entries are empty or three digits 001..999; the final comma may be missing.
// False (log untouched) on anything else.
bool parseEventLog(std::string_view text, EventLog& log);

// One history (undo or redo): the snapshots and the event log.
struct HistoryList {
    SnapshotList snapshots;
    EventLog log;

    void clear()
    {
        snapshots.clear();
        log.clear();
    }
    // Entries of the whole log equal to code.
    int countEvents(int code) const;
    // Whether the last entry holds code.
    bool lastEntryHas(int code) const;

    friend bool operator==(const HistoryList&, const HistoryList&) = default;
};

// What the history needs to know about the player's option and the game.
struct HistoryPolicy {
    UndoOption option = UndoOption::Unlimited;
    bool blankFoundation1 = false; // the selection-game rule for foundation 1

    static HistoryPolicy forGame(const GameRules& rules, UndoOption option)
    {
        return HistoryPolicy{option, storesFoundation1Empty(rules)};
    }
};

enum class HistoryKind { Undo, Redo };

// The undo and redo histories of the current deal with the two undo marks (settings columns
// 138 and 139, which the session mirrors). A plain value: no I/O, no presentation; the caller
// plays sounds, redraws and recomputes the score after a successful undo or redo.
class History {
public:
    HistoryList undo;
    HistoryList redo;
    bool undoMark = false; // set by an undo, cleared by the next push to the undo history
    bool redoMark = false; // set by a redo, cleared by the next push to the redo history

    // Push snapshot: appends the table and an empty log entry, and resets the matching mark.
    void push(HistoryKind kind, const Table& table, const HistoryPolicy& policy);
    void pushUndo(const Table& table, const HistoryPolicy& policy) { push(HistoryKind::Undo, table, policy); }
    // Empties the redo snapshots and log (after every move).
    void clearRedo() { redo.clear(); }
    // A new deal: both histories, both logs and both marks.
    void clearAll();
    // Replaces the last (empty) entry of the undo log by code; nothing when the log is empty.
    void recordEvent(int code);
    // Joins the last n moves to the undo step before them: per move the most recent undo
    // snapshot goes and the last two log entries become one. The entry kept is the most recent
    // one, or the older one when the most recent is empty, so that an event recorded before an
    // automatic follow-up is still undone with it. Never removes the last remaining snapshot.
    void join(int n = 1);

    // Whether an undo (redo) would be accepted under the option and marks.
    bool canUndo(const HistoryPolicy& policy) const;
    bool canRedo(const HistoryPolicy& policy) const;

    // Undo: pushes the current table to the redo history, restores the last undo snapshot and
    // reverses the side effects of its log entry on the state (move counter, deal number,
    // draw-used flag). False (nothing changed) when refused: empty history, option Disabled,
    // or option OneInARow right after an undo. The caller beeps on false.
    bool undoMove(GameState& state, const HistoryPolicy& policy);
    // Redo: the mirror image.
    bool redoMove(GameState& state, const HistoryPolicy& policy);

    // Restart: restores the first undo snapshot (the position after the deal) onto the table;
    // false when the history is empty (the table stays as dealt). The caller then clears the
    // undo history.
    bool restoreFirst(Table& table, const HistoryPolicy& policy) const;

    std::size_t memoryBytes() const { return undo.snapshots.memoryBytes() + redo.snapshots.memoryBytes(); }

    friend bool operator==(const History&, const History&) = default;
};

// Records one player action made through a call that does not record itself (the CLI applying
// generated moves): begin() pushes the snapshot; end() keeps it only when the table changed,
// turns the change of the state's side values into the log entry (redeal, counted click,
// one-time draw, drop) and clears the redo history. One action is one undo step, follow-ups
// included.
class MoveRecorder {
public:
    MoveRecorder(History& history, const HistoryPolicy& policy) : history_(history), policy_(policy) {}
    void begin(const GameState& state);
    void end(const GameState& state, bool changed);

private:
    History& history_;
    HistoryPolicy policy_;
    // The state's side values and the undo mark when the action began.
    int dealNumber_ = 0;
    int stockClicks_ = 0;
    bool drawUsed_ = false;
    bool undoMark_ = false;
    std::array<std::uint8_t, kEventCodes> counts_{};
};

// Reorder foundation: sorts the cards of foundation index (0-based) by ascending code, keeping
// equal codes in order. True when it holds more than one card (the caller plays "Reorder").
bool reorderFoundation(Table& table, int index);

} // namespace cw::engine
