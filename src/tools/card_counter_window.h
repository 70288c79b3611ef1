// The "Card Counter" tool window: the grid of every card of the deal, its options, tooltips and the table highlight.
#pragma once

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "engine/events.h"
#include "tools/core/card_counter.h"

class QAction;
class QMenu;
class QPushButton;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {
class PictureLibrary;
class TfrmMain;
} // namespace cw::ui

namespace cw::tools {

class CardHighlight;

// The grid: the suit pictures down the left, one cell per card (14 x 18 pixels).
class CounterGrid : public QWidget {
    Q_OBJECT
public:
    CounterGrid(const CardCounterModel& model, const ui::PictureLibrary& library, QWidget* parent);
    void setInverted(bool on);
    // The rows in use changed: a new size.
    void resizeToRows();
    // Draws these cells again.
    void cellsChanged(const std::vector<int>& codes);
    // The picture name the cell of a card shows now.
    QString cellPicture(int code) const;
    QSize sizeHint() const override;

signals:
    // The pointer is over this card's cell (0: over none, or it left the grid).
    void pointedAt(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    const QImage& picture(const QString& name) const;
    QRect cellRect(int code) const;

    const CardCounterModel& m_model;
    const ui::PictureLibrary& m_library;
    bool m_inverted = false;
    int m_pointed = 0;
    mutable QHash<QString, QImage> m_pictures;
    mutable qreal m_picturesDpr = 0;
};

class CardCounterWindow : public QWidget {
    Q_OBJECT
public:
    CardCounterWindow(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library);
    ~CardCounterWindow() override;

    // Follows the table: one action's events, or the whole table read again.
    void cardsChanged(const engine::Events& events);
    void tableReset();

    // Opens at the stored position (kept on the screen) or closes; the options are stored.
    void setOpen(bool open);
    // At start-up: opens when it was open at the last exit ("CardCounter_Visible").
    void restoreAtStartup();

    const CardCounterModel& model() const { return m_model; }
    CounterGrid* grid() const { return m_grid; }
    QMenu* optionsMenu() const { return m_options; }
    // The card highlighted on the table (0 when none).
    int highlightedCard() const;

signals:
    void openChanged(bool open);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void readOptions();
    void storeOptions();
    void optionChanged(QAction* changed);
    void highlight(int code);
    void removeHighlight();
    CounterFilter filter() const;

    ui::TfrmMain& m_window;
    engine::TMainGame& m_game;
    CardCounterModel m_model;
    CounterGrid* m_grid = nullptr;
    QPushButton* m_optionsButton = nullptr;
    QMenu* m_options = nullptr;
    QAction* m_tableauOnly = nullptr;
    QAction* m_stockOnly = nullptr;
    QAction* m_invert = nullptr;
    QAction* m_highlight = nullptr;
    QPointer<CardHighlight> m_highlighted;
    bool m_placed = false;
};

} // namespace cw::tools
