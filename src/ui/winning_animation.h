// The winning animations: random cards drawn over the table in six patterns, frame by frame,
// until time runs out or the player clicks or presses a key.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "ui/animation.h"

#include <functional>
#include <memory>

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
    // True once the animation must end (the player clicked or pressed a key, or the time is up).
    virtual bool over() const = 0;
};

// The names of the list, "(Random)" first and "(None)" second.
QStringList winningAnimationNames();
// The six animations a "(Random)" choice picks from.
QStringList winningAnimationPatterns();

// The pattern a choice of the list runs: itself, a random pattern for "(Random)" (`random(n)`
// gives 0..n-1), empty for "(None)" and unknown names.
QString chooseWinningAnimation(const QString& name, const std::function<int(int)>& random);

// The frames of a pattern drawn on `canvas` until the canvas says it is over. `delay` is the
// card-move delay "Speed_Move_Card".
Frames winningAnimationFrames(std::unique_ptr<WinningCanvas> canvas, QString pattern, int delay,
                              std::function<int(int)> random);

} // namespace cw::ui
