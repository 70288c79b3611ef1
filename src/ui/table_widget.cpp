// The table on screen: layout, the table picture, painting, scrolling and the mouse.
#include "ui/table_widget.h"
#include "engine/pickup.h"
#include "engine/tutor.h"

#include "ui/picture_library.h"
#include "ui/pile_markers.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace cw::ui {

using engine::PileKind;
using engine::PileRef;

TableWidget::TableWidget(const PictureLibrary& library, QWidget* parent)
    : QWidget(parent), m_library(library), m_random(std::random_device{}())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(200, 150);
    // Once the queued animations have all run (or were finished), the game's table shows.
    connect(&m_animations, &AnimationQueue::idle, this, [this] {
        m_shown.reset();
        clearFlying();
        m_hiddenPile = {};
        m_hiddenFrom = -1;
        refresh();
    });
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->hide();
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (value == m_scroll.position)
            return;
        m_scroll.position = engine::clampScroll(value, m_scroll);
        m_geometry.layout.scroll = m_scroll.position;
        rebuildTablePicture();
        update();
    });
}

TableWidget::~TableWidget() = default;

void TableWidget::setSettings(const TableSettings& settings)
{
    finishAnimations();
    const bool picturesChanged = settings.cardSize != m_settings.cardSize || settings.cardSet != m_settings.cardSet ||
                                 settings.deck != m_settings.deck || settings.cardSetFile != m_settings.cardSetFile ||
                                 settings.deckFile != m_settings.deckFile || m_pictures.isEmpty();
    const bool layoutChanged =
        picturesChanged || settings.shadows != m_settings.shadows ||
        settings.irregularPiles != m_settings.irregularPiles || settings.scrollBar != m_settings.scrollBar ||
        settings.readableFans != m_settings.readableFans || settings.fitWindow != m_settings.fitWindow;
    m_settings = settings;
    m_painter.clearCache();
    if (picturesChanged)
        loadPictures();
    rebuildBackground();
    if (layoutChanged)
        layoutNow();
    rebuildTablePicture();
    update();
}

void TableWidget::setGame(const engine::GameRules* rules, const engine::GameState* state, bool newGame)
{
    // The animations of the game shown so far end first.
    finishAnimations();
    m_rules = rules;
    m_state = state;
    m_drag = Drag{};
    m_pressed = false;
    clearFlying();
    m_hiddenPile = {};
    m_hiddenFrom = -1;
    m_shown.reset();
    m_hintArrow = {};
    if (newGame) {
        m_highlighted.clear();
        std::uniform_int_distribution<int> four(0, 3);
        m_irregular = engine::makeIrregularOffsets([&] { return four(m_random); });
        m_scroll = engine::ScrollState{};
    }
    // Suit folding applies when faces are handed out: no new pictures for a new game.
    m_pictures.setSuitFolding(rules ? rules->suitFolding() : 0);
    layoutNow();
    rebuildTablePicture();
    update();
}

void TableWidget::setScreenSize(int screenWidth, int screenHeight, int windowHeight)
{
    m_screenWidth = screenWidth;
    m_screenHeight = screenHeight;
    m_windowHeight = windowHeight;
    relayout();
}

void TableWidget::relayout()
{
    finishAnimations();
    layoutNow();
    rebuildTablePicture();
    update();
}

void TableWidget::refresh()
{
    if (animating())
        return; // the queue shows the game's table when it ends
    m_shown.reset();
    if (m_rules && m_state) {
        // A pile that grew (or shrank) may close or open the fans, and show or hide the
        // scroll bar.
        fitFanSteps();
        const int needed = engine::neededHeight(m_geometry, m_state->table);
        const auto d = engine::evaluateScrollBar(engine::scrollBarAllowed(*m_rules, m_settings.scrollBar), needed,
                                                 viewSize().height(), m_geometry.layout.cardHeight, m_scroll);
        if (d.relayout)
            layoutNow();
    }
    rebuildTablePicture();
    update();
}

