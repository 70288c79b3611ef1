// TfrmMain's input: the table's presses, drags, releases and double clicks, pointer hover and keys.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/main_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "engine/drop_reason.h"
#include "engine/pickup.h"
#include "storage/settings_store.h"
#include "ui/fast_search.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/tutor_commands.h"

namespace cw::ui {

namespace col = storage::col;

void TfrmMain::tablePress(const engine::Press& press)
{
    hidePileSizePanel();
    m_hoverStamp = -1;
    // A press on the table sends the fast-search window away unless it is kept on top.
    if (auto* chooser = findChild<ChooserCommands*>())
        if (FastSearchWindow* fast = chooser->fastSearch(); fast && fast->isVisible() && !fast->stayOnTop())
            fast->hide();
    // A press ends a shown legal move, and stops the demo.
    if (m_tutor)
        m_tutor->stopDemo();
    if (m_session->stopTutor())
        m_table->refresh();
    if (press.button == engine::Button::Right && press.ctrl) {
        if (!press.pile.valid()) {
            if (m_session->flags().dealActive && m_game.settings.get(col::ShowMainPopupMenu) != "N")
                m_tablePopup->popup(QCursor::pos());
        } else {
            revealCard(press.pile, press.index);
        }
        return;
    }
    m_session->press(press);
    showScore(m_session->score());
    updateCommands();
}

void TfrmMain::revealCard(engine::PileRef pile, int index)
{
    // A face-up card partly covered by others is shown whole until the button is released.
    const engine::Table& table = m_session->state().table;
    const engine::Pile& cards = table.pile(pile);
    if (!m_session->flags().dealActive || m_game.settings.get(col::ShowPartialHiddenCard) == "N" || index < 0 ||
        index >= static_cast<int>(cards.size()))
        return;
    const int code = cards[static_cast<std::size_t>(index)];
    if (code == 0 || !table.isFaceUp(code))
        return;
    const QPixmap face = m_table->pictures().face(code);
    if (face.isNull())
        return;
    if (!m_revealed) {
        m_revealed = new QLabel(m_table);
        m_revealed->setObjectName(QStringLiteral("lblRevealedCard"));
        m_revealed->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_revealed->setPixmap(face);
    // The face is drawn at the table's scale: the label shows it at the card's size on screen.
    m_revealed->setScaledContents(true);
    m_revealed->setGeometry(m_table->cardRect(pile, index));
    m_revealed->show();
    m_revealed->raise();
}

void TfrmMain::dragMoved() { m_session->dragMoved(); }

bool TfrmMain::tableRelease(const std::vector<engine::PileRef>& candidates)
{
    // The player's own pointer comes back, whatever the drag showed.
    m_table->unsetCursor();
    const engine::GameState before = m_session->state();
    const bool changed = m_session->release(candidates);
    // A refused drop says why in the status bar ("A 7 of Clubs goes on a red 8").
    if (!changed && before.drag.carriedCard != 0 && !candidates.empty() && candidates.front() != before.drag.source) {
        engine::GameState copy = before;
        const engine::PlayOptions options;
        const engine::Play play{m_session->rules(), copy, options, nullptr};
        const engine::Carried carried = engine::carriedAt(play, before.drag.source, before.drag.sourceIndex);
        const std::string why = engine::dropRefusal(play, carried, candidates.front());
        if (!why.empty())
            showRuleText(QString::fromStdString(why));
    }
    showScore(m_session->score());
    updateCommands();
    return changed;
}

void TfrmMain::doubleClick(engine::PileRef pile, int index)
{
    // The session applies the double-click options; a double click on the stock does nothing.
    m_session->doubleClick(pile, index);
    // Qt turns the second press of a double click into the double-click event itself, so there is
    // no stray stock press to swallow: the engine's flag would only eat the player's next stock click.
    m_session->clearSwallowedStockPress();
    showScore(m_session->score());
    updateCommands();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pileSizePanel || watched == m_redealsPanel) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
            hidePileSizePanel();
        return false;
    }
    if (watched != m_table)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (m_session->state().tutorMode != 0 || m_session->state().drag.carriedCard != 0)
            break;
        m_hoverStamp = -1;
        const QPoint pos = me->position().toPoint();
        if (pos != m_lastMouse) {
            refreshStatus(pos);
            if (m_session->flags().dealActive)
                m_hoverStamp = m_ticks.elapsed();
            hidePileSizePanel();
            m_lastMouse = pos;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_revealed)
            m_revealed->hide();
        break;
    case QEvent::Leave:
        m_hoverStamp = -1;
        break;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        hidePileSizePanel();
        break;
    default: break;
    }
    return false;
}

void TfrmMain::keyPressEvent(QKeyEvent* event)
{
    hidePileSizePanel();
    QMainWindow::keyPressEvent(event);
}

} // namespace cw::ui
