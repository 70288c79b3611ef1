// The start-up splash window: our own small picture, shown while the application loads, closed at the first table paint.
#pragma once

#include <QPointer>
#include <QWidget>

namespace cw::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shows the window centred on the primary screen and paints it before returning, so that
    // it is on screen while the start-up work that follows blocks the event loop.
    void showNow();
    // Closes (and deletes) the window at the first paint of `widget`, or after ten seconds.
    void closeAtFirstPaint(QWidget* widget);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> m_watched;
};

} // namespace cw::ui