void TableWidget::loadPictures()
{
    const qreal dpr = tableDpr();
    m_picturesDpr = dpr;
    m_pictures.setSuitFolding(m_rules ? m_rules->suitFolding() : 0);
    const char letter = engine::cardSizeLetter(m_settings.cardSize);
    // A player's file that cannot be read leaves the default set on the table.
    if (m_settings.cardSetFile.isEmpty() || !m_pictures.loadFile(m_settings.cardSetFile, letter, dpr))
        m_pictures.loadBuiltIn(m_library, m_settings.cardSetFile.isEmpty() ? m_settings.cardSet : kDefaultCardSet,
                               letter, dpr);
    if (m_settings.deckFile.isEmpty() || !m_pictures.loadDeckFile(m_settings.deckFile))
        m_pictures.loadDeck(m_library, m_settings.deck);
    m_pictures.loadExtras();
    m_painter.clearCache();
}

QRect TableWidget::tableArea() const
{
    const QSize view = viewSize();
    const int sb = m_scroll.shown ? static_cast<int>(std::ceil(m_scrollBar->sizeHint().width() / m_zoom)) : 0;
    return QRect(0, 0, std::max(1, view.width() - sb), std::max(1, view.height()));
}

// ---- Zoom: the cards following the window ----

qreal TableWidget::tableDpr() const { return devicePixelRatioF() * m_zoom; }

QSize TableWidget::viewSize() const
{
    return QSize(std::max(1, static_cast<int>(width() / m_zoom)), std::max(1, static_cast<int>(height() / m_zoom)));
}

QPoint TableWidget::viewPoint(QPointF windowPoint) const { return (windowPoint / m_zoom).toPoint(); }

QPoint TableWidget::toTable(QPoint windowPoint) const { return fromView(viewPoint(windowPoint)); }

QPoint TableWidget::toWindow(QPoint tablePoint) const { return (QPointF(toView(tablePoint)) * m_zoom).toPoint(); }

QRect TableWidget::toWindow(const QRect& tableRect) const
{
    // The corner rounded, the size scaled and rounded: a card is shownCardWidth() pixels wide
    // wherever it lies.
    const QPoint topLeft = (QPointF(toView(tableRect.topLeft())) * m_zoom).toPoint();
    return QRect(topLeft, QSize(static_cast<int>(std::lround(tableRect.width() * m_zoom)),
                                static_cast<int>(std::lround(tableRect.height() * m_zoom))));
}

int TableWidget::shownCardWidth() const { return static_cast<int>(std::lround(m_geometry.layout.cardWidth * m_zoom)); }

