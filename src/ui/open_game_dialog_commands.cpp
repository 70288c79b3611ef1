// The chooser's commands in the game window: menus, starting the chosen game, favorites, random games, numbers.
#include "ui/main_window.h"
#include "ui/open_game_dialog_commands.h"

#include "catalog/favorites.h"
#include "catalog/game_list.h"
#include "catalog/game_numbers.h"
#include "catalog/last_played.h"
#include "catalog/random_game.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "storage/settings_store.h"
#include "ui/custom_game_commands.h"
#include "ui/fast_search.h"
#include "ui/favorites_dialog.h"
#include "ui/game_number_dialog.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog.h"
#include "ui/rules_viewer.h"
#include "ui/stats_commands.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QMenu* menuTitled(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title) return a->menu();
    return nullptr;
}

} // namespace

ChooserCommands::ChooserCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
    : QObject(&window), m_window(window), m_game(game), m_library(library), m_random(engine::Random::fromTimeOfDay())
{
    setObjectName(QStringLiteral("ChooserCommands"));
    if (game.settingsFile) {
        try {
            catalog::ConvertOldFavorites(*game.settingsFile, [&](std::string_view name) {
                return catalog::GameIdByName(game.gameList, game.customGames, name);
            });
        } catch (const std::exception&) {
            // The old list stays where it is; the next start tries again.
        }
    }
    addMenus();
}

void ChooserCommands::addMenus()
{
    QMenuBar* bar = m_window.menuBar();
    QMenu* file = menuTitled(bar, QStringLiteral("&File"));
    if (!file) file = bar->addMenu(QStringLiteral("&File"));
    QAction* before = file->actions().size() > 2 ? file->actions().at(2) : nullptr;  // after New and Restart

    auto* open = new QAction(QStringLiteral("&Open a game..."), &m_window);
    open->setObjectName(QStringLiteral("mnuOpen"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F12));
    connect(open, &QAction::triggered, this, [this] { openGameDialog(); });
    auto* fast = new QAction(QStringLiteral("Games &Fast Search..."), &m_window);
    fast->setObjectName(QStringLiteral("mnuFastSearch"));
    connect(fast, &QAction::triggered, this, [this] { showFastSearch(); });
    auto* number = new QAction(QStringLiteral("S&elect a game number..."), &m_window);
    number->setObjectName(QStringLiteral("mnuSelectGameNumber"));
    number->setShortcut(QKeySequence(Qt::Key_F3));
    connect(number, &QAction::triggered, this, [this] { selectGameNumber(); });
    auto* random = new QMenu(QStringLiteral("R&andom game"), &m_window);
    QAction* fromFavorites = random->addAction(QStringLiteral("From &favorite games"));
    fromFavorites->setObjectName(QStringLiteral("mnuRandomFavorites"));
    fromFavorites->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(fromFavorites, &QAction::triggered, this, [this] { playRandomGame(catalog::kRandomFromFavorites); });
    QAction* fromAll = random->addAction(QStringLiteral("From &all games"));
    fromAll->setObjectName(QStringLiteral("mnuRandomAll"));
    fromAll->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    connect(fromAll, &QAction::triggered, this, [this] { playRandomGame(catalog::kRandomFromAllGames); });
    QMenu* types = random->addMenu(QStringLiteral("From game type"));
    for (const catalog::GameTypeInfo& t : catalog::AllGameTypes()) {
        QAction* a = types->addAction(QString::fromLatin1(t.caption.data(), int(t.caption.size())));
        a->setData(t.type);
        const int type = t.type;
        connect(a, &QAction::triggered, this, [this, type] { playRandomGame(catalog::RandomFromType(type)); });
    }
    for (QAction* a : {open, number, fromFavorites, fromAll}) m_window.addAction(a);  // keys in full screen too
    file->insertAction(before, open);
    file->insertAction(before, fast);
    file->insertAction(before, number);
    file->insertMenu(before, random);
    file->insertSeparator(before);

    // The favorites menu goes before "&Help".
    QMenu* help = menuTitled(bar, QStringLiteral("&Help"));
    m_favorites = new QMenu(QStringLiteral("F&avorites"), &m_window);
    m_favorites->setObjectName(QStringLiteral("mnuFavorites"));
    bar->insertMenu(help ? help->menuAction() : nullptr, m_favorites);
    buildFavoritesMenu();
}

