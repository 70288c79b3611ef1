// The tutor menu's views over the table: the piles' information labels and the hidden cards shown and framed.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

#include "engine/events.h"
#include "tools/core/pile_labels.h"

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {
class PictureLibrary;
class TfrmMain;
} // namespace cw::ui

namespace cw::tools {

enum class TableView { None, PilesInfo, HiddenCards };

// The picture of a view, laid over the whole table widget; the mouse goes through it.
class TableViewOverlay : public QWidget {
    Q_OBJECT
public:
    explicit TableViewOverlay(QWidget* table);
    void setPicture(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

// Shows one view at a time until the end event: any mouse button or key press anywhere in the
// application (Alt combinations too). That press is swallowed: it lifts no card and runs no
// command. Neither view changes the game; both end when the table changes under them.
class TableViews : public QObject {
    Q_OBJECT
public:
    TableViews(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library);
    ~TableViews() override;

    // "Show piles' info": a label on every pile in use with its kind and its number of cards.
    void showPilesInfo();
    // "Show hidden cards": the table with every card face up and the hidden ones framed, or the
    // message "No hidden cards to show." when there is none.
    void showHiddenCards();
    // Ends the view shown (the end event does this).
    void end();

    TableView shown() const { return m_shown; }
    // What the views show (the last one opened).
    const std::vector<PileLabel>& labels() const { return m_labels; }
    const std::vector<std::pair<engine::PileRef, int>>& framedCards() const { return m_framed; }
    QWidget* overlay() const { return m_overlay; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool canShow() const;
    void present(TableView view, const QPixmap& picture);
    QPixmap pilesInfoPicture();
    QPixmap hiddenCardsPicture();

    ui::TfrmMain& m_window;
    engine::TMainGame& m_game;
    const ui::PictureLibrary& m_library;
    TableView m_shown = TableView::None;
    bool m_filtering = false;
    QPointer<TableViewOverlay> m_overlay;
    std::vector<PileLabel> m_labels;
    std::vector<std::pair<engine::PileRef, int>> m_framed;
};

} // namespace cw::tools
