// Tests of the game window: the real table driven with synthesized mouse and key events through
// the session, the held game at start-up and shutdown, the loss posted at exit, and screenshots.
#include "engine/session.h"
#include "engine/table_text.h"
#include "storage/fault_files.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/rules_viewer.h"
#include "ui/startup.h"
#include "ui/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <memory>

using namespace cw;
using namespace cw::ui;
using engine::PileRef;

namespace {

// Card codes: hearts 1-13, diamonds 14-26, clubs 27-39, spades 40-52.
constexpr int kAceHearts = 1, kTwoHearts = 2, kThreeHearts = 3, kSevenHearts = 7;
constexpr int kSevenClubs = 33, kEightDiamonds = 21, kNineSpades = 48;
constexpr int kKingSpades = 52, kQueenSpades = 51, kJackSpades = 50;

using testing::artifactsDir;

// Klondike with a hand-made position on demand.
struct Fixture : testing::WindowFixture {
    // A small hand-made Klondike position: every move of the tests is known in advance.
    void smallPosition()
    {
        // Autoplay would take the next heart home by itself.
        session().setAutoplay(false);
        engine::GameState& st = session().mutableState();
        engine::Table& t = st.table;
        t.clearPiles();
        t.append(PileRef::foundation(0), kAceHearts, true);
        t.append(PileRef::tableau(0), kTwoHearts, true);
        t.append(PileRef::tableau(1), kEightDiamonds, true);
        t.append(PileRef::tableau(1), kSevenClubs, true);
        t.append(PileRef::tableau(2), kNineSpades, true);
        t.append(PileRef::tableau(3), kSevenHearts, true);
        t.append(PileRef::tableau(4), kThreeHearts, true);
        for (int code : {kJackSpades, kQueenSpades, kKingSpades})
            t.append(PileRef::stock(), code, false);
        table()->refresh();
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    std::vector<QString> m_boxes;  // every box shown, "kind:text"
    int m_holdAnswer = 2;           // Cancel

private slots:
    void init()
    {
        m_boxes.clear();
        m_holdAnswer = 2;
        setBoxAnswerHook([this](BoxKind kind, const QString& text) {
            m_boxes.push_back(QString::number(static_cast<int>(kind)) + QLatin1Char(':') + text);
            return kind == BoxKind::Hold ? m_holdAnswer : 0;
        });
    }

    void startupDealsAGameWithMenusAndTitle()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        QVERIFY(f.session().flags().dealActive);
        QVERIFY(f.window->windowTitle().startsWith(QStringLiteral("Cardwise 2002 1.0  [")));
        QVERIFY(f.window->windowTitle().endsWith(QStringLiteral("[12345]")));
        // The commands keep their shortcuts (the window holds them too, for full-screen mode).
        const std::vector<std::pair<QString, QKeySequence>> shortcuts{
            {QStringLiteral("mnuNew"), QKeySequence(Qt::Key_F2)},
            {QStringLiteral("mnuRestart"), QKeySequence(Qt::CTRL | Qt::Key_F2)},
            {QStringLiteral("mnuSave"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12)},
            {QStringLiteral("mnuUndo"), QKeySequence(Qt::CTRL | Qt::Key_Z)},
            {QStringLiteral("mnuRedo"), QKeySequence(Qt::CTRL | Qt::Key_Y)},
            {QStringLiteral("mnuPause"), QKeySequence(Qt::CTRL | Qt::Key_P)},
            {QStringLiteral("mnuQuitGame"), QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {QStringLiteral("mnuAutoplay"), QKeySequence(Qt::Key_F7)},
            {QStringLiteral("mnuFullScreen"), QKeySequence(Qt::Key_F11)},
            {QStringLiteral("mnuRules"), QKeySequence(Qt::Key_F1)},
        };
        for (const auto& [name, key] : shortcuts) {
            QAction* a = f.window->command(name);
            QVERIFY2(a, qPrintable(name));
            QCOMPARE(a->shortcut(), key);
        }
        f.shoot(QStringLiteral("main_window_startup.png"));

        // The rules viewer shows the game's rules text and its piles.
        f.window->command(QStringLiteral("mnuRules"))->trigger();
        auto* viewer = f.window->findChild<RulesViewer*>();
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(viewer->text().contains(QStringLiteral("Tableau")));
        QVERIFY(viewer->text().size() > 200);
        viewer->grab().save(artifactsDir() + QStringLiteral("/rules_viewer.png"));
    }

    // Drag to a foundation, a group between tableau piles, a refused drop, a double click, the
    // stock and its redeal by mouse and by Space; undo and redo by their shortcuts.
    void playsWithMouseAndKeys()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.smallPosition();

        // 2 of hearts from tableau 1 to the foundation.
        f.drag(f.centreOf(PileRef::tableau(0), 0), f.centreOf(PileRef::foundation(0), 0));
        QCOMPARE(f.top(PileRef::foundation(0)), kTwoHearts);
        QCOMPARE(f.count(PileRef::tableau(0)), 0);

        // The 8 of diamonds with the 7 of clubs onto the 9 of spades.
        // (pressed on the visible strip of the 8, above the 7)
        const QRect eight = f.table()->cardRect(PileRef::tableau(1), 0);
        f.drag(QPoint(eight.center().x(), eight.top() + 6), f.centreOf(PileRef::tableau(2), 0) + QPoint(0, 20));
        QCOMPARE(f.count(PileRef::tableau(2)), 3);
        QCOMPARE(f.top(PileRef::tableau(2)), kSevenClubs);
        QCOMPARE(f.count(PileRef::tableau(1)), 0);

        // The 7 of hearts may not go on the 7 of clubs: it stays where it was.
        const engine::Table before = f.tableState();
        f.drag(f.centreOf(PileRef::tableau(3), 0), f.centreOf(PileRef::tableau(2), 2));
        QVERIFY(f.tableState() == before);
        QCOMPARE(f.session().state().drag.carriedCard, 0);

        // A double click sends the 3 of hearts home.
        // (as a real mouse sends it: press, release, double click, release)
        const QPoint three = f.centreOf(PileRef::tableau(4), 0);
        QTest::mouseClick(f.table(), Qt::LeftButton, {}, three);
        QTest::mouseDClick(f.table(), Qt::LeftButton, {}, three);
        QTest::mouseRelease(f.table(), Qt::LeftButton, {}, three);
        QCoreApplication::processEvents();
        QCOMPARE(f.top(PileRef::foundation(0)), kThreeHearts);
        f.shoot(QStringLiteral("main_window_after_moves.png"));

        // The stock: a click turns cards over; Space goes on until it is empty, then redeals.
        const QPoint stock = f.centreOf(PileRef::stock(), 2);
        QTest::mouseClick(f.table(), Qt::LeftButton, {}, stock);
        QCoreApplication::processEvents();
        QVERIFY(f.count(PileRef::stock()) < 3);
        QVERIFY(f.count(PileRef::waste()) > 0);
        for (int i = 0; i < 3 && f.count(PileRef::stock()) > 0; ++i)
            QTest::keyClick(f.table(), Qt::Key_Space);
        QCOMPARE(f.count(PileRef::stock()), 0);
        QCOMPARE(f.count(PileRef::waste()), 3);
        QTest::keyClick(f.table(), Qt::Key_Space); // the empty stock: a redeal
        QCOMPARE(f.count(PileRef::stock()), 3);
        QCOMPARE(f.count(PileRef::waste()), 0);

        // Undo takes the redeal back, redo plays it again.
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.count(PileRef::stock()), 0);
        QCOMPARE(f.count(PileRef::waste()), 3);
        QTest::keyClick(f.window.get(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.count(PileRef::stock()), 3);
        // Undo all the way back to the double click.
        const engine::Table afterMoves = f.tableState();
        while (f.top(PileRef::foundation(0)) == kThreeHearts && f.session().canUndo())
            QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.top(PileRef::tableau(4)), kThreeHearts);
        QVERIFY(!(f.tableState() == afterMoves));
        QVERIFY(m_boxes.empty());
    }