TfrmOpenGame* ChooserCommands::dialog()
{
    if (!m_dialog) {
        m_dialog = new TfrmOpenGame(m_game, m_library, &m_window);
        m_dialog->deleteCustomGame = [this](int id) {
            auto* custom = m_window.findChild<CustomGameCommands*>();
            return custom && custom->deleteCustomGame(id, 1);
        };
        connect(m_dialog, &TfrmOpenGame::rulesRequested, this, [this](int id) { showRules(id); });
        connect(m_dialog, &TfrmOpenGame::organizeFavoritesRequested, this, [this] { organizeFavorites(); });
        connect(m_dialog, &TfrmOpenGame::statisticsRequested, this, [this](int id) {
            auto* stats = m_window.findChild<StatsCommands*>();
            if (!stats)
                return;
            // The running game ends for the real current player, not the one of the box.
            auto agreement = [this, stats](const PlayRequest& r) {
                const std::string boxPlayer = m_game.player();
                m_game.settings.set(storage::col::Player, m_playerBeforeDialog);
                const bool agreed = stats->agreeToPlay(r);
                m_game.settings.set(storage::col::Player, boxPlayer);
                return agreed;
            };
            if (auto request = stats->showStatisticsFor(id, m_dialog->chosenPlayer(), m_dialog, agreement)) {
                // Started once the chooser has closed, for the real current player.
                m_aside = [stats, r = *request] { stats->startRequested(r); };
                m_dialog->reject();
            }
        });
        connect(m_dialog, &TfrmOpenGame::playerChanged, this, [this] {
            buildFavoritesMenu();
            if (m_fastSearch) m_fastSearch->refill();
        });
        connect(m_dialog, &TfrmOpenGame::playersRequested, this, [this] {
            auto* stats = m_window.findChild<StatsCommands*>();
            if (!stats) return;
            // The dialog works on the real current player; the box's choice is put back unless the
            // player was switched there.
            const std::string boxPlayer = m_dialog->chosenPlayer();
            m_game.settings.set(storage::col::Player, m_playerBeforeDialog);
            const bool switched = stats->runPlayersDialog(m_dialog);
            m_playerSwitched = m_playerSwitched || switched;
            m_playerBeforeDialog = m_game.player();
            m_dialog->fillPlayerBox(switched ? m_playerBeforeDialog : boxPlayer);
            m_game.settings.set(storage::col::Player, m_dialog->chosenPlayer());
            m_dialog->refreshMarks();
        });
        // These two close the chooser for their own dialog; openGameDialog runs them and shows the
        // chooser again when no deal is in progress afterwards.
        connect(m_dialog, &TfrmOpenGame::gameNumberRequested, this, [this] {
            m_aside = [this, id = m_dialog->selectedNumber()] { selectGameNumber(id); };
            m_dialog->reject();
        });
        connect(m_dialog, &TfrmOpenGame::openSavedGameRequested, this, [this] {
            m_aside = [this] { openSavedGame(); };
            m_dialog->reject();
        });
    }
    return m_dialog;
}

