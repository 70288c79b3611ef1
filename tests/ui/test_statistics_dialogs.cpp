// The statistics dialogs on a fixture data folder: figures read from the widgets, sorting and copying, the
// log list and replaying a logged deal, the players' bars, the summaries, the zoom dialog and the menu.
// The window header first: it brings the engine headers before Qt defines "emit".
#include "stats_folder.h"
#include "ui/log_dialog.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/pie_chart.h"
#include "ui/progression_zoom.h"
#include "ui/startup.h"
#include "ui/statistics_dialog.h"
#include "ui/statistics_summaries.h"
#include "ui/stats_charts.h"
#include "ui/stats_commands.h"
#include "ui/stats_table.h"

#include "stats/dialog_values.h"
#include "stats/game_end.h"
#include "stats/game_stats.h"
#include "storage/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>

using namespace cw;
using namespace cw::ui;

namespace {

void render(QWidget* w, const char* name)
{
    const QString dir = QStringLiteral(CW_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    w->show();
    QCoreApplication::processEvents();
    QVERIFY(w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png")));
    w->hide();
}

// Answers the message boxes (OK / Yes) and keeps their texts.
struct Boxes {
    QStringList texts;
    Boxes()
    {
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            texts << text;
            return 0;
        });
    }
    ~Boxes() { setBoxAnswerHook({}); }
};

} // namespace

class TestStatisticsDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    storage::SettingsStore m_settings;
    stats::StatsContext m_ctx;
    // Klondike has a chance of winning (843 in 1000), FreeCell 999 in 1000, Yukon none, and a custom game.
    std::vector<stats::CatalogGame> m_builtIn{
        {0, "Klondike", -1, 52, 843, 1000}, {1, "FreeCell", -1, 52, 999, 1000}, {3, "Yukon", -1, 52, 0, 0}};
    std::vector<stats::CatalogGame> m_byName{
        m_builtIn[1], m_builtIn[0], {8000, "My Klondike", -1, 52, 0, 0}, m_builtIn[2]};
    std::vector<std::string> m_players{"Ann", "Bob", "Cid"};

    void record(int gameId, const std::string& player, bool won, int score, int month, const std::string& number)
    {
        stats::FinishedGame g;
        g.gameId = gameId;
        for (const auto& c : m_byName)
            if (c.id == gameId)
                g.gameName = c.name;
        g.gameNumber = number;
        g.player = player;
        g.won = won;
        g.score = score;
        g.playingSeconds = 125;
        g.end = {2025, month, 14, 10, 30, 0};
        stats::FixedCatalog catalog(m_byName);
        stats::GameEndRecorder(m_ctx, catalog).record(g);
    }

    StatisticsSetup setup(int gameId = 0, const std::string& player = "Ann")
    {
        StatisticsSetup s;
        s.gameId = gameId;
        s.player = player;
        s.players = m_players;
        s.gamesByName = m_byName;
        s.builtIn = m_builtIn;
        return s;
    }

