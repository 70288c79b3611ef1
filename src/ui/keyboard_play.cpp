// Playing without the mouse: the focus frame, its keys and what the status bar says about them.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/keyboard_play.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cstdlib>

#include "engine/drop_reason.h"
#include "engine/geometry.h"
#include "engine/pickup.h"
#include "ui/main_window.h"

namespace cw::ui {

using engine::PileKind;
using engine::PileRef;

namespace {

QString pileWords(PileRef p)
{
    switch (p.kind) {
    case PileKind::Stock: return QStringLiteral("Stock");
    case PileKind::Waste: return QStringLiteral("Waste");
    case PileKind::SecondWaste: return QStringLiteral("Second waste");
    case PileKind::Tableau: return QStringLiteral("Tableau %1").arg(p.index + 1);
    case PileKind::Foundation: return QStringLiteral("Foundation %1").arg(p.index + 1);
    case PileKind::Reserve: return QStringLiteral("Reserve %1").arg(p.index + 1);
    case PileKind::Unknown: break;
    }
    return {};
}

QString words(const std::string& text) { return QString::fromStdString(text); }

} // namespace

KeyboardPlay::KeyboardPlay(TfrmMain& window) : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("KeyboardPlay"));
    m_window.m_table->setFocusPolicy(Qt::StrongFocus);
    m_window.m_table->installEventFilter(this);
    m_window.installEventFilter(this);
}

bool KeyboardPlay::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Space, Enter and Escape are the frame's while it is shown (Space deals from the stock
        // otherwise); the arrows are always the table's.
        auto* key = static_cast<QKeyEvent*>(event);
        if (wantsKey(key)) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        return wantsKey(key) && handleKey(key);
    }
    case QEvent::MouseButtonPress:
        // The mouse takes over: no frame, nothing held by the keyboard.
        if (watched == m_window.m_table && shown()) {
            m_carrying = false;
            hide();
        }
        return false;
    default: return false;
    }
}

bool KeyboardPlay::wantsKey(const QKeyEvent* key) const
{
    const engine::Session& s = *m_window.m_session;
    if (!s.flags().dealActive || m_window.m_table->paused())
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Home:
    case Qt::Key_H: return true;
    case Qt::Key_Space:
    case Qt::Key_Escape: return shown();
    default: return false;
    }
}

bool KeyboardPlay::handleKey(QKeyEvent* key)
{
    m_window.hidePileSizePanel();
    m_window.m_table->finishAnimations();
    m_window.m_table->setFocus();
    // The table may have changed since the last key (a move with the mouse, an undo).
    if (shown()) {
        const std::vector<PileRef> all = piles();
        if (std::find(all.begin(), all.end(), m_pile) == all.end()) {
            m_carrying = false;
            hide();
        } else if (!m_carrying) {
            const std::vector<int> run = movable(m_pile);
            if (std::find(run.begin(), run.end(), m_index) == run.end())
                m_index = run.empty() ? topIndex(m_pile) : run.back();
        }
    }
    if (!shown() && key->key() != Qt::Key_Escape) {
        // The first key shows the frame on the first pile.
        const std::vector<PileRef> all = piles();
        if (all.empty())
            return false;
        focusOn(all.front(), topIndex(all.front()));
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Left ||
            key->key() == Qt::Key_Right || key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
            key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return true;
    }
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Backtab: across(-1); break;
    case Qt::Key_Right:
    case Qt::Key_Tab: across(key->modifiers().testFlag(Qt::ShiftModifier) ? -1 : 1); break;
    case Qt::Key_Up: along(-1); break;
    case Qt::Key_Down: along(1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: activate(); break;
    case Qt::Key_Escape: cancel(); break;
    case Qt::Key_Home:
    case Qt::Key_H: sendHome(); break;
    default: return false;
    }
    return true;
}

std::vector<PileRef> KeyboardPlay::piles() const
{
    const engine::TableGeometry& g = m_window.m_table->tableGeometry();
    std::vector<PileRef> all;
    for (PileRef p : {PileRef::stock(), PileRef::waste(), PileRef::secondWaste()})
        if (g.layout.present(p))
            all.push_back(p);
    for (int f = 0; f < g.foundationCount; ++f)
        if (g.layout.present(PileRef::foundation(f)))
            all.push_back(PileRef::foundation(f));
    for (int c = 0; c < g.tableauCount; ++c)
        if (g.layout.present(PileRef::tableau(c)))
            all.push_back(PileRef::tableau(c));
    for (int r = 0; r < g.reserveCount; ++r)
        if (g.layout.present(PileRef::reserve(r)))
            all.push_back(PileRef::reserve(r));
    // Reading order: rows from the top (piles less than half a card apart in height share a row),
    // left to right within a row.
    const int half = std::max(1, g.layout.cardHeight / 2);
    std::stable_sort(all.begin(), all.end(), [&](PileRef a, PileRef b) {
        const engine::Point pa = g.layout.corner(a), pb = g.layout.corner(b);
        if (std::abs(pa.y - pb.y) >= half)
            return pa.y < pb.y;
        return pa.x < pb.x;
    });
    return all;
}

