// The "Favorite games" organizer: the list of all games and the favorites tree with its folders.
#pragma once

#include "engine/session.h"

#include "catalog/favorites.h"

#include <QDialog>

#include <vector>

class QListWidget;
class QTreeWidget;

namespace cw::ui {

class TfrmFavorites : public QDialog {
    Q_OBJECT

public:
    explicit TfrmFavorites(engine::TMainGame& game, QWidget* parent = nullptr);
    const std::vector<catalog::FavoriteNode>& favorites() const { return m_tree; }
    QListWidget* gamesList() const { return m_games; }
    QTreeWidget* favoritesTree() const { return m_view; }
    // Adds the selected games of the list into the folder of the tree's selection.
    void addSelected();
    void removeSelected();
    void removeAll();
    // Creates a folder; false (with the message) for an empty name.
    bool newFolder(const QString& name);
    void renameFolder(const QString& name);
    // Saves the tree (OK).
    void accept() override;

private:
    void rebuild(int selectTop = -1, int selectChild = -1);
    // The top-level index of the selected entry's folder (or of a selected folder); -1 top level.
    int selectedFolder() const;

    engine::TMainGame& m_game;
    std::vector<catalog::FavoriteNode> m_tree;
    QListWidget* m_games = nullptr;
    QTreeWidget* m_view = nullptr;
};

// OrganizeFavorites: shows the organizer; true when the list was saved.
bool OrganizeFavorites(engine::TMainGame& game, QWidget* parent);

} // namespace cw::ui
