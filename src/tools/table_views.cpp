// The piles' information and hidden cards views: their pictures, and the end event that takes them away.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "tools/table_views.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>

#include "engine/geometry.h"
#include "ui/backgrounds.h"
#include "ui/dialog_base.h"
#include "ui/main_window.h"
#include "ui/main_window_status.h"
#include "ui/message_boxes.h"
#include "ui/picture_library.h"
#include "ui/table_painter.h"
#include "ui/table_widget.h"

namespace cw::tools {

using engine::PileRef;

// ---- Overlay ----

TableViewOverlay::TableViewOverlay(QWidget* table) : QWidget(table)
{
    setObjectName(QStringLiteral("tableView"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(table->rect());
}

void TableViewOverlay::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void TableViewOverlay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

// ---- Views ----

TableViews::TableViews(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library)
    : QObject(&window), m_window(window), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("TableViews"));
}

TableViews::~TableViews()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

bool TableViews::canShow() const
{
    const ui::TableWidget* table = m_window.table();
    return m_shown == TableView::None && m_window.session().flags().dealActive && !table->animating() &&
           !table->paused() && m_game.rulesGameId >= 0;
}

QPixmap TableViews::pilesInfoPicture()
{
    ui::TableWidget* table = m_window.table();
    const engine::Session& session = m_window.session();
    const engine::TableGeometry& geometry = table->tableGeometry();
    // The games' own pile names, when the file is there (none is shipped).
    const PileNames names = PileNames::load(m_game.installFolder + "cwdr.dat");
    m_labels = pileLabels(session.rules(), session.state().table, m_game.rulesGameId, table->shownCardWidth(), names,
                          [&](PileRef pile) { return geometry.layout.present(pile); });

    const qreal dpr = table->devicePixelRatioF();
    QPixmap picture(table->size() * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    QFont font = ui::dialogFont();
    font.setPointSize(8);
    font.setBold(false);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const QColor fill = QApplication::palette().color(QPalette::ToolTipBase);
    const QColor kindColour = QApplication::palette().color(QPalette::WindowText);
    for (const PileLabel& label : m_labels) {
        const QRect card = table->cardRect(label.pile, 0);
        if (card.isEmpty())
            continue;
        const QString kind = QString::fromStdString(label.kind);
        const QString count = QString::fromStdString(label.count);
        const int width = std::max(metrics.horizontalAdvance(kind) + 12, metrics.horizontalAdvance(count)) + 8;
        const QRect box(card.left() + (card.width() - width) / 2, card.top() + (card.height() - 36) / 2, width, 36);
        p.fillRect(box, fill);
        const int kindTop = box.top() + 4;
        ui::drawPilePicture(p, ui::statusPictureFor(kind), QRect(box.left() + 3, kindTop, 14, 16));
        p.setPen(kindColour);
        p.drawText(QRect(box.left() + 3 + 14 + 3, kindTop, box.width() - 20, metrics.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, kind);
        p.setPen(Qt::black);
        p.drawText(QRect(box.left(), kindTop + metrics.height() + 3, box.width(), metrics.height()), Qt::AlignHCenter,
                   count);
    }
    return picture;
}

QPixmap TableViews::hiddenCardsPicture()
{
    ui::TableWidget* table = m_window.table();
    const engine::Session& session = m_window.session();
    const engine::Table& real = session.state().table;
    // The table as it would lie with every card face up: hidden cards fan out like the others.
    engine::GameState shown = session.state();
    shown.table.setAllFaceUp();
    const engine::TableGeometry& geometry = table->tableGeometry();

    const qreal dpr = table->devicePixelRatioF();
    QPixmap picture(table->size() * dpr);
    picture.setDevicePixelRatio(dpr);
    QPainter p(&picture);
    ui::BackgroundChoice background = table->settings().background;
    background.paused = false;
    ui::paintBackground(p, table->rect(), background, m_library, dpr);
    ui::TableScene scene;
    scene.rules = &session.rules();
    scene.state = &shown;
    scene.table = &shown.table;
    scene.geometry = &geometry;
    scene.pictures = &table->pictures();
    scene.library = &m_library;
    scene.shadows = table->settings().shadows;
    scene.markPattern = table->settings().markPattern;
    scene.markColour = table->settings().markColour;
    scene.scroll = table->scrollPosition();
    // The table's own scale (the cards follow the window): piles and frames in table pixels.
    p.scale(table->zoom(), table->zoom());
    ui::TablePainter painter;
    painter.paintPiles(p, scene);

    // Frames in highlight colour 11 round every hidden card, and round the covered cards of
    // reserves stacked in style 5.
    m_framed.clear();
    p.setPen(QPen(QColor(128, 0, 64), 2));
    p.setBrush(Qt::NoBrush);
    const bool stackedReserves = session.rules().reserveFanStyle() == 5;
    for (int position = 0; position < engine::kTablePiles; ++position) {
        const PileRef pile = engine::pileAtTableOrder(position);
        if (!geometry.layout.present(pile))
            continue;
        const engine::Pile& cards = real.pile(pile);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            const int code = cards[i];
            const bool covered = stackedReserves && pile.kind == engine::PileKind::Reserve && i + 1 < cards.size();
            if (code == 0 || !(real.isFaceDown(code) || covered))
                continue;
            const engine::Point at = engine::cardPosition(geometry, shown.table, pile, static_cast<int>(i));
            const QRect r(at.x, at.y - scene.scroll, geometry.layout.cardWidth, geometry.layout.cardHeight);
            p.drawRect(r.adjusted(1, 1, -1, -1));
            m_framed.emplace_back(pile, static_cast<int>(i));
        }
    }
    return picture;
}

void TableViews::present(TableView view, const QPixmap& picture)
{
    m_shown = view;
    m_overlay = new TableViewOverlay(m_window.table());
    m_overlay->setPicture(picture);
    m_overlay->show();
    m_overlay->raise();
}

void TableViews::showPilesInfo()
{
    if (!canShow())
        return;
    present(TableView::PilesInfo, pilesInfoPicture());
    qApp->installEventFilter(this);
    m_filtering = true;
}

void TableViews::showHiddenCards()
{
    if (!canShow())
        return;
    present(TableView::HiddenCards, hiddenCardsPicture());
    if (m_framed.empty())
        ui::informationBox(&m_window, QStringLiteral("No hidden cards to show."));
    if (m_shown != TableView::HiddenCards)
        return; // the table changed while the message was up
    qApp->installEventFilter(this);
    m_filtering = true;
}

void TableViews::end()
{
    if (m_shown == TableView::None)
        return;
    m_shown = TableView::None;
    delete m_overlay.data();
    // The events that come with the ending press (its context menu) are swallowed too.
    QTimer::singleShot(0, this, [this] {
        if (m_filtering && m_shown == TableView::None) {
            qApp->removeEventFilter(this);
            m_filtering = false;
        }
    });
}

bool TableViews::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Shortcut: // a key that reached a command without a focus widget in between
        end();
        return true;
    case QEvent::ShortcutOverride:
        // Accepted: the key comes as a key press (which ends the view) instead of running a command.
        event->accept();
        return true;
    case QEvent::ContextMenu:
    case QEvent::Wheel: return true;
    case QEvent::Resize:
        if (watched == m_window.table())
            end();
        return false;
    default: return false;
    }
}

} // namespace cw::tools
