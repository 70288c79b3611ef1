// The table's animations: moved and turned cards, the deal and redeal, the winning animations
// and the pause screen.
#include "ui/table_widget.h"

#include "ui/picture_library.h"
#include "ui/pile_markers.h"
#include "ui/winning_animation.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace cw::ui {

using engine::EventType;
using engine::PileKind;
using engine::PileRef;

namespace {

// Runs `body` with the animation flag set, restoring it afterwards.
template <class F>
void whileFlagged(bool& flag, F&& body)
{
    const bool was = flag;
    flag = true;
    body();
    flag = was;
}

// Where a card lies now in `table`: its pile and position (searching `hint` first).
std::pair<PileRef, int> findCard(const engine::Table& table, int code, PileRef hint)
{
    if (hint.valid()) {
        const int i = table.pile(hint).find(code);
        if (i >= 0)
            return {hint, i};
    }
    for (int k = 0; k < engine::kTablePiles; ++k) {
        const PileRef p = engine::pileAtTableOrder(k);
        const int i = table.pile(p).find(code);
        if (i >= 0)
            return {p, i};
    }
    return {PileRef{}, -1};
}

} // namespace

void TableWidget::fly(QPoint from, QPoint to, SlideKind kind, InputHook& hook)
{
    const QSize card(m_geometry.layout.cardWidth, m_geometry.layout.cardHeight);
    const int wait = frameWait(m_settings.speedMoveCard, kind);
    for (const QPoint& p : slideFrames(from, to, card, kind)) {
        if (hook.ended())
            return;
        moveFlying(p);
        if (!hook.wait(wait))
            return;
    }
}

void TableWidget::animateMove(const std::vector<int>& codes, QPoint from, QPoint to, SlideKind kind)
{
    if (codes.empty() || !m_settings.animate || m_pictures.isEmpty())
        return;
    std::vector<bool> faces(codes.size(), true);
    std::vector<QPoint> offsets;
    for (std::size_t i = 0; i < codes.size(); ++i)
        offsets.emplace_back(0, static_cast<int>(i) * m_geometry.steps.downFaceUp);
    InputHook hook;
    whileFlagged(m_animating, [&] {
        setFlying(groupPicture(m_pictures, codes, faces, offsets, kind == SlideKind::Demo && m_settings.shadows),
                  toWindow(from), QPoint());
        fly(toWindow(from), toWindow(to), kind, hook);
        clearFlying();
    });
}

void TableWidget::flip(int code, PileRef pile, int index, bool faceUp, InputHook& hook)
{
    const QPixmap before = faceUp ? m_pictures.back() : m_pictures.face(code);
    const QPixmap after = faceUp ? m_pictures.face(code) : m_pictures.back();
    const QRect r = cardRect(pile, index);
    if (before.isNull() || after.isNull() || r.isEmpty())
        return;
    m_hiddenPile = pile;
    m_hiddenFrom = index;
    rebuildTablePicture();
    const qreal dpr = m_pictures.devicePixelRatio();
    constexpr int kFrames = 8;
    const int wait = std::max(10, frameWait(m_settings.speedMoveCard, SlideKind::Move));
    for (int f = 1; f <= kFrames && !hook.ended(); ++f) {
        // The card narrows to its edge showing one side and widens again showing the other.
        const double t = static_cast<double>(f) / kFrames;
        const double scale = std::abs(1.0 - 2.0 * t);
        const QPixmap& side = t < 0.5 ? before : after;
        QPixmap frame(r.size() * dpr);
        frame.setDevicePixelRatio(dpr);
        frame.fill(Qt::transparent);
        {
            QPainter p(&frame);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            const double w = std::max(1.0, r.width() * scale);
            p.drawPixmap(QRectF((r.width() - w) / 2.0, 0, w, r.height()), side, QRectF(side.rect()));
        }
        setFlying(frame, r.topLeft(), QPoint());
        if (!hook.wait(wait))
            break;
    }
    clearFlying();
    m_hiddenPile = {};
    m_hiddenFrom = -1;
}