void TableWidget::updateView(const QRect& viewRect)
{
    if (m_zoom == 1.0) {
        update(viewRect);
        return;
    }
    update(QRectF(QPointF(viewRect.topLeft()) * m_zoom, QSizeF(viewRect.size()) * m_zoom)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

void TableWidget::chooseZoom()
{
    qreal zoom = 1.0;
    if (m_settings.fitWindow && m_rules) {
        engine::LayoutRoom room;
        room.width = std::max(1, width());
        room.clientHeight = std::max(1, height());
        room.windowHeight = m_windowHeight;
        room.screenWidth = m_screenWidth;
        room.screenHeight = m_screenHeight;
        room.shadowMargin = m_settings.shadows ? kShadowMargin : 0;
        zoom = engine::fittingScale(*m_rules, room, m_settings.cardSize).scale;
    }
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    // The pictures are drawn anew for the new scale (rebuildTablePicture sees the new density).
    m_background = QPixmap();
    m_painter.clearCache();
}

void TableWidget::layoutNow()
{
    if (!m_rules) {
        m_geometry = engine::TableGeometry{};
        syncScrollBar();
        return;
    }
    const bool allowed = engine::scrollBarAllowed(*m_rules, m_settings.scrollBar);
    if (!allowed)
        m_scroll = engine::ScrollState{};
    chooseZoom();
    auto scaled = [this](int v) { return v > 0 ? static_cast<int>(v / m_zoom) : v; };
    for (int round = 0; round < 3; ++round) {
        engine::LayoutRoom room;
        room.width = tableArea().width();
        room.clientHeight = viewSize().height();
        room.top = 0;
        room.statusHeight = 0;
        room.windowHeight = scaled(m_windowHeight);
        room.screenWidth = scaled(m_screenWidth);
        room.screenHeight = scaled(m_screenHeight);
        room.shadowMargin = m_settings.shadows ? kShadowMargin : 0;
        const engine::Geometry layout = engine::layoutPiles(*m_rules, room, m_settings.cardSize, m_scroll.position);
        const int screenWidth = room.screenWidth > 0 ? room.screenWidth : room.width;
        m_geometry = engine::makeTableGeometry(*m_rules, layout, m_settings.cardSize, screenWidth);
        if (m_settings.irregularPiles)
            m_geometry.irregular = m_irregular;
        m_fixedSteps = m_geometry.steps;
        if (!m_state)
            break;
        fitFanSteps();
        const int needed = engine::neededHeight(m_geometry, m_state->table);
        const auto d =
            engine::evaluateScrollBar(allowed, needed, viewSize().height(), m_geometry.layout.cardHeight, m_scroll);
        m_scroll = d.state;
        m_geometry.layout.scroll = m_scroll.position;
        if (!d.relayout)
            break;
    }
    syncScrollBar();
}

namespace {

// Whether every fanned pile of one direction stays clear of the piles after it (below a downward
// fan, to the right of a sideways one) and inside `room`.
bool fansClear(const engine::TableGeometry& tg, const engine::Table& table, bool downward, QSize room)
{
    const int W = tg.layout.cardWidth;
    const int H = tg.layout.cardHeight;
    std::vector<std::pair<PileRef, engine::Point>> present;
    for (int k = 0; k < engine::kTablePiles; ++k) {
        const PileRef p = engine::pileAtTableOrder(k);
        if (tg.layout.present(p))
            present.emplace_back(p, tg.layout.corner(p));
    }
    for (const auto& [p, c] : present) {
        const int style = tg.styleOf(p);
        const bool fans = downward ? (style == 1 || style == 5 || style == 12 || style == 13) : style == 2;
        const int n = static_cast<int>(table.pile(p).size());
        if (!fans || n < 2)
            continue;
        const engine::Point last = engine::cardPosition(tg, table, p, n - 1);
        const int reach = downward ? last.y + H : last.x + W;
        if (reach > (downward ? room.height() : room.width()) - 3)
            return false;
        for (const auto& [q, d] : present) {
            if (q == p)
                continue;
            const bool after =
                downward ? d.y > c.y && d.x < c.x + W && c.x < d.x + W : d.x > c.x && d.y < c.y + H && c.y < d.y + H;
            if (after && reach > (downward ? d.y : d.x) - 2)
                return false;
        }
    }
    return true;
}

} // namespace

bool TableWidget::fitFanSteps()
{
    engine::FanSteps& steps = m_geometry.steps;
    const engine::FanSteps before = steps;
    steps.downFaceUp = m_fixedSteps.downFaceUp;
    steps.rightFaceUp = m_fixedSteps.rightFaceUp;
    if (m_settings.readableFans && m_state) {
        // Wider steps show the whole corner index: the rank and most of the suit below it
        // (about a third of the card's height), the rank "10" beside (a quarter of its width).
        // They close again, down to the fixed steps, where a fan would run into the next pile
        // or out of the window.
        const QSize room = tableArea().size();
        const int H = m_geometry.layout.cardHeight;
        const int W = m_geometry.layout.cardWidth;
        if (m_fixedSteps.downFaceUp > 0) {
            for (int step = std::max(m_fixedSteps.downFaceUp, H * 34 / 100); step > m_fixedSteps.downFaceUp; --step) {
                steps.downFaceUp = step;
                if (fansClear(m_geometry, m_state->table, true, room))
                    break;
            }
        }
        if (m_fixedSteps.rightFaceUp > 0) {
            for (int step = std::max(m_fixedSteps.rightFaceUp, W / 4); step > m_fixedSteps.rightFaceUp; --step) {
                steps.rightFaceUp = step;
                if (fansClear(m_geometry, m_state->table, false, room))
                    break;
            }
        }
    }
    return !(steps == before);
}

void TableWidget::syncScrollBar()
{
    const QSignalBlocker block(m_scrollBar);
    m_scrollBar->setVisible(m_scroll.shown);
    if (m_scroll.shown) {
        const int w = m_scrollBar->sizeHint().width();
        m_scrollBar->setGeometry(width() - w, 0, w, height());
        m_scrollBar->setRange(0, std::max(0, m_scroll.maximum));
        m_scrollBar->setPageStep(std::max(1, viewSize().height() - m_geometry.layout.cardHeight));
        m_scrollBar->setSingleStep(std::max(1, m_geometry.layout.cardHeight / 4));
        m_scrollBar->setValue(m_scroll.position);
    }
}

void TableWidget::rebuildBackground()
{
    // As many pixels as the widget has on screen, each a 1/zoom table pixel: the table picture is
    // copied to the window pixel for pixel, and the cards drawn into it at their own density.
    const qreal dpr = tableDpr();
    m_background = QPixmap(size().expandedTo(QSize(1, 1)) * devicePixelRatioF());
    m_background.setDevicePixelRatio(dpr);
    QPainter p(&m_background);
    BackgroundChoice choice = m_settings.background;
    choice.paused = false;
    paintBackground(p, QRect(QPoint(0, 0), m_background.deviceIndependentSize().toSize()), choice, m_library, dpr);
}

const engine::Table* TableWidget::shownTable() const
{
    if (m_shown)
        return &*m_shown;
    return m_state ? &m_state->table : nullptr;
}

TableScene TableWidget::scene() const
{
    TableScene s;
    s.rules = m_rules;
    s.state = m_state;
    s.table = shownTable();
    s.geometry = &m_geometry;
    s.pictures = &m_pictures;
    s.library = &m_library;
    s.shadows = m_settings.shadows;
    s.markPattern = m_settings.markPattern;
    s.markColour = m_settings.markColour;
    s.scroll = m_scroll.position;
    s.hiddenPile = m_hiddenPile;
    s.hiddenFrom = m_hiddenFrom;
    if (m_state && m_state->selection.pointAndClick && m_state->selection.selectedCard != 0) {
        s.selectedPile = m_state->selection.source;
        s.selectedIndex = m_state->selection.sourceIndex;
    }
    return s;
}

void TableWidget::rebuildTablePicture()
{
    const qreal dpr = tableDpr();
    if (m_pictures.isEmpty() || m_picturesDpr != dpr)
        loadPictures();
    if (m_background.isNull() || m_background.size() != size().expandedTo(QSize(1, 1)) * devicePixelRatioF() ||
        m_background.devicePixelRatio() != dpr)
        rebuildBackground();
    if (m_table.size() != m_background.size()) {
        m_table = QPixmap(m_background.size());
        m_table.setDevicePixelRatio(dpr);
    }
    if (!m_shown && m_state)
        m_drawn = m_state->table;
    QPainter p(&m_table);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawPixmap(0, 0, m_background);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_rules && m_state && !m_pictures.isEmpty())
        m_painter.paintPiles(p, scene());
    paintSpecialPanels(p, m_panels, tableArea());
}

void TableWidget::setSpecialPanels(const QStringList& lines)
{
    if (lines == m_panels)
        return;
    m_panels = lines;
    rebuildTablePicture();
    update();
}

QRect TableWidget::viewRect(PileRef pile, int index) const
{
    const engine::Table* t = shownTable();
    if (!t || !m_geometry.layout.present(pile))
        return {};
    const engine::Point p = engine::cardPosition(m_geometry, *t, pile, index);
    return QRect(toView(QPoint(p.x, p.y)), QSize(m_geometry.layout.cardWidth, m_geometry.layout.cardHeight));
}

QRect TableWidget::cardRect(PileRef pile, int index) const
{
    const QRect r = viewRect(pile, index);
    return r.isEmpty() ? r : toWindow(QRect(fromView(r.topLeft()), r.size()));
}

void TableWidget::paintEvent(QPaintEvent* event)
{
    if (tableDpr() != m_picturesDpr) {
        loadPictures();
        rebuildBackground();
        rebuildTablePicture();
    }
    QPainter p(this);
    p.setClipRegion(event->region());
    if (m_paused) {
        const qreal dpr = devicePixelRatioF();
        if (m_pauseBackground.size() != size() * dpr) {
            m_pauseBackground = QPixmap(size() * dpr);
            m_pauseBackground.setDevicePixelRatio(dpr);
            QPainter pp(&m_pauseBackground);
            paintFade(pp, rect(), QColor(0, 128, 0));
        }
        if (m_pauseOne.isNull() || m_pauseOne.devicePixelRatio() != dpr) {
            m_pauseOne = renderPausePicture(1, dpr);
            m_pauseTwo = renderPausePicture(2, dpr);
        }
        p.drawPixmap(0, 0, m_pauseBackground);
        const QSize s1 = m_pauseOne.deviceIndependentSize().toSize();
        const QSize s2 = m_pauseTwo.deviceIndependentSize().toSize();
        const int y = std::max(100, (height() - s1.height() - s2.height() - 45) / 2) - m_pauseSlide;
        p.drawImage(QPoint(std::max(5, (width() - s1.width()) / 2), y), m_pauseOne);
        p.drawImage(QPoint(std::max(5, (width() - s2.width()) / 2), y + s1.height() + 15), m_pauseTwo);
        return;
    }
    // The table picture has exactly the widget's pixels; the rest is drawn in view coordinates.
    p.drawPixmap(rect(), m_table, m_table.rect());
    p.scale(m_zoom, m_zoom);
    if (m_flying.active())
        p.drawPixmap(m_flying.at, m_flying.picture);
    if (hintArrowShown())
        paintHintArrow(p, toView(m_hintArrow.from), toView(m_hintArrow.to));
    if (!m_highlighted.empty() && shownTable()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 215, 0), 3.0 / m_zoom + 1));
        const engine::Table& t = *shownTable();
        for (int code : m_highlighted) {
            for (int k = 0; k < engine::kTablePiles; ++k) {
                const PileRef pile = engine::pileAtTableOrder(k);
                const int at = t.pile(pile).find(code);
                if (at >= 0 && m_geometry.layout.present(pile)) {
                    p.drawRoundedRect(viewRect(pile, at).adjusted(-2, -2, 2, 2), 5, 5);
                    break;
                }
            }
        }
    }
    if (keyboardFrameShown() && !m_drag.active) {
        // Two rings, dark inside light, show on every background and card colour.
        const QRect r = QRect(toView(keyFrameRect().topLeft()), keyFrameRect().size()).adjusted(-3, -3, 3, 3);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255), 4.0 / m_zoom + 2));
        p.drawRoundedRect(r, 6, 6);
        p.setPen(QPen(m_keyFrame.lifted ? QColor(230, 120, 0) : QColor(20, 90, 220), 2.0 / m_zoom + 1.5));
        p.drawRoundedRect(r, 6, 6);
    }
}