int KeyboardPlay::topIndex(PileRef pile) const
{
    return std::max(0, static_cast<int>(m_window.m_session->state().table.pile(pile).size()) - 1);
}

std::vector<int> KeyboardPlay::movable(PileRef pile) const
{
    engine::GameState copy = m_window.m_session->state();
    const engine::PlayOptions options;
    const engine::Play play{m_window.m_session->rules(), copy, options, nullptr};
    std::vector<int> out;
    const int n = static_cast<int>(copy.table.pile(pile).size());
    if (pile.kind == PileKind::Stock || n == 0)
        return out;
    for (int i = 0; i < n; ++i)
        if (engine::pressAction(play, pile, i) == engine::PressAction::Lift)
            out.push_back(i);
    return out;
}

void KeyboardPlay::across(int step)
{
    const std::vector<PileRef> all = piles();
    auto at = std::find(all.begin(), all.end(), m_pile);
    const int n = static_cast<int>(all.size());
    const int i = at == all.end() ? 0 : static_cast<int>(at - all.begin());
    const PileRef next = all[static_cast<std::size_t>((i + step + n) % n)];
    const std::vector<int> run = movable(next);
    focusOn(next, run.empty() || m_carrying ? topIndex(next) : run.back());
}

void KeyboardPlay::along(int step)
{
    if (!m_carrying) {
        const std::vector<int> run = movable(m_pile);
        const auto at = std::find(run.begin(), run.end(), m_index);
        if (at != run.end()) {
            const int i = static_cast<int>(at - run.begin()) + step;
            if (i >= 0 && i < static_cast<int>(run.size())) {
                focusOn(m_pile, run[static_cast<std::size_t>(i)]);
                return;
            }
        }
    }
    toRow(step);
}

void KeyboardPlay::toRow(int step)
{
    // The nearest pile (by its centre's x) in the next row up or down.
    const engine::TableGeometry& g = m_window.m_table->tableGeometry();
    const engine::Point here = g.layout.corner(m_pile);
    const int half = std::max(1, g.layout.cardHeight / 2);
    PileRef best{};
    int bestRowGap = 0, bestDx = 0;
    for (PileRef p : piles()) {
        const engine::Point c = g.layout.corner(p);
        const int dy = (c.y - here.y) * step;
        if (dy < half)
            continue;
        const int dx = std::abs(c.x - here.x);
        if (!best.valid() || dy < bestRowGap - half || (std::abs(dy - bestRowGap) < half && dx < bestDx)) {
            best = p;
            bestRowGap = dy;
            bestDx = dx;
        }
    }
    if (!best.valid()) {
        show(); // nothing further that way: the frame stays, said again
        return;
    }
    const std::vector<int> run = movable(best);
    // Going down enters a fan at its deepest movable card, going up at its top.
    focusOn(best, run.empty() || m_carrying ? topIndex(best) : (step > 0 ? run.front() : run.back()));
}

void KeyboardPlay::focusOn(PileRef pile, int index)
{
    m_pile = pile;
    m_index = index;
    show();
}

void KeyboardPlay::hide()
{
    m_pile = {};
    m_index = -1;
    m_window.m_table->setKeyboardFrame({}, -1, false);
}

void KeyboardPlay::show()
{
    if (!m_pile.valid())
        return;
    const engine::Table& table = m_window.m_session->state().table;
    const engine::Pile& cards = table.pile(m_pile);
    const int n = static_cast<int>(cards.size());
    m_window.m_table->setKeyboardFrame(m_pile, m_carrying ? topIndex(m_pile) : m_index, m_carrying);
    // The panels describe the framed pile as they would under the pointer; the rule panel says
    // what the frame holds and what the keys do.
    const QRect r = m_window.m_table->cardRect(m_pile, std::max(0, m_carrying ? topIndex(m_pile) : m_index));
    if (!r.isEmpty())
        m_window.refreshStatus(r.center());
    QString text = pileWords(m_pile);
    if (m_carrying) {
        const int count = static_cast<int>(table.pile(m_from).size()) - m_fromIndex;
        const int card = m_fromIndex >= 0 && m_fromIndex < static_cast<int>(table.pile(m_from).size())
                             ? table.pile(m_from)[static_cast<std::size_t>(m_fromIndex)]
                             : 0;
        text = QStringLiteral("Carrying %1%2 to %3: Enter drops, Escape puts back")
                   .arg(words(engine::cardWords(card, true)),
                        count > 1 ? QStringLiteral(" and %1 more").arg(count - 1) : QString(), pileWords(m_pile));
    } else if (m_pile.kind == PileKind::Stock) {
        text += n > 0 ? QStringLiteral(": Enter deals") : QStringLiteral(": empty, Enter turns the waste over");
    } else if (n == 0 || m_index < 0 || m_index >= n) {
        text += QStringLiteral(": empty");
    } else {
        const int code = cards[static_cast<std::size_t>(m_index)];
        if (code != 0 && table.isFaceDown(code)) {
            text += QStringLiteral(": a face-down card, Enter turns it up");
        } else {
            const int above = n - 1 - m_index;
            text += QStringLiteral(": %1").arg(words(engine::cardWords(code, true)));
            if (above > 0)
                text += QStringLiteral(" and %1 card%2 on it").arg(above).arg(above > 1 ? "s" : "");
            const std::vector<int> run = movable(m_pile);
            if (std::find(run.begin(), run.end(), m_index) != run.end())
                text += QStringLiteral(", Enter picks up");
        }
    }
    m_announced = text;
    m_window.showRuleText(text);
}

