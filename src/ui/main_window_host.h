// The window's side of the engine's Host: boxes, beeps, sounds, animations and command states.
#pragma once

#include "engine/host.h"

#include <vector>

namespace cw::ui {

class TfrmMain;

// A tool that follows the table as the window shows it (the card counter, the views over the
// table): told after each action's events, and whenever the table may have changed in any way.
class TableObserver {
public:
    virtual ~TableObserver() = default;
    // The events of one action, once the table shows them.
    virtual void cardsChanged(const engine::Events& events) = 0;
    // A new deal, an undo or redo, a bookmark, a restart, a quit: read the whole table again.
    virtual void tableReset() = 0;
};

class WindowHost : public engine::Host {
public:
    explicit WindowHost(TfrmMain& window) : m_window(window) {}

    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    engine::WarningAnswer warning(const std::string& text) override;
    void beep() override;
    void explain(const std::string& text) override;
    void playSound(const std::string& name) override;
    void animate(const engine::Events& events) override;
    void redraw() override;
    void wait(int ms) override;
    void animateDeal() override;
    void dealStarted() override;
    void winningAnimation() override;
    void showPause(bool on) override;
    void setBusy(bool busy) override;
    void refreshTitle() override;
    void showScore(int score) override;
    void showClock(const std::string& label) override;
    void enableCommand(engine::Command command, bool enabled) override;
    void closeWindow() override;
    void gameEnded(const engine::GameEndReport& report) override;
    void gameWon(const engine::GameEndReport& report) override;
    void announce(const std::string& text) override;
    void highlight(int card, bool on) override;
    void showPanel(const std::string& name) override;
    engine::SeriesAnswer seriesInProgress(const std::string& seriesName) override;
    void seriesGameEnded(const engine::GameEndReport& report) override;
    void seriesNextGame() override;
    void seriesQuit() override;

    void addObserver(TableObserver* observer) { m_observers.push_back(observer); }
    void removeObserver(TableObserver* observer) { std::erase(m_observers, observer); }

private:
    void tableReset();

    TfrmMain& m_window;
    int m_busy = 0;
    std::vector<TableObserver*> m_observers;
};

} // namespace cw::ui