void TableWidget::setCardHighlighted(int code, bool on)
{
    const auto at = std::find(m_highlighted.begin(), m_highlighted.end(), code);
    if (on == (at != m_highlighted.end()))
        return;
    if (on)
        m_highlighted.push_back(code);
    else
        m_highlighted.erase(at);
    update();
}

bool TableWidget::cardHighlighted(int code) const
{
    return std::find(m_highlighted.begin(), m_highlighted.end(), code) != m_highlighted.end();
}

void TableWidget::setKeyboardFrame(PileRef pile, int index, bool lifted)
{
    const KeyFrame frame{pile, index, lifted};
    if (frame.pile == m_keyFrame.pile && frame.index == m_keyFrame.index && frame.lifted == m_keyFrame.lifted)
        return;
    m_keyFrame = frame;
    update();
}

QRect TableWidget::keyFrameRect() const
{
    const engine::Table* t = shownTable();
    if (!t || !m_keyFrame.pile.valid() || !m_geometry.layout.present(m_keyFrame.pile))
        return {};
    const int n = static_cast<int>(t->pile(m_keyFrame.pile).size());
    const QSize card(m_geometry.layout.cardWidth, m_geometry.layout.cardHeight);
    auto at = [&](int i) {
        const engine::Point p = engine::cardPosition(m_geometry, *t, m_keyFrame.pile, i);
        return QRect(QPoint(p.x, p.y), card);
    };
    const int from = std::clamp(m_keyFrame.index, 0, std::max(0, n - 1));
    QRect r = at(from);
    // Stacked piles show their top card where the frame's card lies; fans show the run to the top.
    for (int i = from + 1; i < n; ++i)
        r |= at(i);
    return r;
}

