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
#include "catalog/game_numbers.h"
#include "catalog/last_played.h"
#include "storage/settings_store.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
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
        all->scrollToItem(item);
        const QPoint at = all->visualItemRect(item).center();
        QTest::mouseClick(all->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(all->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.chosenGame(), 3);
        QCOMPARE(m_core.game->preference("Game_TreeType"), std::string("0"));
        QCOMPARE(m_core.game->preference("Game"), std::string("0003"));
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
            all->scrollToItem(item);
            const QPoint at = all->visualItemRect(item).center();
            QTest::mouseClick(all->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(all->viewport(), Qt::LeftButton, {}, at);
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

private:
    QTemporaryDir m_data;
    AppCore m_core;
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
