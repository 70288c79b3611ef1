// The table's animations, each a run of frames on the window's animation queue: moved and turned
// cards, the deal and redeal, the slide back of a refused drop, the winning animations and the
// pause screen.
#include "ui/table_widget.h"

#include "ui/picture_library.h"
#include "ui/pile_markers.h"
#include "ui/winning_animation.h"

#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <utility>

namespace cw::ui {

using engine::EventType;
using engine::PileKind;
using engine::PileRef;

namespace {

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

Frames TableWidget::fly(QPoint from, QPoint to, SlideKind kind)
{
    const QSize card(m_geometry.layout.cardWidth, m_geometry.layout.cardHeight);
    const int wait = frameWait(m_settings.speedMoveCard, kind);
    for (const QPoint& p : slideFrames(from, to, card, kind)) {
        if (m_animations.ending())
            co_return;
        moveFlying(p);
        co_yield wait;
    }
}

Frames TableWidget::flip(int code, PileRef pile, int index, bool faceUp)
{
    const QPixmap before = faceUp ? m_pictures.back() : m_pictures.face(code);
    const QPixmap after = faceUp ? m_pictures.face(code) : m_pictures.back();
    const QRect r = viewRect(pile, index);
    if (before.isNull() || after.isNull() || r.isEmpty())
        co_return;
    m_hiddenPile = pile;
    m_hiddenFrom = index;
    rebuildTablePicture();
    const qreal dpr = m_pictures.devicePixelRatio();
    constexpr int kFrames = 8;
    const int wait = std::max(10, frameWait(m_settings.speedMoveCard, SlideKind::Move));
    for (int f = 1; f <= kFrames && !m_animations.ending(); ++f) {
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
        co_yield wait;
    }
    clearFlying();
    m_hiddenPile = {};
    m_hiddenFrom = -1;
}

void TableWidget::playEvents(const engine::Events& events)
{
    if (events.empty() || !m_state || !m_rules || m_pictures.isEmpty()) {
        refresh();
        return;
    }
    // The run starts from the table the runs before it leave, and ends on the game's table as it
    // is now: later actions queued behind it start from there.
    m_animations.add(eventFrames(events, m_state->table));
}

Frames TableWidget::eventFrames(engine::Events events, engine::Table after)
{
    const bool animate = m_settings.animate && isVisible();
    // The run works on its own copy: a redraw asked for meanwhile (a timer, the window) must not
    // pull the table from under it.
    engine::Table shown = m_shown ? *m_shown : m_drawn;
    m_shown = shown;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const engine::Event& e = events[i];
        if (e.type == EventType::CardTurned) {
            const auto [pile, index] = findCard(shown, e.card, e.from);
            if (index < 0 || shown.isFaceUp(e.card) == e.faceUp)
                continue;
            if (animate && !m_animations.ending()) {
                Frames turn = flip(e.card, pile, index, e.faceUp);
                while (turn.next())
                    co_yield turn.wait();
            }
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
            start = toView(QPoint(p.x, p.y));
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
        QPoint end = toView(QPoint(target.x, target.y));
        if (!target.present())
            end = QPoint(engine::kNotPlaced, engine::kNotPlaced);
        if (animate && !m_animations.ending()) {
            m_shown = shown;
            rebuildTablePicture();
            QPoint offset;
            QPixmap pic;
            if (!consecutive) {
                // Cards taken one by one: the last one's picture stands for the run.
                pic = groupPicture(m_pictures, {codes.back()}, {landed.isFaceUp(codes.back())}, {QPoint()}, false);
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
            Frames flight = fly(start, end, SlideKind::Move);
            while (flight.next())
                co_yield flight.wait();
        }
        shown = landed;
        m_shown = shown;
        clearFlying();
        rebuildTablePicture();
        update();
        i = j - 1;
    }
    if (m_drag.active) {
        m_drag = Drag{};
        Q_EMIT dragEnded();
    }
    m_hiddenPile = {};
    m_hiddenFrom = -1;
    clearFlying();
    showAfterRun(std::move(after));
}

void TableWidget::showAfterRun(engine::Table table)
{
    m_shown = std::move(table);
    rebuildTablePicture();
    update();
}

void TableWidget::animateDeal()
{
    if (!m_state || !m_rules || m_pictures.isEmpty())
        return;
    if (!m_settings.animate || !isVisible()) {
        refresh();
        return;
    }
    m_animations.add(dealFrames(m_state->table));
}

Frames TableWidget::dealFrames(engine::Table final)
{
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
    const QPoint from =
        stock.present() ? toView(QPoint(stock.x, stock.y)) : QPoint(engine::kNotPlaced, engine::kNotPlaced);
    m_shown = shown;
    rebuildTablePicture();
    update();
    for (const Step& s : order) {
        if (m_animations.ending())
            break;
        const int code = final.pile(s.pile)[static_cast<std::size_t>(s.index)];
        shown.append(s.pile, code);
        m_shown = shown;
        if (code == 0)
            continue;
        const engine::Point p = engine::cardPosition(m_geometry, shown, s.pile, s.index);
        const QPoint to = toView(QPoint(p.x, p.y));
        const bool faceUp = final.isFaceUp(code);
        setFlying(groupPicture(m_pictures, {code}, {faceUp}, {QPoint()}, false), from, QPoint());
        Frames flight = fly(from, to, SlideKind::Deal);
        while (flight.next())
            co_yield flight.wait();
        clearFlying();
        // The landed card is the pile's top: draw just it onto the table picture.
        QPainter painter(&m_table);
        drawCard(painter, m_pictures, code, to, faceUp, m_settings.shadows);
        painter.end();
        updateView(QRect(
            to, QSize(m_geometry.layout.cardWidth + kShadowMargin, m_geometry.layout.cardHeight + kShadowMargin)));
    }
    clearFlying();
    showAfterRun(std::move(final));
}

void TableWidget::animateRedeal()
{
    if (!m_state || !m_rules || m_pictures.isEmpty())
        return;
    if (!m_settings.animate || !isVisible()) {
        refresh();
        return;
    }
    m_animations.add(redealFrames(m_state->table));
}

Frames TableWidget::redealFrames(engine::Table final)
{
    // Sweep: each pile as drawn flies to the stock (or off the table), then the deal is shown.
    engine::Table shown = m_shown ? *m_shown : m_drawn;
    m_shown = shown;
    const engine::Point stock = m_geometry.layout.corner(PileRef::stock());
    const QPoint to =
        stock.present() ? toView(QPoint(stock.x, stock.y)) : QPoint(engine::kNotPlaced, engine::kNotPlaced);
    for (int c = 0; c < m_geometry.tableauCount && !m_animations.ending(); ++c) {
        const PileRef p = PileRef::tableau(c);
        if (shown.pile(p).empty())
            continue;
        QPoint offset;
        const QPixmap pic = pictureOf(shown, p, 0, &offset);
        const engine::Point corner = engine::cardPosition(m_geometry, shown, p, 0);
        const QPoint from = toView(QPoint(corner.x, corner.y));
        shown.pile(p).clear();
        m_shown = shown;
        rebuildTablePicture();
        setFlying(pic, from, offset);
        Frames flight = fly(from, to, SlideKind::Deal);
        while (flight.next())
            co_yield flight.wait();
        clearFlying();
    }
    Frames deal = dealFrames(std::move(final));
    while (deal.next())
        co_yield deal.wait();
}

Frames TableWidget::slideBackFrames()
{
    const QPoint from = m_flying.at - m_flying.offset;
    Frames flight = fly(from, m_drag.start, SlideKind::Move);
    while (flight.next())
        co_yield flight.wait();
    m_drag = Drag{};
    clearFlying();
    m_hiddenPile = {};
    m_hiddenFrom = -1;
    Q_EMIT dragEnded();
}

namespace {

// The winning animation draws onto the table picture and the window at once.
class WidgetCanvas : public WinningCanvas {
public:
    // area: the table in view coordinates; zoom: window pixels per view pixel.
    WidgetCanvas(QWidget& widget, QRect area, qreal zoom, QPixmap& table, const CardPictures& pictures,
                 const AnimationQueue& queue, int seconds)
        : m_widget(widget), m_area(area), m_zoom(zoom), m_table(table), m_pictures(pictures), m_queue(queue),
          m_seconds(seconds)
    {
        m_clock.start();
    }
    QRect area() const override { return m_area; }
    QSize cardSize() const override { return m_pictures.cardSize(); }
    void drawCard(int code, QPoint at) override
    {
        QPainter p(&m_table);
        p.drawPixmap(at, m_pictures.face(code));
        p.end();
        m_widget.update(
            QRectF(QPointF(at) * m_zoom, QSizeF(cardSize()) * m_zoom).toAlignedRect().adjusted(-1, -1, 1, 1));
    }
    bool over() const override { return m_queue.ending() || left() <= 0; }
    qint64 left() const { return m_seconds * 1000LL - m_clock.elapsed(); }

private:
    QWidget& m_widget;
    QRect m_area;
    qreal m_zoom;
    QPixmap& m_table;
    const CardPictures& m_pictures;
    const AnimationQueue& m_queue;
    int m_seconds;
    QElapsedTimer m_clock;
};

} // namespace

void TableWidget::runWinningAnimation(const QString& name, int seconds)
{
    const QString pattern = chooseWinningAnimation(name.isEmpty() ? m_settings.winningAnimation : name,
                                                   [this](int n) { return randomInt(n); });
    const int time = seconds < 0 ? m_settings.winningSeconds : seconds;
    if (time <= 0 || m_pictures.isEmpty() || pattern.isEmpty())
        return;
    m_animations.add(winningFrames(pattern, time));
}

Frames TableWidget::winningFrames(QString pattern, int seconds)
{
    // The clock starts when the animation does, not when it was queued.
    auto canvas = std::make_unique<WidgetCanvas>(*this, QRect(QPoint(), viewSize()), m_zoom, m_table, m_pictures,
                                                 m_animations, seconds);
    const WidgetCanvas& clock = *canvas;
    Frames frames = winningAnimationFrames(std::move(canvas), std::move(pattern), m_settings.speedMoveCard,
                                           [this](int n) { return randomInt(n); });
    while (frames.next())
        co_yield static_cast<int>(std::clamp<qint64>(clock.left(), 0, frames.wait()));
    // The cards drawn over the table go with the next picture of the table.
    rebuildTablePicture();
    update();
}

void TableWidget::showPause(bool on)
{
    if (on == m_paused)
        return;
    if (on)
        finishAnimations();
    m_paused = on;
    m_pauseSlide = 0;
    if (!on) {
        refresh();
        return;
    }
    // The pictures slide down into place.
    if (m_settings.animate && isVisible())
        m_animations.add(pauseSlideFrames());
    update();
}

Frames TableWidget::pauseSlideFrames()
{
    for (m_pauseSlide = 240; m_pauseSlide > 0 && m_paused && !m_animations.ending(); m_pauseSlide -= 24) {
        update();
        co_yield 12;
    }
    m_pauseSlide = 0;
    update();
}

void TableWidget::endPause()
{
    if (!m_paused)
        return;
    finishAnimations();
    showPause(false);
    Q_EMIT pauseEnded();
}

} // namespace cw::ui
