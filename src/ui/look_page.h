// One look page of "Customize" (card sets, decks or backgrounds): the tree of what can be chosen, the
// random marks, the player's own items and a live preview.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "storage/options.h"
#include "storage/random_look.h"
#include "ui/look_catalog.h"
#include "ui/look_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {

class LookPreview;
class PictureLibrary;

class LookPage : public QWidget {
    Q_OBJECT
public:
    LookPage(LookKind kind, engine::TMainGame& game, const PictureLibrary& library, QWidget* parent = nullptr);

    LookKind kind() const { return m_kind; }
    // Fills the tree from `catalog` and selects what `values` hold; `random` gives the marks.
    void load(const LookCatalog& catalog, const storage::Options& values,
              const std::vector<storage::RandomItem>& random);
    // Lists again (after an item was added or deleted) and selects the item of that name, when given.
    void reload(const QString& selectName = {});

    // The chosen item; nullptr when a group or nothing is selected.
    const LookItem* selected() const;
    bool selectByName(const QString& name);
    // The page's values into the copy (the choice, "Random_...", the size and the fade).
    void storeInto(storage::Options& values) const;
    // The random list with the marks as the page shows them.
    std::vector<storage::RandomItem> randomList() const;
    // The message "OK" shows when nothing is chosen.
    QString missingSelectionText() const;

    LookPreview* preview() const { return m_preview; }
    QTreeWidget* tree() const { return m_tree; }
    QCheckBox* randomBox() const { return m_random; }
    QComboBox* sizeBox() const { return m_size; } // card sets only
    QCheckBox* fadeBox() const { return m_fade; } // backgrounds only

    // The table colour of "C&olors..." (backgrounds only).
    qint64 tableColour() const { return m_tableColour; }

    // Adding and deleting the player's items (the buttons and the pop-up menu).
    void addItem();
    void deleteSelected();
    // The SVG import of the card set page.
    void importSvg();

    // Tests replace the file choice and the editors: each returns the name or path made, or "".
    using AddHook = std::function<QString(LookKind)>;
    static void setAddHook(AddHook hook);

signals:
    void changed();

private:
    void fillTree();
    void itemChanged();
    void setRandomShown(bool on);
    void markAll(bool on);
    void chooseColour();
    void showMenu(const QPoint& at);
    void makeIcons();
    QTreeWidgetItem* itemFor(int index) const;

    LookKind m_kind;
    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    LookCatalog m_catalog;
    std::vector<storage::RandomItem> m_randomMarks;
    QTreeWidget* m_tree = nullptr;
    QCheckBox* m_random = nullptr;
    QPushButton* m_include = nullptr;
    QPushButton* m_all = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_add = nullptr;
    QComboBox* m_size = nullptr;
    QCheckBox* m_fade = nullptr;
    LookPreview* m_preview = nullptr;
    qint64 m_tableColour = 0;
    int m_iconsDone = 0;
    bool m_filling = false;
};

} // namespace cw::ui
