// Tests of the "Open a game" dialog: views, search, description, preview and choosing with a double click.
#include "ui/fast_search.h"
#include "ui/favorites_dialog.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/startup.h"

#include "catalog/chooser.h"
#include "catalog/favorites.h"
#include "catalog/game_list.h"
#include "catalog/game_numbers.h"
#include "catalog/last_played.h"
#include "stats/game_stats.h"
#include "storage/players.h"
#include "storage/settings_store.h"
#include "ui/statistics_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace cw;
using namespace cw::ui;
using catalog::ChooserView;

namespace {

QString artifactsDir()
{
    const QString dir = QStringLiteral(CW_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    return dir;
}

QTreeWidgetItem* findGame(QTreeWidget* tree, const QString& name)
{
    const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

// Chooses item the way a player does: scrolled into view, clicked, then double-clicked.
void doubleClickItem(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

int visibleGames(QTreeWidget* tree)
{
    int n = 0;
    for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NotHidden); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() >= 0) ++n;
    return n;
}

class NoRecords : public engine::GameEndSink {
public:
    engine::GameEndOutcome recordGameEnd(const engine::GameEndRecord&) override { return {true, -1, {}}; }
};

// Runs `act` on the first shown modal dialog of type T once the caller's exec() has opened it.
template <typename T, typename F>
void whenModal(F act)
{
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [poll, act](int triesLeft) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible()) {
                act(d);
                return;
            }
        if (triesLeft > 0) QTimer::singleShot(20, [poll, triesLeft] { (*poll)(triesLeft - 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(100); });
}

void choosePlayer(TfrmOpenGame& dlg, const QString& name)
{
    QComboBox* box = dlg.playerBox();
    const int index = box->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QIcon iconOf(TfrmOpenGame& dlg, int id)
{
    for (QTreeWidgetItemIterator it(dlg.viewTree(ChooserView::AllGames)); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == id) return (*it)->icon(0);
    return {};
}

} // namespace

class TestChooser : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        const QString stop = prepareCore(m_core, CW_BIN_DIR "/", QDir(m_data.path()).absolutePath().toStdString() + "/");
        QVERIFY2(stop.isEmpty(), qPrintable(stop));
        m_core.store.set(storage::col::GameId, "0000");
        storage::IniFile& ini = *m_core.settingsFile;
        std::vector<catalog::FavoriteNode> favs;
        const int folder = catalog::InsertFavoriteFolder(favs, "Evenings");
        catalog::InsertFavoriteGame(favs, folder, 18, m_core.game->gameName(18));
        catalog::InsertFavoriteGame(favs, -1, 0, m_core.game->gameName(0));
        catalog::SaveFavoritesTree(ini, favs);
        catalog::AddLastPlayedGame(ini, 3);
        catalog::AddLastPlayedGame(ini, 0);
    }

    void viewsSearchAndDoubleClick()
    {
        TfrmOpenGame dlg(*m_core.game, m_core.library);
        dlg.prepare();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.currentView(), ChooserView::AllGames);
        QTreeWidget* all = dlg.viewTree(ChooserView::AllGames);
        QCOMPARE(all->topLevelItemCount(), int(m_core.game->gameList.size()));
        QCOMPARE(dlg.selectedNumber(), 0);  // the current game is selected
        QVERIFY(dlg.descriptionText().startsWith(QString::fromStdString(m_core.game->gameName(0))));
        QVERIFY(!dlg.previewImage().isNull());

        // Groups: the first showing with the current game selects it inside its type folder.
        dlg.findChild<QToolButton*>(QStringLiteral("tbView1"))->click();
        QCOMPARE(dlg.currentView(), ChooserView::Groups);
        QCOMPARE(dlg.selectedNumber(), 0);
        QTreeWidget* groups = dlg.viewTree(ChooserView::Groups);
        QCOMPARE(groups->topLevelItemCount(), 5);
        QVERIFY(groups->currentItem()->parent() != nullptr);

