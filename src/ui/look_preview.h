// A small table inside the options dialog: the chosen background, card set, deck and size, as the game
// will show them.
#pragma once

#include <QWidget>

#include "ui/card_art.h"
#include "ui/look_settings.h"

namespace cw::ui {

class PictureLibrary;

class LookPreview : public QWidget {
    Q_OBJECT
public:
    explicit LookPreview(const PictureLibrary& library, QWidget* parent = nullptr);

    // Shows the look; only what changed is drawn again.
    void setLook(const LookChoice& look);
    const LookChoice& look() const { return m_look; }
    // The picture as painted (tests).
    QImage grabPreview();

    QSize sizeHint() const override { return {340, 230}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void loadCards();

    const PictureLibrary& m_library;
    LookChoice m_look;
    CardPictures m_pictures;
    qreal m_dpr = 0;
    bool m_cardsStale = true;
};

} // namespace cw::ui
