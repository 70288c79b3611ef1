// The card slide: its step rule, the frames of a flight, the frame waits, and the input hook that
// lets a click or key end an animation.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

#include <vector>

namespace cw::ui {

// How a slide is run.
enum class SlideKind {
    Move,   // an ordinary move
    Deal,   // the deal animation: a little shorter steps, quarter waits
    Demo,   // the game demo: half steps, triple waits
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

// While alive, swallows mouse-button and key events of the whole application; the first press
// (or any key) marks the animation as ended by the player. Nested hooks share the flag.
class InputHook : public QObject {
public:
    InputHook();
    ~InputHook() override;
    InputHook(const InputHook&) = delete;
    InputHook& operator=(const InputHook&) = delete;

    bool ended() const { return m_ended; }
    void end() { m_ended = true; }
    // Ends every running hook's animation (as a click would); nothing when none runs.
    static void endAll();
    static bool running();

    // Lets window events run for `ms` milliseconds (0: just once); false once the player ended
    // the animation.
    bool wait(int ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_ended = false;
};

} // namespace cw::ui
