// The status bar, the pile size panel and the one-second timer of the main window.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/main_window_status.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QStatusBar>

#include <algorithm>

#include "engine/geometry.h"
#include "engine/pile_info.h"
#include "engine/rules_context.h"
#include "storage/settings_store.h"
#include "ui/main_window.h"
#include "ui/picture_library_icons.h"

namespace cw::ui {

namespace col = storage::col;

QString statusPictureFor(const QString& kind)
{
    if (kind.startsWith(QLatin1String("Stock")))
        return QStringLiteral("STATUSBAR_STOCK");
    if (kind.startsWith(QLatin1String("Waste")))
        return QStringLiteral("STATUSBAR_WASTE");
    if (kind.startsWith(QLatin1String("Found")))
        return QStringLiteral("STATUSBAR_FOUNDATION");
    if (kind.startsWith(QLatin1String("Tabl")))
        return QStringLiteral("STATUSBAR_TABLEAU");
    if (kind.startsWith(QLatin1String("Res")))
        return QStringLiteral("STATUSBAR_RESERVE");
    return {};
}

StatusPanel::StatusPanel(const PictureLibrary& library, int width, Qt::Alignment align, QWidget* parent)
    : QWidget(parent), m_library(library), m_align(align), m_width(std::max(0, width))
{
    setMinimumHeight(fontMetrics().height() + 4);
}

void StatusPanel::setPreferredWidth(int width)
{
    m_width = std::max(0, width);
    updateGeometry();
}

QSize StatusPanel::sizeHint() const { return QSize(m_width, minimumHeight()); }

// A small window squeezes the panels rather than keeping the window wider than the screen.
QSize StatusPanel::minimumSizeHint() const { return QSize(std::min(m_width, 24), minimumHeight()); }

void StatusPanel::setContent(const QString& text, const QString& pictureName)
{
    if (text == m_text && pictureName == m_picture)
        return;
    m_text = text;
    m_picture = pictureName;
    update();
}

// The small pile pictures: a card outline per kind, drawn at any pixel ratio.
void drawPilePicture(QPainter& p, const QString& name, QRect r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Cards of 8 x 11 pixels leave room for the fan and the offsets within 14 x 16.
    const QRectF card(r.x() + 0.5, r.y() + 0.5, 8, 11);
    auto cardAt = [&](QPointF offset, const QBrush& fill, Qt::PenStyle pen = Qt::SolidLine) {
        p.setPen(QPen(QColor(60, 60, 60), 1, pen));
        p.setBrush(fill);
        p.drawRoundedRect(card.translated(offset), 1.5, 1.5);
    };
    if (name.endsWith(QLatin1String("STOCK"))) {
        cardAt({2, 0}, QColor(30, 70, 160));
        cardAt({0, 2}, QColor(30, 70, 160));
    } else if (name.endsWith(QLatin1String("WASTE"))) {
        cardAt({0, 1}, Qt::white);
        cardAt({3, 1}, Qt::white);
    } else if (name.endsWith(QLatin1String("FOUNDATION"))) {
        cardAt({1, 1}, Qt::white);
        p.setPen(QColor(190, 0, 0));
        QFont f = p.font();
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.drawText(card.translated(1, 1), Qt::AlignCenter, QStringLiteral("A"));
    } else if (name.endsWith(QLatin1String("TABLEAU"))) {
        cardAt({2, 0}, Qt::white);
        cardAt({2, 2}, Qt::white);
        cardAt({2, 4}, Qt::white);
    } else if (name.endsWith(QLatin1String("RESERVE"))) {
        cardAt({1, 1}, QColor(235, 235, 200), Qt::DotLine);
    }
    p.restore();
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(2, 1, -2, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(r.topRight() + QPoint(2, 0), r.bottomRight() + QPoint(2, 0));
    int x = r.x();
    if (!m_picture.isEmpty()) {
        drawPilePicture(p, m_picture, QRect(x, r.y() + std::max(0, (r.height() - 16) / 2), 14, 16));
        x += 14 + 3;
    }
    // Split the text at the suit marks; each mark becomes a 12 x 12 picture.
    static const QRegularExpression marks(QStringLiteral("\\[([hdcs])\\]"));
    struct Piece {
        QString text;
        QString suit;
    };
    std::vector<Piece> pieces;
    int at = 0;
    for (auto it = marks.globalMatch(m_text); it.hasNext();) {
        const auto m = it.next();
        pieces.push_back({m_text.mid(at, m.capturedStart() - at), {}});
        static const QHash<QString, QString> names{{QStringLiteral("h"), QStringLiteral("SUIT_HEARTS")},
                                                   {QStringLiteral("d"), QStringLiteral("SUIT_DIAMONDS")},
                                                   {QStringLiteral("c"), QStringLiteral("SUIT_CLUBS")},
                                                   {QStringLiteral("s"), QStringLiteral("SUIT_SPADES")}};
        pieces.push_back({{}, names.value(m.captured(1))});
        at = m.capturedEnd();
    }
    pieces.push_back({m_text.mid(at), {}});
    const QFontMetrics fm = fontMetrics();
    int width = 0;
    for (const Piece& piece : pieces)
        width += piece.suit.isEmpty() ? fm.horizontalAdvance(piece.text) : 12;
    if (m_align & Qt::AlignHCenter)
        x = std::max(x, r.x() + (r.width() - width) / 2);
    p.setPen(palette().color(QPalette::WindowText));
    const qreal dpr = devicePixelRatioF();
    for (const Piece& piece : pieces) {
        if (piece.suit.isEmpty()) {
            p.drawText(QRect(x, r.y(), r.right() - x, r.height()), Qt::AlignVCenter | Qt::AlignLeft, piece.text);
            x += fm.horizontalAdvance(piece.text);
        } else {
            const QImage icon = renderIcon(m_library, piece.suit, dpr);
            if (!icon.isNull())
                p.drawImage(QRect(x, r.y() + (r.height() - 12) / 2, 12, 12), icon);
            x += 12;
        }
    }
}

// ---- The status bar of the main window ----

void TfrmMain::createStatusBar()
{
    static const int widths[6] = {77, 23, 57, 350, 94, 10};
    static const char* hints[6] = {"Type of card pile", "Number of piles", "Number of cards", "Rule",
                                   "Number of redeals", nullptr};
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 6; ++i) {
        const Qt::Alignment align = i == 1 ? Qt::AlignHCenter : Qt::AlignLeft;
        m_panels[i] = new StatusPanel(m_library, widths[i], align, bar);
        m_panels[i]->setObjectName(QStringLiteral("pnlStatus%1").arg(i));
        if (hints[i])
            m_panels[i]->setToolTip(QString::fromLatin1(hints[i]));
        bar->addPermanentWidget(m_panels[i], i == 3 ? 1 : 0);
    }
    // The widths above were made for one font: a panel is at least as wide as the longest text it
    // shows in the font it has ("Unlimited redeals" must not end in "rede").
    const QFontMetrics fm = m_panels[0]->fontMetrics();
    const int padding = 10;
    m_panels[0]->setPreferredWidth(
        std::max(widths[0], 14 + 3 + fm.horizontalAdvance(QStringLiteral("Foundation")) + padding));
    m_panels[2]->setPreferredWidth(std::max(widths[2], fm.horizontalAdvance(QStringLiteral("208 cards")) + padding));
    m_panels[4]->setPreferredWidth(
        std::max(widths[4], fm.horizontalAdvance(QStringLiteral("Unlimited redeals")) + padding));
    bar->setVisible(pref("Statusbar", "Y") != "N");

    // The pile size panel and its redeals box float over the table.
    auto makeBox = [this](const QString& name) {
        auto* box = new QLabel(m_table);
        box->setObjectName(name);
        box->setAutoFillBackground(true);
        box->setFrameShape(QFrame::Box);
        box->setMargin(3);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 225));
        pal.setColor(QPalette::WindowText, Qt::black);
        box->setPalette(pal);
        box->setMouseTracking(true);
        box->installEventFilter(this);
        box->hide();
        return box;
    };
    m_pileSizePanel = makeBox(QStringLiteral("pnlPileSize"));
    m_redealsPanel = makeBox(QStringLiteral("pnlRedeals"));
}

