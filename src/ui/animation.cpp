// The card slide's step rule and frames, and the window's animation queue on its timer.
#include "ui/animation.h"

#include "engine/layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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
        QPoint p =
            xLeads ? QPoint(from.x() + leadPos, from.y() + follow) : QPoint(from.x() + follow, from.y() + leadPos);
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

Frames& Frames::operator=(Frames&& other) noexcept
{
    if (this != &other) {
        if (m_handle)
            m_handle.destroy();
        m_handle = std::exchange(other.m_handle, {});
    }
    return *this;
}

Frames::~Frames()
{
    if (m_handle)
        m_handle.destroy();
}

bool Frames::next()
{
    if (!m_handle || m_handle.done())
        return false;
    m_handle.resume();
    if (m_handle.promise().error)
        std::rethrow_exception(std::exchange(m_handle.promise().error, {}));
    return !m_handle.done();
}

Frames callWhenReached(std::function<void()> call)
{
    call();
    co_return;
}

namespace {

Frames pauseFor(int ms) { co_yield ms; }

} // namespace

AnimationQueue::AnimationQueue(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AnimationQueue::run);
}

AnimationQueue::~AnimationQueue() = default;

void AnimationQueue::add(Frames frames)
{
    m_runs.push_back(std::move(frames));
    if (!m_running && !m_timer.isActive())
        run();
}

void AnimationQueue::then(std::function<void()> call)
{
    if (busy())
        add(callWhenReached(std::move(call)));
    else
        call();
}

void AnimationQueue::pause(int ms)
{
    if (ms > 0)
        add(pauseFor(ms));
}

void AnimationQueue::finish()
{
    if (m_runs.empty())
        return;
    m_ending = true;
    m_timer.stop();
    // From inside a run (a box it opened) the run going on sees ending() and goes straight through.
    run();
}

void AnimationQueue::drop()
{
    m_timer.stop();
    if (m_running) {
        // The run whose frame is on the stack ends as soon as it returns.
        m_ending = true;
        while (m_runs.size() > 1)
            m_runs.pop_back();
        return;
    }
    m_runs.clear();
    m_ending = false;
}

void AnimationQueue::advance()
{
    if (m_timer.isActive()) {
        m_timer.stop();
        run();
    }
}

void AnimationQueue::run()
{
    if (m_running)
        return;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    };
    {
        const Running running(m_running);
        while (!m_runs.empty()) {
            // A call may queue more runs: the deque keeps the front where it is.
            Frames& front = m_runs.front();
            if (front.next()) {
                if (m_ending)
                    continue;
                m_timer.start(std::max(0, front.wait()));
                return;
            }
            m_runs.pop_front();
        }
    }
    m_ending = false;
    Q_EMIT idle();
}

} // namespace cw::ui
