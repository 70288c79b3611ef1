// Move history: undo and redo with the option and marks, side effects of the log, joining, foundation 1, reorder.
#include <gtest/gtest.h>

#include "engine/deal.h"
#include "history_support.h"
#include "rule_sets.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

GameState klondikeDeal(const std::string& number = "12345")
{
    return deal(klondike(), number).state;
}

// Moves the top card of one pile onto another, recorded as move execution records a move.
void move(GameState& s, History& h, const HistoryPolicy& p, PileRef from, PileRef to)
{
    h.pushUndo(s.table, p);
    const int c = s.table.pile(from).pop();
    s.table.append(to, c, true);
    h.clearRedo();
}

enum class Step { Move, Undo, Redo };

struct OptionCase {
    const char* name;
    UndoOption option;
    std::vector<Step> steps;
    std::vector<bool> accepted; // per Undo/Redo step, in order
};

} // namespace

TEST(History, UndoAfterDealRefusedThenOneMoveBackToTheDeal)
{
    GameState s = klondikeDeal();
    const GameState dealt = s;
    History h;
    const HistoryPolicy p;
    EXPECT_FALSE(h.undoMove(s, p)) << "the deal pushes no snapshot";
    move(s, h, p, PileRef::tableau(6), PileRef::foundation(0));
    ASSERT_NE(s.table, dealt.table);
    EXPECT_TRUE(h.undoMove(s, p));
    EXPECT_EQ(snapshotLines(s.table), snapshotLines(dealt.table));
    EXPECT_FALSE(h.undoMove(s, p));
    EXPECT_EQ(s, dealt) << "a refused undo changes nothing";
}

TEST(History, UndoOptionAndMarks)
{
    const std::vector<OptionCase> cases = {
        {"unlimited: two undos", UndoOption::Unlimited, {Step::Move, Step::Move, Step::Undo, Step::Undo}, {true, true}},
        {"one: second undo refused", UndoOption::OneInARow, {Step::Move, Step::Move, Step::Undo, Step::Undo}, {true, false}},
        {"one: undo redo undo", UndoOption::OneInARow,
         {Step::Move, Step::Move, Step::Undo, Step::Redo, Step::Undo}, {true, true, true}},
        {"one: redo twice refused", UndoOption::OneInARow,
         {Step::Move, Step::Move, Step::Undo, Step::Redo, Step::Redo}, {true, true, false}},
        {"one: a move clears the mark", UndoOption::OneInARow,
         {Step::Move, Step::Move, Step::Undo, Step::Move, Step::Undo}, {true, true}},
        {"disabled", UndoOption::Disabled, {Step::Move, Step::Undo}, {false}},
        {"a move after an undo clears redo", UndoOption::Unlimited, {Step::Move, Step::Undo, Step::Move, Step::Redo},
         {true, false}},
        {"redo with nothing undone", UndoOption::Unlimited, {Step::Move, Step::Redo}, {false}},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        GameState s = klondikeDeal();
        History h;
        const HistoryPolicy p{c.option, false};
        std::vector<bool> got;
        int column = 0;
        for (Step step : c.steps) {
            if (step == Step::Move) {
                move(s, h, p, PileRef::tableau(6 - column), PileRef::reserve(column));
                ++column;
            } else {
                const GameState before = s;
                const bool ok = step == Step::Undo ? h.undoMove(s, p) : h.redoMove(s, p);
                if (!ok) {
                    EXPECT_EQ(s, before);
                }
                got.push_back(ok);
            }
        }
        EXPECT_EQ(got, c.accepted);
    }
}