bool ChooserCommands::openGameDialog(bool playerSwitched)
{
    TfrmOpenGame* dlg = dialog();
    // The player box makes its player current while the dialog is open; the current player is put
    // back afterwards and the chosen game starts for the player of the box.
    m_playerBeforeDialog = m_game.player();
    m_playerSwitched = playerSwitched;
    dlg->prepare();
    bool chosen = false;
    for (;;) {
        m_aside = nullptr;
        chosen = dlg->exec() == QDialog::Accepted && dlg->chosenGame() >= 0;
        if (!m_aside) break;
        // "Open a saved game..." or the game number: run for the real current player.
        const std::string boxPlayer = dlg->chosenPlayer();
        m_game.settings.set(storage::col::Player, m_playerBeforeDialog);
        const auto aside = std::move(m_aside);
        m_aside = nullptr;
        aside();
        m_playerBeforeDialog = m_game.player();
        if (m_window.session().flags().dealActive) break;
        m_game.settings.set(storage::col::Player, boxPlayer);
    }
    const std::string player = dlg->chosenPlayer();
    m_game.settings.set(storage::col::Player, m_playerBeforeDialog);
    m_window.table()->refresh();
    bool started = false;
    if (chosen) {
        started = m_window.session().startGame(dlg->chosenGame(), player, engine::NumberMode::Fresh, false);
    } else {
        // A player switched in the Players dialog ended the running deal: the current game starts for them.
        const int current = m_game.currentGameId();
        if (m_playerSwitched && !m_window.session().flags().dealActive && current >= 0)
            m_window.session().startGame(current, m_game.player());
    }
    // The marks of the player now current, as the saved tick says.
    buildFavoritesMenu();
    if (m_fastSearch) m_fastSearch->refill();
    return started;
}

bool ChooserCommands::startGame(int id, bool startupGame)
{
    // The window's new-deal hook records the last played game and the number.
    return m_window.session().startGame(id, m_game.player(), engine::NumberMode::Fresh, startupGame);
}

void ChooserCommands::newDealStarted()
{
    if (!m_game.settingsFile) return;
    const int id = m_game.currentGameId();
    try {
        if (id >= 0 && catalog::AddLastPlayedGame(*m_game.settingsFile, id) && m_dialog)
            m_dialog->invalidateView(catalog::ChooserView::LastPlayed);
        std::string number = m_game.settings.get(storage::col::GameNumber);
        while (!number.empty() && number.back() == ' ') number.pop_back();
        while (!number.empty() && number.front() == ' ') number.erase(0, 1);
        if (!number.empty()) catalog::AddGameNumberToHistory(*m_game.settingsFile, number);
    } catch (const std::exception&) {
        // The lists are a convenience; the settings file reports its own errors on the next preference write.
    }
}

