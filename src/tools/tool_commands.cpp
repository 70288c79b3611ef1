// The player's tools in the game window: menu items, keys, pop-up entries and the hand-offs to each tool.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "tools/tool_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "catalog/game_list.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "tools/card_counter_window.h"
#include "tools/comments_dialog.h"
#include "tools/table_views.h"
#include "tools/tip_dialog.h"
#include "ui/main_window.h"

namespace cw::tools {

namespace col = storage::col;

namespace {

ToolDialogHook& dialogHook()
{
    static ToolDialogHook hook;
    return hook;
}

QMenu* menuTitled(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title)
            return a->menu();
    return nullptr;
}

// The menu that holds a command of the window (its first menu).
QMenu* menuHolding(QAction* command)
{
    if (!command)
        return nullptr;
    for (QObject* owner : command->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(owner))
            return menu;
    return nullptr;
}

void insertAfter(QMenu* menu, QAction* anchor, QAction* action)
{
    const QList<QAction*> items = menu->actions();
    const qsizetype at = items.indexOf(anchor);
    menu->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, action);
}

} // namespace

void setToolDialogHook(ToolDialogHook hook) { dialogHook() = std::move(hook); }

ToolCommands* installToolCommands(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library)
{
    return new ToolCommands(window, game, library);
}

ToolCommands::ToolCommands(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library)
    : QObject(&window), m_window(window), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("ToolCommands"));
    m_counter = new CardCounterWindow(window, game, library);
    m_views = new TableViews(window, game, library);
    addMenus();
    connect(m_counter, &CardCounterWindow::openChanged, this, [this](bool open) {
        m_counterAction->setChecked(open);
        m_counterPopup->setChecked(open);
    });
    m_window.windowHost().addObserver(this);
}

// The commands live as long as the window and its host: the host is gone when the window's children
// are deleted, so nothing is unregistered here.
ToolCommands::~ToolCommands() = default;

QAction* ToolCommands::makeAction(const char* name, const QString& caption, const QKeySequence& key,
                                  void (ToolCommands::*fn)())
{
    auto* a = new QAction(caption, &m_window);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    connect(a, &QAction::triggered, this, [this, fn] { (this->*fn)(); });
    m_window.addAction(a); // the keys work in full-screen mode too
    return a;
}

void ToolCommands::addMenus()
{
    QMenuBar* bar = m_window.menuBar();
    m_counterAction =
        makeAction("mnuCardCounter", tr("&Card Counter..."), Qt::Key_F8, &ToolCommands::toggleCardCounter);
    m_counterAction->setCheckable(true);
    QAction* comments = makeAction("mnuComments", tr("Co&mments..."), {}, &ToolCommands::showComments);
    QAction* pilesInfo = makeAction("mnuShowPilesInfo", tr("Show piles' info"), {}, &ToolCommands::showPilesInfo);
    QAction* hidden = makeAction("mnuShowHiddenCards", tr("Show hidden cards"), {}, &ToolCommands::showHiddenCards);
    QAction* tip = makeAction("mnuTipOfTheDay", tr("&Tip of the Day..."), {}, &ToolCommands::showTipOfTheDay);

    // "Tools" is shared with the other tools' commands: whoever comes first makes it, before "Help".
    QMenu* help = menuTitled(bar, QStringLiteral("&Help"));
    QMenu* tools = bar->findChild<QMenu*>(QStringLiteral("mnuTools"));
    if (!tools)
        tools = menuTitled(bar, QStringLiteral("&Tools"));
    if (!tools) {
        tools = new QMenu(tr("&Tools"), bar);
        tools->setObjectName(QStringLiteral("mnuTools"));
        bar->insertMenu(help ? help->menuAction() : nullptr, tools);
    }
    tools->addAction(m_counterAction);
    tools->addAction(comments);

    if (QMenu* tutor = menuHolding(m_window.command(QStringLiteral("mnuHint")))) {
        tutor->addSeparator();
        tutor->addAction(pilesInfo);
        tutor->addAction(hidden);
    }
    if (help) {
        QAction* contents = m_window.command(QStringLiteral("mnuContents"));
        if (help->actions().contains(contents))
            insertAfter(help, contents, tip);
        else
            help->addAction(tip);
    }

    // The table's pop-up (the window's own menu holding "Pause") ends with "Card counter".
    m_counterPopup = new QAction(tr("Card counter") + QStringLiteral("\tF8"), this);
    m_counterPopup->setObjectName(QStringLiteral("popCardCounter"));
    m_counterPopup->setCheckable(true);
    connect(m_counterPopup, &QAction::triggered, this, &ToolCommands::toggleCardCounter);
    QAction* pause = m_window.command(QStringLiteral("mnuPause"));
    for (QMenu* menu : m_window.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        if (menu->actions().contains(pause)) {
            menu->addSeparator();
            menu->addAction(m_counterPopup);
            break;
        }
}

void ToolCommands::cardsChanged(const engine::Events& events)
{
    m_views->end();
    if (m_counter->isVisible())
        m_counter->cardsChanged(events);
}

void ToolCommands::tableReset()
{
    m_views->end();
    if (m_counter->isVisible())
        m_counter->tableReset();
}

void ToolCommands::firstActivation()
{
    if (m_game.preference("Tips_StartUp") == "Y")
        showTipOfTheDay();
    m_counter->restoreAtStartup();
}

void ToolCommands::toggleCardCounter()
{
    m_counter->setOpen(!m_counter->isVisible());
    m_counterAction->setChecked(m_counter->isVisible());
    m_counterPopup->setChecked(m_counter->isVisible());
}

void ToolCommands::showPilesInfo() { m_views->showPilesInfo(); }

void ToolCommands::showHiddenCards() { m_views->showHiddenCards(); }

void ToolCommands::run(QDialog& dialog)
{
    if (dialogHook())
        dialogHook()(dialog);
    else
        dialog.exec();
}

void ToolCommands::showComments()
{
    const storage::SettingsStore& s = m_game.settings;
    CommentsContext context;
    context.dataFolder = m_game.dataFolder;
    context.gameNames = catalog::AllGameNames(m_game.gameList, m_game.customGames);
    context.currentGameName = s.get(col::GameName);
    context.player = storage::trim(s.get(col::Player));
    context.gameNumber = storage::trim(s.get(col::GameNumber));
    context.gameInProgress = m_window.session().flags().dealActive;
    CommentsDialog dialog(std::move(context), m_library, &m_window);
    run(dialog);
}

void ToolCommands::showTipOfTheDay()
{
    TipDialog dialog(m_game, &m_window);
    run(dialog);
}

} // namespace cw::tools
