// Window commands: two-players mode (the dialog, the turns, the results under the right player,
// the quit question) and the table pop-up's card set, deck and background choices.
#include "ui/message_boxes.h"
#include "ui/toolbar_icons.h"
#include "ui/two_players_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWidgetAction>

#include <functional>

#include "ui/window_fixture.h"

using namespace cw;
using namespace cw::ui;

class TestWindowCommands : public QObject {
    Q_OBJECT

    std::vector<QString> m_boxes;
    int m_confirmAnswer = 0;  // OK

private slots:
    void init()
    {
        m_boxes.clear();
        m_confirmAnswer = 0;
        setBoxAnswerHook([this](BoxKind kind, const QString& text) {
            m_boxes.push_back(text);
            return kind == BoxKind::Confirmation ? m_confirmAnswer : 0;
        });
    }
    void cleanup() { setBoxAnswerHook({}); }

    // Save and Open start in a folder that exists: "Dir_Save" while it does, else the documents
    // folder, else home. A folder that does not exist would be offered as the file name
    // ("Documents" -> ~/Documents.gam).
    void savedGamesFolderExists_data()
    {
        QTest::addColumn<QString>("dirSave"); // relative to the home folder; "" none
        QTest::addColumn<QString>("expected");
        QTest::newRow("none stored, no documents folder") << ""
                                                          << "";
        QTest::newRow("stored folder gone") << "Documents/"
                                            << "";
        QTest::newRow("stored folder exists") << "games"
                                              << "games/";
    }
    void savedGamesFolderExists()
    {
        QFETCH(QString, dirSave);
        QFETCH(QString, expected);
        QTemporaryDir data;
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("games")));
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldDocuments = qgetenv("XDG_DOCUMENTS_DIR");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
        qunsetenv("XDG_DOCUMENTS_DIR");
        testing::WindowFixture f;
        QVERIFY(f.open(data.path()));
        f.core.game->setPreference("Dir_Save",
                                   dirSave.isEmpty() ? std::string() : (home.path() + '/' + dirSave).toStdString());
        const QString folder = savedGamesFolder(*f.core.game);
        qputenv("HOME", oldHome);
        for (const auto& [name, value] :
             {std::pair{"XDG_DOCUMENTS_DIR", oldDocuments}, std::pair{"XDG_CONFIG_HOME", oldConfig}}) {
            if (value.isEmpty())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
        QCOMPARE(folder, home.path() + '/' + expected);
        QVERIFY(QFileInfo(folder).isDir());
    }

    void dialogRefusesOnePlayerTwice()
    {
        TwoPlayersDialog dialog({"Ann", "Ben", "Cy"}, {"Ben", "Cy", true, false, true});
        QCOMPARE(dialog.player1Box()->currentText(), QStringLiteral("Ben"));
        QCOMPARE(dialog.player2Box()->currentText(), QStringLiteral("Cy"));
        QVERIFY(dialog.sameGameNumberBox()->isChecked());
        QVERIFY(!dialog.showSituationBox()->isChecked());
        QVERIFY(dialog.confirmNewGameBox()->isChecked());
        dialog.grab().save(testing::artifactsDir() + QStringLiteral("/two_players_dialog.png"));

        dialog.player2Box()->setCurrentText(QStringLiteral("Ben"));
        dialog.playButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_boxes.size(), std::size_t(1));

        dialog.player2Box()->setCurrentText(QStringLiteral("Ann"));
        dialog.showSituationBox()->setChecked(true);
        dialog.playButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const engine::TwoPlayersSetup s = dialog.setup();
        QCOMPARE(s.player1, std::string("Ben"));
        QCOMPARE(s.player2, std::string("Ann"));
        QVERIFY(s.sameGameNumber && s.showSituation && s.confirmNewGame);
    }

    void turnsAlternateAndResultsGoToThePlayerWhoPlayed()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        const std::string first = f.core.game->player();
        auto* commands = f.window->findChild<TwoPlayersCommands*>();
        QVERIFY(commands);
        auto* start = f.window->findChild<QAction*>(QStringLiteral("mnuTwoPlayersStart"));
        auto* quit = f.window->findChild<QAction*>(QStringLiteral("mnuTwoPlayersQuit"));
        QVERIFY(start && quit);
        // The sub-menu sits in the Game menu.
        auto* menu = f.window->findChild<QMenu*>(QStringLiteral("mnuTwoPlayers"));
        QVERIFY(menu && menu->title() == QStringLiteral("T&wo Players Mode"));
        QVERIFY(!quit->isEnabled());

        // The dialog offers the current player first; "Play" with player 2 and player 3.
        engine::TwoPlayersSetup offered;
        commands->chooseSetup = [&](const engine::TwoPlayersSetup& initial) {
            offered = initial;
            return std::optional<engine::TwoPlayersSetup>({"Player 2", "Player 3", false, true, false});
        };
        start->trigger();
        QCOMPARE(offered.player1, first);
        QVERIFY(!offered.player2.empty() && offered.player2 != first);
        QCOMPARE(f.core.game->preference("Two_Players_Mode_Player_1"), std::string("Player 2"));
        QCOMPARE(f.core.game->preference("Two_Players_Mode_Show_Situation"), std::string("Y"));
        QCOMPARE(f.core.game->preference("Two_Players_Mode_Same_Game_Num"), std::string("N"));
        QVERIFY(std::count(m_boxes.begin(), m_boxes.end(), QStringLiteral("Now play: Player 2")) == 1);
        QVERIFY(f.window->windowTitle().contains(QStringLiteral("[Player 2]")));
        // The game abandoned by "Play" was the first player's.
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QCOMPARE(f.sink.records[0].player, first);

        // F2: player 2's deal is recorded under their name, player 3 is announced; then back.
        const struct {
            const char* recorded;
            const char* next;
        } turns[] = {{"Player 2", "Player 3"}, {"Player 3", "Player 2"}};
        for (const auto& t : turns) {
            m_boxes.clear();
            f.window->command(QStringLiteral("mnuNew"))->trigger();
            QCOMPARE(f.sink.records.back().player, std::string(t.recorded));
            QVERIFY(std::count(m_boxes.begin(), m_boxes.end(), QStringLiteral("Now play: ") + QLatin1String(t.next)) == 1);
            QVERIFY(f.window->windowTitle().contains(QStringLiteral("[%1]").arg(QLatin1String(t.next))));
        }
        // The stored choices come back the next time.
        QCOMPARE(commands->storedSetup().player2, std::string("Player 3"));

        // Quit asks first; Cancel keeps the mode, OK ends it.
        emit menu->aboutToShow();
        QVERIFY(quit->isEnabled());
        m_confirmAnswer = 1;
        quit->trigger();
        QVERIFY(f.session().current().twoPlayersTurn != 0);
        m_confirmAnswer = 0;
        m_boxes.clear();
        quit->trigger();
        QCOMPARE(m_boxes, std::vector<QString>{QStringLiteral("Quit Two Players Mode?")});
        QCOMPARE(f.session().current().twoPlayersTurn, 0);
        QVERIFY(!quit->isEnabled());
        m_boxes.clear();
        f.window->command(QStringLiteral("mnuNew"))->trigger();
        for (const QString& box : m_boxes)
            QVERIFY2(!box.startsWith(QStringLiteral("Now play")), qPrintable(box));
    }

    // The toolbar shows our own pictures, one for each of its commands.
    void toolbarButtonsHaveTheirOwnIcons()
    {
        QTemporaryDir dir;
        testing::WindowFixture f;
        QVERIFY(f.open(dir.path()));
        auto* bar = f.window->findChild<QToolBar*>(QStringLiteral("tbMain"));
        QVERIFY(bar);
        QStringList buttons;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator() || a->iconText().isEmpty() || qobject_cast<QWidgetAction*>(a))
                continue;
            const QString name = a->objectName() == QLatin1String("tbSave_Small") ? QStringLiteral("mnuSave")
                                                                                   : a->objectName();
            QVERIFY2(toolbarIconNames().contains(name), qPrintable(name));
            QVERIFY(!a->icon().isNull());
            QCOMPARE(a->icon().pixmap(24).toImage(), toolbarIcon(name).pixmap(24).toImage());
            buttons << name;
        }
        // The buttons the menus have, in their order (each calls the menu command of the same name), then
        // the full-screen restore button at the row's end.
        const QStringList expected{"mnuNew",      "mnuOpen",           "mnuRestart", "mnuSave", "mnuUndo",  "mnuRedo",
                                   "mnuAutoplay", "mnuGameStatistics", "mnuRules",   "mnuExit", "tbRestore"};
        QCOMPARE(buttons, expected);
        bar->grab().save(testing::artifactsDir() + QStringLiteral("/toolbar.png"));
    }
};

QTEST_MAIN(TestWindowCommands)
#include "test_window_commands.moc"
