// Tests of the game demo in its window: the moves it plays through the session, Pause, Stop, Close, the hint's pointer, and a screenshot.
#include "engine/session.h"

#include "tutor_test_support.h"

#include <QLabel>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "storage/ini_file.h"
#include "storage/preferences.h"

using namespace cw;
using namespace cw::ui;
using engine::Move;
using engine::MoveKind;
using engine::PileRef;
using testing::card;

class TestDemoWindow : public QObject {
    Q_OBJECT

private slots:
    // The demo plays a real Klondike deal through the session: the counter follows the moves,
    // Pause holds it, Play after Stop goes on, and undo takes every demo move back.
    void demoPlaysThroughTheSession()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        const engine::Table dealt = f.tableState();
        const int depth = f.session().undoDepth();
        QVERIFY(f.action("mnuDemo")->isEnabled());

        f.action("mnuDemo")->trigger();
        QVERIFY(f.demo() && f.demo()->isVisible());
        QVERIFY(!f.action("mnuDemo")->isEnabled());
        QVERIFY(f.demo()->playDown());
        QCOMPARE(f.session().state().tutorMode, engine::kTutorDemo);
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() >= 3, 20000);
        QVERIFY(!f.demo()->description().isEmpty());

        // Pause: tutor mode 0, the labels greyed, no step is waiting.
        f.demo()->pauseButton()->click();
        QCOMPARE(f.session().state().tutorMode, 0);
        QVERIFY(!f.demo()->findChild<QLabel*>(QStringLiteral("lblMoveNumber"))->isEnabled());
        QVERIFY(!f.tutor().playing());
        const int paused = f.demoCount();
        QCOMPARE(f.session().undoDepth() - depth, paused);

        // Released, it plays on.
        f.demo()->pauseButton()->click();
        QVERIFY(f.demo()->findChild<QLabel*>(QStringLiteral("lblMoveNumber"))->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() >= paused + 2, 20000);

        // Stop: both buttons up, tutor mode 0; Play starts it again.
        f.demo()->stopButton()->click();
        QVERIFY(!f.demo()->playDown() && !f.demo()->pauseDown());
        QCOMPARE(f.session().state().tutorMode, 0);
        const int stopped = f.demoCount();
        f.demo()->playButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() > stopped, 20000);
        f.demo()->stopButton()->click();

        // Every demo move was an ordinary move of the session: undo takes them all back.
        const int moves = f.session().undoDepth() - depth;
        QCOMPARE(moves, f.demoCount());
        for (int i = 0; i < moves; ++i)
            QVERIFY(f.session().undo());
        QVERIFY(f.tableState() == dealt);
    }

    // With the cards flying, Pause pressed during a move's flight holds the demo after that move.
    void pauseDuringAFlight()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        TableSettings animated = f.table()->settings();
        animated.animate = true;
        f.table()->setSettings(animated);
        QTimer watch;
        bool pressed = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!pressed && f.table()->animating() && f.demoCount() >= 1) {
                pressed = true;
                f.demo()->pauseButton()->click();
            }
        });
        watch.start(1);
        f.action("mnuDemo")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(pressed && !f.table()->animating(), 30000);
        watch.stop();
        QVERIFY(f.demo()->pauseDown());
        QVERIFY(!f.tutor().playing());
        QVERIFY(!f.tutor().stepPending());
        QCOMPARE(f.session().state().tutorMode, 0);
        // Released, it plays on.
        const int count = f.demoCount();
        f.demo()->pauseButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() > count, 30000);
        f.demo()->stopButton()->click();
    }

    // What ends a running demo, and what the window and the menu show afterwards.
    void demoEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("windowShown");
        QTest::newRow("press on the table") << "press" << true;
        QTest::newRow("M shows a legal move") << "hint" << false;
        QTest::newRow("Close") << "close" << false;
        QTest::newRow("undo") << "undo" << true;
    }
    void demoEnds()
    {
        QFETCH(QString, how);
        QFETCH(bool, windowShown);
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        f.action("mnuDemo")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() >= 2, 20000);
        if (how == QLatin1String("press")) {
            QTest::mousePress(f.table(), Qt::LeftButton, {}, QPoint(5, f.table()->height() - 5));
            QTest::mouseRelease(f.table(), Qt::LeftButton, {}, QPoint(5, f.table()->height() - 5));
        } else if (how == QLatin1String("hint")) {
            f.action("mnuHint")->trigger();
            QCOMPARE(f.session().state().tutorMode, engine::kTutorHint);
        } else if (how == QLatin1String("close")) {
            f.demo()->closeButton()->click();
        } else {
            f.action("mnuUndo")->trigger();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!f.tutor().playing(), 5000);
        const int count = f.demoCount();
        QTRY_COMPARE_WITH_TIMEOUT(f.demo()->isVisible(), windowShown, 5000);
        QCOMPARE(f.action("mnuDemo")->isEnabled(), !windowShown);
        QVERIFY(f.session().state().tutorMode != engine::kTutorDemo);
        QVERIFY(!f.demo()->playDown());
        QCOMPARE(f.demoCount(), count);
    }

    // On a nearly won table the demo plays to the end of the game, which ends it; a demo asked for
    // with no game in progress deals one first.
    void demoWinsAndStartsAGame()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        f.nearlyWon();
        f.action("mnuDemo")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(f.wonDialogs, 1, 20000);
        QVERIFY(!f.session().flags().dealActive);
        QTRY_VERIFY_WITH_TIMEOUT(!f.demo()->playDown(), 5000);
        QCOMPARE(f.demoCount(), 12);
        // The demo moves alone do not make the game count.
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QVERIFY(f.sink.records[0].won);
        QVERIFY(!f.sink.records[0].eligible);

        f.demo()->closeButton()->click();
        QVERIFY(f.action("mnuDemo")->isEnabled());
        f.action("mnuDemo")->trigger();
        QVERIFY(f.session().flags().dealActive);
        QCOMPARE(f.session().state().tutorMode, engine::kTutorDemo);
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() >= 1, 20000);
    }

    // With nothing left to do the demo says so and stops: the solver has no line (it proves the
    // table lost), and the tutor's own steps, the demo's fallback, find nothing either.
    void demoEndsWithNoMoveLeft()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        // Hearts blocked (the Ace under the Two, Three to King on the other piles, no two of them
        // building on each other), the rest at home; no empty pile takes a King back.
        engine::Table& t = f.session().mutableState().table;
        t.clearPiles();
        for (int s = 1; s < 4; ++s)
            for (int r = 1; r <= 13; ++r)
                t.append(PileRef::foundation(s), card(s, r), true);
        t.append(PileRef::tableau(0), card(0, 1), true);
        t.append(PileRef::tableau(0), card(0, 2), true);
        const int piles[6][3] = {{13, 12, 11}, {10, 9, 0}, {8, 7, 0}, {6, 5, 0}, {4, 0, 0}, {3, 0, 0}};
        for (int p = 0; p < 6; ++p)
            for (int r : piles[p])
                if (r)
                    t.append(PileRef::tableau(p + 1), card(0, r), true);
        f.table()->refresh();
        f.action("mnuDemo")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(f.demo()->description(), QStringLiteral("End of the Game Demo"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.demo()->playDown(), 5000);
        QCOMPARE(f.demoCount(), 0);
        QCOMPARE(f.session().state().tutorMode, 0);
        QVERIFY(f.session().flags().dealActive);
    }

    // FreeCell deal 7: the tutor's own steps fill the four cells within 19 moves and lose the deal.
    // The demo plays the solver's line instead and wins it; a line the indicator has already found
    // plays at once, without a search of its own. After the win the window shows Play up.
    void demoWinsAWinnableFreeCellDeal_data()
    {
        QTest::addColumn<bool>("indicatorFirst");
        QTest::newRow("the demo's own search") << false;
        QTest::newRow("the indicator's line") << true;
    }
    void demoWinsAWinnableFreeCellDeal()
    {
        QFETCH(bool, indicatorFirst);
        constexpr int kFreeCell = 1;
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path(), "7"));
        if (!indicatorFirst)
            f.tutor().setShowWinnability(false);
        QVERIFY(f.session().startGame(kFreeCell, f.core.game->player()));
        QCOMPARE(f.session().state().gameNumber, std::string("7"));
        if (indicatorFirst)
            QTRY_COMPARE_WITH_TIMEOUT(f.tutor().winnability(), QStringLiteral("Winnable"), 30000);
        TutorCommands::Timing timing = f.tutor().timing();
        timing.demoSolveMs = 20000;
        f.tutor().setTiming(timing);

        f.action("mnuDemo")->trigger();
        if (indicatorFirst)
            QVERIFY(f.tutor().demoPlaysLine() && !f.tutor().solving());
        QTRY_COMPARE_WITH_TIMEOUT(f.wonDialogs, 1, 60000);
        QVERIFY(f.tutor().demoPlaysLine());
        QVERIFY(f.demoCount() > 19);
        QTRY_VERIFY_WITH_TIMEOUT(!f.demo()->playDown(), 5000);
        QVERIFY(f.demo()->isVisible());
        QCOMPARE(f.demo()->description(), QStringLiteral("End of the Game Demo"));
        QVERIFY(f.boxes.empty());
    }

    // Closing stores the window's place in section "Settings"; it comes back there.
    void positionIsStored()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        f.action("mnuDemo")->trigger();
        f.demo()->move(140, 120);
        const QPoint at = f.demo()->pos();
        f.demo()->closeButton()->click();
        storage::IniFile& ini = *f.core.game->settingsFile;
        QCOMPARE(ini.readInteger(storage::kSettingsSection, "Tutor_Demo_Form_Left", -1), at.x());
        QCOMPARE(ini.readInteger(storage::kSettingsSection, "Tutor_Demo_Form_Top", -1), at.y());
    }

    // "Show a legal &move" draws a pointer from the cards to their target, or at the stock, while the
    // hint lasts; the next press ends it.
    void hintPointer_data()
    {
        QTest::addColumn<bool>("stockOnly");
        QTest::newRow("the Jack home") << false;
        QTest::newRow("a click on the stock") << true;
    }
    void hintPointer()
    {
        QFETCH(bool, stockOnly);
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        f.nearlyWon();
        if (stockOnly) {
            // Every card at home but the Jack, Queen and King of hearts, which wait in the stock.
            engine::Table& t = f.session().mutableState().table;
            for (int s = 1; s < 4; ++s) {
                t.pile(PileRef::tableau(s)).clear();
                for (int r = 11; r <= 13; ++r)
                    t.append(PileRef::foundation(s), card(s, r), true);
            }
            t.pile(PileRef::tableau(0)).clear();
            for (int r = 13; r >= 11; --r)
                t.append(PileRef::stock(), card(0, r), false);
            f.table()->refresh();
        }
        const QImage before = f.table()->grabTable();
        f.action("mnuHint")->trigger();
        QCOMPARE(f.session().state().tutorMode, engine::kTutorHint);
        QVERIFY(f.table()->hintArrowShown());
        const QImage shown = f.table()->grabTable();
        shown.save(testing::artifactsDir() + (stockOnly ? QStringLiteral("/hint_pointer_stock.png")
                                                        : QStringLiteral("/hint_pointer.png")));
        // The pointer's yellow lies on the line from the cards to their target (for the stock: from
        // below and to the right of it).
        QPoint from, to;
        if (stockOnly) {
            const QRect stock = f.table()->cardRect(PileRef::stock(), 2);
            to = stock.center();
            from = to + QPoint(stock.width(), stock.height() * 3 / 4);
        } else {
            from = f.centreOf(PileRef::tableau(0), 2);
            to = f.centreOf(PileRef::foundation(0), 10);
        }
        const QPoint onShaft = from + (to - from) * 0.3;
        QCOMPARE(shown.pixelColor(onShaft * shown.devicePixelRatio()), QColor(255, 208, 0));
        QTest::mousePress(f.table(), Qt::LeftButton, {}, QPoint(5, f.table()->height() - 5));
        QTest::mouseRelease(f.table(), Qt::LeftButton, {}, QPoint(5, f.table()->height() - 5));
        QVERIFY(!f.table()->hintArrowShown());
        QCOMPARE(f.table()->grabTable(), before);
    }

    // The words the window shows for the solver's moves.
    void movesInWords_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one card") << int(MoveKind::Transfer) << 2 << "Move the Jack of Hearts from tableau 1 to foundation 2";
        QTest::newRow("two cards") << int(MoveKind::Transfer) << 1 << "Move the Queen of Hearts and the card on it from tableau 1 to foundation 2";
        QTest::newRow("three cards") << int(MoveKind::Transfer) << 0 << "Move the King of Hearts and the 2 cards on it from tableau 1 to foundation 2";
        QTest::newRow("stock") << int(MoveKind::Stock) << -1 << "Click to turn up a card(s)";
        QTest::newRow("turn up") << int(MoveKind::TurnUp) << -1 << "Turn up the top card of tableau 1";
    }
    void movesInWords()
    {
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QString, expected);
        engine::Table t;
        for (int r = 13; r >= 11; --r)
            t.append(PileRef::tableau(0), card(0, r), true);
        t.append(PileRef::stock(), card(3, 1), false);
        const Move m{static_cast<MoveKind>(kind), PileRef::tableau(0), index, PileRef::foundation(1)};
        QCOMPARE(describeMove(t, m), expected);
    }

    // The demo window over the table, for a person to look at.
    void screenshot()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path()));
        f.action("mnuDemo")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() >= 4, 20000);
        f.demo()->pauseButton()->click();
        f.demo()->pauseButton()->click();
        f.demo()->stopButton()->click();
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            // A real X server (xvfb-run): the screen as a person sees it.
            QVERIFY(QTest::qWaitForWindowExposed(f.demo()));
            const QPixmap screen = f.window->screen()->grabWindow(0);
            QVERIFY(screen.save(testing::artifactsDir() + QStringLiteral("/demo_window_x11.png")));
        }
        // Offscreen: the two windows drawn into one picture.
        QImage shot = f.window->grab().toImage();
        const QImage demo = f.demo()->grab().toImage();
        QPainter p(&shot);
        const QPoint at = f.demo()->pos() - f.window->pos();
        p.fillRect(QRect(at + QPoint(3, 3), demo.size() / demo.devicePixelRatio()), QColor(0, 0, 0, 90));
        p.drawImage(at, demo);
        p.end();
        QVERIFY(shot.save(testing::artifactsDir() + QStringLiteral("/demo_window.png")));
    }
};

QTEST_MAIN(TestDemoWindow)
#include "demo_window_test.moc"
