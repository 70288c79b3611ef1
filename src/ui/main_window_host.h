// The window's side of the engine's Host: boxes, beeps, sounds, animations and command states.
#pragma once

#include "engine/host.h"

namespace cw::ui {

class TfrmMain;

class WindowHost : public engine::Host {
public:
    explicit WindowHost(TfrmMain& window) : m_window(window) {}

    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    engine::WarningAnswer warning(const std::string& text) override;
    void beep() override;
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
    engine::SeriesAnswer seriesInProgress(const std::string& seriesName) override;
    void seriesGameEnded(const engine::GameEndReport& report) override;
    void seriesNextGame() override;
    void seriesQuit() override;

private:
    TfrmMain& m_window;
    int m_busy = 0;
};

} // namespace cw::ui
