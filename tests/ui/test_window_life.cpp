// The window through a deal's life as a new player meets it: the table is always a live deal or
// clearly empty, the commands say what can be done, stored places and long names stay in reach,
// and the small dialogs show what they should.
#include "engine/session.h"
#include "storage/players.h"
#include "ui/fast_search.h"
#include "ui/game_number_dialog.h"
#include "ui/main_window_host.h"
#include "ui/main_window_status.h"
#include "ui/message_boxes.h"
#include "ui/open_game_dialog.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/players_dialog.h"
#include "ui/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

#include "storage/ini_file.h"
#include "storage/settings_store.h"

using namespace cw;
using namespace cw::ui;

namespace {

// Answers the next modal window with fn, then closes it (Cancel unless fn accepted it).
struct ModalWatch {
    QTimer timer;
    bool seen = false;
    QString seenClass;
    explicit ModalWatch(std::function<void(QWidget*)> fn = {})
    {
        QObject::connect(&timer, &QTimer::timeout, [this, fn] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || seen)
                return;
            seen = true;
            seenClass = QString::fromLatin1(w->metaObject()->className());
            if (fn)
                fn(w);
            if (w->isVisible())
                w->close();
        });
        timer.start(20);
    }
};

struct Fixture : testing::WindowFixture {
    std::vector<QString> boxes;
    Fixture()
    {
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            boxes.push_back(text);
            return 0; // OK / Yes
        });
    }
    ~Fixture() { setBoxAnswerHook({}); }
    QAction* action(const char* name)
    {
        QAction* a = window->command(QString::fromLatin1(name));
        return a ? a : window->findChild<QAction*>(QString::fromLatin1(name));
    }
    ChooserCommands& chooser() { return *window->findChild<ChooserCommands*>(); }
    // The value of the toolbar's "Score:" or "Time:" panel.
    QString label(const char* panel, const char* name)
    {
        return window->findChild<QWidget*>(QString::fromLatin1(panel))
            ->findChild<QLabel*>(QString::fromLatin1(name))
            ->text();
    }
    // A move and its undo, as the player makes them: Redo has something to do.
    void moveAndUndo()
    {
        action("keyStock")->trigger();
        action("mnuUndo")->trigger();
        QVERIFY(action("mnuRedo")->isEnabled());
    }
};

} // namespace

