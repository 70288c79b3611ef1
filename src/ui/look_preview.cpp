// A small table inside the options dialog: the chosen background, card set, deck and size, as the game
// will show them.
#include "ui/look_preview.h"

#include "ui/backgrounds.h"

#include <QPainter>

namespace cw::ui {

LookPreview::LookPreview(const PictureLibrary& library, QWidget* parent) : QWidget(parent), m_library(library)
{
    setObjectName(QStringLiteral("lookPreview"));
    setMinimumSize(240, 170);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LookPreview::setLook(const LookChoice& look)
{
    if (look == m_look && !m_pictures.isEmpty())
        return;
    if (look.sizeLetter != m_look.sizeLetter || look.cardSet != m_look.cardSet ||
        look.cardSetFile != m_look.cardSetFile || look.deck != m_look.deck || look.deckFile != m_look.deckFile)
        m_cardsStale = true;
    m_look = look;
    update();
}

void LookPreview::loadCards()
{
    const qreal dpr = devicePixelRatioF();
    if (!m_cardsStale && dpr == m_dpr && !m_pictures.isEmpty())
        return;
    m_dpr = dpr;
    if (m_look.cardSetFile.isEmpty() || !m_pictures.loadFile(m_look.cardSetFile, m_look.sizeLetter, dpr))
        m_pictures.loadBuiltIn(m_library, m_look.cardSetFile.isEmpty() ? m_look.cardSet : kDefaultCardSet,
                               m_look.sizeLetter, dpr);
    if (m_look.deckFile.isEmpty() || !m_pictures.loadDeckFile(m_look.deckFile))
        m_pictures.loadDeck(m_library, m_look.deck);
    m_pictures.loadExtras();
    m_cardsStale = false;
}

void LookPreview::paintEvent(QPaintEvent*)
{
    loadCards();
    QPainter p(this);
    paintBackground(p, rect(), m_look.background, m_library, devicePixelRatioF());
    const QSize card = m_pictures.cardSize();
    const int gap = std::max(6, card.width() / 6);
    const int step = std::max(6, card.height() / 4); // a fanned column shows the top of each card
    int x = gap;
    const int y = gap;
    // A stock of face-down cards, a fanned column, and a foundation with an Ace on it.
    for (int i = 0; i < 3; ++i)
        p.drawPixmap(QPoint(x + i, y + i), m_pictures.back());
    x += card.width() + gap;
    const int column[] = {13, 51, 24, 36, 10}; // King of hearts, Queen of spades, Jack of diamonds, 10s
    int cy = y;
    p.drawPixmap(QPoint(x, cy), m_pictures.back());
    cy += std::max(4, step / 2);
    for (int code : column) {
        p.drawPixmap(QPoint(x, cy), m_pictures.face(code));
        cy += step;
    }
    x += card.width() + gap;
    if (x + card.width() <= width())
        p.drawPixmap(QPoint(x, y), m_pictures.face(1));
    x += card.width() + gap;
    if (x + card.width() <= width())
        p.drawPixmap(QPoint(x, y), m_pictures.face(40));
}

QImage LookPreview::grabPreview() { return grab().toImage(); }

} // namespace cw::ui
