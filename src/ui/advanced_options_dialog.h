// "Advanced options": undo, dialog boxes, highlights, autoplay, hold and exit, statistics, the store folder,
// card movement and pointers, on the copy of the "Customize" dialog.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "storage/options.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {

// The keys this dialog edits (its "OK" hands them back to the "Customize" copy).
const std::vector<const char*>& advancedOptionKeys();

class AdvancedOptionsDialog : public QDialog {
    Q_OBJECT
public:
    AdvancedOptionsDialog(engine::TMainGame& game, const storage::Options& values,
                          std::function<void(QWidget*)> clearValues, QWidget* parent = nullptr);

    storage::Options values() const;
    // The per-game autoplay choices, when "Customize for each solitaire game" was chosen and its list shown.
    std::optional<std::vector<std::pair<int, bool>>> autoplayGames() const;
    // "Store Folder" was changed and written: the program should close now.
    bool exitRequested() const { return m_exitRequested; }

    QTabWidget* pages() const { return m_pages; }
    QListWidget* autoplayList() const { return m_games; }

    void accept() override;

private:
    QWidget* buildUndo();
    QWidget* buildDialogBoxes();
    QWidget* buildHighlights();
    QWidget* buildAutoplay();
    QWidget* buildHoldAndExit();
    QWidget* buildStatistics();
    QWidget* buildStoreFolder();
    QWidget* buildAccessibility();
    QWidget* buildPointers();
    void fillAutoplayList();
    void updateMarkPreview();
    // The "Store Folder" page's "OK": false when the dialog must stay open.
    bool storeFolder();

    engine::TMainGame& m_game;
    storage::Options m_values;
    std::function<void(QWidget*)> m_clearValues;
    bool m_exitRequested = false;
    bool m_gamesFilled = false;

    QTabWidget* m_pages = nullptr;
    QButtonGroup* m_undo = nullptr;
    QCheckBox* m_confirmQuit = nullptr;
    QCheckBox* m_confirmQuitGame = nullptr;
    QCheckBox* m_enterHiScores = nullptr;
    QCheckBox* m_tips = nullptr;
    QComboBox* m_mark = nullptr;
    QComboBox* m_markColour = nullptr;
    QLabel* m_markPreview = nullptr;
    QButtonGroup* m_autoplay = nullptr;
    QListWidget* m_games = nullptr;
    QRadioButton* m_askOnExit = nullptr;
    QRadioButton* m_neverAsk = nullptr;
    QComboBox* m_exitType = nullptr;
    QCheckBox* m_statisticsOff = nullptr;
    QRadioButton* m_defaultFolder = nullptr;
    QRadioButton* m_otherFolder = nullptr;
    QLineEdit* m_folder = nullptr;
    QString m_folderShown; // "" for the default folder, as the page opened
    QRadioButton* m_dragAndDrop = nullptr;
    QRadioButton* m_pointAndClick = nullptr;
    QListWidget* m_pointers = nullptr;
};

} // namespace cw::ui
