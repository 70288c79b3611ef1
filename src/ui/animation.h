// The card slide's step rule and frames, and the window's animation queue: runs of frames played
// on a timer while the window's own event loop goes on, ended at once by a click, a key or a command.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QTimer>

#include <coroutine>
#include <deque>
#include <exception>
#include <functional>
#include <vector>

namespace cw::ui {

// How a slide is run.
enum class SlideKind {
    Move, // an ordinary move
    Deal, // the deal animation: a little shorter steps, quarter waits
    Demo, // the game demo: half steps, triple waits
};

// Pixels the leading axis advances per frame for a flight of `distance` pixels. A flight of a
// few pixels still advances one pixel per frame, so every flight ends.
int slideStep(int distance, SlideKind kind = SlideKind::Move);

// Positions after each frame of a flight from `from` to `to`, the last one `to`. The axis with
// the longer distance leads; the other follows in proportion. A start or end below -9999 is
// read as a point off the table (three card sizes to the upper left). Empty when from == to.
std::vector<QPoint> slideFrames(QPoint from, QPoint to, QSize card, SlideKind kind = SlideKind::Move);

// Milliseconds to wait after each frame for the "Speed_Move_Card" delay.
int frameWait(int speedMoveCard, SlideKind kind);

// One animation written as a coroutine: each `co_yield ms` shows a frame and asks for `ms`
// milliseconds before the next one. The body starts at the first next(), not at the call, so
// it reads the table as the animations before it left it.
class Frames {
public:
    struct promise_type {
        int wait = 0;
        std::exception_ptr error;
        Frames get_return_object() { return Frames(std::coroutine_handle<promise_type>::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        std::suspend_always yield_value(int ms) noexcept
        {
            wait = ms;
            return {};
        }
        void return_void() noexcept {}
        void unhandled_exception() noexcept { error = std::current_exception(); }
    };

    Frames() = default;
    Frames(Frames&& other) noexcept : m_handle(std::exchange(other.m_handle, {})) {}
    Frames& operator=(Frames&& other) noexcept;
    Frames(const Frames&) = delete;
    Frames& operator=(const Frames&) = delete;
    ~Frames();

    // Runs to the next frame; false once the animation is over (its last picture shown).
    bool next();
    // The milliseconds the last frame asked for.
    int wait() const { return m_handle ? m_handle.promise().wait : 0; }

private:
    explicit Frames(std::coroutine_handle<promise_type> h) : m_handle(h) {}
    std::coroutine_handle<promise_type> m_handle;
};

// Frames that only run `call` (a sound, a box, the "Game won" window) when the queue reaches them.
Frames callWhenReached(std::function<void()> call);

// The animations of a window, one after another. Each runs a frame, then the queue waits on its
// timer for what the frame asked, so boxes and dialogs opened meanwhile take input as usual.
// finish() ends them all at once: each run sees ending() and skips its frames but still reaches
// its final picture, and the calls queued among them run in order.
class AnimationQueue : public QObject {
    Q_OBJECT

public:
    explicit AnimationQueue(QObject* parent = nullptr);
    ~AnimationQueue() override;

    // Queues a run; when nothing runs it starts at once (up to its first frame).
    void add(Frames frames);
    // Runs `call` once everything queued before it has ended; at once when nothing runs.
    void then(std::function<void()> call);
    // A pause of `ms` milliseconds between the runs before and after it.
    void pause(int ms);
    // Ends every queued run now (a click, a key or a command came). Nothing when none runs.
    void finish();
    // Forgets every queued run and call without running them (the window is closing).
    void drop();

    bool busy() const { return !m_runs.empty(); }
    bool ending() const { return m_ending; }

    // Plays the next frame now instead of waiting for the timer (tests drive the frames with it).
    void advance();

signals:
    // Every run has ended.
    void idle();

private:
    void run();

    std::deque<Frames> m_runs;
    QTimer m_timer;
    bool m_running = false; // inside a run's frame (a box it opened may call back)
    bool m_ending = false;
};

} // namespace cw::ui