void TableWidget::setHintArrow(QPoint from, QPoint to)
{
    m_hintArrow = {from, to, true};
    update();
}

bool TableWidget::hintArrowShown() const
{
    return m_hintArrow.set && m_state && m_state->tutorMode == engine::kTutorHint && !m_paused;
}

void TableWidget::resizeEvent(QResizeEvent*)
{
    // The flights in progress were laid out for the old size.
    finishAnimations();
    rebuildBackground();
    layoutNow();
    rebuildTablePicture();
    update();
}

void TableWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ScreenChangeInternal && tableDpr() != m_picturesDpr) {
        loadPictures();
        rebuildBackground();
        rebuildTablePicture();
        update();
    }
    QWidget::changeEvent(event);
}

void TableWidget::wheelEvent(QWheelEvent* event)
{
    if (m_scroll.shown)
        m_scrollBar->event(event);
    else
        QWidget::wheelEvent(event);
}

QImage TableWidget::grabTable()
{
    QPixmap pix(size() * devicePixelRatioF());
    pix.setDevicePixelRatio(devicePixelRatioF());
    render(&pix);
    return pix.toImage();
}

// ---- The flying picture (drag image and slides) ----

void TableWidget::setFlying(const QPixmap& picture, QPoint cardCorner, QPoint offset)
{
    if (m_flying.active())
        updateView(m_flying.rect());
    m_flying.picture = picture;
    m_flying.offset = offset;
    m_flying.at = cardCorner + offset;
    updateView(m_flying.rect());
}