private slots:
    // Ann: Klondike won, won, lost (months 1, 2, 3), Yukon lost; Bob: Klondike won.
    void init()
    {
        testing::resetStatsFolder(m_dir, m_settings, m_ctx, 0, "Ann");
        record(0, "Ann", true, 52, 1, "1001");
        record(0, "Ann", true, 40, 2, "1002");
        record(0, "Ann", false, 10, 3, "1003");
        record(3, "Ann", false, 5, 3, "1004");
        record(0, "Bob", true, 30, 3, "1005");
    }

    void gamePageShowsTheGameOfThePlayer()
    {
        StatisticsDialog dialog(m_ctx, setup());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Statistics"));
        QCOMPARE(dialog.valueText("lblWon"), QStringLiteral("2"));
        QCOMPARE(dialog.valueText("lblLost"), QStringLiteral("1"));
        QCOMPARE(dialog.valueText("lblTotal"), QStringLiteral("3"));
        QCOMPARE(dialog.valueText("lblWonPercent"), QStringLiteral("(66.7%)"));
        QCOMPARE(dialog.valueText("lblLostPercent"), QStringLiteral("(33.3%)"));
        QCOMPARE(dialog.gamePie()->percent(), 66);
        QCOMPARE(dialog.valueText("lblChanceCaption"), QStringLiteral("Won:"));
        QCOMPARE(dialog.valueText("lblChanceText"), QStringLiteral("About 843 in 1000"));
        QCOMPARE(dialog.valueText("lblAverage"), QStringLiteral("84.3 %"));
        QCOMPARE(dialog.valueText("lblYours"), QStringLiteral("66.7 %"));
        QVERIFY(!dialog.label("lblYours")->font().bold());
        // The chart: one point per record, percentages running over the three months.
        QCOMPARE(dialog.gameChart()->pointCount(), 3);
        QCOMPARE(dialog.gameChart()->percentAt(0), 100.0);
        QCOMPARE(dialog.gameChart()->percentAt(2), 66.7);
        QCOMPARE(dialog.gameChart()->dateAt(2).date().month(), 3);
        render(&dialog, "statistics_game");

        // Another game: Yukon has no chance of winning; the custom game was never played.
        dialog.gameBox()->setCurrentIndex(dialog.gameBox()->findText("Yukon"));
        QCOMPARE(dialog.valueText("lblWon"), QStringLiteral("0"));
        QCOMPARE(dialog.valueText("lblLost"), QStringLiteral("1"));
        QCOMPARE(dialog.valueText("lblChanceCaption"), QString());
        QCOMPARE(dialog.valueText("lblChanceText"), QStringLiteral("Customized game"));
        dialog.gameBox()->setCurrentIndex(dialog.gameBox()->findText("My Klondike"));
        QCOMPARE(dialog.valueText("lblTotal"), QStringLiteral("0"));
        QCOMPARE(dialog.valueText("lblWonPercent"), QString());
        QVERIFY(!dialog.gamePie()->hasValues());
        QCOMPARE(dialog.gameChart()->pointCount(), 0);

        // Another player.
        dialog.gameBox()->setCurrentIndex(dialog.gameBox()->findText("Klondike"));
        dialog.playerBox()->setCurrentIndex(dialog.playerBox()->findText("Bob"));
        QCOMPARE(dialog.valueText("lblWon"), QStringLiteral("1"));
        QCOMPARE(dialog.valueText("lblYours"), QStringLiteral("100 %"));
        QVERIFY(dialog.label("lblYours")->font().bold());
    }

    void totalAndListPages()
    {
        StatisticsDialog dialog(m_ctx, setup());
        dialog.pages()->setCurrentIndex(1);
        QCOMPARE(dialog.valueText("lblTotalWon"), QStringLiteral("2"));
        QCOMPARE(dialog.valueText("lblTotalLost"), QStringLiteral("2"));
        QCOMPARE(dialog.valueText("lblTotalWonPercent"), QStringLiteral("(50%)"));
        // (66.7 + 0 + 0) / 3 and (84.3 + 99.9 + 0) / 3.
        QCOMPARE(dialog.valueText("lblTotalYours"), QStringLiteral("22.2 %"));
        QCOMPARE(dialog.valueText("lblTotalAverage"), QStringLiteral("61.4 %"));
        QCOMPARE(dialog.totalChart()->pointCount(), 4);
        QCOMPARE(dialog.totalChart()->percentAt(3), 50.0);
        render(&dialog, "statistics_total");

        dialog.pages()->setCurrentIndex(2);
        StatsTable* list = dialog.listTable();
        QCOMPARE(list->rowCount(), 3); // the custom game is never listed
        QCOMPARE(dialog.valueText("lblSolitaires"), QStringLiteral("3"));
        QCOMPARE(list->cellText(0, 0), QStringLiteral("FreeCell"));
        QCOMPARE(list->cellText(0, 1), QString()); // 0 shows empty
        QCOMPARE(list->cellText(1, 0), QStringLiteral("Klondike"));
        QCOMPARE(list->cellText(1, 3), QStringLiteral("66.7"));
        QCOMPARE(list->cellText(1, 4), QStringLiteral("84.3"));
        // Sorting by "%Av" as numbers, then copying as tab-separated text.
        list->sortByColumn(4, Qt::DescendingOrder);
        QCOMPARE(list->cellText(0, 0), QStringLiteral("FreeCell"));
        QCOMPARE(list->cellText(2, 0), QStringLiteral("Yukon"));
        list->sortByColumn(2, Qt::DescendingOrder);
        QCOMPARE(list->cellText(0, 0), QStringLiteral("Klondike"));
        list->clearSelection();
        list->copyToClipboard();
        QCOMPARE(QApplication::clipboard()->text().section('\n', 0, 1),
                 QStringLiteral("Game\tWon\tLost\t%Won\t%Av\nKlondike\t2\t1\t66.7\t84.3"));
        // The filter.
        dialog.listFilter()->setCurrentIndex(int(stats::ListFilter::NotWon));
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->cellText(0, 0), QStringLiteral("Yukon"));
        dialog.listFilter()->setCurrentIndex(int(stats::ListFilter::NotPlayed));
        QCOMPARE(dialog.valueText("lblSolitaires"), QStringLiteral("1"));
        render(&dialog, "statistics_list");
    }

    void playingFromTheListAsksFirst()
    {
        std::vector<PlayRequest> asked;
        bool agree = false;
        StatisticsSetup s = setup();
        s.agreeToPlay = [&](const PlayRequest& r) {
            asked.push_back(r);
            return agree;
        };
        StatisticsDialog dialog(m_ctx, s);
        dialog.pages()->setCurrentIndex(2);
        dialog.listTable()->selectRow(2);
        dialog.playListed();
        QCOMPARE(int(asked.size()), 1);
        QVERIFY(!dialog.started()); // refused: the dialog stays
        agree = true;
        dialog.playListed();
        QVERIFY(dialog.started());
        QCOMPARE(dialog.started()->gameId, 3);
        QCOMPARE(dialog.started()->gameNumber, std::string());
    }

    void showProgressionIsRemembered()
    {
        QTemporaryDir cfg;
        storage::IniFile ini((cfg.path() + "/Cfg.dat").toStdString());
        StatisticsSetup s = setup();
        s.settingsFile = &ini;
        {
            StatisticsDialog dialog(m_ctx, s);
            QVERIFY(dialog.progressionBox()->isChecked());
            dialog.progressionBox()->setChecked(false);
            QVERIFY(!dialog.gameChart()->isVisibleTo(&dialog));
        }
        QCOMPARE(ini.readString("Preference", "Show_Stat_Progression", ""), std::string("N"));
        StatisticsDialog again(m_ctx, s);
        QVERIFY(!again.progressionBox()->isChecked());
    }

    void logListsNewestFirstAndReplaysADeal()
    {
        const std::vector<std::string> names{"FreeCell", "Klondike", "My Klondike", "Yukon"};
        LogStatisticsDialog dialog(m_ctx, m_players, names, "", "");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Log statistics"));
        QCOMPARE(dialog.recordsShown(), QStringLiteral("5"));
        QVERIFY(!dialog.browseBox()->isVisibleTo(&dialog));
        StatsTable* t = dialog.table();
        QCOMPARE(t->cellText(0, 7), QStringLiteral("1005")); // newest first
        QCOMPARE(t->cellText(0, 6), QStringLiteral("Bob"));
        QCOMPARE(t->cellText(0, 2), QStringLiteral("0:02:05"));
        QCOMPARE(t->cellText(0, 4), QStringLiteral("Won"));
        QCOMPARE(t->cellText(4, 5), QStringLiteral("52"));
        dialog.playerBox()->setCurrentIndex(dialog.playerBox()->findText("Ann"));
        dialog.gameBox()->setCurrentIndex(dialog.gameBox()->findText("Klondike"));
        QCOMPARE(dialog.recordsShown(), QStringLiteral("3"));
        dialog.playerBox()->setCurrentIndex(dialog.playerBox()->findText("Cid"));
        QCOMPARE(dialog.recordsShown(), QStringLiteral("0"));
        QCOMPARE(t->rowCount(), 1); // one empty row
        QVERIFY(!dialog.playButton()->isEnabled());
        render(&dialog, "statistics_log");

        dialog.playerBox()->setCurrentIndex(0);
        dialog.gameIdByName = [](const std::string& n) { return n == "Klondike" ? 0 : n == "Yukon" ? 3 : -1; };
        std::vector<PlayRequest> asked;
        dialog.agreeToPlay = [&](const PlayRequest& r) {
            asked.push_back(r);
            return true;
        };
        t->selectRow(1);
        QVERIFY(dialog.playButton()->isEnabled());
        dialog.playSelected();
        QVERIFY(dialog.started());
        QCOMPARE(dialog.started()->gameId, 0);
        QCOMPARE(dialog.started()->gameNumber, std::string("1003"));
        QCOMPARE(int(asked.size()), 1);
    }

    void playersSequencesSessionAndSummaries()
    {
        PlayersStatisticsDialog players(m_ctx, m_byName, 0, m_players);
        QCOMPARE(players.windowTitle(), QStringLiteral("Players' statistics"));
        auto bars = players.chart()->bars();
        QCOMPARE(int(bars.size()), 3);
        QCOMPARE(bars[0].label, QStringLiteral("Bob"));
        QCOMPARE(bars[0].value, 100.0);
        QCOMPARE(bars[0].colour, QColor(204, 255, 204));
        QCOMPARE(bars[1].label, QStringLiteral("Ann"));
        QCOMPARE(bars[1].value, 67.0);
        players.measure(stats::PlayersMeasure::AverageScore)->setChecked(true);
        bars = players.chart()->bars();
        QCOMPARE(bars[0].label, QStringLiteral("Ann")); // (52 + 40 + 10) / 3
        QCOMPARE(bars[0].value, 34.0);
        render(&players, "statistics_players");

        stats::GameRecord ann = stats::readGameStatistics(m_ctx, 0, "Ann").record;
        SequencesDialog sequences(ann, stats::Streaks{2, 2, 0, 2});
        QCOMPARE(sequences.findChild<QLabel*>("lblLongestWon")->text(), QStringLiteral("2"));
        QCOMPARE(sequences.findChild<QLabel*>("lblLongestLost")->text(), QStringLiteral("1"));
        QCOMPARE(sequences.findChild<QLabel*>("lblLongestWonPercent")->text(), QStringLiteral("(66.7%)"));
        QCOMPARE(sequences.findChild<QLabel*>("lblCurrent")->text(), QStringLiteral("Current: 1 Lost"));
        QCOMPARE(sequences.findChild<QLabel*>("lblAllCurrent")->text(), QStringLiteral("Current: 2 Lost"));
        render(&sequences, "statistics_sequences");

        SessionDialog session(3, 1);
        QCOMPARE(session.findChild<QLabel*>("lblTotal")->text(), QStringLiteral("4"));
        QCOMPARE(session.findChild<QLabel*>("lblWonPercent")->text(), QStringLiteral("(75%)"));
        QCOMPARE(session.pie()->percent(), 75);
        SessionDialog none(0, 0);
        QCOMPARE(none.findChild<QLabel*>("lblWonPercent")->text(), QString());
        QVERIFY(!none.pie()->hasValues());

        stats::ThreeWaySummary s{1, 1, 1, 3, 33.3, 33.3, 33.4};
        SummaryDialog won(s, false);
        QCOMPARE(won.windowTitle(), QStringLiteral("Statistics % Won"));
        QCOMPARE(won.findChild<QLabel*>("lblNotPlayedPercent")->text(), QStringLiteral("(33.4%)"));
        QCOMPARE(won.chart()->bars()[2].colour, QColor(255, 255, 153));
        SummaryDialog average({0, 2, 1, 3, 0, 66.7, 33.3}, true);
        QCOMPARE(average.windowTitle(), QStringLiteral("Statistics % Average Won"));
        QCOMPARE(average.findChild<QLabel*>("lblFirstPercent")->text(), QString());
        render(&average, "statistics_average");
    }

    void zoomDialogRangesAndWindow()
    {
        Boxes boxes;
        std::vector<stats::ProgressionRecord> records;
        for (int i = 0; i < 300; ++i)
            records.push_back({0, 25, 1 + i / 30, i % 2 == 0});
        ProgressionZoomDialog dialog(records, stats::ProgressionScope::OneGame, 0);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Progression % Won - Zoom"));
        QCOMPARE(dialog.startBox()->count(), 11); // "First" and ten months
        QCOMPARE(dialog.startBox()->itemText(0), QStringLiteral("First"));
        QCOMPARE(dialog.chart()->pointCount(), 31); // budget 30
        QVERIFY(!dialog.startBox()->isEnabled());
        QVERIFY(!dialog.scrollBar()->isEnabled());
        dialog.allValuesBox()->setChecked(false);
        dialog.startBox()->setCurrentIndex(3); // March
        QCOMPARE(dialog.chart()->pointCount(), 31);
        QCOMPARE(dialog.chart()->dateAt(0).date().month(), 3);
        // A start after the end: the message, and the chart stays.
        dialog.endBox()->setCurrentIndex(2); // February
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.texts[0], QStringLiteral("Start Date is more recent than End Date."));
        QCOMPARE(dialog.chart()->dateAt(0).date().month(), 3);
        // Without "Fit to Screen": 150 points, 25 of them shown.
        dialog.endBox()->setCurrentIndex(0);
        dialog.allValuesBox()->setChecked(true);
        dialog.fitBox()->setChecked(false);
        QVERIFY(dialog.scrollBar()->isEnabled());
        QCOMPARE(dialog.chart()->pointCount(), 151);
        dialog.scrollBar()->setValue(100);
        QVERIFY(dialog.chart()->shownFrom() <= dialog.chart()->dateAt(100));
        QVERIFY(dialog.chart()->shownTo() >= dialog.chart()->dateAt(125));
        QVERIFY(dialog.chart()->shownTo() < dialog.chart()->dateAt(140));
        const qint64 before = dialog.chart()->shownFrom().msecsTo(dialog.chart()->shownTo());
        dialog.zoomInButton()->click();
        QVERIFY(dialog.chart()->shownFrom().msecsTo(dialog.chart()->shownTo()) < before);
        render(&dialog, "statistics_zoom");

        // No progression data: the zoom buttons are hidden and the controls off.
        ProgressionZoomDialog empty({}, stats::ProgressionScope::AllGames, -1);
        QVERIFY(!empty.zoomInButton()->isVisibleTo(&empty));
        QVERIFY(!empty.allValuesBox()->isEnabled());
        QVERIFY(!empty.fitBox()->isEnabled());
    }

    void chartWheelAndDrag()
    {
        ProgressionChartView view;
        view.resize(500, 300);
        std::vector<stats::ProgressionRecord> records;
        for (int i = 0; i < 60; ++i)
            records.push_back({0, 25, 1 + i / 10, i % 3 == 0});
        view.setPoints(stats::buildProgressionPoints(records, stats::ProgressionScope::AllGames, -1, std::nullopt,
                                                     std::nullopt, 30));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const qint64 full = view.shownFrom().msecsTo(view.shownTo());
        QWheelEvent wheel(QPointF(250, 150), view.mapToGlobal(QPointF(250, 150)), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        const qint64 zoomed = view.shownFrom().msecsTo(view.shownTo());
        QVERIFY(zoomed < full);
        const QDateTime from = view.shownFrom();
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(300, 150));
        QTest::mouseMove(view.viewport(), QPoint(200, 150));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(view.shownFrom() > from); // dragged to the left: later dates come in
        QVERIFY(qAbs(view.shownFrom().msecsTo(view.shownTo()) - zoomed) < 1000);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(200, 150));
        QCOMPARE(view.shownFrom().msecsTo(view.shownTo()), full);
        // Every value 0: the axis from 0 to 100.
        view.setPoints(stats::buildProgressionPoints({{0, 25, 1, false}}, stats::ProgressionScope::AllGames, -1,
                                                     std::nullopt, std::nullopt, 30));
        QCOMPARE(view.pointCount(), 2); // a single point is drawn twice
        QCOMPARE(view.valueFormat(), QStringLiteral("%d"));
    }
};

