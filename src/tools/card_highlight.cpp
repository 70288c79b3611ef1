// A card shown highlighted over the table: its face again, a quarter of the highlight colour over it, a frame.
#include "tools/card_highlight.h"

#include <QPainter>

#include "ui/table_widget.h"

namespace cw::tools {

CardHighlight::CardHighlight(ui::TableWidget* table, int code, engine::PileRef pile, int index)
    : QWidget(table), m_table(table), m_code(code)
{
    setObjectName(QStringLiteral("cardHighlight"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(table->cardRect(pile, index));
    show();
    raise();
}

void CardHighlight::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPixmap face = m_table->pictures().face(m_code);
    if (!face.isNull())
        p.drawPixmap(rect(), face);
    QColor colour = palette().color(QPalette::Highlight);
    colour.setAlpha(64);
    p.fillRect(rect(), colour);
    colour.setAlpha(255);
    p.setPen(QPen(colour, 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

} // namespace cw::tools
