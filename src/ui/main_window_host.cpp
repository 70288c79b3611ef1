// The window's side of the engine's Host: boxes, beeps, sounds, animations and command states.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/main_window_host.h"

#include <QApplication>
#include <QTimer>

#include "storage/settings_store.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/stats_commands.h"
#include "ui/table_widget.h"

namespace cw::ui {

void WindowHost::message(const std::string& text) { informationBox(&m_window, boxText(text)); }

bool WindowHost::confirm(const std::string& text) { return confirmBox(&m_window, boxText(text)); }

engine::WarningAnswer WindowHost::warning(const std::string& text) { return warningBox(&m_window, boxText(text)); }

void WindowHost::beep() { QApplication::beep(); }

void WindowHost::playSound(const std::string& name) { m_window.playSound(QString::fromStdString(name)); }

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

void WindowHost::wait(int ms) { m_window.waitFor(ms); }

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

void WindowHost::showScore(int score) { m_window.showScore(score); }

void WindowHost::showClock(const std::string& label) { m_window.showClock(QString::fromStdString(label)); }

void WindowHost::enableCommand(engine::Command command, bool enabled) { m_window.enableCommand(command, enabled); }

void WindowHost::closeWindow()
{
    // The end of game that asked for it is still on the stack: close once it has returned.
    QTimer::singleShot(0, &m_window, &QWidget::close);
}

// The statistics dialogs of the end of a game: the new hi-score, then "Game won".
void WindowHost::gameEnded(const engine::GameEndReport& report)
{
    if (auto* stats = m_window.findChild<StatsCommands*>()) stats->gameEnded(report);
}

void WindowHost::gameWon(const engine::GameEndReport& report)
{
    if (auto* stats = m_window.findChild<StatsCommands*>()) stats->gameWon(report);
}

} // namespace cw::ui
