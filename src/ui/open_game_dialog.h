// TfrmOpenGame: the "Open a game" dialog — five views of the catalog, a search box, the description and the preview.
#pragma once

#include "engine/session.h"
#include "catalog/chooser.h"
#include "engine/game_object.h"
#include "stats/played_state.h"
#include "ui/open_game_dialog_icons.h"

#include <QDialog>
#include <QHash>
#include <QImage>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cw::ui {

class PictureLibrary;

// Draws the miniature of a game's dealt table from the preview file.
class GamePreview {
public:
    GamePreview(const PictureLibrary& library, const QString& previewFile);
    static QSize areaSize() { return {292, 216}; }
    // The preview of game `id` at the area's size.
    QImage render(int id, qreal devicePixelRatio = 1.0) const;
    bool hasLine(int id) const;

private:
    QImage smallPicture(int number, qreal dpr) const;
    const PictureLibrary& m_library;
    std::vector<std::string> m_lines;  // stored (shifted) lines
    mutable QHash<int, QImage> m_cache;
};

class TfrmOpenGame : public QDialog {
    Q_OBJECT

public:
    TfrmOpenGame(engine::TMainGame& game, const PictureLibrary& library, QWidget* parent = nullptr);
    ~TfrmOpenGame() override;

    // Reads the chooser state and shows the saved view with the current game selected.
    void prepare();
    // OK: refuses without a game or with one the screen cannot hold; otherwise writes the choice.
    void accept() override;
    // The game chosen with OK or a double click; -1 before.
    int chosenGame() const { return m_chosen; }
    catalog::ChooserView currentView() const { return m_view; }
    void setView(catalog::ChooserView view);
    QTreeWidget* viewTree(catalog::ChooserView view) const;
    QLineEdit* searchBox() const { return m_search; }
    // Selects a game entry of the current view (a folder of the groups view is opened as needed).
    bool selectGame(int id);
    int selectedNumber() const;
    QString descriptionText() const;  // the description labels, for tests
    // "Games like this one": links to the games closest in rules to the selected one.
    QLabel* likeThisLabel() const { return m_like; }
    // Shows game `id` in the current view, or among all games when the view does not list it.
    void goToGame(int id);
    QImage previewImage() const;
    // Views whose data changed (favorites saved, custom game saved or deleted, last played).
    void invalidateView(catalog::ChooserView view);
    // A custom game was saved or deleted: every view that lists custom games is built again.
    void customGamesChanged();

    // The player box (FillPlayerBox): the players by name with `select` chosen (the current player
    // when it is not among them).
    void fillPlayerBox(const std::string& select);
    QComboBox* playerBox() const { return m_players; }
    std::string chosenPlayer() const;
    QCheckBox* showWonLostBox() const { return m_showMarks; }
    // Reads the chosen player's results again and sets the icon of every listed game.
    void refreshMarks();
    // The variant shown for a game now (Plain while "&Show won and lost" is not ticked).
    GameMark markOf(int id) const;
    // Deletes a custom game (Delete button and key); true when it was deleted. Unset: no Delete button.
    std::function<bool(int id)> deleteCustomGame;

signals:
    void rulesRequested(int id);
    void statisticsRequested(int id);
    void organizeFavoritesRequested();
    void openSavedGameRequested();
    void gameNumberRequested();
    void playersRequested();
    // The player box chose another player (already the current one while the dialog is open).
    void playerChanged();


private:
    void buildUi();
    void fillView(catalog::ChooserView view);
    void fillGroups(QTreeWidget* tree);
    void fillFolder(QTreeWidgetItem* folder);
    QTreeWidgetItem* gameItem(int id, int folderNumber) const;
    void applySearch();
    void selectionChanged();
    void showDescription(int id);
    void clearDescription();
    void showLikeThis(int id);
    void itemActivated(QTreeWidgetItem* item);
    QTreeWidgetItem* currentItem() const;
    void setGameIcon(QTreeWidgetItem* item) const;
    void showContextMenu(QTreeWidget* tree, const QPoint& at);
    void deleteSelected();

    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    std::unique_ptr<catalog::ChooserCatalog> m_catalog;
    std::unique_ptr<GamePreview> m_preview;
    catalog::ChooserView m_view = catalog::ChooserView::AllGames;
    bool m_filled[catalog::kChooserViewCount] = {};
    bool m_groupsShownOnce = false;
    int m_chosen = -1;

    QStackedWidget* m_stack = nullptr;
    QTreeWidget* m_trees[catalog::kChooserViewCount] = {};
    QToolButton* m_viewButtons[catalog::kChooserViewCount] = {};
    QLineEdit* m_search = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_featureText[4] = {};
    QLabel* m_featurePicture[4] = {};
    QLabel* m_decks = nullptr;
    QLabel* m_redeals = nullptr;
    QLabel* m_like = nullptr;
    std::optional<catalog::RuleSketches> m_sketches; // read when first needed
    QLabel* m_previewLabel = nullptr;
    QCheckBox* m_previewBox = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_rules = nullptr;
    QPushButton* m_statistics = nullptr;
    QPushButton* m_delete = nullptr;
    QComboBox* m_players = nullptr;
    QCheckBox* m_showMarks = nullptr;
    std::map<int, stats::PlayedState> m_states;  // of the chosen player, while marks are shown
    QImage m_previewImage;
};

} // namespace cw::ui