TEST(History, LogEventsAreTakenBackAndRedone)
{
    struct Case {
        const char* name;
        int event;
        bool stockFilledByMove; // the move turned the waste back into an empty stock
        int dealNumberAfterUndo, stockClicksAfterUndo;
        bool drawUsedAfterUndo;
    };
    const std::vector<Case> cases = {
        {"redeal refilling the stock: once, not twice", kEventRedeal, true, 1, 4, true},
        {"redeal leaving the stock empty: by the log", kEventRedeal, false, 1, 4, true},
        {"turnover not logged (older files): by the stock", kNoEvent, true, 1, 4, true},
        {"counted stock click", kEventMoveCounter, false, 1, 4, true},
        {"one-time draw", kEventOneTime, false, 1, 4, false},
        {"drop", kEventDrop, false, 1, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameState s;
        s.table = tableOf({{"Mazzo_Vis", "00110121"}, {"Fila1", "0031"}});
        s.dealNumber = 1;
        s.stockClicks = 4;
        s.drawUsed = c.event != kEventOneTime; // only event 004 may change it
        History h;
        const HistoryPolicy p;
        h.pushUndo(s.table, p);
        if (c.stockFilledByMove) {
            s.table.append(PileRef::stock(), s.table.waste().pop(), false);
            s.table.append(PileRef::stock(), s.table.waste().pop(), false);
        } else {
            s.table.append(PileRef::tableau(1), s.table.tableau(0).pop(), true);
        }
        if (c.event == kEventRedeal || c.stockFilledByMove)
            ++s.dealNumber;
        if (c.event == kEventMoveCounter)
            ++s.stockClicks;
        if (c.event == kEventOneTime)
            s.drawUsed = true;
        if (c.event != kNoEvent)
            h.recordEvent(c.event);
        const GameState afterMove = s;
        const bool hasEvent = c.event != kNoEvent;
        if (hasEvent) {
            EXPECT_TRUE(h.undo.lastEntryHas(c.event));
        }

        ASSERT_TRUE(h.undoMove(s, p));
        EXPECT_EQ(s.dealNumber, c.dealNumberAfterUndo);
        EXPECT_EQ(s.stockClicks, c.stockClicksAfterUndo);
        EXPECT_EQ(s.drawUsed, c.drawUsedAfterUndo);
        EXPECT_EQ(h.undo.log.size(), 0u);
        EXPECT_EQ(h.redo.log, EventLog{static_cast<std::uint16_t>(c.event)}) << "the entry moved to the redo log";

        ASSERT_TRUE(h.redoMove(s, p));
        EXPECT_EQ(snapshotLines(s.table), snapshotLines(afterMove.table));
        EXPECT_EQ(s.dealNumber, afterMove.dealNumber);
        EXPECT_EQ(s.stockClicks, afterMove.stockClicks);
        EXPECT_EQ(s.drawUsed, afterMove.drawUsed);
        EXPECT_EQ(h.undo.log, EventLog{static_cast<std::uint16_t>(c.event)});
        EXPECT_TRUE(h.redo.log.empty());
    }
}

TEST(History, UndoRestoresFaceDownCards)
{
    GameState s;
    s.table = tableOf({{"Fila1", "00100020"}, {"Fila2", "0401"}});
    History h;
    const HistoryPolicy p;
    move(s, h, p, PileRef::tableau(0), PileRef::tableau(1)); // the 2 goes, the ace is turned up
    s.table.setFace(1, true);
    ASSERT_EQ(encodeSnapshotPile(s.table, PileRef::tableau(0)), "0011");
    ASSERT_TRUE(h.undoMove(s, p));
    EXPECT_EQ(encodeSnapshotPile(s.table, PileRef::tableau(0)), "00100020");
    EXPECT_EQ(encodeSnapshotPile(s.table, PileRef::tableau(1)), "0401");
}

TEST(History, SelectionGamesKeepFoundation1OutOfTheHistory)
{
    struct Case {
        int param41, family;
        bool blank;
    };
    for (const Case& c : std::vector<Case>{{1, 0, true}, {13, 0, true}, {0, 3, true}, {0, 4, true}, {0, 67, true},
                                           {0, 83, true}, {0, 33, true}, {0, 0, false}}) {
        SCOPED_TRACE(std::to_string(c.param41) + "/" + std::to_string(c.family));
        cw::engine::GameRules r;
        r.set(41, c.param41);
        r.set(54, c.family);
        const HistoryPolicy p = HistoryPolicy::forGame(r, UndoOption::Unlimited);
        EXPECT_EQ(p.blankFoundation1, c.blank);

        GameState s;
        s.table = tableOf({{"Dest1", "0051"}, {"Fila1", "00710081"}});
        History h;
        h.pushUndo(s.table, p);
        EXPECT_EQ(h.undo.snapshots.pileText(0, 3), c.blank ? "" : "0051");
        // The selection changes, then the move is taken back.
        s.table.append(PileRef::foundation(0), 8, true);
        s.table.tableau(0).pop();
        ASSERT_TRUE(h.undoMove(s, p));
        EXPECT_EQ(encodeSnapshotPile(s.table, PileRef::tableau(0)), "00710081");
        EXPECT_EQ(encodeSnapshotPile(s.table, PileRef::foundation(0)), c.blank ? "00510081" : "0051");
    }
}

TEST(History, JoinedFollowUpsAreUndoneWithTheMove)
{
    GameState s;
    s.table = tableOf({{"Fila1", "00100020"}, {"Mazzo", "00300040"}, {"Fila2", ""}});
    const GameState before = s;
    History h;
    const HistoryPolicy p;
    // The player's move, counted as a stock click...
    h.pushUndo(s.table, p);
    s.table.append(PileRef::waste(), s.table.stock().pop(), true);
    ++s.stockClicks;
    h.recordEvent(kEventMoveCounter);
    // ...then two automatic follow-ups (a turn-up and a fill), each joined to it.
    h.pushUndo(s.table, p);
    s.table.setFace(2, true);
    h.join(1);
    h.pushUndo(s.table, p);
    s.table.append(PileRef::tableau(1), s.table.stock().pop(), true);
    h.join();
    EXPECT_EQ(h.undo.snapshots.size(), 1u);
    EXPECT_EQ(h.undo.log, EventLog{kEventMoveCounter}) << "the joined entry keeps the move's event";

    ASSERT_TRUE(h.undoMove(s, p));
    EXPECT_EQ(snapshotLines(s.table), snapshotLines(before.table));
    EXPECT_EQ(s.stockClicks, 0);
    EXPECT_FALSE(h.undoMove(s, p));

    // A join never takes the move's own snapshot.
    History single;
    single.pushUndo(s.table, p);
    single.join(3);
    EXPECT_EQ(single.undo.snapshots.size(), 1u);
}

TEST(History, UndoAllThenRedoAllOverRandomMoves)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 20; ++trial) {
        GameState s = klondikeDeal(std::to_string(1000 + trial));
        const GameState dealt = s;
        History h;
        const HistoryPolicy p;
        std::vector<GameState> states{s};
        const int moves = 1 + static_cast<int>(rng() % 60);
        for (int m = 0; m < moves; ++m) {
            randomMove(s, h, p, rng);
            states.push_back(s);
        }
        ASSERT_EQ(h.undo.snapshots.size(), static_cast<std::size_t>(moves));
        const int back = 1 + static_cast<int>(rng() % moves);
        for (int k = 1; k <= back; ++k) {
            ASSERT_TRUE(h.undoMove(s, p));
            const GameState& want = states[static_cast<std::size_t>(moves - k)];
            ASSERT_EQ(snapshotLines(s.table), snapshotLines(want.table)) << "undo " << k;
            ASSERT_EQ(s.dealNumber, want.dealNumber);
            ASSERT_EQ(s.stockClicks, want.stockClicks);
            ASSERT_EQ(s.drawUsed, want.drawUsed);
        }
        for (int k = back - 1; k >= 0; --k)
            ASSERT_TRUE(h.redoMove(s, p));
        EXPECT_EQ(snapshotLines(s.table), snapshotLines(states.back().table));
        EXPECT_EQ(s.dealNumber, states.back().dealNumber);
        EXPECT_EQ(s.stockClicks, states.back().stockClicks);
        EXPECT_FALSE(h.redoMove(s, p));
        while (h.undoMove(s, p)) {
        }
        EXPECT_EQ(snapshotLines(s.table), snapshotLines(dealt.table));
        EXPECT_EQ(s.dealNumber, 1);
    }
}

