// TfrmOpenGame: the "Open a game" dialog — five views of the catalog, a search box, the description and the preview.
#pragma once

#include "engine/session.h"
#include "catalog/chooser.h"
#include "engine/game_object.h"

#include <QDialog>
#include <QHash>
#include <QImage>

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
    QImage previewImage() const;
    // Views whose data changed (favorites saved, custom game saved or deleted, last played).
    void invalidateView(catalog::ChooserView view);

signals:
    void rulesRequested(int id);
    void statisticsRequested(int id);
    void organizeFavoritesRequested();
    void openSavedGameRequested();
    void gameNumberRequested();

protected:
    void accept() override;

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
    void itemActivated(QTreeWidgetItem* item);
    QTreeWidgetItem* currentItem() const;
    QIcon featureIcon(const QString& picture) const;

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
    QLabel* m_previewLabel = nullptr;
    QCheckBox* m_previewBox = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_rules = nullptr;
    QPushButton* m_statistics = nullptr;
    QPushButton* m_delete = nullptr;
    QImage m_previewImage;
};

} // namespace cw::ui
