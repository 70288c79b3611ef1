// The card slide: its step rule, the frames of a flight, the frame waits, and the input hook that
// lets a click or key end an animation.
#include "ui/animation.h"

#include "engine/layout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cw::ui {

int slideStep(int distance, SlideKind kind)
{
    const double d = std::abs(distance);
    if (d == 0)
        return 0;
    // Long flights take bigger steps, but the growth flattens out (about 60 pixels at 1000).
    int step = static_cast<int>(d / (d / 50.0 * 100.0 / 6.25 * 4.0 / 100.0 + 4.0) + 0.5);
    if (kind == SlideKind::Deal)
        step = static_cast<int>(step * 0.9);
    else if (kind == SlideKind::Demo)
        step = static_cast<int>(step * 0.5);
    return std::max(1, step);
}

std::vector<QPoint> slideFrames(QPoint from, QPoint to, QSize card, SlideKind kind)
{
    auto offTable = [&](QPoint p) {
        if (p.x() < engine::kPresentBound)
            p.setX(-3 * card.width());
        if (p.y() < engine::kPresentBound)
            p.setY(-3 * card.height());
        return p;
    };
    from = offTable(from);
    to = offTable(to);
    std::vector<QPoint> frames;
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool xLeads = std::abs(dx) >= std::abs(dy);
    const int lead = xLeads ? dx : dy;
    const int other = xLeads ? dy : dx;
    const int distance = std::abs(lead);
    if (distance == 0)
        return frames;
    const int step = slideStep(distance, kind);
    const int sign = lead > 0 ? 1 : -1;
    for (int covered = step;; covered += step) {
        covered = std::min(covered, distance);
        const int percent = static_cast<int>(std::lround(covered * 100.0 / distance));
        const int follow = percent * other / 100;
        const int leadPos = sign * covered;
        QPoint p = xLeads ? QPoint(from.x() + leadPos, from.y() + follow) : QPoint(from.x() + follow, from.y() + leadPos);
        if (covered == distance)
            p = to;
        frames.push_back(p);
        if (covered == distance)
            break;
    }
    return frames;
}

int frameWait(int speed, SlideKind kind)
{
    speed = std::max(0, speed);
    switch (kind) {
    case SlideKind::Deal: return speed / 4;
    case SlideKind::Demo: return speed * 3;
    case SlideKind::Move: break;
    }
    return speed;
}

namespace {
int g_hooks = 0;
bool g_ended = false;
} // namespace

void InputHook::endAll()
{
    if (g_hooks > 0)
        g_ended = true;
}

bool InputHook::running() { return g_hooks > 0; }

InputHook::InputHook()
{
    if (g_hooks++ == 0)
        g_ended = false;
    m_ended = g_ended;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

InputHook::~InputHook()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    if (--g_hooks == 0)
        g_ended = false;
}

bool InputHook::wait(int ms)
{
    m_ended = m_ended || g_ended;
    if (m_ended)
        return false;
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, std::max(1, ms));
        if (m_ended || g_ended) {
            m_ended = true;
            return false;
        }
        const qint64 left = ms - timer.elapsed();
        if (left > 0)
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 2)));
    } while (timer.elapsed() < ms);
    return true;
}

bool InputHook::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        m_ended = true;
        g_ended = true;
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace cw::ui