    // The status bar describes the pile under the pointer; F11 and Esc switch full screen, where
    // the shortcuts still work without the menu bar.
    void statusBarAndFullScreen()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.smallPosition();
        f.drag(f.centreOf(PileRef::tableau(0), 0), f.centreOf(PileRef::foundation(0), 0));
        QMouseEvent move(QEvent::MouseMove, QPointF(f.centreOf(PileRef::tableau(1), 1)),
                         QPointF(f.table()->mapToGlobal(f.centreOf(PileRef::tableau(1), 1))), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.table(), &move);
        QCOMPARE(f.window->statusText(0), QStringLiteral("Tableau"));
        QCOMPARE(f.window->statusText(1), QStringLiteral("7"));
        QCOMPARE(f.window->statusText(2), QStringLiteral("2 cards"));
        QVERIFY(!f.window->statusText(3).isEmpty());
        f.shoot(QStringLiteral("main_window_status_bar.png"));

        // Ctrl + right click shows the covered 8 of diamonds whole until the button comes up.
        const QRect eight = f.table()->cardRect(PileRef::tableau(1), 0);
        const QPoint strip(eight.center().x(), eight.top() + 6);
        QTest::mousePress(f.table(), Qt::RightButton, Qt::ControlModifier, strip);
        auto* shown = f.table()->findChild<QLabel*>(QStringLiteral("lblRevealedCard"));
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->geometry().topLeft(), eight.topLeft());
        QTest::mouseRelease(f.table(), Qt::RightButton, Qt::ControlModifier, strip);
        QVERIFY(!shown->isVisible());
        QCOMPARE(f.count(PileRef::tableau(1)), 2);

        QTest::keyClick(f.window.get(), Qt::Key_F11);
        QVERIFY(f.window->fullScreenMode());
        QCOMPARE(m_boxes.size(), std::size_t(1));
        QVERIFY(m_boxes[0].contains(QStringLiteral("press F11 or Esc")));
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.top(PileRef::foundation(0)), kAceHearts);
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        QVERIFY(!f.window->fullScreenMode());
    }

    // M shows a legal move without making it; the next press ends the hint.
    void hintShowsAMoveWithoutMakingIt()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.smallPosition();
        const auto before = engine::encodeSnapshot(f.tableState());
        QTest::keyClick(f.table(), Qt::Key_M);
        QCOMPARE(f.session().state().tutorMode, engine::kTutorHint);
        QVERIFY(engine::encodeSnapshot(f.tableState()) == before);
        QVERIFY(!f.window->statusText(3).isEmpty());
        QTest::mouseClick(f.table(), Qt::LeftButton, {}, QPoint(5, 500));
        QCOMPARE(f.session().state().tutorMode, 0);
    }

    void pointAndClickMovesACard()
    {
        QTemporaryDir dir;
        Fixture f;
        f.core.store.set(storage::col::GameId, "0000");
        QVERIFY(f.open(dir.path()));
        f.session().mutableState().selection.pointAndClick = true;
        f.smallPosition();
        QTest::mouseClick(f.table(), Qt::LeftButton, {}, f.centreOf(PileRef::tableau(0), 0));
        QTest::mouseClick(f.table(), Qt::LeftButton, {}, f.centreOf(PileRef::foundation(0), 0));
        QCoreApplication::processEvents();
        QCOMPARE(f.top(PileRef::foundation(0)), kTwoHearts);
    }

    // Hold at exit, start again: the same table comes back, the file is gone, nothing recorded.
    void heldGameSurvivesARestart()
    {
        QTemporaryDir dir;
        const std::string held = QDir(dir.path()).absolutePath().toStdString() + "/Stat_e01.dat";
        engine::Table heldTable;
        {
            Fixture f;
            QVERIFY(f.open(dir.path()));
            f.smallPosition();
            f.drag(f.centreOf(PileRef::tableau(0), 0), f.centreOf(PileRef::foundation(0), 0));
            heldTable = f.tableState();
            m_holdAnswer = 1; // " &Hold the game and exit"
            f.window->command(QStringLiteral("mnuHoldAndExit"))->trigger();
            QVERIFY(!f.window->isVisible());
            QVERIFY(std::filesystem::exists(held));
            QVERIFY(f.sink.records.empty());
            QCOMPARE(f.core.settingsFile->readString("Preference", "Full_Screen", ""), std::string("N"));
        }
        Fixture again;
        QVERIFY(again.open(dir.path()));
        QVERIFY(again.session().flags().dealActive);
        // Every pile with its cards and their faces (cards off the table have no face to keep).
        QVERIFY(engine::encodeSnapshot(again.tableState()) == engine::encodeSnapshot(heldTable));
        QVERIFY(!std::filesystem::exists(held));
        QVERIFY(again.sink.records.empty());
        again.shoot(QStringLiteral("main_window_resumed.png"));
    }

    void exitAndPostALossRecordsTheGame()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.smallPosition();
        f.drag(f.centreOf(PileRef::tableau(0), 0), f.centreOf(PileRef::foundation(0), 0));
        m_holdAnswer = 0; // "&Exit and post a loss"
        f.window->command(QStringLiteral("mnuHoldAndExit"))->trigger();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QCOMPARE(f.sink.records[0].won, false);
        QCOMPARE(f.sink.records[0].gameId, 0);
        QCOMPARE(f.sink.records[0].gameNumber, std::string("12345"));
        QVERIFY(!std::filesystem::exists(QDir(dir.path()).absolutePath().toStdString() + "/Stat_e01.dat"));
    }

    // A settings file that cannot be written at exit (a full disk): the unfinished game is recorded
    // first, the failure is shown once, and the window closes all the same.
    void closingWithAnUnwritableSettingsFile()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        f.smallPosition();
        f.drag(f.centreOf(PileRef::tableau(0), 0), f.centreOf(PileRef::foundation(0), 0));
        storage::test::FullDisk full("Cfg.dat", 0);
        storage::test::Faults faults(full);
        m_boxes.clear();
        f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QCOMPARE(f.sink.records[0].won, false);
        int errors = 0;
        for (const QString& box : m_boxes)
            errors += box.contains(QStringLiteral("Error saving the file")) ? 1 : 0;
        QCOMPARE(errors, 1);
    }

    void cancelInTheHoldDialogKeepsTheWindow()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.open(dir.path()));
        m_holdAnswer = 2;
        f.window->command(QStringLiteral("mnuHoldAndExit"))->trigger();
        QVERIFY(f.window->isVisible());
        QVERIFY(!f.session().flags().holdRequested);
        QVERIFY(f.sink.records.empty());
        QVERIFY(f.session().flags().dealActive);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
