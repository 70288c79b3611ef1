// The tutor and solver commands of the game window: the game demo, "Solve and show", the winnability indicator and winnable deals.
#pragma once

#include "engine/game_object.h"
#include "engine/legal_moves.h"
#include "engine/solver.h"
#include "engine/tutor.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QTimer;

namespace cw::engine {
class Session;
}

namespace cw::ui {

class BackgroundSolver;
class TfrmDemo;
class TfrmMain;
struct SolverAnswer;

// A move of the solver's line in words, read on the table it is played on ("Move the 7 of Hearts
// from tableau 3 to foundation 1").
QString describeMove(const engine::Table& table, const engine::Move& move);

// "Winnable", "Not winnable" (nothing played yet) / "No longer winnable", "Unknown".
QString winnabilityText(engine::Verdict verdict, bool movesMade);

class TutorCommands : public QObject {
    Q_OBJECT
public:
    // freshNumbers draws the game numbers of fresh deals (a time-seeded draw when empty).
    TutorCommands(TfrmMain& window, engine::TMainGame& game, engine::TutorRecord& record,
                  std::function<std::string()> freshNumbers);
    ~TutorCommands() override;

    // Adds the indicator to the status bar and reads the options (once the window has its menus).
    void install();
    // Enables the commands as the game allows; notices a changed table (called after every command).
    void updateCommands();
    // Closing: every search cancelled and its worker waited for.
    void shutdown();

    // ---- The demo window: the tutor's game demo, or the solver's line ----

    // "Game &Demo": a new game first when none is in progress. The solver's winning line for the
    // table plays when there is one (known from the indicator, or found within demoSolveMs);
    // otherwise the tutor's own steps play.
    void startDemo();
    // "&Solve and show": the current position is solved in the background, then its winning line
    // plays in the demo window.
    void solveAndShow();
    // Stops whatever plays (a press on the table); the window stays.
    void stopDemo();
    // Closes the demo window ("Show a legal &move" first does this).
    void closeDemo();
    // A demo or a line plays (or waits for the solver) and is not paused.
    bool playing() const;
    // The demo plays the solver's line (false: the tutor's steps, or no demo).
    bool demoPlaysLine() const { return m_show == Show::Line && m_lineIsDemo; }
    bool solving() const;
    // The next step waits on its timer.
    bool stepPending() const;
    TfrmDemo* demoWindow() const { return m_demoWindow; }
    bool demoWindowShown() const;

    // ---- Winnability ----

    void setShowWinnability(bool on); // preference "Show_Winnability"
    bool showWinnability() const { return m_showWinnability; }
    QString winnability() const;
    QLabel* indicator() const { return m_indicator; }

    // ---- Winnable deals only ----

    void setWinnableDealsOnly(bool on); // preference "Winnable_Deals_Only"
    bool winnableDealsOnly() const { return m_winnableOnly; }
    // The "&New game" command: true when the option took it over (the new game follows the search).
    bool newGame();
    bool searchingDeal() const { return m_searchingDeal; }
    // The game number of the next fresh deal: the one the search chose, else a fresh draw.
    std::string freshNumber();

    // Tests shorten the demo's pauses and the searches' budgets.
    struct Timing {
        int startMs = engine::GameDemo::kStartDelayMs; // before the first step
        int lookMs = 500;                               // between showing a step and making it
        int stepMs = engine::GameDemo::kStepDelayMs;    // after each move
        int winnabilityMs = 3000;                       // the indicator's search
        int solveMs = 10000;                            // "Solve and show"
        int demoSolveMs = 3000;                         // the demo's look for a winning line
        int dealSearchMs = 2000;                        // all candidates of one new game together
    };
    void setTiming(const Timing& timing) { m_timing = timing; }
    const Timing& timing() const { return m_timing; }

private:
    enum class Show { None, Demo, Line };
    enum class Phase { Look, Make };

    engine::Session& session() const;
    TfrmDemo& demo();
    void openDemoWindow(Show show);
    void schedule(Phase phase, int ms);
    // Something plays in the window and is neither paused nor stopped.
    bool stillPlaying() const;
    void step();
    void lookDemo();
    void makeDemo();
    void lookLine();
    void makeLine();
    void finish();
    void pauseToggled(bool down);
    void playClicked();
    void solveLine();
    void lineAnswered(const SolverAnswer& answer);
    void playLine(std::vector<engine::Move> line, int delayMs);
    void tutorDemo();
    void rememberLine(const engine::GameState& from, const std::vector<engine::Move>& line);
    bool knownLineFits() const;
    bool tableMovedElsewhere() const;
    void rememberTable();
    void refreshWindow();

    void positionChanged();
    // The window was shown, hidden, minimized, paused or resumed: the indicator searches only
    // while someone can see the table.
    void watchChanged();
    bool watched() const;
    void checkNow();
    void winnabilityAnswered(const SolverAnswer& answer);
    void setIndicator(const QString& text);
    void dealAnswered(const SolverAnswer& answer);

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    engine::TutorRecord& m_record;
    std::function<std::string()> m_freshNumbers;
    Timing m_timing;
    bool m_installed = false;

    // The demo window and what plays in it.
    TfrmDemo* m_demoWindow = nullptr;
    Show m_show = Show::None;
    Phase m_phase = Phase::Look;
    QTimer* m_stepTimer = nullptr;
    bool m_inStep = false;
    bool m_paused = false;
    engine::GameDemo m_demo;
    int m_lineMoves = 0;
    std::vector<engine::Move> m_line;
    std::size_t m_lineAt = 0;
    engine::GameState m_expected;        // the solver's view of the table the line continues from
    // The line is the game demo's: where no line is found, the tutor's own steps play instead of a box.
    bool m_lineIsDemo = false;
    // The last winning line a search found (the indicator's or a line's), with the position it starts from.
    engine::GameState m_knownFrom;
    std::vector<engine::Move> m_knownLine;
    BackgroundSolver* m_lineSolver = nullptr;
    // The table as the last step left it: a change made elsewhere (undo, a new game) stops the demo.
    engine::Table m_leftTable;
    std::string m_leftNumber;
    int m_leftDeal = 0;

    // The indicator.
    QLabel* m_indicator = nullptr;
    bool m_showWinnability = true;
    BackgroundSolver* m_checker = nullptr;
    QTimer* m_checkTimer = nullptr;
    struct Position {
        bool active = false;
        int gameId = -1;
        std::string number;
        int dealNumber = 0;
        int undoDepth = 0;
        engine::Table table;
        bool operator==(const Position&) const = default;
    } m_checked;
    bool m_checkedMovesMade = false;
    engine::GameState m_checkedState; // the position the indicator's search was given
    bool m_recheck = false;
    // 0: the quick search of a new table; 1: the longer one, once the table stayed still.
    int m_checkStage = 0;
    bool m_answered = false; // the indicator shows the verdict on m_checked

    // Winnable deals only.
    bool m_winnableOnly = false;
    bool m_searchingDeal = false;
    int m_dealGameId = -1;
    BackgroundSolver* m_dealSolver = nullptr;
    std::vector<std::string> m_candidates;
    std::string m_chosenNumber;
    bool m_bypassSearch = false;
};

} // namespace cw::ui