void ChooserCommands::playRandomGame(int source)
{
    std::vector<int> favorites;
    if (m_game.settingsFile) favorites = catalog::FavoriteGameIds(catalog::ReadFavorites(*m_game.settingsFile));
    if (source == catalog::kRandomFromFavorites && favorites.empty()) {
        const auto answer = QMessageBox::question(
            &m_window, QStringLiteral("Information"),
            boxText("You haven't selected any favorite game.\rDo you want to select now your favorite games?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            TfrmOpenGame* dlg = dialog();
            dlg->prepare();
            dlg->setView(catalog::ChooserView::Favorites);
            organizeFavorites();
        }
        return;
    }
    std::vector<int> customs;
    for (const catalog::CustomGame& g : m_game.customGames) customs.push_back(g.id);
    const int id = catalog::DrawRandomGame(source, m_game.gameList, favorites,
                                           [this](int n) { return m_random.next(n); }, customs);
    m_game.preferences.randomGameType = source;
    startGame(id, true);
}

void ChooserCommands::buildFavoritesMenu()
{
    if (!m_favorites) return;
    m_favorites->clear();
    QAction* add = m_favorites->addAction(QStringLiteral("&Add to Favorites..."));
    add->setObjectName(QStringLiteral("mnuAddFavorite"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(add, &QAction::triggered, this, [this] { addCurrentGameToFavorites(); });
    QAction* organize = m_favorites->addAction(QStringLiteral("&Organize Favorites..."));
    organize->setObjectName(QStringLiteral("mnuOrganizeFavorites"));
    organize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(organize, &QAction::triggered, this, [this] { organizeFavorites(); });
    QAction* separator = m_favorites->addSeparator();
    if (!m_game.settingsFile) return;
    const auto tree = catalog::BuildFavoritesTree(catalog::ReadFavorites(*m_game.settingsFile));
    const QIcon folderIcon = m_window.style()->standardIcon(QStyle::SP_DirIcon);
    const auto markOf = currentMarks();
    std::function<void(QMenu*, const catalog::FavoriteNode&)> add2 = [&](QMenu* into, const catalog::FavoriteNode& n) {
        if (n.isFolder()) {
            QMenu* sub = into->addMenu(folderIcon, qs(n.name));
            for (const auto& c : n.children) add2(sub, c);
            return;
        }
        const std::string name = m_game.gameName(n.id);
        if (name.empty()) return;  // a game that no longer exists
        QAction* a = into->addAction(qs(name));
        a->setIcon(gameTypeIcon(m_library, catalog::GameType(m_game.gameList, n.id), markOf(n.id)));
        const int id = n.id;
        connect(a, &QAction::triggered, this, [this, id] { startGame(id, true); });
        for (const auto& c : n.children) add2(into, c);
    };
    for (const auto& n : tree) add2(m_favorites, n);
    separator->setVisible(m_favorites->actions().size() > 3);
}

std::function<GameMark(int)> ChooserCommands::currentMarks() const
{
    if (m_game.preference("Open_Show_Won_Lost") != "Y" || m_game.dataFolder.empty())
        return [](int) { return GameMark::Plain; };
    stats::StatsContext ctx;
    ctx.dataFolder = m_game.dataFolder;
    ctx.settings = &m_game.settings;
    return [states = stats::playedStates(ctx, m_game.player())](int id) { return gameMarkFor(states, id); };
}

void ChooserCommands::organizeFavorites()
{
    if (!OrganizeFavorites(m_game, m_dialog && m_dialog->isVisible() ? static_cast<QWidget*>(m_dialog) : &m_window))
        return;
    buildFavoritesMenu();
    if (m_dialog) m_dialog->invalidateView(catalog::ChooserView::Favorites);
    refreshFastSearch();
}

void ChooserCommands::addCurrentGameToFavorites()
{
    const int id = m_game.currentGameId();
    if (id < 0 || !m_game.settingsFile) return;
    auto tree = catalog::BuildFavoritesTree(catalog::ReadFavorites(*m_game.settingsFile));
    QDialog dlg(&m_window);
    dlg.setWindowTitle(QStringLiteral("Add Favorite"));
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(new QLabel(qs(catalog::ExpandProductTemplates("[Program_sw] will add")) + QStringLiteral(" \"") +
                                     qs(m_game.gameName(id)) + QStringLiteral("\"\nto your Favorites list."),
                                 &dlg));
    layout->addWidget(new QLabel(QStringLiteral("Create in:"), &dlg));
    auto* where = new QComboBox(&dlg);
    where->addItem(QStringLiteral("Favorite games"), -1);
    for (std::size_t i = 0; i < tree.size(); ++i)
        if (tree[i].isFolder()) where->addItem(qs(tree[i].name), int(i));
    layout->addWidget(where);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    layout->addWidget(buttons);
    if (dlg.exec() != QDialog::Accepted) return;
    catalog::InsertFavoriteGame(tree, where->currentData().toInt(), id, m_game.gameName(id));
    try {
        catalog::SaveFavoritesTree(*m_game.settingsFile, tree);
    } catch (const std::exception& e) {
        informationBox(&m_window, qs(e.what()));
        return;
    }
    buildFavoritesMenu();
    if (m_dialog) m_dialog->invalidateView(catalog::ChooserView::Favorites);
    refreshFastSearch();
}

void ChooserCommands::showFastSearch()
{
    if (!m_fastSearch) {
        m_fastSearch = new FastSearchWindow(m_game, &m_window, [this](int id) { return startGame(id, true); });
        m_fastSearch->decorate = [this](QTreeWidget* list) {
            const auto markOf = currentMarks();
            for (QTreeWidgetItemIterator it(list); *it; ++it)
                if (const int id = (*it)->data(0, Qt::UserRole).toInt(); id >= 0)
                    (*it)->setIcon(0, gameTypeIcon(m_library, catalog::GameType(m_game.gameList, id), markOf(id)));
        };
    }
    QRect bar(m_window.mapToGlobal(QPoint(0, 0)), QSize(0, 0));
    if (auto* toolbar = m_window.findChild<QToolBar*>(); toolbar && toolbar->isVisible())
        bar = QRect(toolbar->mapToGlobal(QPoint(0, 0)), toolbar->size());
    m_fastSearch->placeForShowing(bar);
    m_fastSearch->show();
    m_fastSearch->raise();
}

void ChooserCommands::refreshFastSearch()
{
    if (!m_fastSearch) return;
    const bool shown = m_fastSearch->isVisible();
    delete m_fastSearch;
    if (shown) showFastSearch();
}

void ChooserCommands::showRules(int id)
{
    // The game on the table: the window's viewer, which also describes its piles.
    QAction* windowRules = m_window.command(QStringLiteral("mnuRules"));
    if (id == m_game.currentGameId() && m_game.rulesGameId == id && windowRules) {
        windowRules->trigger();
        return;
    }
    const QString name = qs(m_game.gameName(id));
    if (!m_rulesViewer) m_rulesViewer = new RulesViewer(m_dialog ? static_cast<QWidget*>(m_dialog) : &m_window);
    if (id >= catalog::kFirstCustomId) {
        showCustomGameRules(*m_rulesViewer, m_game, id);
        return;
    }
    m_rulesViewer->showPage(QStringLiteral("Rules [%1]").arg(name),
                            rulesPage(name, readGameRules(m_game.installFolder, id), {}));
}

void ChooserCommands::openSavedGame()
{
    QString path;
    if (savedGameFile) {
        path = savedGameFile();
    } else {
        path = QFileDialog::getOpenFileName(&m_window, QStringLiteral("Open game"), savedGamesFolder(m_game),
                                            QStringLiteral("Saved games (*.gam)"));
    }
    if (path.isEmpty()) return;
    // The session reads the file before it touches the running game and says what went wrong.
    m_window.session().open(path.toStdString());
}

void ChooserCommands::selectGameNumber(int gameId)
{
    GameNumberDialog dlg(m_game, &m_window, gameId);
    // "L&og...": a deal replayed from the log closes this dialog and is dealt afterwards.
    std::optional<PlayRequest> fromLog;
    auto* stats = m_window.findChild<StatsCommands*>();
    connect(&dlg, &GameNumberDialog::logRequested, this, [&] {
        if (stats && (fromLog = stats->showLogFor({}, {}, &dlg)))
            dlg.reject();
    });
    if (dlg.exec() != QDialog::Accepted) {
        if (fromLog)
            stats->startRequested(*fromLog);
        return;
    }
    engine::Session& session = m_window.session();
    if (session.flags().dealActive && !session.confirmQuit()) return;
    session.endGame();
    m_game.settings.set(storage::col::GameNumber, dlg.number());
    // The same game with another number is a new deal; start game would keep the running one.
    if (dlg.gameId() == m_game.currentGameId()) {
        session.newDeal(true, true, engine::NumberMode::Keep);
    } else {
        session.startGame(dlg.gameId(), m_game.player(), engine::NumberMode::Keep, true);
    }
}

ChooserCommands* installChooserCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
{
    if (auto* existing = window.findChild<ChooserCommands*>()) return existing;
    return new ChooserCommands(window, game, library);
}

} // namespace cw::ui
