// Tests of the solver in the window: background searches, the winnability indicator, "Solve and show" and "Winnable deals only".
#include "engine/session.h"

#include "tutor_test_support.h"

#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/deal.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "ui/main_window_status.h"
#include "ui/solver_worker.h"

using namespace cw;
using namespace cw::ui;
using engine::PileRef;
using testing::card;

namespace {

// Klondike deals the solver settles within a few hundred states, and one it cannot decide in a second.
constexpr const char* kQuickDeal = "1";
constexpr const char* kHardDeal = "38";
// Klondike draw three (game 176): a deal the solver proves lost within a few dozen positions.
constexpr int kDrawThree = 176;
constexpr const char* kLostDeal = "57";

// Opens the window on deal `number` of `game`, nearly won when asked.
bool openOn(testing::TutorFixture& f, const QString& folder, int game, const std::string& number, bool nearlyWon)
{
    if (!f.openQuiet(folder, number))
        return false;
    if (game != 0 && !f.session().startGame(game, f.core.game->player()))
        return false;
    if (nearlyWon)
        f.nearlyWon();
    return f.session().state().gameNumber == number;
}

QString rulePanel(testing::TutorFixture& f) { return f.window->statusText(3); }

} // namespace

class TestWinnability : public QObject {
    Q_OBJECT

private slots:
    // Only the newest request is answered: a search overtaken by the next one is dropped even when
    // it ignores its cancel flag and finishes late; a cancelled search sees its flag.
    void newestAnswerOnly()
    {
        BackgroundSolver solver;
        std::vector<int> answers;
        connect(&solver, &BackgroundSolver::answered, this, [&](const SolverAnswer& a) { answers.push_back(a.index); });
        std::atomic<bool> release{false};
        solver.start([&](const std::atomic<bool>&) {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return SolverAnswer{{}, 1};
        });
        solver.start([](const std::atomic<bool>&) { return SolverAnswer{{}, 2}; });
        QTRY_COMPARE_WITH_TIMEOUT(answers, std::vector<int>{2}, 10000);
        QVERIFY(!solver.busy());
        release = true;
        QTRY_COMPARE_WITH_TIMEOUT(solver.runningWorkers(), 0, 10000);
        QCOMPARE(answers, std::vector<int>{2});

        std::atomic<bool> sawCancel{false};
        solver.start([&](const std::atomic<bool>& cancel) {
            while (!cancel)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            sawCancel = true;
            return SolverAnswer{{}, 3};
        });
        QVERIFY(solver.busy());
        solver.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(sawCancel.load(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(solver.runningWorkers(), 0, 10000);
        QCOMPARE(answers, std::vector<int>{2});
    }

    // The indicator's verdict on the table as it stands.
    void indicatorVerdict_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("FreeCell deal 1") << 1 << kQuickDeal << "Winnable";
        QTest::newRow("Klondike deal 1") << 0 << kQuickDeal << "Winnable";
        QTest::newRow("a lost deal, nothing played") << kDrawThree << kLostDeal << "Not winnable";
    }
    void indicatorVerdict()
    {
        QFETCH(int, game);
        QFETCH(QString, number);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(openOn(f, dir.path(), game, number.toStdString(), false));
        QLabel* indicator = f.tutor().indicator();
        QVERIFY(indicator->isVisible());
        QVERIFY(indicator->toolTip().contains(QStringLiteral("face-down")));
        QTRY_COMPARE_WITH_TIMEOUT(indicator->text(), expected, 30000);
        if (game == 1)
            QVERIFY(f.window->grab().save(testing::artifactsDir() + QStringLiteral("/winnability_status.png")));
    }

    // A move while a long search runs: the search is cancelled at once and only the new
    // position's verdict is shown.
    void moveCancelsTheRunningSearch()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        TutorCommands::Timing timing;
        timing.winnabilityMs = 60000;
        QVERIFY(f.openQuiet(dir.path(), kHardDeal));
        f.tutor().setTiming(timing);
        f.tutor().setShowWinnability(false);
        f.tutor().setShowWinnability(true); // checks afresh with the long budget
        auto* checker = f.tutor().findChild<BackgroundSolver*>(QStringLiteral("winnabilityChecker"));
        QTRY_VERIFY_WITH_TIMEOUT(checker->busy(), 5000);
        QCOMPARE(f.tutor().winnability(), QStringLiteral("Checking…"));

        timing.winnabilityMs = 300;
        f.tutor().setTiming(timing);
        f.action("keyStock")->trigger();
        QCOMPARE(f.tutor().winnability(), QStringLiteral("Checking…"));
        // The 60-second search has stopped and the quick one answered well before its time.
        QTRY_VERIFY_WITH_TIMEOUT(f.tutor().winnability() != QStringLiteral("Checking…"), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(checker->runningWorkers(), 0, 15000);
    }

    // The option: off hides the panel and searches nothing; the choice is kept in the settings.
    void indicatorCanBeTurnedOff()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path(), kQuickDeal));
        QVERIFY(f.action("mnuShowWinnability")->isChecked());
        f.action("mnuShowWinnability")->trigger();
        QVERIFY(!f.tutor().indicator()->isVisible());
        f.action("keyStock")->trigger();
        auto* checker = f.tutor().findChild<BackgroundSolver*>(QStringLiteral("winnabilityChecker"));
        QVERIFY(!checker->busy());
        QCOMPARE(f.core.game->settingsFile->readString(storage::kPreferenceSection, "Show_Winnability", ""),
                 std::string("N"));
        f.action("mnuShowWinnability")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(f.tutor().winnability(), QStringLiteral("Winnable"), 30000);
    }

    // Paused or minimized, the indicator searches nothing; it checks the table once it can be
    // seen again.
    void pausedOrMinimizedSearchesNothing()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path(), kQuickDeal));
        auto* checker = f.tutor().findChild<BackgroundSolver*>(QStringLiteral("winnabilityChecker"));
        auto* timer = f.tutor().findChild<QTimer*>(QStringLiteral("winnabilityTimer"));
        QVERIFY(timer);
        QTRY_COMPARE_WITH_TIMEOUT(f.tutor().winnability(), QStringLiteral("Winnable"), 30000);

        f.action("mnuPause")->trigger();
        QVERIFY(f.session().paused());
        f.tutor().setShowWinnability(false);
        f.tutor().setShowWinnability(true); // the same table afresh, while paused
        QCOMPARE(f.tutor().winnability(), QStringLiteral("Checking…"));
        QVERIFY(!timer->isActive());
        QVERIFY(!checker->busy());
        f.action("mnuPause")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(f.tutor().winnability(), QStringLiteral("Winnable"), 30000);

        f.window->showMinimized();
        QTRY_VERIFY(f.window->isMinimized());
        f.tutor().setShowWinnability(false);
        f.tutor().setShowWinnability(true);
        QVERIFY(!timer->isActive());
        QVERIFY(!checker->busy());
        QCOMPARE(f.tutor().winnability(), QStringLiteral("Checking…"));
        f.window->showNormal();
        QTRY_COMPARE_WITH_TIMEOUT(f.tutor().winnability(), QStringLiteral("Winnable"), 30000);
    }

    // "Solve and show": a winning line plays in the demo window to a won game; otherwise a box says why.
    void solveAndShow_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("nearlyWon");
        QTest::addColumn<int>("solveMs");
        QTest::addColumn<QString>("box");
        QTest::newRow("nearly won") << 0 << kQuickDeal << true << 10000 << "";
        QTest::newRow("lost") << kDrawThree << kLostDeal << false << 10000 << "This deal cannot be won from here.";
        QTest::newRow("out of time") << 0 << kHardDeal << false << 1
                                     << "The solver could not decide within its time limit.";
    }
    void solveAndShow()
    {
        QFETCH(int, game);
        QFETCH(QString, number);
        QFETCH(bool, nearlyWon);
        QFETCH(int, solveMs);
        QFETCH(QString, box);
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(openOn(f, dir.path(), game, number.toStdString(), nearlyWon));
        TutorCommands::Timing timing = f.tutor().timing();
        timing.solveMs = solveMs;
        f.tutor().setTiming(timing);
        f.action("mnuSolveAndShow")->trigger();
        QVERIFY(f.demo()->isVisible());
        if (box.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(f.wonDialogs, 1, 30000);
            QCOMPARE(f.demoCount(), 12);
            QVERIFY(f.boxes.empty());
            QTRY_VERIFY_WITH_TIMEOUT(!f.demo()->playDown(), 5000);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(f.boxes, std::vector<QString>{box}, 30000);
            QVERIFY(!f.demo()->isVisible());
            QVERIFY(f.session().flags().dealActive);
            QCOMPARE(f.session().state().tutorMode, 0);
        }
    }

    // Stopped halfway, the line's moves undo like any others; Play then solves the table anew and
    // finishes the game, which does not count for the statistics.
    void solveAndShowUndoThenPlay()
    {
        QTemporaryDir dir;
        testing::TutorFixture f;
        QVERIFY(f.openQuiet(dir.path(), kQuickDeal));
        f.nearlyWon();
        const engine::Table start = f.tableState();
        const int depth = f.session().undoDepth();
        f.action("mnuSolveAndShow")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(f.demoCount() >= 3, 30000);
        QCOMPARE(f.tutor().winnability(), QStringLiteral("Winnable"));
        f.demo()->stopButton()->click();
        QVERIFY(!f.tutor().playing());
        const int played = f.demoCount();
        QCOMPARE(f.session().undoDepth() - depth, played);
        for (int i = 0; i < played; ++i)
            f.action("mnuUndo")->trigger();
        QVERIFY(f.tableState() == start);

        f.demo()->playButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(f.wonDialogs, 1, 30000);
        QCOMPARE(f.sink.records.size(), std::size_t(1));
        QVERIFY(f.sink.records[0].won);
        QVERIFY(!f.sink.records[0].eligible);
    }

    // "Winnable deals only": New game deals the first candidate the solver proves winnable; when none
    // is proven in time, an ordinary deal and a word in the status bar.
    void winnableDealsOnly_data()
    {
        QTest::addColumn<int>("searchMs");
        QTest::addColumn<bool>("found");
        QTest::newRow("a winnable deal") << 4000 << true;
        QTest::newRow("no time: an ordinary deal") << 60 << false;
    }
    void winnableDealsOnly()
    {
        QFETCH(int, searchMs);
        QFETCH(bool, found);
        // The start-up deal, then the candidates: two the solver cannot settle quickly come first.
        const std::vector<std::string> numbers{"12345", kHardDeal, "5", kQuickDeal, "3", "9", "10", "11", "13"};
        std::size_t next = 0;
        QTemporaryDir dir;
        testing::TutorFixture f;
        f.numbers = [&] { return next < numbers.size() ? numbers[next++] : std::string("20"); };
        QVERIFY(f.openQuiet(dir.path()));
        TutorCommands::Timing timing = f.tutor().timing();
        timing.dealSearchMs = searchMs;
        f.tutor().setTiming(timing);
        f.action("mnuWinnableDealsOnly")->trigger();
        QCOMPARE(f.core.game->settingsFile->readString(storage::kPreferenceSection, "Winnable_Deals_Only", ""),
                 std::string("Y"));

        f.action("mnuNew")->trigger();
        QVERIFY(f.tutor().searchingDeal());
        QCOMPARE(rulePanel(f), QStringLiteral("Looking for a winnable deal…"));
        QTRY_VERIFY_WITH_TIMEOUT(!f.tutor().searchingDeal(), 30000);
        QVERIFY(f.session().flags().dealActive);
        const std::string dealt = f.session().state().gameNumber;
        if (!found) {
            QCOMPARE(dealt, std::string(kHardDeal));
            QVERIFY(rulePanel(f).startsWith(QStringLiteral("No deal was proven winnable")));
            return;
        }
        QVERIFY(std::find(numbers.begin() + 1, numbers.end(), dealt) != numbers.end());
        QCOMPARE(f.tutor().winnability(), QStringLiteral("Winnable"));
        const engine::SolveResult check = engine::solve(f.core.game->rules, f.session().state(), {0, 10000});
        QCOMPARE(check.verdict, engine::Verdict::Winnable);
    }
};

QTEST_MAIN(TestWinnability)
#include "winnability_test.moc"
