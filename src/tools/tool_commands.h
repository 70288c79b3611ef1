// The player's tools in the game window: card counter, piles' info and hidden cards, comments, tip of the day.
#pragma once

#include <QObject>

#include <functional>

#include "ui/main_window_host.h"

class QAction;
class QDialog;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {
class PictureLibrary;
class TfrmMain;
} // namespace cw::ui

namespace cw::tools {

class CardCounterWindow;
class TableViews;

// Adds the tools' menu items ("Tools": "&Card Counter..." F8 and "Co&mments..."; "Tut&or": "Show
// piles' info" and "Show hidden cards"; "Help": "&Tip of the Day..."; the table's pop-up: "Card
// counter"), keeps the card counter window for the whole run and feeds it the table's changes. It
// lives as long as the window (a child of it, registered with its host).
class ToolCommands : public QObject, public ui::TableObserver {
    Q_OBJECT
public:
    ToolCommands(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library);
    ~ToolCommands() override;

    // ---- TableObserver ----
    void cardsChanged(const engine::Events& events) override;
    void tableReset() override;

    // The first activation of the window: the tip of the day unless "Tips_StartUp" is "N", and
    // the card counter when it was open at the last exit.
    void firstActivation();

    void toggleCardCounter();
    void showPilesInfo();
    void showHiddenCards();
    void showComments();
    void showTipOfTheDay();

    CardCounterWindow* cardCounter() const { return m_counter; }
    TableViews* views() const { return m_views; }

private:
    void addMenus();
    QAction* makeAction(const char* name, const QString& caption, const QKeySequence& key, void (ToolCommands::*fn)());
    // Runs a modal dialog, or hands it to the test hook.
    void run(QDialog& dialog);

    ui::TfrmMain& m_window;
    engine::TMainGame& m_game;
    const ui::PictureLibrary& m_library;
    CardCounterWindow* m_counter = nullptr;
    TableViews* m_views = nullptr;
    QAction* m_counterAction = nullptr;
    QAction* m_counterPopup = nullptr;
};

// When set, the modal dialogs of the tools (comments, tip of the day) are handed to the hook
// instead of being run (tests: the hook works the dialog and closes it).
using ToolDialogHook = std::function<void(QDialog& dialog)>;
void setToolDialogHook(ToolDialogHook hook);

// Creates the commands (a child of the window) and adds their menu items.
ToolCommands* installToolCommands(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library);

} // namespace cw::tools