void TableWidget::playEvents(const engine::Events& events)
{
    if (!m_state || !m_rules || m_pictures.isEmpty()) {
        refresh();
        return;
    }
    const bool animate = m_settings.animate && isVisible();
    // The animation works on its own copy: a redraw asked for meanwhile (a timer, the window)
    // must not pull the table from under it.
    engine::Table shown = m_drawn;
    m_shown = shown;
    InputHook hook;
    whileFlagged(m_animating, [&] {
        for (std::size_t i = 0; i < events.size(); ++i) {
            const engine::Event& e = events[i];
            if (e.type == EventType::CardTurned) {
                const auto [pile, index] = findCard(shown, e.card, e.from);
                if (index < 0 || shown.isFaceUp(e.card) == e.faceUp)
                    continue;
                if (animate && !hook.ended())
                    flip(e.card, pile, index, e.faceUp, hook);
                shown.setFace(e.card, e.faceUp);
                m_shown = shown;
                rebuildTablePicture();
                update();
                continue;
            }
            if (e.type != EventType::CardMoved || !e.to.valid())
                continue;
            const auto [from, index] = findCard(shown, e.card, e.from);
            // A run of moves between the same two piles travels as one: a group taken from
            // consecutive positions (a tableau group), or cards taken one by one (a turned-over
            // waste, a dealt row) whose first card's flight stands for them all.
            std::vector<int> codes{e.card};
            std::size_t j = i + 1;
            bool consecutive = true;
            while (j < events.size() && events[j].type == EventType::CardMoved && events[j].from == e.from &&
                   events[j].to == e.to) {
                const int at = shown.pile(from.valid() ? from : e.from).find(events[j].card);
                if (consecutive && from.valid() && at != index + static_cast<int>(codes.size()))
                    consecutive = false;
                codes.push_back(events[j].card);
                ++j;
            }
            if (!consecutive && codes.size() <= 3 && from.valid()) {
                codes.resize(1); // a few cards one by one: each flies on its own
                j = i + 1;
            }
            const bool dragged = m_drag.active && !m_drag.codes.empty() && e.card == m_drag.codes.front();
            QPoint start = dragged ? m_flying.at - m_flying.offset : QPoint();
            if (!dragged && from.valid()) {
                const engine::Point p = engine::cardPosition(m_geometry, shown, from, index);
                start = toWindow(QPoint(p.x, p.y));
            } else if (!dragged) {
                start = QPoint(engine::kNotPlaced, engine::kNotPlaced);
            }
            // Take the cards off the shown table, as the flying picture shows them.
            for (int code : codes) {
                const auto [p, k] = findCard(shown, code, from);
                if (k >= 0)
                    shown.pile(p).erase(static_cast<std::size_t>(k));
            }
            for (std::size_t k = 0; k < codes.size(); ++k)
                shown.setFace(codes[k], events[i + k].faceUp);
            if (dragged) {
                m_drag = Drag{};
                m_hiddenPile = {};
                m_hiddenFrom = -1;
                Q_EMIT dragEnded();
            }
            engine::Table landed = shown;
            for (int code : codes)
                landed.append(e.to, code);
            const int firstIndex = static_cast<int>(shown.pile(e.to).size());
            const engine::Point target = engine::cardPosition(m_geometry, landed, e.to, firstIndex);
            QPoint end = toWindow(QPoint(target.x, target.y));
            if (!target.present())
                end = QPoint(engine::kNotPlaced, engine::kNotPlaced);
            if (animate && !hook.ended()) {
                m_shown = shown;
                rebuildTablePicture();
                QPoint offset;
                QPixmap pic;
                if (!consecutive) {
                    // Cards taken one by one: the last one's picture stands for the run.
                    pic = groupPicture(m_pictures, {codes.back()}, {landed.isFaceUp(codes.back())}, {QPoint()},
                                       false);
                } else {
                    // The group as it will lie on its new pile; no shadow while cards fly.
                    std::vector<bool> faces;
                    const std::vector<QPoint> offsets = groupOffsets(landed, e.to, firstIndex);
                    for (int code : codes)
                        faces.push_back(landed.isFaceUp(code));
                    pic = groupPicture(m_pictures, codes, faces, offsets, false);
                    QRect b;
                    for (const QPoint& o : offsets)
                        b |= QRect(o, QSize(1, 1));
                    offset = b.topLeft();
                }
                if (dragged)
                    clearFlying();
                setFlying(pic, start, offset);
                fly(start, end, SlideKind::Move, hook);
            }
            shown = landed;
            m_shown = shown;
            clearFlying();
            rebuildTablePicture();
            update();
            i = j - 1;
        }
    });
    m_shown.reset();
    if (m_drag.active) {
        m_drag = Drag{};
        Q_EMIT dragEnded();
    }
    m_hiddenPile = {};
    m_hiddenFrom = -1;
    clearFlying();
    refresh();
}