void TableWidget::moveFlying(QPoint cardCorner)
{
    if (!m_flying.active())
        return;
    const QRect old = m_flying.rect();
    m_flying.at = cardCorner + m_flying.offset;
    updateView(old | m_flying.rect());
}

void TableWidget::clearFlying()
{
    if (m_flying.active())
        updateView(m_flying.rect());
    m_flying = Flying{};
}

std::vector<QPoint> TableWidget::groupOffsets(const engine::Table& table, PileRef pile, int from) const
{
    std::vector<QPoint> offsets;
    const int n = static_cast<int>(table.pile(pile).size());
    const engine::Point base = engine::cardPosition(m_geometry, table, pile, from);
    for (int i = from; i < n; ++i) {
        const engine::Point p = engine::cardPosition(m_geometry, table, pile, i);
        offsets.emplace_back(p.x - base.x, p.y - base.y);
    }
    return offsets;
}

QPixmap TableWidget::pictureOf(const engine::Table& table, PileRef pile, int from, QPoint* offset) const
{
    const engine::Pile& cards = table.pile(pile);
    std::vector<int> codes;
    std::vector<bool> faces;
    std::vector<QPoint> offsets;
    const bool stacked = pile.kind == PileKind::Stock || pile.kind == PileKind::Waste ||
                         pile.kind == PileKind::SecondWaste ||
                         (pile.kind == PileKind::Foundation && m_geometry.styleOf(pile) == 0);
    const std::vector<QPoint> fan = stacked ? std::vector<QPoint>{} : groupOffsets(table, pile, from);
    for (int i = from; i < static_cast<int>(cards.size()); ++i) {
        const int code = cards[static_cast<std::size_t>(i)];
        if (code == 0)
            continue;
        codes.push_back(code);
        faces.push_back(table.isFaceUp(code));
        offsets.push_back(stacked ? QPoint() : fan[static_cast<std::size_t>(i - from)]);
    }
    QRect bounds;
    for (const QPoint& o : offsets)
        bounds |= QRect(o, QSize(1, 1));
    if (offset)
        *offset = bounds.isEmpty() ? QPoint() : bounds.topLeft();
    return groupPicture(m_pictures, codes, faces, offsets, m_settings.shadows);
}

