// Tests of custom games in the window: the Rules Wizard driven headless, the game played, kept, explained and deleted.
#include "engine/session.h"

#include "ui/custom_game_commands.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/rules_viewer.h"
#include "ui/rules_wizard.h"
#include "ui/startup.h"
#include "ui/window_fixture.h"

#include "catalog/custom_games.h"
#include "catalog/custom_rules.h"
#include "catalog/favorites.h"
#include "catalog/last_played.h"
#include "engine/table.h"
#include "stats/game_stats.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using namespace cw;
using namespace cw::ui;
using engine::PileRef;

namespace {

constexpr int kEightHearts = 8;
constexpr int kSevenDiamonds = 20;
constexpr int kFiveSpades = 44;
constexpr int kKingClubs = 39;

// A window on its own data folder that records its games in the real statistics files.
struct Window : testing::WindowFixture {
    bool open(const QString& folder, const char* gameId = "0000")
    {
        startGameId = gameId;
        realStatistics = true;
        return WindowFixture::open(folder);
    }

    QAction* action(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }

    // Tableau: 8 of hearts; 7 of diamonds; nothing; 5 of spades. A King waits in the stock.
    void handBuiltTable()
    {
        session().setAutoplay(false);
        engine::Table& t = session().mutableState().table;
        t.clearPiles();
        t.append(PileRef::tableau(0), kEightHearts, true);
        t.append(PileRef::tableau(1), kSevenDiamonds, true);
        t.append(PileRef::tableau(3), kFiveSpades, true);
        t.append(PileRef::stock(), kKingClubs, false);
        window->table()->refresh();
    }
    // The top card of one pile dropped on another.
    void move(PileRef from, PileRef to)
    {
        const QPoint a = table()->cardRect(from, count(from) - 1).center();
        const QPoint b = table()->cardRect(to, std::max(0, count(to) - 1)).center() + QPoint(0, count(to) ? 12 : 0);
        drag(a, b);
    }
};

// Runs `act` on the first shown dialog of type T once the caller's exec() has opened it.
template <class T>
void whenShown(const std::function<void(T&)>& act)
{
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [poll, act](int triesLeft) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible()) {
                act(*d);
                return;
            }
        if (triesLeft > 0)
            QTimer::singleShot(20, [poll, triesLeft] { (*poll)(triesLeft - 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(200); });
}

void whenWizard(const std::function<void(TfrmWizardRules&)>& act) { whenShown<TfrmWizardRules>(act); }

// A data folder holding one custom game (8000, "Good One", Klondike with three redeals) and,
// when asked, a record whose base game is not in the catalog.
void writeCustomGames(const QString& data, bool withBadRecord)
{
    std::string text = "[R-0301]\r\n";
    auto record = [&](const std::string& first, const std::string& rules) {
        text += first + "\r\n" + rules + "\r\n";
        for (int i = 2; i < 30; ++i)
            text += "\r\n";
    };
    record("8000Good One" + std::string(42, ' ') + "0000", "   004          ");
    if (withBadRecord)
        record("8001Bad Base" + std::string(42, ' ') + "0999", "");
    storage::writeFileAtomic((data + QStringLiteral("GAM_CUST.DAT")).toStdString(), text);
}

template <class T>
T* child(QWidget& w, const char* name)
{
    return w.findChild<T*>(QString::fromLatin1(name));
}

QString fileText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

} // namespace

