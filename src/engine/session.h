// The running game: starting, dealing, playing, undoing, saving, ending and recording one deal after another.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "catalog/rules.h"
#include "engine/game_clock.h"
#include "engine/game_object.h"
#include "engine/game_state.h"
#include "engine/history.h"
#include "engine/host.h"
#include "engine/legal_moves.h"
#include "engine/pickup.h"
#include "engine/pile_info.h"
#include "engine/rules_context.h"
#include "engine/saved_game.h"
#include "engine/score.h"
#include "engine/tutor.h"

namespace cw::engine {

// A calendar date and time of day, taken once when a game ends.
struct CalendarTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;

    static CalendarTime now(); // local time
    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The values of a finished (won or abandoned) game, handed to the records once.
struct GameEndRecord {
    int gameId = -1;
    std::string gameName;
    std::string gameNumber;
    std::string player;
    bool won = false;
    int score = 0;
    std::string scoringCode = "01";
    int seconds = 0; // playing time, pauses excluded
    CalendarTime end;
    bool randomNumberDeal = false; // the game number was freshly drawn: single-game values count it
    bool eligible = true;          // statistics eligibility not 0 and statistics not disabled

    friend bool operator==(const GameEndRecord&, const GameEndRecord&) = default;
};

struct GameEndOutcome {
    bool recorded = false;
    int hiScoreRank = -1;
    std::string hiScoreCaption;
};

// The records of a game's end, in the fixed order game log line, progression record, statistics
// record, single-game values (random-number deals only), hi-score entry. The statistics module
// implements it; an ineligible game is still handed over (the statistics files are made sure of)
// but writes nothing.
class GameEndSink {
public:
    virtual ~GameEndSink() = default;
    virtual GameEndOutcome recordGameEnd(const GameEndRecord& game) = 0;
};

// How a new deal gets its game number.
enum class NumberMode : int {
    Keep = 1,  // the stored game number (column 153)
    Fresh = 2, // a freshly drawn number
};

// The one-byte flags of the current table (their numbers are the flag numbers of the table).
struct TableFlags {
    bool holdRequested = false;         // 0: Hold and exit chosen from the menu
    bool dealActive = false;            // 2: a deal is on the table and not finished
    bool clockRunning = false;          // 3
    bool firstActivationPending = true; // 4: cleared by the first activation of the main window
    bool animationRunning = false;      // 6: the winning animation runs
    bool gameWon = false;               // 8: result of the win test
    bool gameFinished = false;          // 9: set at the end of a game

    friend bool operator==(const TableFlags&, const TableFlags&) = default;
};

// The per-deal fields of the current game object.
struct CurrentGame {
    int twoPlayersTurn = 0;                     // 0 off; 1 or 2: the player whose name the next new deal takes
    std::array<std::string, 2> twoPlayersNames; // "Two_Players_Mode_Player_1" and "_2"
    int seriesNumber = 0;                       // series in progress, 0 none
    std::string seriesName;                     // shown by the series dialog of confirm quit
    bool exitRequested = false;                 // closing was asked while the winning animation ran
    bool randomNumberDeal = false;              // the deal's game number was freshly drawn
    int statisticsEligibility = -1;             // -1 undecided, 1 counts, 0 does not count
};

// The "Two Players Mode" dialog's choices.
struct TwoPlayersSetup {
    std::string player1;
    std::string player2;
    bool sameGameNumber = false;
    bool showSituation = false;
    bool confirmNewGame = false;
};

// Test and tool seams; the defaults read the real clocks.
struct SessionOptions {
    TimeSource timeOfDay;                         // the game clock's time source (ms since midnight)
    std::function<CalendarTime()> calendar;       // the end date and time of a game
    std::function<std::string()> freshGameNumber; // number mode 2
    std::string bookmarkFolder;                   // "" : the system temporary folder
    int autoplayDelayMs = 800;                    // the pause before autoplay after a deal
};

// Owns the running game. The window turns every event into one call; the session applies the
// rules, keeps the undo history, the score and the clock, tells the host what to show and play,
// and records the game at its end through the sink. Refused actions beep or stay silent.
class Session {
public:
    Session(TMainGame& game, Host& host, GameEndSink* sink = nullptr, SessionOptions options = {});

    // ---- The life of a game ----