QString TfrmMain::statusText(int panel) const
{
    return panel >= 0 && panel < 6 ? m_panels[panel]->text() : QString();
}

void TfrmMain::clearStatus()
{
    for (StatusPanel* p : m_panels)
        p->setContent({});
    hidePileSizePanel();
}

void TfrmMain::refreshStatus(QPoint widgetPoint)
{
    if (!m_session->flags().dealActive || !m_table->isEnabled()) {
        clearStatus();
        return;
    }
    const QPoint t = m_table->toTable(widgetPoint);
    const engine::Hit hit = engine::hitTest(m_table->tableGeometry(), m_session->state().table, t.x(), t.y(), true);
    if (!hit.found()) {
        clearStatus();
        return;
    }
    const engine::PileInfo info = m_session->pileInfo(hit.pile);
    const QString type = QString::fromStdString(info.type);
    const QString panel = QString::fromStdString(info.panel);
    // The number of piles sits between the parentheses of "Tableau (7)".
    const qsizetype open = panel.indexOf(QLatin1Char('('));
    const QString count = open >= 0 ? panel.mid(open + 1).chopped(1) : QString();
    m_panels[0]->setContent(type, statusPictureFor(type));
    m_panels[1]->setContent(count);
    m_panels[2]->setContent(QString::fromStdString(info.count));
    m_panels[3]->setContent(QString::fromStdString(info.description));
    m_panels[4]->setContent(QString::fromStdString(info.redeal));
}