void TableWidget::animateDeal()
{
    if (!m_state || !m_rules || m_pictures.isEmpty())
        return;
    if (!m_settings.animate || !isVisible()) {
        refresh();
        return;
    }
    const engine::Table final = m_state->table;
    engine::Table shown = final;
    // The dealt piles start empty; the stock group shows its final state throughout.
    struct Step {
        PileRef pile;
        int index;
    };
    std::vector<Step> order;
    std::vector<PileRef> piles;
    for (int r = 0; r < m_geometry.reserveCount; ++r)
        piles.push_back(PileRef::reserve(r));
    for (int c = 0; c < m_geometry.tableauCount; ++c)
        piles.push_back(PileRef::tableau(c));
    std::size_t longest = 0;
    for (PileRef p : piles) {
        longest = std::max(longest, final.pile(p).size());
        shown.pile(p).clear();
    }
    // Row by row across the piles, as a dealer lays them out.
    for (std::size_t k = 0; k < longest; ++k)
        for (PileRef p : piles)
            if (k < final.pile(p).size())
                order.push_back({p, static_cast<int>(k)});
    for (int f = 0; f < m_geometry.foundationCount; ++f) {
        const PileRef p = PileRef::foundation(f);
        for (std::size_t k = 0; k < final.pile(p).size(); ++k)
            order.push_back({p, static_cast<int>(k)});
        shown.pile(p).clear();
    }
    const engine::Point stock = m_geometry.layout.corner(PileRef::stock());
    const QPoint from = stock.present() ? toWindow(QPoint(stock.x, stock.y))
                                        : QPoint(engine::kNotPlaced, engine::kNotPlaced);
    m_shown = shown;
    InputHook hook;
    whileFlagged(m_animating, [&] {
        rebuildTablePicture();
        update();
        for (const Step& s : order) {
            const int code = final.pile(s.pile)[static_cast<std::size_t>(s.index)];
            shown.append(s.pile, code);
            m_shown = shown;
            if (code == 0 || hook.ended())
                continue;
            const engine::Point p = engine::cardPosition(m_geometry, shown, s.pile, s.index);
            const QPoint to = toWindow(QPoint(p.x, p.y));
            const bool faceUp = final.isFaceUp(code);
            setFlying(groupPicture(m_pictures, {code}, {faceUp}, {QPoint()}, false), from, QPoint());
            fly(from, to, SlideKind::Deal, hook);
            clearFlying();
            // The landed card is the pile's top: draw just it onto the table picture.
            QPainter painter(&m_table);
            drawCard(painter, m_pictures, code, to, faceUp, m_settings.shadows);
            painter.end();
            update(QRect(to, QSize(m_geometry.layout.cardWidth + kShadowMargin,
                                   m_geometry.layout.cardHeight + kShadowMargin)));
        }
    });
    m_shown.reset();
    refresh();
}