    // Start game: nothing when the same game and player are chosen while a deal is active;
    // otherwise confirm quit, record the running game, store game id, name and player, load
    // the rules when the game changed and deal (mode Fresh: a new number). False when the
    // player kept the running game or the rules could not be loaded (a message says why).
    bool startGame(int gameId, const std::string& player = {}, NumberMode mode = NumberMode::Fresh,
                   bool startupGame = false);
    // New deal (deal flag, animate flag, number mode, quiet flag). With deal false the table
    // stays as it is (restart, opened games) and only the per-deal values start afresh.
    void newDeal(bool deal = true, bool animate = true, NumberMode mode = NumberMode::Fresh, bool quiet = false);
    // The "&New game" command: confirm quit, record the running game, deal a fresh number.
    bool newGame();
    // The "&Quit game" command: confirm quit and record the game; unless it was won the table is
    // cleared (the window then opens the chooser). True when the game was ended.
    bool quitGame();
    // ClearCurrentGame: records the running game as the end of game does, then leaves no game
    // current (id -1, no name, no rules) and clears the table (its game was deleted).
    void clearCurrentGame();
    // The close query's first step: while the winning animation runs closing is deferred (false)
    // and the end of the game closes the window; otherwise true.
    bool requestClose();
    // The one-second timer: refreshes the clock label while the clock runs and runs the timed
    // step of a family that has one.
    void tick();
    // True when the running game may be abandoned (asks "Quit this game?" or the given text).
    bool confirmQuit(const std::string& question = {});
    // End of game: records the finished or abandoned game; returns the won flag.
    bool endGame();
    // Restart: asks "Restart this game?\rGame number: " + number while a deal is active and not
    // won; records the running game; brings back the dealt table. False when cancelled.
    bool restart();
    // Pause and resume (the "P&ause" command toggles).
    void pause();
    void resume();
    void togglePause();
    bool paused() const { return paused_; }
    // Hold and exit: the table is written as the held game, the game ends without a record.
    // False when no deal is active, the game forbids it (rule parameter 23 = 1) or the file
    // could not be written (a message names it).
    bool holdAndExit();
    bool canHold() const;
    // Start-up: opens the held game when there is one (and deletes its file). True when opened.
    bool resumeHeldGame();
    // Two-players mode: stores the dialog's choices, sets the turn to 1 and starts a new game.
    void startTwoPlayersMode(const TwoPlayersSetup& setup);
    // Asks "Quit Two Players Mode?"; on OK the turn becomes 0.
    bool quitTwoPlayersMode();
    // A series is in progress (number 0: none): quitting an unfinished game then asks the series
    // dialog, and a won game is handed to the series instead of the "Game won" window.
    void setSeries(int number, std::string name);

    // ---- Player actions (the window's hit test gives pile and card index) ----

    // Mouse button down on the table. Stock clicks, turn-ups and right clicks act at once.
    bool press(const Press& press);
    // The pointer moved while cards are carried.
    void dragMoved();
    // Mouse button up with the drop candidates ranked by overlap (point-and-click: the pile of
    // the second click). True when the table changed.
    bool release(std::span<const PileRef> candidates);
    // Double click on a card: the click-to-play move (nothing on the stock).
    bool doubleClick(PileRef pile, int index);
    // Right click on a card: the click-to-play move by the right-click options.
    bool rightClick(PileRef pile, int index);
    // A click on the stock (the Space key and the stock itself).
    bool stockClick();
    // A move the legal-move generator produced, played as the player's action (tutor, tools).
    bool playMove(const Move& move);
    // A step the window's tools make for the player (the game demo's tutor steps): fn acts on the
    // table as one player action, with its undo step, score and win test. True when the table changed.
    bool playStep(const std::function<void(Play&)>& fn) { return act(fn); }
    // The "Auto&play" switch; switching it on during a game plays what it can at once. It acts
    // only in games that offer autoplay (rule parameter 20 not 0).
    void setAutoplay(bool on);
    // The tutor's record the window keeps (null: none); the player's right and double clicks
    // then honour the back-move guard as the tutor's own moves do.
    void setTutorRecord(const TutorRecord* record) { tutorRecord_ = record; }
    bool autoplaySwitch() const { return autoplaySwitch_; }
    // The click and face-up preferences of the settings store were changed: they apply from now on.
    void preferencesChanged() { readPlayOptions(); }
    bool autoplay() const { return playOptions_.autoplay; } // the switch, in a game that offers it

    // ---- The window's intents on the interaction (the tutor, hold and exit) ----

