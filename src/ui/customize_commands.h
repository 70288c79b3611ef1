// The options commands of the game window: "C&ustomize..." in the Tools menu, the table pop-up's look entries,
// the player's pointer and tooltips, and the random look of a new game.
#pragma once

#include <QObject>

#include "ui/customize_dialog.h"

class QAction;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {

class PictureLibrary;
class TfrmMain;

class CustomizeCommands : public QObject {
    Q_OBJECT
public:
    CustomizeCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

    // OpenCustomizeDialog: the dialog on its first page, the winning animation previews it asks for, and
    // the window brought up to date after "OK".
    void openCustomize(CustomizePage first = CustomizePage::General);
    // The table pop-up's "Add a customized deck..." and "Add a customized Cards Set...": the editor, then
    // the look page with the new item chosen.
    void addDeck();
    void addCardSet();
    // A new deal: the random card set, deck and background when the settings ask for them.
    void newDealStarted();
    // The pointer and the toolbar tips as the settings say.
    void applyPointerAndTips();

    // Tests drive the dialog themselves: the hook gets it before it shows and answers what exec() would.
    using DialogHook = std::function<int(TfrmCustomize&)>;
    static void setDialogHook(DialogHook hook);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addMenus();
    void afterOk(const TfrmCustomize& dialog);
    // Opens the dialog on a page with an item of that name chosen.
    void openWith(CustomizePage page, const QString& select);

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    bool m_tipsShown = true;
};

// Creates the commands (a child of the window) and adds their menu items; call after the toolbar exists.
CustomizeCommands* installCustomizeCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

} // namespace cw::ui