class TestRulesWizard : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setBoxAnswerHook(nullptr); }

    // Klondike with two rules changed: made in the wizard, listed and chosen at once, played under
    // its own rules, still there after a restart, explained beside Klondike, deleted with its records.
    void makePlayKeepAndDeleteAGame()
    {
        QTemporaryDir dir;
        const QString data = QDir(dir.path()).absolutePath() + QLatin1Char('/');
        QStringList boxes;
        setBoxAnswerHook([&](BoxKind, const QString& text) {
            boxes << text;
            return 0; // OK, Yes
        });
        auto w = std::make_unique<Window>();
        QVERIFY(w->open(dir.path()));

        // Klondike itself refuses both moves of the hand-built table.
        w->handBuiltTable();
        w->move(PileRef::tableau(1), PileRef::tableau(0));
        w->move(PileRef::tableau(3), PileRef::tableau(2));
        QCOMPARE(w->count(PileRef::tableau(0)), 1);
        QCOMPARE(w->count(PileRef::tableau(2)), 0);

        bool driven = false;
        whenWizard([&](TfrmWizardRules& wiz) {
            driven = true;
            wiz.checkDeals = 4;
            wiz.checkLimits.budgetMs = 300;
            QCOMPARE(wiz.windowTitle(), QStringLiteral("Rules Wizard [Klondike]"));
            QCOMPARE(wiz.baseGameId(), 0);
            QVERIFY(wiz.available().any());
            QTRY_VERIFY(!wiz.previewImage().isNull());
            wiz.next(); // Foundations
            wiz.next(); // Tableau
            QCOMPARE(wiz.page(), int(TfrmWizardRules::Tableau));
            child<QRadioButton>(wiz, "rbTableauAnySuit")->click();
            child<QRadioButton>(wiz, "rbEmptyAny")->click();
            wiz.next(); // Stock
            wiz.next(); // Redeal
            wiz.next(); // Finish
            QCOMPARE(wiz.page(), int(TfrmWizardRules::Finish));
            QTRY_VERIFY_WITH_TIMEOUT(wiz.checkFinished(), 60000);
            QVERIFY(wiz.checkText().startsWith(QStringLiteral("The solver won ")) ||
                    wiz.checkText().startsWith(QStringLiteral("No deal of these rules")));
            wiz.grab().save(testing::artifactsDir() + QStringLiteral("/rules_wizard_finish.png"));

            // The name page refuses what cannot be a game's name, with the messages to fix it.
            QLineEdit* name = child<QLineEdit>(wiz, "edtName");
            for (const char* bad : {"", "   ", "kLoNdIkE", "a/b game", "../../x"}) {
                name->setText(QString::fromLatin1(bad));
                wiz.next();
                QCOMPARE(wiz.result(), 0);
                QVERIFY(wiz.isVisible());
            }
            name->setText(QStringLiteral("Easy Street"));
            wiz.next();
        });
        QVERIFY(w->action("mnuRulesWizard"));
        w->action("mnuRulesWizard")->trigger();
        QVERIFY(driven);
        QVERIFY(boxes.contains(QStringLiteral("Please enter at least 3 characters.")));
        QVERIFY(boxes.contains(QStringLiteral("This game name already exists.")));
        QCOMPARE(boxes.count(QString::fromLatin1(catalog::kNameCharactersMessage)), 2);
        QVERIFY(boxes.contains(
            QStringLiteral("Do you want to start the new game\nEasy Street\nnow and quit the current game?")));

        // The record as the file keeps it, and the new game on the table.
        const QString file = fileText(data + QStringLiteral("GAM_CUST.DAT"));
        QVERIFY(file.startsWith(QStringLiteral("[R-0301]\r\n8000Easy Street") + QString(39, QLatin1Char(' ')) +
                                QStringLiteral("0000\r\n")));
        const QString rules = file.mid(10 + 60, 17);
        QCOMPARE(rules.mid(6, 1), QStringLiteral("2"));   // any card on an empty pile
        QCOMPARE(rules.mid(9, 3), QStringLiteral("002")); // regardless of suit
        QCOMPARE(w->core.game->currentGameId(), 8000);
        QVERIFY(w->session().flags().dealActive);
        QCOMPARE(w->window->windowTitle().contains(QStringLiteral("Easy Street")), true);

        // In the chooser at once: all games and the "Customized games" folder, the current game chosen.
        auto* chooser = w->window->findChild<ChooserCommands*>();
        TfrmOpenGame* dlg = chooser->dialog();
        dlg->prepare();
        QVERIFY(dlg->selectGame(8000));
        QVERIFY(dlg->descriptionText().contains(QStringLiteral("Customized game")));
        const catalog::CustomGame* made = catalog::FindCustomGame(w->core.game->customGames, 8000);
        QVERIFY(made);
        if (made->chanceSample > 0)
            QVERIFY(dlg->descriptionText().contains(QStringLiteral(" in %1  -  ").arg(made->chanceSample)));
        dlg->show();
        dlg->grab().save(testing::artifactsDir() + QStringLiteral("/rules_wizard_chooser.png"));
        dlg->hide();
        dlg->setView(catalog::ChooserView::Groups);
        QVERIFY(!dlg->viewTree(catalog::ChooserView::Groups)
                     ->findItems(QStringLiteral("Easy Street"), Qt::MatchExactly | Qt::MatchRecursive)
                     .isEmpty());

        // The changed rules in play: a 7 of diamonds on the 8 of hearts, a 5 on an empty pile.
        w->handBuiltTable();
        w->move(PileRef::tableau(1), PileRef::tableau(0));
        w->move(PileRef::tableau(3), PileRef::tableau(2));
        QCOMPARE(w->count(PileRef::tableau(0)), 2);
        QCOMPARE(w->count(PileRef::tableau(2)), 1);

        // Its rules help sets it beside Klondike; the link shows Klondike's own rules.
        w->action("mnuRules")->trigger();
        auto* viewer = w->window->findChild<RulesViewer*>();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Help [Easy Street]"));
        QVERIFY(viewer->text().contains(QStringLiteral("Customized game.")));
        QVERIFY(viewer->text().contains(QStringLiteral("This game comes from: Klondike")));
        QVERIFY(viewer->text().contains(QStringLiteral("Regardless of suit")));
        viewer->grab().save(testing::artifactsDir() + QStringLiteral("/rules_wizard_custom_rules_help.png"));
        emit viewer->findChild<QTextBrowser*>()->anchorClicked(QUrl(QStringLiteral("rules:0")));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Rules [Klondike]"));

        // Its own statistics, favorites, autoplay memory and comments, to be deleted with it.
        w->action("mnuQuitGame")->trigger();
        stats::StatsContext ctx;
        ctx.dataFolder = data.toStdString();
        ctx.settings = &w->core.store;
        QCOMPARE(stats::readGameStatistics(ctx, 8000, w->core.game->player()).record.lost, 1);
        storage::IniFile& ini = *w->core.settingsFile;
        std::vector<catalog::FavoriteNode> favs;
        catalog::InsertFavoriteGame(favs, -1, 8000, "Easy Street");
        catalog::InsertFavoriteGame(favs, -1, 0, "Klondike");
        catalog::SaveFavoritesTree(ini, favs);
        w->core.game->rememberAutoplay(8000, false);
        QVERIFY(QFile(data + QStringLiteral("Comments_Easy Street.rtf")).open(QIODevice::WriteOnly));
        QVERIFY(catalog::ReadLastPlayedGames(ini).front() == 8000);

        // A restart finds it again, with its rules.
        w.reset();
        w = std::make_unique<Window>();
        QVERIFY(w->open(dir.path(), "8000"));
        QCOMPARE(w->core.game->gameName(8000), std::string("Easy Street"));
        QCOMPARE(w->core.game->currentGameId(), 8000);
        QCOMPARE(w->core.game->rules.tableauSuitRule(0), 2);
        QCOMPARE(w->core.game->rules.tableauEmptyRule(0), -1);

        // Deleted from the chooser while it is being played.
        boxes.clear();
        bool deleted = false;
        QTimer::singleShot(0, [&] {
            auto* d = w->window->findChild<TfrmOpenGame*>();
            if (!d)
                return;
            d->setView(catalog::ChooserView::AllGames);
            QVERIFY(d->selectGame(8000));
            auto* del = child<QPushButton>(*d, "btnDelete");
            QVERIFY(del && del->isVisible() && del->isEnabled());
            del->click();
            deleted = !catalog::FindCustomGame(w->core.game->customGames, 8000);
            d->reject();
        });
        w->action("mnuOpen")->trigger();
        QVERIFY(deleted);
        QVERIFY(boxes.contains(QStringLiteral("You are now playing Easy Street.\nAre you sure you want to delete "
                                              "this game?\nNote: the statistics for this game will also be deleted.")));
        QVERIFY(!fileText(data + QStringLiteral("GAM_CUST.DAT")).contains(QStringLiteral("Easy Street")));
        QVERIFY(w->core.game->currentGameId() != 8000);
        ctx.settings = &w->core.store;
        QCOMPARE(stats::readGameStatistics(ctx, 8000, w->core.game->player()).record.lost, 0);
        storage::IniFile& ini2 = *w->core.settingsFile;
        const auto favorites = catalog::FavoriteGameIds(catalog::ReadFavorites(ini2));
        QCOMPARE(favorites, std::vector<int>{0});
        QVERIFY(!ini2.hasKey("Autoplay", "Cust_8000"));
        const auto last = catalog::ReadLastPlayedGames(ini2);
        QVERIFY(std::find(last.begin(), last.end(), 8000) == last.end());
        QVERIFY(!QFile::exists(data + QStringLiteral("Comments_Easy Street.rtf")));
    }

    // A damaged custom games file: the good record is played, one message names the file and the bad one.
    void damagedFileIsNamedOnceAndKept()
    {
        QTemporaryDir dir;
        const QString data = QDir(dir.path()).absolutePath() + QLatin1Char('/');
        writeCustomGames(data, true);
        QStringList boxes;
        setBoxAnswerHook([&](BoxKind, const QString& t) {
            boxes << t;
            return 0;
        });
        Window w;
        QVERIFY(w.open(dir.path()));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].contains(data + QStringLiteral("GAM_CUST.DAT")));
        QVERIFY(boxes[0].contains(QStringLiteral("record 2 (line 32) \"Bad Base\": the base game 999")));
        QCOMPARE(w.core.game->gameName(8000), std::string("Good One"));
        QVERIFY(w.core.game->gameName(8001).empty());
        // A new game takes the next free id and the bad record stays in the file.
        QVERIFY(catalog::SaveNewCustomGame(data.toStdString(), {"Third", 0, std::string(17, ' ')}));
        const QString after = fileText(data + QStringLiteral("GAM_CUST.DAT"));
        QVERIFY(after.contains(QStringLiteral("8001Bad Base")));
        QVERIFY(after.contains(QStringLiteral("8002Third")));
    }

    // The wizard opened on a custom game starts from its rules and can delete it; the chooser follows.
    void deleteFromTheWizard()
    {
        QTemporaryDir dir;
        const QString data = QDir(dir.path()).absolutePath() + QLatin1Char('/');
        writeCustomGames(data, false);
        QStringList boxes;
        setBoxAnswerHook([&](BoxKind, const QString& t) {
            boxes << t;
            return 0;
        });
        Window w;
        QVERIFY(w.open(dir.path(), "8000"));
        QCOMPARE(w.core.game->currentGameId(), 8000);
        bool chooserShown = false;
        whenWizard([&](TfrmWizardRules& wiz) {
            QCOMPARE(wiz.baseGameId(), 0);
            QCOMPARE(wiz.choices().deals, 4); // the custom game's own rule (three redeals), not Klondike's
            QCOMPARE(child<QLineEdit>(wiz, "edtName")->text(), QStringLiteral("Good One"));
            whenShown<TfrmOpenGame>([&](TfrmOpenGame& chooser) {
                chooserShown = true;
                chooser.reject();
            });
            auto* del = child<QPushButton>(wiz, "btnDelete");
            QVERIFY(del && del->isVisible());
            del->click();
        });
        w.action("mnuRulesWizard")->trigger();
        QVERIFY(chooserShown);
        QVERIFY(boxes.contains(QStringLiteral("Are you sure you want to delete this customized game\nGood One?\n"
                                              "Note: the statistics for this game will also be deleted.")));
        QVERIFY(w.core.game->customGames.empty());
        QCOMPARE(w.core.game->currentGameId(), -1);
    }

    // A game whose rules offer no change: the first Next says so and stays; cancelling a running
    // check closes the wizard at once.
    void gameWithoutOptionsAndCancel()
    {
        QTemporaryDir dir;
        Window w;
        QVERIFY(w.open(dir.path()));
        int fixed = -1;
        for (const catalog::GameEntry& e : w.core.game->gameList.entries()) {
            auto rules = w.core.game->loadRules(e.id);
            if (e.usable && rules && !catalog::CustomizableOptions(*rules).any() && rules->cardsInPlay() > 0) {
                fixed = e.id;
                break;
            }
        }
        QStringList boxes;
        setBoxAnswerHook([&](BoxKind, const QString& t) {
            boxes << t;
            return 0;
        });
        bool driven = false;
        whenWizard([&](TfrmWizardRules& wiz) {
            driven = true;
            if (fixed >= 0) {
                wiz.setBaseGame(fixed);
                wiz.next();
                QCOMPARE(wiz.page(), int(TfrmWizardRules::Start));
                wiz.setBaseGame(0);
            }
            for (int i = 0; i < 5; ++i)
                wiz.next();
            QCOMPARE(wiz.page(), int(TfrmWizardRules::Finish));
            QVERIFY(!wiz.checkFinished());
            QTest::mouseClick(child<QPushButton>(wiz, "btnCancel"), Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        w.action("mnuRulesWizard")->trigger();
        QVERIFY(driven);
        QVERIFY(clock.elapsed() < 20000);
        if (fixed >= 0)
            QVERIFY(boxes.contains(QStringLiteral("The game %1 can't be customized.")
                                       .arg(QString::fromStdString(w.core.game->gameName(fixed)))));
        QVERIFY(!QFile::exists(QDir(dir.path()).absoluteFilePath(QStringLiteral("GAM_CUST.DAT"))));
    }
};

QTEST_MAIN(TestRulesWizard)
#include "test_rules_wizard.moc"