class TestWindowLife : public QObject {
    Q_OBJECT

private slots:
    // A new deal has nothing to undo or redo, however it came: Undo and Redo are off.
    void newDealsStartWithoutUndo_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("new game") << "new";
        QTest::newRow("select a game number") << "number";
        QTest::newRow("two players mode") << "two players";
        QTest::newRow("open a saved game") << "open";
    }
    void newDealsStartWithoutUndo()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        const QString saved = dir.path() + QStringLiteral("/saved.gam");
        if (how == QLatin1String("open"))
            QVERIFY(f.session().save(saved.toStdString()));
        f.moveAndUndo();
        if (how == QLatin1String("new")) {
            f.action("mnuNew")->trigger();
        } else if (how == QLatin1String("number")) {
            ModalWatch watch([](QWidget* w) {
                auto* dialog = qobject_cast<GameNumberDialog*>(w);
                QVERIFY(dialog);
                dialog->numberBox()->setEditText(QStringLiteral("777"));
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->text() == QLatin1String("Play &this game"))
                        b->click();
            });
            f.action("mnuSelectGameNumber")->trigger();
            QVERIFY(watch.seen);
            QVERIFY(QString::fromStdString(f.session().state().gameNumber).endsWith(QStringLiteral("777")));
        } else if (how == QLatin1String("two players")) {
            f.session().startTwoPlayersMode({"Ann", "Ben", false, false, false});
        } else {
            QVERIFY(f.session().open(saved.toStdString()));
        }
        QVERIFY(f.session().flags().dealActive);
        // (A deal that autoplay starts on has its autoplay step to undo.)
        QCOMPARE(f.action("mnuUndo")->isEnabled(), f.session().canUndo());
        QVERIFY(!f.action("mnuRedo")->isEnabled());
        // The first move makes Undo available.
        f.action("keyStock")->trigger();
        QVERIFY(f.action("mnuUndo")->isEnabled());
    }

    // "Quit game": the table is cleared, score and time start from nothing and the chooser opens.
    // Cancelled, the table stays clearly empty and New game deals again.
    void quitGameOpensTheChooser()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        QVERIFY(f.session().stockClick());
        f.window->showScore(25);
        ModalWatch watch;
        f.action("mnuQuitGame")->trigger();
        QCOMPARE(f.label("pnlScore", "lblScore"), QStringLiteral("0"));
        QCOMPARE(f.label("pnlTime", "lblTime"), QStringLiteral("0:00:00"));
        QTRY_VERIFY(watch.seen);
        QCOMPARE(watch.seenClass, QStringLiteral("cw::ui::TfrmOpenGame"));
        QVERIFY(!f.session().flags().dealActive);
        QVERIFY(!f.action("mnuUndo")->isEnabled() && !f.action("mnuRestart")->isEnabled());
        QVERIFY(f.action("mnuNew")->isEnabled());
        f.action("mnuNew")->trigger();
        QVERIFY(f.session().flags().dealActive);
    }

    // File > Players, another player selected, the chooser cancelled: the table is not the old
    // player's dead deal but a live deal for the new player (clock running, stock answering).
    void switchingPlayerLeavesALiveTable()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        QVERIFY(f.session().stockClick());
        const std::string before = f.core.game->player();
        std::string chosen;
        {
            ModalWatch players([&](QWidget* w) {
                auto* dialog = qobject_cast<PlayersDialog*>(w);
                QVERIFY(dialog);
                for (int i = 0; i < dialog->list()->count(); ++i)
                    if (dialog->list()->item(i)->text().toStdString() != before) {
                        dialog->list()->setCurrentRow(i);
                        chosen = dialog->list()->item(i)->text().toStdString();
                        break;
                    }
                dialog->selectPlayer();
            });
            f.window->findChild<QAction*>(QStringLiteral("mnuPlayers"))->trigger();
            QVERIFY(players.seen);
        }
        QVERIFY(!chosen.empty());
        ModalWatch chooser; // cancelled
        QTRY_VERIFY(chooser.seen);
        QCOMPARE(chooser.seenClass, QStringLiteral("cw::ui::TfrmOpenGame"));
        QTRY_VERIFY(f.session().flags().dealActive);
        QCOMPARE(f.core.game->player(), chosen);
        QVERIFY(f.session().flags().clockRunning);
        QVERIFY(f.action("mnuRestart")->isEnabled());
        QVERIFY(!f.action("mnuUndo")->isEnabled());
        QVERIFY(f.session().stockClick());
        // The old player's game was recorded as theirs, and only once.
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QCOMPARE(f.sink.records[0].player, before);
    }

    // A stored place from another screen is brought onto this one.
    void storedPlaceIsClampedToTheScreen_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("expected");
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("fits") << QRect(50, 50, 800, 600) << QRect(50, 50, 800, 600);
        QTest::newRow("off to the right") << QRect(2500, 50, 800, 600) << QRect(480, 50, 800, 600);
        QTest::newRow("above and left") << QRect(-900, -300, 800, 600) << QRect(0, 0, 800, 600);
        QTest::newRow("larger than the screen") << QRect(10, 10, 3000, 2000) << screen;
    }
    void storedPlaceIsClampedToTheScreen()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, expected);
        QCOMPARE(clampToScreen(wanted, QRect(0, 0, 1280, 1024)), expected);
    }

    // The window itself, given "MainWindowState_Left=2500", opens on the screen.
    void windowOpensOnTheScreen()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        storage::IniFile& ini = *f.core.game->settingsFile;
        ini.writeString(storage::kPreferenceSection, "MainWindowState_Maximized", "N");
        ini.writeString(storage::kPreferenceSection, "MainWindowState_Left", "2500");
        ini.writeString(storage::kPreferenceSection, "MainWindowState_Top", "40");
        ini.writeString(storage::kPreferenceSection, "MainWindowState_Width", "700");
        ini.writeString(storage::kPreferenceSection, "MainWindowState_Height", "500");
        f.window->restoreWindowState();
        const QRect avail = f.window->screen()->availableGeometry();
        QVERIFY(avail.contains(QRect(f.window->pos(), f.window->size())));
    }

    // A 200-character player name: the chooser keeps its buttons within the screen, and the game
    // starts for the whole name.
    void longPlayerNameKeepsTheChooserInReach()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        TfrmOpenGame* chooser = f.chooser().dialog();
        chooser->prepare();
        const int usual = chooser->sizeHint().width();
        // A player list from another program may hold any name; the current player's column holds 30.
        const std::string longName(200, 'W');
        std::vector<std::string> players = storage::readPlayerSlots(*f.core.game->settingsFile);
        players.push_back(longName);
        storage::writePlayerSlots(*f.core.game->settingsFile, players);
        chooser->prepare();
        chooser->fillPlayerBox(longName);
        chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(chooser));
        QCOMPARE(chooser->sizeHint().width(), usual);
        QVERIFY2(chooser->width() <= 1000, qPrintable(QString::number(chooser->width())));
        for (QPushButton* b : chooser->findChildren<QPushButton*>())
            if (b->text() == QLatin1String("OK") || b->text() == QLatin1String("Cancel"))
                QVERIFY(chooser->rect().contains(QRect(b->mapTo(chooser, QPoint(0, 0)), b->size())));
        QCOMPARE(chooser->chosenPlayer(), longName);
        // The description keeps its width from game to game.
        auto* pane = chooser->findChild<QWidget*>(QStringLiteral("pnlDescription"));
        QVERIFY(pane);
        const int width = pane->width();
        for (int id : {0, 1, 2, 18}) {
            chooser->selectGame(id);
            QCoreApplication::processEvents();
            QCOMPARE(pane->width(), width);
        }
        chooser->reject();
    }

    // Searching "Klondike" puts Klondike itself first, then the names that begin with it, then the
    // others that contain it; the best match is selected. An empty search gives the list back.
    void searchPutsTheBestMatchFirst()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        TfrmOpenGame* chooser = f.chooser().dialog();
        chooser->prepare();
        chooser->setView(catalog::ChooserView::AllGames);
        QTreeWidget* tree = chooser->viewTree(catalog::ChooserView::AllGames);
        QStringList before;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            before << tree->topLevelItem(i)->text(0);
        chooser->searchBox()->setText(QStringLiteral("klondike"));
        QStringList shown;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (!tree->topLevelItem(i)->isHidden())
                shown << tree->topLevelItem(i)->text(0);
        QVERIFY(shown.size() > 2);
        QCOMPARE(shown.first(), QStringLiteral("Klondike"));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Klondike"));
        const qsizetype firstOther = shown.indexOf(QRegularExpression(QStringLiteral("^(?!Klondike).*")));
        for (qsizetype i = firstOther; i >= 0 && i < shown.size(); ++i)
            QVERIFY2(!shown[i].startsWith(QStringLiteral("Klondike")), qPrintable(shown.join(", ")));
        chooser->searchBox()->clear();
        QStringList after;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            after << tree->topLevelItem(i)->text(0);
        QCOMPARE(after, before);
    }

    // "Select a game number": the box holds the current number, the previous games come newest
    // first with the number whole, and from the chooser the dialog shows the chooser's game.
    void gameNumberDialogShowsWhatItShould()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        // Three games in the log: the newest is the last line.
        QFile log(dir.path() + QStringLiteral("/Stat_log.dat"));
        QVERIFY(log.open(QIODevice::WriteOnly));
        auto line = [](const char* date, const char* number) {
            QByteArray l = QByteArray(date) + ' ' + QByteArray("12:00:00");
            l = l.leftJustified(30, ' ') + QByteArray("Klondike").leftJustified(51, ' ');
            l += QByteArray("Player 1").leftJustified(31, ' ') + QByteArray("Lost");
            l = l.leftJustified(126, ' ') + QByteArray(number).rightJustified(15, ' ');
            return l + "\r\n";
        };
        log.write(line("20260101", "1111111111111"));
        log.write(line("20260202", "2222222222222"));
        log.write(line("20260303", "3333333333333"));
        log.close();
        GameNumberDialog dialog(*f.core.game, f.window.get());
        QCOMPARE(dialog.numberBox()->currentText().toStdString(), f.session().state().gameNumber);
        dialog.pages()->setCurrentIndex(1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget* grid = dialog.previousGrid();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("3333333333333"));
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("1111111111111"));
        const int needed = grid->fontMetrics().horizontalAdvance(QStringLiteral("3333333333333"));
        QVERIFY(grid->columnWidth(0) >= needed);
        dialog.reject();

        GameNumberDialog fromChooser(*f.core.game, f.window.get(), 1);
        QCOMPARE(fromChooser.gameBox()->currentText().toStdString(), f.core.game->gameName(1));
    }

    // A family's highlight waits for the cards moving before it, as information boxes do; a new
    // game forgets it.
    void highlightWaitsForTheAnimations()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        const int code = f.top(engine::PileRef::tableau(6));
        f.table()->pauseAnimations(60000); // cards still flying
        QVERIFY(f.table()->animating());
        f.window->windowHost().highlight(code, true);
        QVERIFY(!f.table()->cardHighlighted(code));
        f.table()->finishAnimations();
        QVERIFY(f.table()->cardHighlighted(code));
        const QImage lit = f.table()->grabTable();
        f.window->windowHost().highlight(code, false);
        QVERIFY(!f.table()->cardHighlighted(code));
        QVERIFY(f.table()->grabTable() != lit);
        f.window->windowHost().highlight(code, true);
        f.action("mnuNew")->trigger();
        QVERIFY(!f.table()->cardHighlighted(code));
    }

    // The redeals panel is wide enough for its longest text; a press on the table sends FastSearch
    // away unless it stays on top.
    void statusPanelsAndFastSearch()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        auto* redeals = f.window->findChild<StatusPanel*>(QStringLiteral("pnlStatus4"));
        QVERIFY(redeals->width() >= redeals->fontMetrics().horizontalAdvance(QStringLiteral("Unlimited redeals")) + 4);
        f.chooser().showFastSearch();
        FastSearchWindow* fast = f.chooser().fastSearch();
        QVERIFY(fast && fast->isVisible());
        QVERIFY(!fast->stayOnTop());
        const QPoint bare(5, f.table()->height() - 5);
        QTest::mousePress(f.table(), Qt::LeftButton, {}, bare);
        QTest::mouseRelease(f.table(), Qt::LeftButton, {}, bare);
        QVERIFY(!fast->isVisible());
    }
};

QTEST_MAIN(TestWindowLife)
#include "test_window_life.moc"