void KeyboardPlay::activate()
{
    engine::Session& s = *m_window.m_session;
    if (m_carrying) {
        drop(m_pile);
        return;
    }
    if (m_pile.kind == PileKind::Stock) {
        m_window.cmdStock();
        focusOn(m_pile, topIndex(m_pile));
        return;
    }
    engine::GameState copy = s.state();
    const engine::PlayOptions options;
    const engine::Play play{s.rules(), copy, options, nullptr};
    const int n = static_cast<int>(copy.table.pile(m_pile).size());
    const int index = std::clamp(m_index, 0, std::max(0, n - 1));
    const engine::PressAction action = n > 0 ? engine::pressAction(play, m_pile, index) : engine::PressAction::None;
    if (action == engine::PressAction::Lift) {
        lift(m_pile, index);
        return;
    }
    if (action == engine::PressAction::None) {
        QApplication::beep();
        m_announced = pileWords(m_pile) + QStringLiteral(": nothing to pick up here");
        m_window.showRuleText(m_announced);
        return;
    }
    // Turning up, the Draw, the waste's redeal: a click there does it.
    m_window.tablePress(engine::Press{m_pile, index, engine::Button::Left, false});
    m_window.tableRelease({});
    m_window.m_table->refresh();
    focusOn(m_pile, topIndex(m_pile));
}

bool KeyboardPlay::lift(PileRef pile, int index)
{
    m_carrying = true;
    m_from = pile;
    m_fromIndex = index;
    show();
    return true;
}

bool KeyboardPlay::drop(PileRef target)
{
    if (target == m_from) {
        cancel();
        return false;
    }
    engine::Session& s = *m_window.m_session;
    m_window.tablePress(engine::Press{m_from, m_fromIndex, engine::Button::Left, false});
    if (s.state().selection.pointAndClick) {
        // Point and click: the second click names the target.
        m_window.tableRelease({});
        m_window.tablePress(engine::Press{target, topIndex(target), engine::Button::Left, false});
    } else {
        m_window.dragMoved();
    }
    const bool changed = m_window.tableRelease({target});
    m_window.m_table->refresh();
    m_carrying = false;
    if (changed) {
        focusOn(target, topIndex(target));
        return true;
    }
    // Refused: the frame goes back to the cards, the status bar keeps the reason.
    m_pile = m_from;
    m_index = m_fromIndex;
    m_window.m_table->setKeyboardFrame(m_pile, m_index, false);
    return false;
}

void KeyboardPlay::sendHome()
{
    if (m_carrying || !m_pile.valid())
        return;
    engine::Session& s = *m_window.m_session;
    const int n = static_cast<int>(s.state().table.pile(m_pile).size());
    if (n == 0 || m_pile.kind == PileKind::Stock || m_pile.kind == PileKind::Foundation) {
        QApplication::beep();
        return;
    }
    const int top = n - 1;
    const int card = s.state().table.pile(m_pile)[static_cast<std::size_t>(top)];
    std::vector<PileRef> homes;
    for (int f = 0; f < m_window.m_table->tableGeometry().foundationCount; ++f)
        homes.push_back(PileRef::foundation(f));
    m_window.tablePress(engine::Press{m_pile, top, engine::Button::Left, false});
    if (s.state().drag.carriedCard == 0 && !s.state().selection.pointAndClick) {
        QApplication::beep();
        return;
    }
    bool changed = false;
    if (s.state().selection.pointAndClick) {
        m_window.tableRelease({});
        for (PileRef home : homes) {
            m_window.tablePress(engine::Press{home, topIndex(home), engine::Button::Left, false});
            if ((changed = m_window.tableRelease({home})))
                break;
        }
    } else {
        m_window.dragMoved();
        changed = m_window.tableRelease(homes);
    }
    m_window.m_table->refresh();
    if (changed) {
        focusOn(m_pile, topIndex(m_pile));
        m_announced = QStringLiteral("%1 went home").arg(words(engine::cardWords(card, true)));
        m_announced[0] = m_announced[0].toUpper();
    } else {
        m_announced = QStringLiteral("No foundation takes %1 now").arg(words(engine::cardWords(card, true)));
    }
    m_window.showRuleText(m_announced);
}

void KeyboardPlay::cancel()
{
    if (m_carrying) {
        m_carrying = false;
        focusOn(m_from, m_fromIndex);
        return;
    }
    hide();
    m_window.clearStatus();
}

} // namespace cw::ui
