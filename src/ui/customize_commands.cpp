// The options commands of the game window: "C&ustomize..." in the Tools menu, the table pop-up's look entries,
// the player's pointer and tooltips, and the random look of a new game.
#include "ui/customize_commands.h"

#include "engine/game_object.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "ui/card_set_wizard.h"
#include "ui/image_editor.h"
#include "ui/look_page.h"
#include "ui/look_settings.h"
#include "ui/main_window.h"
#include "ui/pointers.h"
#include "ui/stats_commands.h"
#include "ui/table_widget.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QToolBar>

namespace cw::ui {

namespace {

CustomizeCommands::DialogHook& dialogHook()
{
    static CustomizeCommands::DialogHook hook;
    return hook;
}

QMenu* menuTitled(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title)
            return a->menu();
    return nullptr;
}

} // namespace

void CustomizeCommands::setDialogHook(DialogHook hook) { dialogHook() = std::move(hook); }

CustomizeCommands::CustomizeCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
    : QObject(&window), m_window(window), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("CustomizeCommands"));
    addMenus();
    applyPointerAndTips();
}

CustomizeCommands* installCustomizeCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
{
    return new CustomizeCommands(window, game, library);
}

void CustomizeCommands::addMenus()
{
    auto make = [this](const char* name, const QString& caption, const QKeySequence& key, auto fn) {
        auto* a = new QAction(caption, &m_window);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, fn);
        m_window.addAction(a); // the key works in full screen too
        return a;
    };
    QAction* customize = make("mnuCustomize", QStringLiteral("C&ustomize..."), QKeySequence(Qt::CTRL | Qt::Key_U),
                              [this] { openCustomize(CustomizePage::General); });
    QMenuBar* bar = m_window.menuBar();
    // "Tools" is shared with the other tools' commands: whoever comes first makes it, before "Help".
    QMenu* tools = bar->findChild<QMenu*>(QStringLiteral("mnuTools"));
    if (!tools)
        tools = menuTitled(bar, QStringLiteral("&Tools"));
    if (!tools) {
        tools = new QMenu(QStringLiteral("&Tools"), bar);
        tools->setObjectName(QStringLiteral("mnuTools"));
        QMenu* help = menuTitled(bar, QStringLiteral("&Help"));
        bar->insertMenu(help ? help->menuAction() : nullptr, tools);
    }
    tools->insertAction(tools->actions().isEmpty() ? nullptr : tools->actions().first(), customize);

    QAction* cards = make("popChangeCardSet", QStringLiteral("Change card set"), {},
                          [this] { openCustomize(CustomizePage::Cards); });
    QAction* decks =
        make("popChangeDeck", QStringLiteral("Change deck"), {}, [this] { openCustomize(CustomizePage::Decks); });
    QAction* backgrounds = make("popChangeBackground", QStringLiteral("Change background"), {},
                                [this] { openCustomize(CustomizePage::Backgrounds); });
    QAction* addDeckAction = make("popAddDeck", QStringLiteral("Add a customized deck..."), {}, [this] { addDeck(); });
    QAction* addSetAction =
        make("popAddCardSet", QStringLiteral("Add a customized Cards Set..."), {}, [this] { addCardSet(); });
    // The table's pop-up is the window's own menu holding "Pause": the look entries go before it.
    for (QMenu* popup : m_window.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        QAction* pause = nullptr;
        for (QAction* a : popup->actions())
            if (a->objectName() == QLatin1String("mnuPause"))
                pause = a;
        if (!pause || popup == tools)
            continue;
        if (QAction* organize = m_window.findChild<QAction*>(QStringLiteral("mnuOrganizeFavorites"))) {
            auto* favorites = new QAction(QStringLiteral("Favorite games..."), popup);
            favorites->setObjectName(QStringLiteral("popFavorites"));
            connect(favorites, &QAction::triggered, organize, &QAction::trigger);
            popup->insertAction(pause, favorites);
        }
        popup->insertAction(pause, cards);
        popup->insertAction(pause, decks);
        popup->insertAction(pause, backgrounds);
        popup->insertSeparator(pause);
        popup->insertAction(pause, addDeckAction);
        popup->insertAction(pause, addSetAction);
        popup->insertSeparator(pause);
        break;
    }
}

void CustomizeCommands::openCustomize(CustomizePage first) { openWith(first, QString()); }

void CustomizeCommands::openWith(CustomizePage page, const QString& select)
{
    CustomizeHooks hooks;
    hooks.showLook = [this](const LookChoice& look) {
        TableWidget* table = m_window.table();
        TableSettings t = table->settings();
        putLook(t, look);
        table->setSettings(t);
    };
    hooks.clearValues = [this](QWidget*) {
        if (auto* stats = m_window.findChild<StatsCommands*>())
            stats->showClearValues();
    };
    TfrmCustomize dialog(m_game, m_library, std::move(hooks), page, &m_window);
    if (!select.isEmpty())
        if (LookPage* look = dialog.lookPage(page))
            look->selectByName(select);
    for (;;) {
        const int result = dialogHook() ? dialogHook()(dialog) : dialog.exec();
        if (result != TfrmCustomize::PreviewRequest) {
            if (result == QDialog::Accepted)
                afterOk(dialog);
            return;
        }
        // "Pre&view": the winning animation with the chosen speed, then the same dialog again.
        TableWidget* table = m_window.table();
        TableSettings before = table->settings();
        TableSettings t = before;
        t.speedMoveCard = dialog.previewSpeed();
        table->setSettings(t);
        table->runWinningAnimation(dialog.previewAnimation(), dialog.previewSeconds());
        table->setSettings(before);
        table->refresh();
        if (dialogHook())
            return; // a test drives one round at a time
    }
}

void CustomizeCommands::afterOk(const TfrmCustomize& dialog)
{
    m_window.preferencesChanged();
    applyPointerAndTips();
    if (dialog.exitRequested())
        m_window.close();
}

void CustomizeCommands::addDeck()
{
    const QString name = editDeck(m_game, &m_window);
    if (!name.isEmpty())
        openWith(CustomizePage::Decks, name);
}

void CustomizeCommands::addCardSet()
{
    const QString name = createCardSet(m_game, m_library, &m_window);
    if (!name.isEmpty())
        openWith(CustomizePage::Cards, name);
}

void CustomizeCommands::newDealStarted()
{
    chooseRandomLook(m_game, m_library, QRandomGenerator::global()->generate());
}

void CustomizeCommands::applyPointerAndTips()
{
    const std::string cursor = m_game.settings.get(storage::col::Cursor);
    const int value = std::atoi(cursor.c_str());
    if (value == 10 || value == 0 || cursor.empty())
        m_window.unsetCursor();
    else
        m_window.setCursor(pointerFor(value));
    m_tipsShown = m_game.settings.get(storage::col::ShowToolTips) != "N";
    if (QToolBar* bar = m_window.findChild<QToolBar*>(QStringLiteral("tbMain")))
        for (QWidget* w : bar->findChildren<QWidget*>()) {
            w->removeEventFilter(this);
            w->installEventFilter(this);
        }
}

bool CustomizeCommands::eventFilter(QObject* watched, QEvent* event)
{
    // "Sho&w ScreenTips on toolbar" off: the toolbar's buttons show no tips.
    if (event->type() == QEvent::ToolTip && !m_tipsShown)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace cw::ui