        // Favorites: folder with its game, and the top-level game.
        dlg.setView(ChooserView::Favorites);
        QTreeWidget* favs = dlg.viewTree(ChooserView::Favorites);
        QCOMPARE(favs->topLevelItemCount(), 2);
        QCOMPARE(favs->topLevelItem(0)->text(0), QStringLiteral("Evenings"));
        QCOMPARE(favs->topLevelItem(0)->child(0)->data(0, Qt::UserRole).toInt(), 18);
        dlg.setView(ChooserView::LastPlayed);
        QCOMPARE(dlg.viewTree(ChooserView::LastPlayed)->topLevelItemCount(), 2);
        dlg.setView(ChooserView::Selected);
        QVERIFY(dlg.viewTree(ChooserView::Selected)->topLevelItemCount() > 0);

        // Search in the groups view fills every folder and keeps only matching names.
        dlg.setView(ChooserView::Groups);
        QTest::keyClicks(dlg.searchBox(), QStringLiteral("spider"));
        const int spiders = visibleGames(groups);
        QVERIFY(spiders > 0);
        for (QTreeWidgetItemIterator it(groups, QTreeWidgetItemIterator::NotHidden); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() >= 0)
                QVERIFY2((*it)->text(0).contains(QStringLiteral("spider"), Qt::CaseInsensitive),
                         qPrintable((*it)->text(0)));
        QVERIFY(dlg.selectedNumber() >= 0);  // the first match is selected
        dlg.searchBox()->clear();
        QVERIFY(visibleGames(groups) > spiders);

