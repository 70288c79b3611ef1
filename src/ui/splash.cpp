// The start-up splash window: a fan of three cards and the product title, drawn with QPainter.
#include "ui/splash.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>
#include <QTimer>

#include "ui/main_window.h"

namespace cw::ui {

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 250;
constexpr int kLongestShowMs = 10000;

// Suit shapes in a 1 x 1 box centred on the origin.
QPainterPath heartPath()
{
    QPainterPath p;
    p.moveTo(0, 0.45);
    p.cubicTo(-0.55, 0.05, -0.6, -0.45, -0.25, -0.45);
    p.cubicTo(-0.08, -0.45, 0, -0.3, 0, -0.22);
    p.cubicTo(0, -0.3, 0.08, -0.45, 0.25, -0.45);
    p.cubicTo(0.6, -0.45, 0.55, 0.05, 0, 0.45);
    return p;
}

QPainterPath spadePath()
{
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.cubicTo(0.55, -0.1, 0.6, 0.3, 0.25, 0.3);
    p.cubicTo(0.1, 0.3, 0.03, 0.2, 0.02, 0.15);
    p.lineTo(0.12, 0.5);
    p.lineTo(-0.12, 0.5);
    p.lineTo(-0.02, 0.15);
    p.cubicTo(-0.03, 0.2, -0.1, 0.3, -0.25, 0.3);
    p.cubicTo(-0.6, 0.3, -0.55, -0.1, 0, -0.5);
    return p;
}

QPainterPath diamondPath()
{
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.quadTo(0.12, -0.12, 0.38, 0);
    p.quadTo(0.12, 0.12, 0, 0.5);
    p.quadTo(-0.12, 0.12, -0.38, 0);
    p.quadTo(-0.12, -0.12, 0, -0.5);
    return p;
}

// One card, its centre at the origin, turned by `angle` degrees about its foot.
void paintCard(QPainter& p, QPointF foot, qreal angle, const QPainterPath& suit, const QColor& colour,
               const QString& rank)
{
    constexpr qreal w = 74, h = 104;
    p.save();
    p.translate(foot);
    p.rotate(angle);
    p.translate(0, -h * 0.75);
    // shadow, face, frame
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(QRectF(-w / 2 + 3, -h / 2 + 4, w, h), 7, 7);
    p.setBrush(QColor(252, 250, 242));
    p.setPen(QPen(QColor(120, 120, 110), 1));
    p.drawRoundedRect(QRectF(-w / 2, -h / 2, w, h), 7, 7);
    // corner index and the big suit in the middle
    p.setPen(colour);
    QFont f = p.font();
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(-w / 2 + 5, -h / 2 + 3, 22, 20), Qt::AlignCenter, rank);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.save();
    p.translate(-w / 2 + 16, -h / 2 + 30);
    p.scale(12, 12);
    p.drawPath(suit);
    p.restore();
    p.save();
    p.scale(40, 40);
    p.drawPath(suit);
    p.restore();
    p.restore();
}

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    setWindowTitle(QString::fromLatin1(kProductTitle));
}

void SplashWindow::showNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
}

void SplashWindow::closeAtFirstPaint(QWidget* widget)
{
    m_watched = widget;
    if (widget)
        widget->installEventFilter(this);
    // A window that never gets painted (off every screen) must not leave the splash on top.
    QTimer::singleShot(kLongestShowMs, this, &QWidget::close);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched && event->type() == QEvent::Paint) {
        m_watched->removeEventFilter(this);
        m_watched = nullptr;
        hide();
        deleteLater();
    }
    return false;
}

void SplashWindow::mousePressEvent(QMouseEvent*)
{
    // A click puts it away early.
    hide();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    // the table: green felt with a lighter centre, a thin gold frame
    QRadialGradient felt(area.center() + QPointF(-60, -20), kWidth * 0.75);
    felt.setColorAt(0, QColor(30, 122, 62));
    felt.setColorAt(1, QColor(8, 58, 28));
    p.fillRect(area, felt);
    p.setPen(QPen(QColor(212, 175, 85), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(4, 4, -5, -5));

    // three cards fanned from one point
    const QPointF foot(105, 205);
    paintCard(p, foot, -22, spadePath(), QColor(25, 25, 30), QStringLiteral("K"));
    paintCard(p, foot, 0, heartPath(), QColor(200, 20, 40), QStringLiteral("A"));
    paintCard(p, foot, 22, diamondPath(), QColor(200, 20, 40), QStringLiteral("Q"));

    // the title
    QFont title = p.font();
    title.setPixelSize(36);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(250, 248, 235));
    p.drawText(QRectF(205, 62, kWidth - 215, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Cardwise"));
    title.setPixelSize(26);
    p.setFont(title);
    p.setPen(QColor(222, 186, 92));
    p.drawText(QRectF(207, 106, 200, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2002"));
    QFont small = p.font();
    small.setPixelSize(13);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(225, 235, 225));
    p.drawText(QRectF(207, 142, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Patience card games"));
    p.drawText(QRectF(207, 162, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version %1").arg(QString::fromLatin1(kProductVersion)));
    p.setPen(QColor(190, 210, 190));
    p.drawText(QRectF(207, 212, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Loading\u2026"));
}

} // namespace cw::ui