void TableWidget::animateRedeal()
{
    if (!m_state || !m_rules || m_pictures.isEmpty())
        return;
    if (!m_settings.animate || !isVisible()) {
        refresh();
        return;
    }
    // Sweep: each pile as drawn flies to the stock (or off the table), then the deal is shown.
    engine::Table shown = m_drawn;
    m_shown = shown;
    const engine::Point stock = m_geometry.layout.corner(PileRef::stock());
    const QPoint to = stock.present() ? toWindow(QPoint(stock.x, stock.y))
                                      : QPoint(engine::kNotPlaced, engine::kNotPlaced);
    InputHook hook;
    whileFlagged(m_animating, [&] {
        for (int c = 0; c < m_geometry.tableauCount && !hook.ended(); ++c) {
            const PileRef p = PileRef::tableau(c);
            if (shown.pile(p).empty())
                continue;
            QPoint offset;
            const QPixmap pic = pictureOf(shown, p, 0, &offset);
            const engine::Point corner = engine::cardPosition(m_geometry, shown, p, 0);
            const QPoint from = toWindow(QPoint(corner.x, corner.y));
            shown.pile(p).clear();
            m_shown = shown;
            rebuildTablePicture();
            setFlying(pic, from, offset);
            fly(from, to, SlideKind::Deal, hook);
            clearFlying();
        }
    });
    m_shown.reset();
    if (hook.ended()) {
        refresh();
        return;
    }
    animateDeal();
}

namespace {

// The winning animation draws onto the table picture and the window at once.
class WidgetCanvas : public WinningCanvas {
public:
    WidgetCanvas(QWidget& widget, QPixmap& table, const CardPictures& pictures, InputHook& hook, int seconds)
        : m_widget(widget), m_table(table), m_pictures(pictures), m_hook(hook), m_seconds(seconds)
    {
        m_clock.start();
    }
    QRect area() const override { return m_widget.rect(); }
    QSize cardSize() const override { return m_pictures.cardSize(); }
    void drawCard(int code, QPoint at) override
    {
        QPainter p(&m_table);
        p.drawPixmap(at, m_pictures.face(code));
        p.end();
        m_widget.update(QRect(at, cardSize()));
    }
    bool wait(int ms) override
    {
        if (m_clock.elapsed() >= m_seconds * 1000LL)
            return false;
        const qint64 left = m_seconds * 1000LL - m_clock.elapsed();
        return m_hook.wait(static_cast<int>(std::min<qint64>(ms, left))) && m_clock.elapsed() < m_seconds * 1000LL;
    }

private:
    QWidget& m_widget;
    QPixmap& m_table;
    const CardPictures& m_pictures;
    InputHook& m_hook;
    int m_seconds;
    QElapsedTimer m_clock;
};

} // namespace

void TableWidget::runWinningAnimation(const QString& name, int seconds)
{
    const QString chosen = name.isEmpty() ? m_settings.winningAnimation : name;
    const int time = seconds < 0 ? m_settings.winningSeconds : seconds;
    if (time <= 0 || m_pictures.isEmpty() || chosen == QLatin1String("(None)"))
        return;
    InputHook hook;
    whileFlagged(m_animating, [&] {
        WidgetCanvas canvas(*this, m_table, m_pictures, hook, time);
        ui::runWinningAnimation(canvas, chosen, m_settings.speedMoveCard, [this](int n) { return randomInt(n); });
    });
    refresh();
}

void TableWidget::showPause(bool on)
{
    if (on == m_paused)
        return;
    m_paused = on;
    if (!on) {
        m_pauseHook.reset();
        refresh();
        return;
    }
    m_pauseHook = std::make_unique<InputHook>();
    // The pictures slide down into place.
    m_pauseSlide = 0;
    if (m_settings.animate && isVisible()) {
        for (m_pauseSlide = 240; m_pauseSlide > 0 && m_paused; m_pauseSlide -= 24) {
            repaint();
            if (!m_pauseHook || !m_pauseHook->wait(12))
                break;
        }
        m_pauseSlide = 0;
    }
    if (!m_paused)
        return;
    update();
    // The pause hook swallows input; the first click or key ends the pause.
    auto* timer = new QTimer(this);
    timer->setInterval(30);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        if (!m_paused) {
            timer->deleteLater();
            return;
        }
        if (m_pauseHook && m_pauseHook->ended()) {
            timer->deleteLater();
            showPause(false);
            Q_EMIT pauseEnded();
        }
    });
    timer->start();
}

} // namespace cw::ui
