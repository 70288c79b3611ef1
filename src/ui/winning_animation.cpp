// The winning animations: random cards drawn over the table in six patterns until time runs out
// or the player clicks or presses a key.
#include "ui/winning_animation.h"

#include <QVector>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace cw::ui {

namespace {

struct Runner {
    WinningCanvas& canvas;
    int delay;
    const std::function<int(int)>& random;
    int drawn = 0;

    int card() { return random(52) + 1; }
    int width() const { return canvas.area().right() + 1; }
    int height() const { return canvas.area().bottom() + 1; }
    int top() const { return canvas.tableTop(); }
    QSize cardSize() const { return canvas.cardSize(); }

    // Draws a card; true when a pause of trunc(delay / 2) is due (every `every` cards).
    bool draw(int code, QPoint at, int every)
    {
        canvas.drawCard(code, at);
        ++drawn;
        return drawn % every == 0;
    }

    Frames openOrder()
    {
        const QSize c = cardSize();
        for (;;) {
            const int x = -c.width() / 2 + random(std::max(1, width() + c.width() / 2));
            const int y = -c.height() / 2 + random(std::max(1, height() + c.height() / 2));
            if (draw(card(), QPoint(x, y), 5)) {
                co_yield delay / 2;
                if (canvas.over())
                    co_return;
            }
        }
    }

    Frames leftToRight()
    {
        const QSize c = cardSize();
        const int step = std::max(1, static_cast<int>(c.width() / 5.8));
        int passStart = top();
        int y = passStart;
        int x = -20;
        int row = 1;
        int code = card();
        for (;;) {
            if (draw(code, QPoint(x, y), 5)) {
                co_yield delay / 2;
                if (canvas.over())
                    co_return;
            }
            x += step;
            if (x >= width()) {
                co_yield 700;
                if (canvas.over())
                    co_return;
                x = row % 2 == 1 ? -static_cast<int>(c.width() / 3) : -static_cast<int>(c.width() / 4);
                ++row;
                y += 35;
                code = card();
                if (y + c.height() >= height()) {
                    passStart += 35;
                    if (passStart >= height())
                        passStart = top() + 35;
                    y = passStart;
                }
            }
        }
    }

    Frames upToDown()
    {
        const QSize c = cardSize();
        const int step = std::max(1, static_cast<int>(c.height() / 5.3));
        int passStart = -10;
        int x = passStart;
        int y = top();
        int column = 1;
        int code = card();
        for (;;) {
            if (draw(code, QPoint(x, y), 5)) {
                co_yield delay / 2;
                if (canvas.over())
                    co_return;
            }
            y += step;
            if (y >= height()) {
                co_yield 700;
                if (canvas.over())
                    co_return;
                y = column % 2 == 1 ? -static_cast<int>(c.height() / 3) : -static_cast<int>(c.height() / 4);
                ++column;
                x += static_cast<int>(c.width() / 1.5);
                code = card();
                if (x + c.width() >= width()) {
                    passStart = passStart < 35 ? 35 : passStart + 35;
                    if (passStart >= width())
                        passStart = 35;
                    x = passStart;
                }
            }
        }
    }

    Frames lines()
    {
        const QSize c = cardSize();
        const int bottom = height();
        int x = std::max(1, random(std::max(1, width())) - c.width());
        int y = top() + 1;
        int sx = 1;
        int sy = 1;
        for (;;) {
            const int code = card();
            const int s = 4 + random(8);
            int dx = sx * s;
            int dy = sy * s;
            bool reversed = false;
            int n = 0;
            while (!reversed) {
                canvas.drawCard(code, QPoint(x, y));
                ++n;
                co_yield 5;
                if (canvas.over())
                    co_return;
                if (n % 2 == 0 && delay > 0) {
                    co_yield delay;
                    if (canvas.over())
                        co_return;
                }
                if (n % 4 == 0) {
                    co_yield 0;
                    if (canvas.over())
                        co_return;
                }
                if (x + dx <= 0 || x + dx + c.width() >= width()) {
                    dx = -dx;
                    reversed = true;
                }
                if (y + dy <= top() || y + dy + c.height() >= bottom) {
                    dy = -dy;
                    reversed = true;
                }
                x += dx;
                y += dy;
            }
            sx = dx > 0 ? 1 : -1;
            sy = dy > 0 ? 1 : -1;
        }
    }