void TfrmMain::showRuleText(const QString& text) { m_panels[3]->setContent(text); }

void TfrmMain::hidePileSizePanel()
{
    if (m_pileSizePanel)
        m_pileSizePanel->hide();
    if (m_redealsPanel)
        m_redealsPanel->hide();
}

void TfrmMain::showPileSizePanel(QPoint widgetPoint)
{
    const QPoint t = m_table->toTable(widgetPoint);
    const engine::Hit hit = engine::hitTest(m_table->tableGeometry(), m_session->state().table, t.x(), t.y(), true);
    if (!hit.found())
        return;
    const engine::PileInfo info = m_session->pileInfo(hit.pile);
    m_pileSizePanel->setText(QString::fromStdString(info.panel) + QLatin1Char('\n') +
                             QString::fromStdString(info.count) + QStringLiteral(" in this pile"));
    m_pileSizePanel->adjustSize();
    m_pileSizePanel->resize(m_pileSizePanel->width() + 10, m_pileSizePanel->height());
    const QPoint at = m_table->toWindow(QPoint(hit.rect.x, hit.rect.y + hit.rect.height)) + QPoint(4, 4);
    m_pileSizePanel->move(at);
    m_pileSizePanel->show();
    m_pileSizePanel->raise();
    const bool stockOrWaste = hit.pile.kind == engine::PileKind::Stock || hit.pile.kind == engine::PileKind::Waste;
    if (stockOrWaste && !info.redealShort.empty()) {
        m_redealsPanel->setText(QStringLiteral("Redeals:\n") + QString::fromStdString(info.redealShort));
        m_redealsPanel->adjustSize();
        m_redealsPanel->move(at + QPoint(m_pileSizePanel->width() + 4, 0));
        m_redealsPanel->show();
        m_redealsPanel->raise();
    }
}

void TfrmMain::onTick()
{
    const engine::TableFlags& flags = m_session->flags();
    if (!flags.clockRunning)
        return;
    showClock(QString::fromStdString(m_session->clock().label()));
    if (m_game.settings.flag(col::ShowPilesSize) && m_hoverStamp >= 0 && m_ticks.elapsed() - m_hoverStamp >= 500 &&
        !m_pileSizePanel->isVisible()) {
        m_hoverStamp = -1;
        showPileSizePanel(m_lastMouse);
    }
    if (m_session->tickHint()) {
        m_table->refresh();
        refreshStatus(m_lastMouse);
    }
}

} // namespace cw::ui
