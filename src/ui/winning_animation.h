// The winning animations: random cards drawn over the table in six patterns until time runs out
// or the player clicks or presses a key.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace cw::ui {

// Where a winning animation draws.
class WinningCanvas {
public:
    virtual ~WinningCanvas() = default;
    // The client area; the table area runs from tableTop to the bottom.
    virtual QRect area() const = 0;
    virtual int tableTop() const { return area().top(); }
    virtual QSize cardSize() const = 0;
    // Draws card `code` (1..52) face up with its top-left corner at `at`, for good.
    virtual void drawCard(int code, QPoint at) = 0;
    // Lets window events run for `ms` milliseconds (0: once); false when the animation must end
    // (the player clicked or pressed a key, or the time is up).
    virtual bool wait(int ms) = 0;
};

// The names of the list, "(Random)" first and "(None)" second.
QStringList winningAnimationNames();
// The six animations a "(Random)" choice picks from.
QStringList winningAnimationPatterns();

// Runs the named animation (the patterns, "(Random)" or "(None)"). `delay` is the card-move
// delay "Speed_Move_Card"; `random(n)` gives 0..n-1. Returns the pattern that ran (empty when
// none). The canvas's wait decides when it ends.
QString runWinningAnimation(WinningCanvas& canvas, const QString& name, int delay,
                            const std::function<int(int)>& random);

} // namespace cw::ui