        // All games: typing narrows the list; a double click chooses the game.
        dlg.setView(ChooserView::AllGames);
        QTest::keyClicks(dlg.searchBox(), QStringLiteral("SINGLE"));
        QVERIFY(visibleGames(all) < int(m_core.game->gameList.size()));
        const QString target = QString::fromStdString(m_core.game->gameName(3));
        QVERIFY2(target.contains(QStringLiteral("single"), Qt::CaseInsensitive), qPrintable(target));
        QTreeWidgetItem* item = findGame(all, target);
        QVERIFY(item && !item->isHidden());
        doubleClickItem(all, item);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.chosenGame(), 3);
        QCOMPARE(m_core.game->preference("Game_TreeType"), std::string("0"));
        QCOMPARE(m_core.game->preference("Game"), std::string("0003"));
    }

    void gamesLikeThisLinkToTheirGames()
    {
        TfrmOpenGame dlg(*m_core.game, m_core.library);
        dlg.prepare();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.setView(ChooserView::AllGames);
        QVERIFY(dlg.selectGame(1));
        const QString text = dlg.likeThisLabel()->text();
        static const QRegularExpression link(QStringLiteral("<a href=\"(\\d+)\">([^<]*)</a>"));
        QList<int> ids;
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            ids << m.captured(1).toInt();
            QCOMPARE(m.captured(2), QString::fromStdString(m_core.game->gameName(ids.back())).toHtmlEscaped());
        }
        QCOMPARE(ids.size(), 3);
        QVERIFY(!ids.contains(1));

        // A search that hides the linked game is cleared; the game is selected and described.
        QTest::keyClicks(dlg.searchBox(), QStringLiteral("no such game at all"));
        emit dlg.likeThisLabel()->linkActivated(QString::number(ids[0]));
        QVERIFY(dlg.searchBox()->text().isEmpty());
        QCOMPARE(dlg.selectedNumber(), ids[0]);
        QVERIFY(dlg.descriptionText().startsWith(QString::fromStdString(m_core.game->gameName(ids[0]))));

        // A view that does not list the game gives way to all games.
        dlg.setView(ChooserView::LastPlayed);
        const int notPlayed = ids[1];
        QVERIFY(notPlayed != 0 && notPlayed != 3);
        emit dlg.likeThisLabel()->linkActivated(QString::number(notPlayed));
        QCOMPARE(dlg.currentView(), ChooserView::AllGames);
        QCOMPARE(dlg.selectedNumber(), notPlayed);
    }

    void okWithoutGameAndScreenshots()
    {
        // Timings for the report (not checked here: the benchmarks hold the speed targets).
        QElapsedTimer clock;
        clock.start();
        TfrmOpenGame dlg(*m_core.game, m_core.library);
        dlg.prepare();  // opens the view saved by the last choice
        for (int v = catalog::kChooserViewCount - 1; v >= 0; --v) dlg.setView(ChooserView(v));
        qInfo("chooser built with every view filled in %lld ms", qint64(clock.elapsed()));
        QCOMPARE(dlg.currentView(), ChooserView::AllGames);
        QCOMPARE(dlg.selectedNumber(), 0);
        clock.restart();
        QVERIFY(dlg.selectGame(18));
        qInfo("description and preview of one game in %lld ms", qint64(clock.elapsed()));
        dlg.setView(ChooserView::Groups);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.selectGame(18));
        dlg.grab().save(artifactsDir() + QStringLiteral("/chooser_dialog.png"));
        GamePreview preview(m_core.library, QString::fromStdString(m_core.game->installFolder + "cwdp.dat"));
        for (int id : {0, 3, 18, 2, 7, 11, 40, 100}) {
            if (!m_core.game->knowsGame(id)) continue;
            QVERIFY2(preview.hasLine(id), qPrintable(QString::number(id)));
            preview.render(id, 2.0).save(artifactsDir() + QStringLiteral("/preview_%1.png").arg(id));
        }
        QVERIFY(!preview.hasLine(99999));
    }

    void chosenGameStartsInTheWindow()
    {
        m_core.store.set(storage::col::GameId, "0000");
        m_core.store.set(storage::col::CardsAnimate, "N");
        m_core.store.set(storage::col::DealAnimation, "N");
        engine::SessionOptions options;
        options.freshGameNumber = [] { return std::string("0000000004321"); };
        options.autoplayDelayMs = 0;
        NoRecords sink;
        TfrmMain window(*m_core.game, m_core.library, &sink, options);
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.firstActivation();
        setBoxAnswerHook([](BoxKind, const QString&) { return 0; });  // quitting the running deal is confirmed
        QAction* open = window.findChild<QAction*>(QStringLiteral("mnuOpen"));
        QVERIFY(open);
        bool interacted = false;
        QTimer::singleShot(0, &window, [&] {
            auto* dlg = window.findChild<TfrmOpenGame*>();
            if (!dlg) return;
            interacted = true;
            dlg->setView(ChooserView::AllGames);
            QTreeWidget* all = dlg->viewTree(ChooserView::AllGames);
            QTreeWidgetItem* item = findGame(all, QString::fromStdString(m_core.game->gameName(18)));
            if (!item) {
                dlg->reject();
                return;
            }
            doubleClickItem(all, item);
        });
        open->trigger();
        setBoxAnswerHook(nullptr);
        QVERIFY(interacted);
        QCOMPARE(m_core.game->currentGameId(), 18);
        QVERIFY(window.session().flags().dealActive);
        const auto last = catalog::ReadLastPlayedGames(*m_core.settingsFile);
        QVERIFY(!last.empty());
        QCOMPARE(last.front(), 18);
        const auto numbers = catalog::ReadGameNumberHistory(*m_core.settingsFile);
        QVERIFY(!numbers.empty());
        QVERIFY(QString::fromStdString(numbers.front()).endsWith(QStringLiteral("4321")));
        window.grab().save(artifactsDir() + QStringLiteral("/chooser_window_after_choice.png"));

        // FastSearch: all games listed by name; one click starts a game and hides the window.
        QAction* fast = window.findChild<QAction*>(QStringLiteral("mnuFastSearch"));
        QVERIFY(fast);
        fast->trigger();
        auto* search = window.findChild<FastSearchWindow*>();
        QVERIFY(search && search->isVisible());
        QCOMPARE(search->windowTitle(), QStringLiteral("FastSearch [All games]"));
        QCOMPARE(search->list()->topLevelItemCount(), int(m_core.game->gameList.size()));
        QTreeWidgetItem* item = findGame(search->list(), QString::fromStdString(m_core.game->gameName(3)));
        QVERIFY(item);
        search->list()->scrollToItem(item);
        setBoxAnswerHook([](BoxKind, const QString&) { return 0; });
        QTest::mouseClick(search->list()->viewport(), Qt::LeftButton, {}, search->list()->visualItemRect(item).center());
        setBoxAnswerHook(nullptr);
        QCOMPARE(m_core.game->currentGameId(), 3);
        QVERIFY(!search->isVisible());
        search->setKind(FastSearchKind::Recent);
        QCOMPARE(search->list()->topLevelItemCount(), int(catalog::ReadLastPlayedGames(*m_core.settingsFile).size()));
        QCOMPARE(m_core.settingsFile->readInteger("Settings", "Games_Fast_Search_Type", -1), 5);
    }

    void favoritesOrganizer()
    {
        TfrmFavorites dlg(*m_core.game);
        QString said;
        setBoxAnswerHook([&](BoxKind, const QString& text) {
            said = text;
            return 0;
        });
        QVERIFY(!dlg.newFolder(QString()));
        QCOMPARE(said, QStringLiteral("Please enter at least 1 character."));
        setBoxAnswerHook(nullptr);
        QVERIFY(dlg.newFolder(QStringLiteral("Mornings")));
        // Folders stay above the games: the new one follows "Evenings" and precedes the top-level game.
        QCOMPARE(dlg.favorites().size(), std::size_t(3));
        QCOMPARE(dlg.favorites()[1].name, std::string("Mornings"));
        QCOMPARE(dlg.favoritesTree()->currentItem()->text(0), QStringLiteral("Mornings"));
        const auto items = dlg.gamesList()->findItems(QString::fromStdString(m_core.game->gameName(3)), Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        dlg.gamesList()->clearSelection();
        items.front()->setSelected(true);
        dlg.addSelected();
        QCOMPARE(dlg.favorites()[1].children.size(), std::size_t(1));
        dlg.accept();
        const auto saved = catalog::ReadFavorites(*m_core.settingsFile);
        QCOMPARE(saved.size(), std::size_t(5));
        QCOMPARE(saved[2].name, std::string("Mornings"));
        QCOMPARE(saved[3].id, 3);
        QVERIFY(saved[3].inFolder);
    }

    void resultMarksFollowThePlayerAndTheTick()
    {
        preparePlayers();
        m_core.game->setPreference("Open_Show_Won_Lost", "Y");
        m_core.game->setPreference("Game_TreeType", "0");
        TfrmOpenGame dlg(*m_core.game, m_core.library);
        dlg.prepare();
        QCOMPARE(dlg.playerBox()->count(), 2);
        QCOMPARE(dlg.playerBox()->itemText(0), QStringLiteral("Ann"));  // sorted by name
        QCOMPARE(dlg.chosenPlayer(), std::string("Ann"));
        QVERIFY(dlg.showWonLostBox()->isChecked());
        const int klondikeType = catalog::GameType(m_core.game->gameList, 3);
        struct Row {
            const char* player;
            bool shown;
            int id;
            GameMark expected;
        };
        const Row rows[] = {
            {"Ann", true, 3, GameMark::Won},       {"Ann", true, 18, GameMark::NotWon},
            {"Ann", true, 0, GameMark::NotPlayed}, {"Bob", true, 18, GameMark::Won},
            {"Bob", true, 3, GameMark::NotPlayed}, {"Bob", false, 18, GameMark::Plain},
            {"Ann", false, 3, GameMark::Plain},    {"Ann", true, 3, GameMark::Won},
        };
        for (const Row& r : rows) {
            choosePlayer(dlg, QString::fromLatin1(r.player));
            dlg.showWonLostBox()->setChecked(r.shown);
            const QString what = QStringLiteral("%1 game %2").arg(QLatin1String(r.player)).arg(r.id);
            QVERIFY2(dlg.markOf(r.id) == r.expected, qPrintable(what));
            // The list shows the icon of that variant.
            const QIcon expected = gameTypeIcon(m_core.library, catalog::GameType(m_core.game->gameList, r.id), r.expected);
            QVERIFY2(iconOf(dlg, r.id).cacheKey() == expected.cacheKey(), qPrintable(what));
            // The box's player is the current one while the dialog is open.
            QCOMPARE(m_core.game->player(), std::string(r.player));
        }
        // The variants of one type differ from each other (the drawn ones when the library has none).
        QImage images[4];
        for (int m = 0; m < 4; ++m) images[m] = gameTypeIcon(m_core.library, klondikeType, GameMark(m)).pixmap(16, 16).toImage();
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) QVERIFY(images[a] != images[b]);

        // OK writes the tick.
        dlg.showWonLostBox()->setChecked(false);
        QVERIFY(dlg.selectGame(3));
        dlg.accept();
        QCOMPARE(m_core.game->preference("Open_Show_Won_Lost"), std::string("N"));
        m_core.game->setPreference("Open_Show_Won_Lost", "Y");
        m_core.store.set(storage::col::Player, "Ann");
    }

    void statisticsButtonAndPlayerBoxInTheWindow()
    {
        preparePlayers();
        m_core.game->setPreference("Game_TreeType", "0");
        engine::SessionOptions options;
        options.freshGameNumber = [] { return std::string("77"); };
        options.autoplayDelayMs = 0;
        NoRecords sink;
        TfrmMain window(*m_core.game, m_core.library, &sink, options);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.firstActivation();
        const int running = m_core.game->currentGameId();
        QAction* open = window.findChild<QAction*>(QStringLiteral("mnuOpen"));
        QVERIFY(open);

        struct Row {
            bool disabled;
            QString player;
            QString expectedPlayerLabel;  // "" : the disabled-statistics message instead of the dialog
        };
        const Row rows[] = {{false, QStringLiteral("Bob"), QStringLiteral("Bob")},
                            {false, QStringLiteral("Ann"), QStringLiteral("Ann")},
                            {true, QStringLiteral("Bob"), QString()}};
        for (const Row& r : rows) {
            m_core.game->preferences.disableStatistics = r.disabled;
            QString playerLabel, won, said;
            setBoxAnswerHook([&](BoxKind, const QString& text) {
                said = text;
                return 0;
            });
            whenModal<TfrmOpenGame>([&](TfrmOpenGame* dlg) {
                choosePlayer(*dlg, r.player);
                dlg->selectGame(18);
                // The three-page "Statistics" dialog for the chosen game and the box's player.
                whenModal<StatisticsDialog>([&](StatisticsDialog* stats) {
                    playerLabel = stats->playerBox()->currentText();
                    won = stats->valueText(QStringLiteral("lblWon"));
                    stats->accept();
                });
                dlg->findChild<QPushButton*>(QStringLiteral("btnStatistics"))->click();
                dlg->reject();
            });
            open->trigger();
            setBoxAnswerHook(nullptr);
            QCOMPARE(playerLabel, r.expectedPlayerLabel);
            if (r.disabled) {
                QVERIFY2(said.startsWith(QStringLiteral("The Statistics are disabled.")), qPrintable(said));
            } else {
                QCOMPARE(won, QString::fromLatin1(r.player == QLatin1String("Bob") ? "1" : "0"));
            }
            // Cancel: the current player and the running deal are as before.
            QCOMPARE(m_core.game->player(), std::string("Ann"));
            QCOMPARE(m_core.game->currentGameId(), running);
        }
        m_core.game->preferences.disableStatistics = false;

        // OK with another player in the box: the chosen game starts for that player.
        setBoxAnswerHook([](BoxKind, const QString&) { return 0; });
        whenModal<TfrmOpenGame>([&](TfrmOpenGame* dlg) {
            choosePlayer(*dlg, QStringLiteral("Bob"));
            dlg->selectGame(18);
            dlg->accept();
        });
        open->trigger();
        setBoxAnswerHook(nullptr);
        QCOMPARE(m_core.game->currentGameId(), 18);
        QCOMPARE(m_core.game->player(), std::string("Bob"));
        // The favorites menu marks the games for the player now playing.
        QMenu* favorites = window.findChild<QMenu*>(QStringLiteral("mnuFavorites"));
        QVERIFY(favorites);
        QAction* favorite = nullptr;
        for (QAction* a : favorites->findChildren<QAction*>())  // the game sits in the folder's submenu
            if (a->text() == QString::fromStdString(m_core.game->gameName(18))) favorite = a;
        QVERIFY(favorite);
        const QIcon bobWon = gameTypeIcon(m_core.library, catalog::GameType(m_core.game->gameList, 18), GameMark::Won);
        QCOMPARE(favorite->icon().cacheKey(), bobWon.cacheKey());
        // So does FastSearch.
        window.findChild<QAction*>(QStringLiteral("mnuFastSearch"))->trigger();
        auto* search = window.findChild<FastSearchWindow*>();
        QVERIFY(search);
        search->setKind(FastSearchKind::AllGames);
        QTreeWidgetItem* listed = findGame(search->list(), QString::fromStdString(m_core.game->gameName(18)));
        QVERIFY(listed);
        QCOMPARE(listed->icon(0).cacheKey(), bobWon.cacheKey());
        search->hide();
        m_core.store.set(storage::col::Player, "Ann");
    }

    void rulesAndSavedGameFromTheChooser()
    {
        m_core.store.set(storage::col::GameId, "0000");
        engine::SessionOptions options;
        options.freshGameNumber = [] { return std::string("31"); };
        options.autoplayDelayMs = 0;
        NoRecords sink;
        TfrmMain window(*m_core.game, m_core.library, &sink, options);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.firstActivation();
        QCOMPARE(m_core.game->currentGameId(), 0);
        const std::string saved = QDir(m_data.path()).absoluteFilePath(QStringLiteral("klondike.gam")).toStdString();
        QVERIFY(window.session().save(saved));
        auto* commands = window.findChild<ChooserCommands*>();
        QVERIFY(commands);
        QAction* open = window.findChild<QAction*>(QStringLiteral("mnuOpen"));
        setBoxAnswerHook([](BoxKind, const QString&) { return 0; });

        // Rules of a game that is not on the table: its own text, in the chooser's viewer.
        whenModal<TfrmOpenGame>([&](TfrmOpenGame* dlg) {
            dlg->setView(ChooserView::AllGames);
            dlg->selectGame(18);
            dlg->findChild<QPushButton*>(QStringLiteral("btnRules"))->click();
            dlg->reject();
        });
        open->trigger();
        QVERIFY(commands->rulesViewer() && commands->rulesViewer()->isVisible());
        QCOMPARE(commands->rulesViewer()->windowTitle(),
                 QStringLiteral("Rules [%1]").arg(QString::fromStdString(m_core.game->gameName(18))));
        QVERIFY(commands->rulesViewer()->text().contains(QString::fromStdString(m_core.game->gameName(18))));
        commands->rulesViewer()->hide();

        // "Open a saved game...": the chooser closes and the saved deal is on the table.
        QVERIFY(commands->startGame(18, false));
        commands->savedGameFile = [&] { return QString::fromStdString(saved); };
        whenModal<TfrmOpenGame>([&](TfrmOpenGame* dlg) {
            dlg->findChild<QPushButton*>(QStringLiteral("btnOpenSaved"))->click();
        });
        open->trigger();
        setBoxAnswerHook(nullptr);
        QVERIFY(!commands->dialog()->isVisible());
        QCOMPARE(m_core.game->currentGameId(), 0);
        QVERIFY(window.session().flags().dealActive);
    }

    void firstActivationWithoutHeldGameOpensTheChooser()
    {
        preparePlayers();
        struct Row {
            int choose;    // the game double-clicked in the chooser; -1 cancels it
            int expected;  // the game dealt afterwards
        };
        const Row rows[] = {{18, 18}, {-1, 3}};
        for (const Row& r : rows) {
            m_core.store.set(storage::col::GameId, "0003");  // the stored game is the start-up game
            engine::SessionOptions options;
            options.freshGameNumber = [] { return std::string("4"); };
            options.autoplayDelayMs = 0;
            NoRecords sink;
            TfrmMain window(*m_core.game, m_core.library, &sink, options);
            window.setChooserAtStartup(true);
            bool shown = false;
            whenModal<TfrmOpenGame>([&](TfrmOpenGame* dlg) {
                shown = true;
                if (r.choose < 0) {
                    dlg->reject();
                    return;
                }
                dlg->setView(ChooserView::AllGames);
                QTreeWidget* all = dlg->viewTree(ChooserView::AllGames);
                QTreeWidgetItem* item = findGame(all, QString::fromStdString(m_core.game->gameName(r.choose)));
                if (!item) {
                    dlg->reject();
                    return;
                }
                doubleClickItem(all, item);
            });
            // The activation may run the first activation already while the window is being exposed.
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.firstActivation();
            QVERIFY(shown);
            QCOMPARE(m_core.game->currentGameId(), r.expected);
            QVERIFY(window.session().flags().dealActive);
        }
    }

    void chooserScreenshotWithMarks()
    {
        preparePlayers();
        m_core.game->setPreference("Open_Show_Won_Lost", "Y");
        m_core.game->setPreference("Game_TreeType", "1");
        m_core.game->setPreference("Game_TreeNum", "-202030");
        TfrmOpenGame dlg(*m_core.game, m_core.library);
        dlg.prepare();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.selectGame(3));
        dlg.grab().save(artifactsDir() + QStringLiteral("/chooser_marks.png"));
        dlg.setView(ChooserView::AllGames);
        QVERIFY(dlg.selectGame(18));
        dlg.grab().save(artifactsDir() + QStringLiteral("/chooser_marks_all.png"));

        // The drawn icons enlarged: a row per type (plain, won, not won, never played), then the gauges.
        const int types[] = {5, 8, 4, 2, 16, catalog::kCustomGameType};
        const char* const gauges[] = {"PROG_TIME_QUICK", "PROG_TIME_MEDIUM", "PROG_TIME_LONG", "PROG_DIFF_EASY",
                                      "PROG_DIFF_HARD", "PROG_CHAN_VERYHIGH", "PROG_CHAN_LOW", "PROG_SKILL_DIFFICULT",
                                      "PROG_SKILL_CHANCEONLY", "PROG_DISABLED"};
        QImage sheet(10 * 36, 7 * 36, QImage::Format_ARGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        for (int row = 0; row < 6; ++row)
            for (int m = 0; m < 4; ++m)
                p.drawPixmap(QRect(m * 36 + 2, row * 36 + 2, 32, 32),
                             gameTypeIcon(m_core.library, types[row], GameMark(m)).pixmap(QSize(16, 16), 2.0));
        for (int g = 0; g < 10; ++g)
            p.drawPixmap(QRect(g * 36 + 2, 6 * 36 + 2, 32, 32),
                         featurePicture(m_core.library, QString::fromLatin1(gauges[g]), 2.0));
        p.end();
        sheet.save(artifactsDir() + QStringLiteral("/chooser_icons.png"));
    }

private:
    // Two players with results: Ann won game 3 and lost game 18; Bob won game 18.
    void preparePlayers()
    {
        storage::IniFile& ini = *m_core.settingsFile;
        storage::writePlayerSlots(ini, {"Bob", "Ann"});
        m_core.store.set(storage::col::Player, "Ann");
        m_core.store.set(storage::col::SessionWon, "0000");
        m_core.store.set(storage::col::SessionLost, "0000");
        if (m_statsWritten) return;
        m_statsWritten = true;
        stats::StatsContext ctx;
        ctx.dataFolder = m_core.game->dataFolder;
        const std::tuple<int, const char*, bool> results[] = {
            {3, "Ann", true}, {3, "Ann", false}, {18, "Ann", false}, {18, "Bob", true}};
        for (const auto& [id, player, won] : results) stats::updateGameStatistics(ctx, id, player, won, 0);
    }

    QTemporaryDir m_data;
    AppCore m_core;
    bool m_statsWritten = false;
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