TEST(History, RestartRestoresTheFirstSnapshot)
{
    GameState s = klondikeDeal();
    const Table dealt = s.table;
    History h;
    const HistoryPolicy p;
    EXPECT_FALSE(h.restoreFirst(s.table, p)) << "no move made: the table stays as dealt";
    std::mt19937 rng(3);
    for (int m = 0; m < 10; ++m)
        randomMove(s, h, p, rng);
    ASSERT_TRUE(h.restoreFirst(s.table, p));
    EXPECT_EQ(snapshotLines(s.table), snapshotLines(dealt));
}

TEST(History, EventLogText)
{
    struct Case {
        const char* text;
        bool ok;
        EventLog log;
        const char* written; // the text written back; nullptr: same as read
    };
    const std::vector<Case> cases = {
        {"", true, {}, nullptr},
        {",003,,", true, {0, 3, 0}, nullptr},
        {"001,002,003,004,", true, {1, 2, 3, 4}, nullptr},
        {",,017,", true, {0, 0, 17}, nullptr},
        {",003", true, {0, 3}, ",003,"},
        {"03,", false, {}, nullptr},
        {"000,", false, {}, nullptr},
        {"0a3,", false, {}, nullptr},
        {"0003,", false, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EventLog log{9};
        EXPECT_EQ(parseEventLog(c.text, log), c.ok);
        if (!c.ok) {
            EXPECT_EQ(log, EventLog{9}) << "untouched on failure";
            continue;
        }
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(eventLogText(log), c.written ? c.written : c.text);
    }
}

TEST(History, SnapshotTextsMatchTheTableEncoder)
{
    GameState s = deal(spider(), "777").state;
    s.table.append(PileRef::tableau(3), 0);
    s.table.append(PileRef::reserve(11), 209, false);
    SnapshotList list;
    list.push(s.table);
    for (int i = 0; i < kTablePiles; ++i) {
        EXPECT_EQ(list.pileText(0, i), encodeSnapshotPile(s.table, pileAtTableOrder(i))) << i;
        EXPECT_EQ(list.pileSize(0, i), s.table.pile(pileAtTableOrder(i)).size());
    }
    // Texts read back give the same compact snapshot.
    std::vector<std::string> texts;
    for (int i = 0; i < kTablePiles; ++i)
        texts.push_back(list.pileText(0, i));
    SnapshotList fromTexts;
    ASSERT_TRUE(fromTexts.pushTexts({texts.begin(), texts.end()}));
    EXPECT_EQ(fromTexts, list);
    // A card twice, a bad flag, a cut group, an unknown code: refused.
    for (const char* bad : {"00110011", "0012", "001", "2131"}) {
        std::vector<std::string_view> damaged(texts.begin(), texts.end());
        damaged[20] = bad;
        EXPECT_FALSE(fromTexts.pushTexts(damaged)) << bad;
    }
    EXPECT_EQ(fromTexts.size(), 1u);
}

TEST(History, ReorderFoundationSortsByCode)
{
    struct Case {
        const char* before;
        const char* after;
        bool sound;
    };
    for (const Case& c : std::vector<Case>{{"", "", false},
                                           {"0051", "0051", false},
                                           {"005100110031", "001100310051", true},
                                           {"005100000011", "000000110051", true}}) {
        Table t = tableOf({{"Dest2", c.before}});
        EXPECT_EQ(reorderFoundation(t, 1), c.sound) << c.before;
        EXPECT_EQ(encodeSnapshotPile(t, PileRef::foundation(1)), c.after) << c.before;
    }
}

TEST(History, UndoOptionText)
{
    EXPECT_EQ(undoOptionFromText("1"), UndoOption::OneInARow);
    EXPECT_EQ(undoOptionFromText("2"), UndoOption::Disabled);
    for (const char* t : {"0", "", "3", "x"})
        EXPECT_EQ(undoOptionFromText(t), UndoOption::Unlimited) << t;
    EXPECT_STREQ(undoOptionText(UndoOption::Disabled), "2");
}