    // Ends a shown legal move (tutor modes 1 and 2) or, forced, any tutor mode; the carried card
    // is dropped. True when something stopped.
    bool stopTutor(bool forced = false);
    // The hint: a shown legal move ends, and the tutor's next move is found with the session's
    // play options and shown (tutor mode hint) until a press or three ticks of tickHint end it.
    TutorStep hint(TutorRecord& record);
    // One tick of the clock timer for a shown legal move: true when it has just ended.
    bool tickHint();
    // The game demo's tutor mode: start (a shown legal move ends first), pause or resume, and
    // stop. Stopping keeps a shown legal move's mode unless all is true (the demo finished).
    void startDemo(GameDemo& demo);
    void pauseDemo(GameDemo& demo, bool paused);
    void stopDemo(GameDemo& demo, bool all);
    // A solver's line plays in the demo's tutor mode (a press on the table stops it); off ends it.
    void setLinePlaying(bool on);
    // Pile information of a pile of the current table, read with the session's play options.
    PileInfo pileInfo(PileRef pile);
    // "Hold and exit" was chosen: the close writes the held game; cleared when the close is refused.
    void requestHold() { flags_.holdRequested = true; }
    void clearHoldRequest() { flags_.holdRequested = false; }
    // The main window's first activation: true the first time only.
    bool takeFirstActivation();
    // The window handles a double click itself, so no stray stock press follows it to swallow.
    void clearSwallowedStockPress() { state_.swallowStockPress = false; }

    // ---- History, bookmark, files ----

    // Undo and redo one step (a move with its automatic follow-ups). Refused with a beep.
    bool undo();
    bool redo();
    // Asks "Insert bookmark?"; writes the bookmark file. False when cancelled or refused.
    bool insertBookmark();
    // Asks "Go to bookmark?"; reads it back. False when cancelled or there is none.
    bool goToBookmark();
    // Writes the current game to path (a user's ".gam" file). False with a message on failure.
    bool save(const std::string& path);
    // Opens a saved game: the file is read first (a damaged file leaves the running game as it
    // is), then the running game is confirmed and recorded and the file's game continues.
    bool open(const std::string& path);
    // Opens the sample game of the current game id ("Demos/G" + id + ".GAM").
    bool openSample();
    // The saved game of the current table (for tools that write it themselves).
    SavedGame capture() const;

    // ---- Reading the game ----

    const GameRules& rules() const { return game_.rules; }
    const GameState& state() const { return state_; }
    // Direct access for the tests' set-ups; the window acts through the intent methods above.
    GameState& mutableState() { return state_; }
    TableFlags& mutableFlags() { return flags_; }
    CurrentGame& mutableCurrent() { return current_; }
    const History& history() const { return history_; }
    const GameClock& clock() const { return clock_; }
    const TableFlags& flags() const { return flags_; }
    const CurrentGame& current() const { return current_; }
    TMainGame& game() { return game_; }
    const TMainGame& game() const { return game_; }
    int score() const { return state_.score; }
    int undoDepth() const { return static_cast<int>(history_.undo.snapshots.size()); }
    bool canUndo() const;
    bool canRedo() const;
    // The statistics eligibility is not 0 and statistics are not disabled.
    bool recordsStatistics() const;
    // The win test of the current table (the family's own test where it has one); shows the
    // family's box for a won table.
    bool testWin();
    // Plays a sound by name when "Sounds_Enabled" and the sound's own preference are "Y".
    void playSound(const std::string& name);

private:
    Play makePlay(Events* events);
    HistoryPolicy historyPolicy() const;
    // Runs one player action: remembers the state, runs fn, and when the table changed pushes
    // the old table as the undo snapshot (one step for the move and its automatic follow-ups),
    // records the event code, updates the eligibility and the score, shows the events and runs
    // the win test. Returns whether the table changed.
    bool act(const std::function<void(Play&)>& fn);
    void presentEvents(const Events& events);
    void syncMarks();
    void readPlayOptions();
    void recomputeScore();
    void storeScore();
    void refreshClock();
    void setDealCommands(bool active);
    void clearBookmark();
    bool openFile(const std::string& path, bool quiet, bool userFile);
    bool restoreOpened(const SavedGame& saved, bool quiet);
    std::string freshNumber();
    void runAutoplayAfterDeal();
    void maybeEndAfterWin();

    TMainGame& game_;
    Host& host_;
    GameEndSink* sink_;
    SessionOptions options_;
    GameState state_;
    History history_;
    GameClock clock_;
    TableFlags flags_;
    CurrentGame current_;
    PlayOptions playOptions_;
    bool paused_ = false;
    bool autoplaySwitch_ = false;
    const TutorRecord* tutorRecord_ = nullptr;
    HintTimer hintTimer_;
};

// The sound preference (settings field) that gates a named sound; {0, 0} when only
// "Sounds_Enabled" applies.
storage::Field soundPreference(std::string_view soundName);

} // namespace cw::engine
