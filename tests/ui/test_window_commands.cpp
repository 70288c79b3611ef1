// Window commands: two-players mode (the dialog, the turns, the results under the right player,
// the quit question) and the table pop-up's card set, deck and background choices.
#include "ui/message_boxes.h"
#include "ui/table_widget_popup.h"
#include "ui/toolbar_icons.h"
#include "ui/two_players_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
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
        int buttons = 0;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator() || a->iconText().isEmpty() || qobject_cast<QWidgetAction*>(a))
                continue;
            const QString name = a->objectName() == QLatin1String("tbSave_Small") ? QStringLiteral("mnuSave")
                                                                                   : a->objectName();
            QVERIFY2(toolbarIconNames().contains(name), qPrintable(name));
            QVERIFY(!a->icon().isNull());
            QCOMPARE(a->icon().pixmap(24).toImage(), toolbarIcon(name).pixmap(24).toImage());
            ++buttons;
        }
        QVERIFY(buttons >= 7);
        bar->grab().save(testing::artifactsDir() + QStringLiteral("/toolbar.png"));
    }

    // The pop-up's three picture menus list what can be drawn, apply a choice at once and keep it
    // for the next start.
    void popupChangesCardSetDeckAndBackground()
    {
        QTemporaryDir dir;
        int deck = 0, background = 0, cardSet = 0;
        {
            testing::WindowFixture f;
            QVERIFY(f.open(dir.path()));
            auto* commands = f.window->findChild<PictureChoiceCommands*>();
            QVERIFY(commands);
            // In the table's pop-up, before "Pause".
            QMenu* popup = nullptr;
            for (QMenu* m : f.window->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
                for (QAction* a : m->actions())
                    if (a->objectName() == QLatin1String("mnuPause"))
                        popup = m;
            QVERIFY(popup);
            QStringList captions;
            for (QAction* a : popup->actions())
                if (!a->isSeparator())
                    captions << a->text();
            const qsizetype at = captions.indexOf(QStringLiteral("Change card set"));
            QVERIFY(at >= 0);
            QCOMPARE(captions.mid(at - 1, 5),
                     (QStringList{QStringLiteral("Favorite games..."), QStringLiteral("Change card set"),
                                  QStringLiteral("Change deck"), QStringLiteral("Change background"),
                                  QStringLiteral("P&ause")}));

            struct Case {
                QMenu* menu;
                int* chosen;
                std::function<int()> shown;
                const char* key;
            };
            const Case cases[] = {
                {commands->cardSetMenu(), &cardSet, [&] { return f.table()->settings().cardSet; }, "Card"},
                {commands->deckMenu(), &deck, [&] { return f.table()->settings().deck; }, "Back_Card"},
                {commands->backgroundMenu(), &background, [&] { return f.table()->settings().background.number; },
                 "Background_bmp"},
            };
            for (const Case& c : cases) {
                const QList<QAction*> items = c.menu->actions();
                QVERIFY2(items.size() > 1, qPrintable(c.menu->title()));
                QCOMPARE(std::count_if(items.begin(), items.end(), [](QAction* a) { return a->isChecked(); }), 1);
                // The last item is never the default one.
                QAction* pick = items.back();
                QVERIFY(!pick->isChecked());
                const QImage before = f.table()->grabTable();
                pick->trigger();
                *c.chosen = pick->data().toInt();
                QVERIFY(pick->isChecked());
                QCOMPARE(c.shown(), *c.chosen);
                QCOMPARE(std::atoi(f.core.game->preference(c.key).c_str()), *c.chosen);
                QVERIFY2(f.table()->grabTable() != before, qPrintable(c.menu->title()));
            }
            QCOMPARE(f.core.game->preference("Background_def"), std::string("N"));
            f.shoot(QStringLiteral("main_window_other_pictures.png"));
        }
        // The next start shows the same pictures.
        testing::WindowFixture again;
        QVERIFY(again.open(dir.path()));
        QCOMPARE(again.table()->settings().deck, deck);
        QCOMPARE(again.table()->settings().cardSet, cardSet);
        QCOMPARE(again.table()->settings().background.number, background);
        QVERIFY(!again.table()->settings().background.useDefault);
        // "Green (default)" is a setting of its own.
        auto* commands = again.window->findChild<PictureChoiceCommands*>();
        commands->backgroundMenu()->actions().front()->trigger();
        QCOMPARE(again.core.game->preference("Background_def"), std::string("Y"));
        QVERIFY(again.table()->settings().background.useDefault);
    }
};

QTEST_MAIN(TestWindowCommands)
#include "test_window_commands.moc"