// ---- Mouse ----

namespace {
engine::Button buttonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return engine::Button::Right;
    case Qt::MiddleButton: return engine::Button::Middle;
    default: return engine::Button::Left;
    }
}
} // namespace

void TableWidget::mousePressEvent(QMouseEvent* event)
{
    if (m_paused) {
        endPause(); // the click only ends the pause
        return;
    }
    finishAnimations();
    if (animating() || !m_rules || !m_state || !m_controller || m_drag.active)
        return;
    const QPoint pos = viewPoint(event->position());
    const QPoint t = fromView(pos);
    const engine::Hit hit = engine::hitTest(m_geometry, m_state->table, t.x(), t.y());
    engine::Press press;
    press.pile = hit.pile;
    press.index = hit.index;
    press.button = buttonOf(event->button());
    press.ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    m_pressed = true;
    const engine::Table before = m_state->table;
    m_controller->tablePress(press);
    if (!m_state)
        return;
    if (m_state->drag.carriedCard != 0 && !m_state->selection.pointAndClick)
        startDrag(pos);
    else if (!(before == m_state->table))
        refresh();
    else {
        rebuildTablePicture(); // the point-and-click highlight
        update();
    }
}

void TableWidget::startDrag(QPoint pointer)
{
    const engine::DragState& ds = m_state->drag;
    PileRef source = ds.source;
    int index = ds.sourceIndex;
    const engine::Table& t = m_state->table;
    if (!source.valid() || index < 0 || index >= static_cast<int>(t.pile(source).size()))
        return;
    m_drag = Drag{};
    m_drag.active = true;
    m_drag.source = source;
    m_drag.index = index;
    const engine::Pile& cards = t.pile(source);
    const bool group =
        source.kind == PileKind::Tableau || (source.kind == PileKind::Reserve && m_rules->reserveLiftsGroups());
    const int last = group ? static_cast<int>(cards.size()) : index + 1;
    for (int i = index; i < last; ++i)
        m_drag.codes.push_back(cards[static_cast<std::size_t>(i)]);
    const QRect r = viewRect(source, index);
    m_drag.start = r.topLeft();
    m_drag.grab = pointer - r.topLeft();

    std::vector<bool> faces;
    std::vector<QPoint> offsets;
    const std::vector<QPoint> fan = groupOffsets(t, source, index);
    for (int i = 0; i < static_cast<int>(m_drag.codes.size()); ++i) {
        faces.push_back(t.isFaceUp(m_drag.codes[static_cast<std::size_t>(i)]));
        offsets.push_back(group ? fan[static_cast<std::size_t>(i)] : QPoint());
    }
    QRect bounds;
    for (const QPoint& o : offsets)
        bounds |= QRect(o, QSize(1, 1));
    const QPixmap pic = groupPicture(m_pictures, m_drag.codes, faces, offsets, m_settings.shadows);
    // The source pile is drawn without the lifted cards (the rules only lift a pile's top card
    // or a group that reaches its top).
    m_hiddenPile = source;
    m_hiddenFrom = index;
    rebuildTablePicture();
    setFlying(pic, m_drag.start, bounds.topLeft());
    Q_EMIT dragStarted();
}

void TableWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.active || animating())
        return;
    if (!m_drag.moved) {
        m_drag.moved = true;
        if (m_controller)
            m_controller->dragMoved();
    }
    moveFlying(viewPoint(event->position()) - m_drag.grab);
}

void TableWidget::mouseReleaseEvent(QMouseEvent* event)
{
    // The release belongs to its press, even while the press's own move is still flying.
    if (!m_pressed)
        return;
    m_pressed = false;
    if (!m_controller || !m_state || !m_rules)
        return;
    const QPoint pos = viewPoint(event->position());
    if (m_drag.active) {
        finishDrag(pos);
        return;
    }
    std::vector<PileRef> candidates;
    const engine::SelectionState& sel = m_state->selection;
    if (sel.pointAndClick && sel.selectedCard != 0 && sel.clicks >= 2) {
        const QPoint t = fromView(pos);
        const engine::Hit hit = engine::hitTest(m_geometry, m_state->table, t.x(), t.y(), true);
        if (hit.found())
            candidates.push_back(hit.pile);
    }
    m_controller->tableRelease(candidates);
    if (m_state)
        refresh();
}

void TableWidget::finishDrag(QPoint pointer)
{
    const QPoint corner = pointer - m_drag.grab;
    const QPoint t = fromView(corner);
    const engine::Rect dragRect{t.x(), t.y(), m_geometry.layout.cardWidth, m_geometry.layout.cardHeight};
    const bool foundationsOnly = m_rules->firstMoveToFoundation() == 1 && m_state->movesMade == 0;
    std::vector<PileRef> candidates;
    if (m_drag.moved) {
        for (const engine::DropCandidate& c :
             engine::dropCandidates(m_geometry, m_state->table, dragRect, foundationsOnly)) {
            if (std::find(candidates.begin(), candidates.end(), c.pile) == candidates.end())
                candidates.push_back(c.pile);
            if (static_cast<int>(candidates.size()) == engine::kMaxDropTries)
                break;
        }
    }
    const Drag drag = m_drag;
    m_controller->tableRelease(candidates);
    if (!m_state)
        return;
    // playEvents takes the dragged cards from the pointer to their new place and ends the drag;
    // when the cards are still where they were lifted from, they slide back.
    if (m_drag.active) {
        const engine::Pile& src = m_state->table.pile(drag.source);
        const bool stayed = drag.index < static_cast<int>(src.size()) &&
                            src[static_cast<std::size_t>(drag.index)] == drag.codes.front();
        if (stayed && m_flying.active() && m_settings.animate) {
            m_animations.add(slideBackFrames());
            return;
        }
        m_drag = Drag{};
        clearFlying();
        m_hiddenPile = {};
        m_hiddenFrom = -1;
        refresh();
        Q_EMIT dragEnded();
    }
}

void TableWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_paused) {
        endPause();
        return;
    }
    finishAnimations();
    if (animating() || !m_rules || !m_state || !m_controller || m_drag.active)
        return;
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint t = toTable(event->position().toPoint());
    const engine::Hit hit = engine::hitTest(m_geometry, m_state->table, t.x(), t.y());
    m_controller->doubleClick(hit.pile, hit.index);
    if (m_state)
        refresh();
}

int TableWidget::randomInt(int below)
{
    if (below <= 1)
        return 0;
    return std::uniform_int_distribution<int>(0, below - 1)(m_random);
}

} // namespace cw::ui