    // Points of a circle outline of diameter 300, every fourth row, clockwise from the top.
    static std::vector<QPoint> circlePath()
    {
        constexpr int d = 300;
        constexpr double r = d / 2.0;
        std::vector<QPoint> right;
        std::vector<QPoint> left;
        for (int row = 0; row < d; row += 4) {
            const double dy = row + 0.5 - r;
            const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
            right.emplace_back(static_cast<int>(std::lround(r + half)), row);
            left.emplace_back(static_cast<int>(std::lround(r - half)), row);
        }
        std::vector<QPoint> path = right;
        path.insert(path.end(), left.rbegin(), left.rend());
        return path;
    }

    Frames circles()
    {
        const std::vector<QPoint> path = circlePath();
        const QSize c = cardSize();
        const QRect client = canvas.area();
        for (;;) {
            const int code = card();
            int x0 = random(std::max(1, width()));
            if (x0 > width() - 150)
                x0 = width() - 150 - x0;
            int y0 = random(std::max(1, height()));
            if (y0 > height() - 150)
                y0 = height() - 150 - y0;
            for (const QPoint& p : path) {
                const QPoint at(x0 + p.x(), y0 + p.y());
                if (!client.intersects(QRect(at, c)))
                    continue;
                if (draw(code, at, 4)) {
                    co_yield delay / 2;
                    if (canvas.over())
                        co_return;
                }
            }
        }
    }

    // Garlands: a card trails along a row of hanging arcs from a random start, left to right or
    // right to left, each festoon with its own depth and span.
    Frames festoons()
    {
        const QSize c = cardSize();
        for (;;) {
            const int code = card();
            const int span = 120 + random(160);
            const int depth = 40 + random(120);
            const bool rightwards = random(2) == 0;
            const int y0 = top() + random(std::max(1, height() - top() - depth - c.height()));
            int x = rightwards ? -c.width() / 2 - random(span) : width() - c.width() / 2 + random(span);
            const int step = 6;
            while (rightwards ? x < width() : x > -c.width()) {
                const double phase = std::fmod(std::abs(x) / static_cast<double>(span), 1.0);
                const int y = y0 + static_cast<int>(depth * std::sin(phase * M_PI));
                if (draw(code, QPoint(x, y), 4)) {
                    co_yield delay / 2;
                    if (canvas.over())
                        co_return;
                }
                x += rightwards ? step : -step;
            }
        }
    }
};

} // namespace

QStringList winningAnimationPatterns()
{
    return {QStringLiteral("Festoons"),   QStringLiteral("Circles"),       QStringLiteral("Lines"),
            QStringLiteral("Open order"), QStringLiteral("Left to right"), QStringLiteral("Up to down")};
}

QStringList winningAnimationNames()
{
    return QStringList{QStringLiteral("(Random)"), QStringLiteral("(None)")} + winningAnimationPatterns();
}

QString chooseWinningAnimation(const QString& name, const std::function<int(int)>& random)
{
    const QStringList patterns = winningAnimationPatterns();
    const QString chosen =
        name == QLatin1String("(Random)") ? patterns.at(random(static_cast<int>(patterns.size()))) : name;
    return patterns.contains(chosen) ? chosen : QString();
}

Frames winningAnimationFrames(std::unique_ptr<WinningCanvas> canvas, QString pattern, int delay,
                              std::function<int(int)> random)
{
    Runner run{*canvas, std::max(0, delay), random};
    Frames frames = pattern == QLatin1String("Open order")      ? run.openOrder()
                    : pattern == QLatin1String("Left to right") ? run.leftToRight()
                    : pattern == QLatin1String("Up to down")    ? run.upToDown()
                    : pattern == QLatin1String("Lines")         ? run.lines()
                    : pattern == QLatin1String("Circles")       ? run.circles()
                                                                : run.festoons();
    if (canvas->over())
        co_return;
    while (frames.next())
        co_yield frames.wait();
}

} // namespace cw::ui
