// Host: everything the player sees or hears of a running game, implemented by the window (QuietHost for tests and tools).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/events.h"

namespace cw::engine {

// The answer of a warning box with Yes, No and Cancel.
enum class WarningAnswer { Yes, No, Cancel };

// The answer of the series dialog shown when a game of an unfinished series is quit.
enum class SeriesAnswer { Cancel, NextGame, QuitSeries };

// The menu and toolbar commands whose availability follows the life of a game.
enum class Command {
    Pause,
    QuitGame,
    InsertBookmark,
    GoToBookmark,
    Undo,
    Redo,
    Save,
    HoldAndExit,
};

// What the end of a game reports to the presentation once its records are written.
struct GameEndReport {
    int gameId = -1;
    std::string gameName;
    std::string gameNumber;
    std::string player;
    bool won = false;
    int score = 0;
    int seconds = 0;
    int hiScoreRank = -1;       // 0-based rank in the hi-score table; -1 when it did not make it
    std::string hiScoreCaption; // the congratulation of the hi-score dialog
};

// The presentation of the running game. Every call is made on the window thread and returns
// when the player has answered or the animation has finished. The session applies the
// "Sounds_..." preferences before it calls playSound: the host just plays.
class Host {
public:
    virtual ~Host() = default;

    // ---- Boxes ----
    // Information box with OK.
    virtual void message(const std::string& text) = 0;
    // Confirmation box with OK and Cancel; true on OK.
    virtual bool confirm(const std::string& text) = 0;
    // Warning box with Yes, No and Cancel.
    virtual WarningAnswer warning(const std::string& text) = 0;
    // The dialog "Series in progress: " + name with "Cancel", "&Next game" and "Quit series".
    virtual SeriesAnswer seriesInProgress(const std::string& seriesName) { return SeriesAnswer::Cancel; }

    // ---- Sound ----
    virtual void beep() = 0;
    // Why a click was refused ("7 + 5 = 12, not 13"), shown in the status bar's rule panel.
    virtual void explain(const std::string& text) {}
    // Plays the named sound of the picture library ("Undo", "Won", "Face_up", ...).
    virtual void playSound(const std::string& name) = 0;

    // ---- Table ----
    // Animates the card moves and turns of one action, in order (sounds and messages among the
    // events are played by the session, not here).
    virtual void animate(const Events& events) = 0;
    // Draws the whole table anew.
    virtual void redraw() = 0;
    // Lets window events run for ms milliseconds (animations, autoplay pauses).
    virtual void wait(int ms) = 0;
    // The deal animation; mouse and key input is swallowed until it returns.
    virtual void animateDeal() { redraw(); }
    // A new deal is on the table (also after a restart or an opened game): the window updates
    // the last-played list, resets the card counter and picks random pictures.
    virtual void dealStarted() {}
    // The winning animation; returns when it ends or the player clicks.
    virtual void winningAnimation() {}
    // Covers the table with the pause screen (on) or takes it away (off).
    virtual void showPause(bool on) {}
    // A family's step highlights a card on the table (on) or takes the highlight away (off).
    virtual void highlight(int card, bool on) {}
    // A family's announcement box shows text beside the table; empty text closes it.
    virtual void announce(const std::string& text) {}
    // Shows the family's panel of that name (Family::panels) as a modal window; returns when the
    // player has closed it.
    virtual void showPanel(const std::string& name) {}

    // ---- Window ----
    virtual void setBusy(bool busy) {}                  // hourglass cursor
    virtual void refreshTitle() {}                      // game name, number and player in the title
    virtual void showScore(int score) {}                // the score label
    virtual void showClock(const std::string& label) {} // the clock label, "h:nn:ss"
    virtual void enableCommand(Command command, bool enabled) {}
    // The player asked to close the application during the winning animation: close now.
    virtual void closeWindow() {}

