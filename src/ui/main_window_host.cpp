// The window's side of the engine's Host: boxes, beeps, sounds, animations and command states.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/main_window_host.h"

#include <QApplication>
#include <QTimer>

#include "storage/settings_store.h"
#include "ui/family_panels.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/series_commands.h"
#include "ui/stats_commands.h"
#include "ui/table_widget.h"

namespace cw::ui {

// A box that only informs waits for the cards of the action that caused it to land; a box that
// asks ends the animations first, so that the player answers about the finished table.
void WindowHost::message(const std::string& text)
{
    m_window.table()->afterAnimations([this, text] { informationBox(&m_window, boxText(text)); });
}

bool WindowHost::confirm(const std::string& text)
{
    m_window.table()->finishAnimations();
    return confirmBox(&m_window, boxText(text));
}

engine::WarningAnswer WindowHost::warning(const std::string& text)
{
    m_window.table()->finishAnimations();
    return warningBox(&m_window, boxText(text));
}

void WindowHost::beep()
{
    m_window.table()->afterAnimations([] { QApplication::beep(); });
}

void WindowHost::explain(const std::string& text) { m_window.showRuleText(QString::fromStdString(text)); }

// A sound goes with the end of the cards' flight that caused it.
void WindowHost::playSound(const std::string& name)
{
    m_window.table()->afterAnimations([this, name] { m_window.playSound(QString::fromStdString(name)); });
}

void WindowHost::animate(const engine::Events& events)
{
    m_window.table()->playEvents(events);
    for (TableObserver* o : m_observers)
        o->cardsChanged(events);
}

void WindowHost::redraw()
{
    m_window.table()->refresh();
    tableReset();
}

void WindowHost::tableReset()
{
    for (TableObserver* o : m_observers)
        o->tableReset();
}

// A pause between animations, not a wait: the window goes on taking input.
void WindowHost::wait(int ms) { m_window.table()->pauseAnimations(ms); }

void WindowHost::animateDeal()
{
    m_window.newDealShown();
    if (m_window.game().settings.flag(storage::col::DealAnimation) && m_window.isVisible())
        m_window.table()->animateDeal();
    else
        m_window.table()->refresh();
    tableReset();
}

void WindowHost::dealStarted()
{
    m_window.newDealShown();
    tableReset();
}

void WindowHost::winningAnimation()
{
    if (m_window.isVisible())
        m_window.table()->runWinningAnimation();
}

void WindowHost::showPause(bool on) { m_window.showPause(on); }

void WindowHost::setBusy(bool busy)
{
    // Nested busy spans keep one override cursor.
    if (busy) {
        if (m_busy++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busy > 0 && --m_busy == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void WindowHost::refreshTitle() { m_window.refreshTitle(); }

void WindowHost::showScore(int score)
{
    m_window.showScore(score);
    if (auto* series = m_window.findChild<SeriesCommands*>()) series->scoreShown(score);
}

void WindowHost::showClock(const std::string& label) { m_window.showClock(QString::fromStdString(label)); }

void WindowHost::enableCommand(engine::Command command, bool enabled) { m_window.enableCommand(command, enabled); }

void WindowHost::closeWindow()
{
    // The end of game that asked for it is still on the stack: close once it has returned.
    QTimer::singleShot(0, &m_window, &QWidget::close);
}

// The statistics dialogs of the end of a game: the new hi-score once the last cards have landed,
// "Game won" after the winning animation.
void WindowHost::gameEnded(const engine::GameEndReport& report)
{
    // The series result is recorded at once (nothing is shown); it must not wait for the table.
    if (auto* series = m_window.findChild<SeriesCommands*>())
        series->gameEnded(report);
    m_window.table()->afterAnimations([this, report] {
        if (auto* stats = m_window.findChild<StatsCommands*>())
            stats->gameEnded(report);
    });
}

void WindowHost::gameWon(const engine::GameEndReport& report)
{
    m_window.table()->afterAnimations([this, report] {
        if (auto* stats = m_window.findChild<StatsCommands*>())
            stats->gameWon(report);
    });
}

// The announcement box beside the table changes when the cards before it have landed.
void WindowHost::announce(const std::string& text)
{
    m_window.table()->afterAnimations([this, text] {
        if (auto* view = m_window.findChild<FamilyPanelsView*>())
            view->announce(QString::fromStdString(text));
    });
}

// A highlight shows, or goes, when the cards moved before it have landed.
void WindowHost::highlight(int card, bool on)
{
    m_window.table()->afterAnimations([this, card, on] { m_window.table()->setCardHighlighted(card, on); });
}

void WindowHost::showPanel(const std::string& name)
{
    if (auto* view = m_window.findChild<FamilyPanelsView*>())
        view->showEndPanel(name);
}

// ---- The series in progress ----

engine::SeriesAnswer WindowHost::seriesInProgress(const std::string& seriesName)
{
    auto* series = m_window.findChild<SeriesCommands*>();
    return series ? series->askInProgress(seriesName) : engine::SeriesAnswer::Cancel;
}

void WindowHost::seriesGameEnded(const engine::GameEndReport& report)
{
    if (auto* series = m_window.findChild<SeriesCommands*>()) series->gameWon(report);
}

void WindowHost::seriesNextGame()
{
    if (auto* series = m_window.findChild<SeriesCommands*>()) series->player().nextGame();
}

void WindowHost::seriesQuit()
{
    if (auto* series = m_window.findChild<SeriesCommands*>()) series->player().end(false);
}

} // namespace cw::ui
