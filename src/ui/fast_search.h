// The FastSearch window: a small floating list of games that starts a game with one click.
#pragma once

#include "engine/session.h"

#include <QWidget>

#include <functional>

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cw::ui {

// The six list kinds ("Games_Fast_Search_Type").
enum class FastSearchKind : int { AllGames = 0, Favorites = 1, Selected = 2, Custom = 3, Lost = 4, Recent = 5 };

class FastSearchWindow : public QWidget {
    Q_OBJECT

public:
    // `startGame` runs the select-game operation and says whether the game started.
    FastSearchWindow(engine::TMainGame& game, QWidget* mainWindow, std::function<bool(int id)> startGame);

    FastSearchKind kind() const { return m_kind; }
    void setKind(FastSearchKind kind);
    bool stayOnTop() const { return m_stayOnTop; }
    QTreeWidget* list() const { return m_list; }
    // Fills the list for the current kind.
    void refill();
    // Sets the icons of the listed games after each filling (the owner knows the types and result marks).
    std::function<void(QTreeWidget* list)> decorate;
    // Where the window goes: below the main window's toolbar at its left edge, or the saved place.
    void placeForShowing(const QRect& toolbarGlobal);

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void clicked(QTreeWidgetItem* item);
    void saveState();

    engine::TMainGame& m_game;
    QWidget* m_main;
    std::function<bool(int)> m_startGame;
    QTreeWidget* m_list = nullptr;
    QToolButton* m_options = nullptr;
    FastSearchKind m_kind = FastSearchKind::AllGames;
    bool m_stayOnTop = false;
    bool m_shownOnce = false;
};

} // namespace cw::ui