    // ---- Hand-offs at the end of a game ----
    // Every recorded end (won or lost), after the records: the chooser's won/lost marks and, for
    // a won game, the fast-search list of unplayed games.
    virtual void gameEnded(const GameEndReport& report) {}
    // Without a series: the "Game won" window.
    virtual void gameWon(const GameEndReport& report) {}
    // With a series in progress: the series records the result and moves on.
    virtual void seriesGameEnded(const GameEndReport& report) {}
    // The series dialog chose "&Next game": the series starts its next game.
    virtual void seriesNextGame() {}
    // The series dialog chose "Quit series": the series quit routine.
    virtual void seriesQuit() {}
};

// A host that shows nothing: it records every call as a line ("message:...", "confirm:...",
// "beep", "sound:Undo", "animate:3", "redraw", "wait:800", ...) and answers boxes from queues
// (default OK / Yes / Cancel).
class QuietHost : public Host {
public:
    std::vector<std::string> calls;
    std::deque<bool> confirmAnswers; // next answers of confirm(); empty: defaultConfirm
    bool defaultConfirm = true;
    std::deque<WarningAnswer> warningAnswers; // next answers of warning(); empty: defaultWarning
    WarningAnswer defaultWarning = WarningAnswer::Yes;
    std::deque<SeriesAnswer> seriesAnswers; // empty: Cancel
    bool recordRedraws = true;              // off: redraw() and animate() are not recorded (long runs)
    std::vector<GameEndReport> wins;        // every gameWon() and seriesGameEnded() report

    void message(const std::string& text) override { calls.push_back("message:" + text); }
    bool confirm(const std::string& text) override
    {
        calls.push_back("confirm:" + text);
        if (confirmAnswers.empty())
            return defaultConfirm;
        const bool a = confirmAnswers.front();
        confirmAnswers.pop_front();
        return a;
    }
    WarningAnswer warning(const std::string& text) override
    {
        calls.push_back("warning:" + text);
        if (warningAnswers.empty())
            return defaultWarning;
        const WarningAnswer a = warningAnswers.front();
        warningAnswers.pop_front();
        return a;
    }
    SeriesAnswer seriesInProgress(const std::string& seriesName) override
    {
        calls.push_back("series:" + seriesName);
        if (seriesAnswers.empty())
            return SeriesAnswer::Cancel;
        const SeriesAnswer a = seriesAnswers.front();
        seriesAnswers.pop_front();
        return a;
    }
    void beep() override { calls.push_back("beep"); }
    void playSound(const std::string& name) override { calls.push_back("sound:" + name); }
    void animate(const Events& events) override
    {
        if (recordRedraws)
            calls.push_back("animate:" + std::to_string(events.size()));
    }
    void redraw() override
    {
        if (recordRedraws)
            calls.push_back("redraw");
    }
    void wait(int ms) override { calls.push_back("wait:" + std::to_string(ms)); }
    void animateDeal() override { calls.push_back("animateDeal"); }
    void winningAnimation() override { calls.push_back("winningAnimation"); }
    void dealStarted() override { calls.push_back("dealStarted"); }
    void showPause(bool on) override { calls.push_back(on ? "pause:on" : "pause:off"); }
    void highlight(int card, bool on) override
    {
        calls.push_back((on ? "highlight:" : "unhighlight:") + std::to_string(card));
    }
    void announce(const std::string& text) override { calls.push_back("announce:" + text); }
    void showPanel(const std::string& name) override { calls.push_back("panel:" + name); }
    void closeWindow() override { calls.push_back("closeWindow"); }
    void gameEnded(const GameEndReport& report) override
    {
        calls.push_back(report.won ? "gameEnded:won" : "gameEnded:lost");
    }
    void gameWon(const GameEndReport& report) override
    {
        calls.push_back("gameWon");
        wins.push_back(report);
    }
    void seriesGameEnded(const GameEndReport& report) override
    {
        calls.push_back("seriesGameEnded");
        wins.push_back(report);
    }
    void seriesNextGame() override { calls.push_back("seriesNextGame"); }
    void seriesQuit() override { calls.push_back("seriesQuit"); }

    // Whether a call line was recorded (exact match).
    bool called(const std::string& line) const
    {
        for (const auto& c : calls)
            if (c == line)
                return true;
        return false;
    }
    int count(const std::string& line) const
    {
        int n = 0;
        for (const auto& c : calls)
            n += c == line ? 1 : 0;
        return n;
    }
};

} // namespace cw::engine