class TestStatisticsCommands : public QObject {
    Q_OBJECT

private slots:
    void menuOpensTheDialogsAndReplaysALoggedDeal()
    {
        Boxes boxes;
        QTemporaryDir dir;
        AppCore core;
        const std::string data = QDir(dir.path()).absolutePath().toStdString() + "/";
        const QString stop = prepareCore(core, CW_BIN_DIR "/", data);
        QVERIFY2(stop.isEmpty(), qPrintable(stop));
        core.store.set(storage::col::GameId, "0000");
        core.store.set(storage::col::CardsAnimate, "N");
        core.store.set(storage::col::DealAnimation, "N");
        core.store.set(storage::col::ConfirmQuitGame, "N");
        int drawn = 0;
        engine::SessionOptions options;
        options.freshGameNumber = [&] { return std::to_string(5000 + ++drawn); };
        TfrmMain window(*core.game, core.library, core.sink.get(), options);
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.firstActivation();
        QCoreApplication::processEvents();
        for (const char* name : {"mnuGameStatistics", "mnuLogStatistics"})
            QVERIFY2(window.findChild<QAction*>(QString::fromLatin1(name)), name);
        QCOMPARE(window.findChild<QAction*>("mnuGameStatistics")->shortcut(), QKeySequence(Qt::Key_F4));
        const std::string first = core.store.get(storage::col::GameNumber);
        // Two more deals, each recorded as lost.
        window.session().newGame();
        window.session().newGame();
        const std::string third = core.store.get(storage::col::GameNumber);
        QVERIFY(first != third);

        // F4: the "Statistics" dialog of the current game and player.
        QString won;
        QTimer::singleShot(100, [&] {
            auto* d = qobject_cast<StatisticsDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            won = d->valueText("lblLost");
            d->accept();
        });
        window.findChild<QAction*>("mnuGameStatistics")->trigger();
        QCOMPARE(won, QStringLiteral("2"));

        // "Log statistics": the oldest record's deal is dealt again.
        QTimer::singleShot(100, [&] {
            auto* d = qobject_cast<LogStatisticsDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            d->table()->selectRow(d->table()->rowCount() - 1);
            d->playSelected();
        });
        window.findChild<QAction*>("mnuLogStatistics")->trigger();
        QCOMPARE(core.store.get(storage::col::GameNumber), first);
        QVERIFY(window.session().flags().dealActive);
        QCOMPARE(core.game->currentGameId(), 0);

        // Disabled statistics: the message instead.
        core.game->preferences.disableStatistics = true;
        boxes.texts.clear();
        window.findChild<QAction*>("mnuGameStatistics")->trigger();
        window.findChild<QAction*>("mnuLogStatistics")->trigger();
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(boxes.texts[0], QString::fromLatin1(stats::kStatisticsDisabledMessage));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestStatisticsDialogs dialogs;
    TestStatisticsCommands commands;
    int status = QTest::qExec(&dialogs, argc, argv);
    status |= QTest::qExec(&commands, argc, argv);
    return status;
}

#include "test_statistics_dialogs.moc"
