// The owner-drawn panels of the main window's status bar.
#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

namespace cw::ui {

class PictureLibrary;

// One panel: an optional small picture, then the text; the suit marks "[h]", "[d]", "[c]", "[s]"
// of rule texts are drawn as suit pictures.
class StatusPanel : public QWidget {
    Q_OBJECT
public:
    // width: the panel's width when the bar has room; a narrow window squeezes it.
    StatusPanel(const PictureLibrary& library, int width, Qt::Alignment align, QWidget* parent = nullptr);
    void setContent(const QString& text, const QString& pictureName = {});
    void setPreferredWidth(int width);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QString text() const { return m_text; }
    QString pictureName() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PictureLibrary& m_library;
    Qt::Alignment m_align;
    int m_width = 0;
    QString m_text;
    QString m_picture;
};

// The picture name of a pile kind's panel by the first letters of its label ("" when none).
QString statusPictureFor(const QString& kind);
// Draws the small pile picture of that name ("STATUSBAR_STOCK", ...) in a 14 x 16 box at r.
void drawPilePicture(QPainter& p, const QString& name, QRect r);

} // namespace cw::ui
