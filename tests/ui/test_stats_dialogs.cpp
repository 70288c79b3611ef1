// Tests of the statistics dialogs over a prepared data folder: values shown, name checks, clearing scopes.
// The window header first: it brings the engine headers before Qt defines "emit".
#include "stats_folder.h"
#include "ui/clear_stats_dialog.h"
#include "ui/game_info_dialog.h"
#include "ui/game_won_dialog.h"
#include "ui/hi_scores_dialog.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/overall_score_dialog.h"
#include "ui/pie_chart.h"
#include "ui/players_dialog.h"
#include "ui/single_game_dialog.h"
#include "ui/startup.h"
#include "ui/stats_commands.h"

#include "stats/game_end.h"
#include "stats/game_log.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "stats/overall_score.h"
#include "storage/settings_store.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>

using namespace cw;
using namespace cw::ui;

namespace {

QString artifactsDir()
{
    const QString dir = QStringLiteral(CW_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    return dir;
}

void render(QWidget* w, const char* name)
{
    w->show();
    QCoreApplication::processEvents();
    QVERIFY(w->grab().save(artifactsDir() + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png")));
    w->hide();
}

// Answers the message boxes in order (default 0: OK or Yes) and keeps their texts.
struct Boxes {
    std::deque<int> answers;
    QStringList texts;
    Boxes()
    {
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            texts << text;
            if (answers.empty()) return 0;
            const int a = answers.front();
            answers.pop_front();
            return a;
        });
    }
    ~Boxes() { setBoxAnswerHook({}); }
    bool saw(const QString& part) const
    {
        for (const auto& t : texts)
            if (t.contains(part)) return true;
        return false;
    }
};

// Runs fn on the next modal dialog that opens, then closes it; returns whether one opened.
struct ModalWatch {
    QTimer timer;
    bool seen = false;
    explicit ModalWatch(std::function<void(QWidget*)> fn)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, fn] {
            if (auto* w = QApplication::activeModalWidget()) {
                if (seen) return;
                seen = true;
                fn(w);
                w->close();
            }
        });
        timer.start(20);
    }
};

} // namespace

class TestStatsDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    storage::SettingsStore m_settings;
    stats::StatsContext m_ctx;
    stats::FixedCatalog m_catalog{{{1, "Klondike", -1, 52}, {2, "Spider", -1, 104}, {3, "FreeCell", 52, 52}}};
    std::vector<stats::CatalogGame> m_games = m_catalog.catalogGames();
    std::vector<std::string> m_players{"Ann", "Bob", "Player 3"};

    void record(int gameId, const std::string& player, bool won, int score, int seconds, bool random = true)
    {
        stats::FinishedGame g;
        g.gameId = gameId;
        g.gameName = m_catalog.game(gameId)->name;
        g.gameNumber = "123";
        g.player = player;
        g.won = won;
        g.score = score;
        g.playingSeconds = seconds;
        g.end = {2026, 3, 14, 10, 0, 0};
        g.randomNumberDeal = random;
        stats::GameEndRecorder(m_ctx, m_catalog).record(g);
    }

    // A fresh data folder: Ann won 2 and lost 1 of Klondike, Bob won 1; Ann won 1 of FreeCell.
    void prepare()
    {
        testing::resetStatsFolder(m_dir, m_settings, m_ctx, 1, "Ann");
        record(1, "Ann", true, 52, 300);
        record(1, "Ann", true, 40, 200);
        record(1, "Ann", false, 10, 100);
        record(1, "Bob", true, 60, 400);
        record(3, "Ann", true, 52, 120);
    }

    stats::GameRecord recordOf(int gameId, const std::string& player)
    {
        return stats::readGameStatistics(m_ctx, gameId, player).record;
    }

private slots:
    void init() { prepare(); }

    void pieChartKeepsWholePercent()
    {
        C_TPieChart pie;
        const std::pair<double, int> cases[] = {{66.7, 66}, {-5, 0}, {100, 100}, {150, 100}, {0.9, 0}};
        for (auto [in, out] : cases) {
            pie.setPercent(in);
            QCOMPARE(pie.percent(), out);
        }
        pie.resize(160, 110);
        pie.setPercent(66.7);
        render(&pie, "stats_pie_66");
        // The won share is the face colour at the upper right of the top, the lost share at the upper left.
        const QImage img = pie.grab().toImage();
        QCOMPARE(img.pixelColor(110, 30), C_TPieChart::kWonFace);
        QCOMPARE(img.pixelColor(50, 30), C_TPieChart::kLostFace);
        // The wall below the front of the ellipse.
        const QColor wall = img.pixelColor(80, 104);
        QVERIFY(wall == C_TPieChart::kWonWall || wall == C_TPieChart::kLostWall);
    }

    void gameWonShowsTotalsAndChosenButtons()
    {
        GameWonDialog dialog(m_ctx, 1, "Klondike", "Ann", {GameWonChoice::New, GameWonChoice::Restart});
        QVERIFY(dialog.showsValues());
        QCOMPARE(dialog.valueText("caption"), QStringLiteral("Total [Klondike]"));
        QCOMPARE(dialog.valueText("won"), QStringLiteral("2"));
        QCOMPARE(dialog.valueText("lost"), QStringLiteral("1"));
        QCOMPARE(dialog.valueText("total"), QStringLiteral("3"));
        QCOMPARE(dialog.valueText("wonPercent"), QStringLiteral("(66.7%)"));
        QCOMPARE(dialog.valueText("lostPercent"), QStringLiteral("(33.3%)"));
        QCOMPARE(dialog.pie()->percent(), 66);
        QVERIFY(dialog.pie()->hasValues());
        QVERIFY(dialog.button(GameWonChoice::New)->isVisibleTo(&dialog));
        QVERIFY(dialog.button(GameWonChoice::Restart)->isVisibleTo(&dialog));
        QVERIFY(!dialog.button(GameWonChoice::Open)->isVisibleTo(&dialog));
        QVERIFY(!dialog.button(GameWonChoice::Stats)->isVisibleTo(&dialog));
        render(&dialog, "stats_game_won");

        // Stats: the handler runs and the values are read again.
        bool ran = false;
        dialog.setStatsHandler([&] {
            ran = true;
            record(1, "Ann", true, 30, 50);
        });
        QVERIFY(dialog.button(GameWonChoice::Stats)->isVisibleTo(&dialog));
        dialog.button(GameWonChoice::Stats)->click();
        QVERIFY(ran);
        QCOMPARE(dialog.valueText("won"), QStringLiteral("3"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.button(GameWonChoice::New)->click();
        QCOMPARE(dialog.choice(), GameWonChoice::New);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        // A game never played: no values, the no-values picture.
        GameWonDialog empty(m_ctx, 2, "Spider", "Ann", {});
        QCOMPARE(empty.valueText("total"), QStringLiteral("0"));
        QCOMPARE(empty.valueText("wonPercent"), QString());
        QVERIFY(!empty.pie()->hasValues());
        render(&empty, "stats_game_won_no_values");

        // Statistics disabled: the page without values.
        m_ctx.statisticsDisabled = true;
        GameWonDialog off(m_ctx, 1, "Klondike", "Ann", {GameWonChoice::New});
        QVERIFY(!off.showsValues());
        render(&off, "stats_game_won_disabled");
    }

    void hiScoresGridCaptionAndMenu()
    {
        Boxes boxes;
        HiScoresRequest request;
        request.newScore = true;
        request.selectRow = 2;
        request.caption = stats::newHiScoreCaption(stats::HiScoreTable::Games, "Klondike");
        HiScoresDialog dialog(m_ctx, m_games, m_catalog, request);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Congratulations! Your score has made the \"Klondike\" Hi-Scores list!"));
        auto* grid = dialog.grid();
        QCOMPARE(grid->rowCount(), 20);
        QCOMPARE(grid->horizontalHeaderItem(6)->text(), QStringLiteral("Game number"));
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("01"));
        QCOMPARE(grid->item(19, 0)->text(), QStringLiteral("20"));
        QCOMPARE(grid->currentRow(), 2);
        // Bob's 60 and Ann's 52 are among the defaults (one deck: top default 52 or less).
        QStringList players;
        for (int r = 0; r < 20; ++r) players << grid->item(r, 1)->text().trimmed();
        QVERIFY(players.contains("Bob"));
        QVERIFY(players.contains("Ann"));
        const int bob = players.indexOf("Bob");
        QCOMPARE(grid->item(bob, 2)->text(), QStringLiteral("60"));
        QCOMPARE(grid->item(bob, 3)->text(), QStringLiteral("0:06:40"));
        QCOMPARE(grid->item(bob, 4)->text().trimmed(), QStringLiteral("Won"));
        QCOMPARE(grid->item(bob, 6)->text(), QStringLiteral("123"));
        QVERIFY(players.filter(QStringLiteral("* ")).size() >= 15);
        render(&dialog, "stats_hi_scores");

        // The congratulation is shown once: another game shows its own caption, and so does the first again.
        dialog.gameBox()->setCurrentIndex(1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Hi-Scores [Spider]"));
        dialog.gameBox()->setCurrentIndex(0);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Hi-Scores [Klondike]"));

        // Pop-up: turning the dialog off (after OK) writes the preference.
        const auto actions = dialog.popupMenu()->actions();
        QCOMPARE(actions.size(), 2);
        m_settings.set(storage::col::ConfirmEnterHiScores, "Y");
        boxes.answers = {1};  // Cancel
        dialog.turnOffNewScoreDialog();
        QCOMPARE(m_settings.get(storage::col::ConfirmEnterHiScores), std::string("Y"));
        dialog.turnOffNewScoreDialog();
        QCOMPARE(m_settings.get(storage::col::ConfirmEnterHiScores), std::string("N"));
        QVERIFY(boxes.saw("will not open again"));

        // "Clear values..." runs the clearing, then the grid is read again.
        dialog.clearValuesHandler = [&] {
            stats::clearHiScores(m_ctx, stats::HiScoreTable::Games, 1, "Bob", "01");
        };
        dialog.openClearValues();
        players.clear();
        for (int r = 0; r < 20; ++r) players << grid->item(r, 1)->text().trimmed();
        QVERIFY(!players.contains("Bob"));

        // Opened from a menu: no "Don't show" entry.
        HiScoresDialog plain(m_ctx, m_games, m_catalog, HiScoresRequest{});
        QCOMPARE(plain.popupMenu()->actions().size(), 1);
        QCOMPARE(plain.windowTitle(), QStringLiteral("Hi-Scores [Klondike]"));
    }

    void gameInformationValues()
    {
        const auto info = stats::gameInformation(m_ctx, 1, "Klondike", "Ann", m_players, "01",
                                                 stats::gameDefaultScores(m_catalog, 1), 1, 3);
        GameInfoDialog dialog(info);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Klondike"));
        const std::pair<const char*, const char*> rows[] = {
            {"currentPlayer", "Ann"},   {"currentWon", "2"},        {"currentWonPercent", "(67%)"},
            {"currentLost", "1"},       {"currentLostPercent", "(33%)"}, {"currentTotal", "3"},
            {"currentBestScore", "52"}, {"currentBestTime", "0:05:00"},
            {"globalWon", "3"},         {"globalTotal", "4"},       {"globalWonPercent", "(75%)"},
            {"globalBestScore", "60"},  {"globalBestPlayer", "Bob"}, {"chance", "about 1 in 3"}};
        for (auto [name, value] : rows) QCOMPARE(dialog.valueText(name), QString::fromLatin1(value));
        QVERIFY(!dialog.valueText("currentDate").isEmpty());
        render(&dialog, "stats_game_information");
    }

    void disabledStatisticsShowTheMessageOnly()
    {
        Boxes boxes;
        m_ctx.statisticsDisabled = true;
        // A dialog opened by mistake would block: close any modal window that appears.
        QTimer guard;
        bool opened = false;
        connect(&guard, &QTimer::timeout, [&] {
            if (auto* w = QApplication::activeModalWidget()) {
                opened = true;
                w->close();
            }
        });
        guard.start(50);
        GameInfoRequest info;
        info.gameId = 1;
        info.gameName = "Klondike";
        info.player = "Ann";
        showGameInformation(nullptr, m_ctx, info);
        showHiScores(nullptr, m_ctx, m_games, m_catalog, HiScoresRequest{});
        showClearValues(nullptr, m_ctx, m_games, m_players);
        showOverallScore(nullptr, m_ctx, m_catalog);
        showSingleGameValues(nullptr, m_ctx, m_catalog, m_players);
        QVERIFY(!opened);
        QCOMPARE(boxes.texts.size(), 5);
        for (const auto& t : boxes.texts) QCOMPARE(t, QString::fromLatin1(stats::kStatisticsDisabledMessage));
    }

    void playersDialogNewEditDeleteSelect()
    {
        Boxes boxes;
        const QString cfg = m_dir.filePath("Cfg.dat");
        storage::IniFile file(cfg.toStdString());
        storage::writePlayerSlots(file, {"Bob", "Ann", "Player 3"});
        PlayersDialog dialog(m_ctx, file);
        std::deque<std::optional<QString>> names;
        dialog.nameEntry = [&](const QString&, const QString&) -> std::optional<QString> {
            std::optional<QString> n;
            if (!names.empty()) {
                n.swap(names.front());
                names.pop_front();
            }
            return n;
        };
        std::vector<std::string> switched;
        dialog.switchPlayer = [&](const std::string& p) {
            switched.push_back(p);
            return true;
        };
        auto listed = [&] {
            QStringList out;
            for (int i = 0; i < dialog.list()->count(); ++i) out << dialog.list()->item(i)->text();
            return out;
        };
        QCOMPARE(listed(), (QStringList{"Ann", "Bob", "Player 3"}));
        QCOMPARE(dialog.list()->currentItem()->text(), QStringLiteral("Ann"));
        QVERIFY(!dialog.deleteAction()->isEnabled());  // the current player
        render(&dialog, "stats_players");

        // New: an empty name and a forbidden character are refused and the box reopens; then a name is taken.
        names = {QString(), QStringLiteral("a/b"), QStringLiteral("Cy")};
        dialog.addPlayer();
        QVERIFY(boxes.saw("Please enter at least 1 character."));
        QVERIFY(boxes.saw("A Player name cannot contain"));
        QCOMPARE(listed(), (QStringList{"Ann", "Bob", "Cy", "Player 3"}));
        QCOMPARE(dialog.list()->currentItem()->text(), QStringLiteral("Cy"));

        // Edit: a duplicate is refused; an unchanged name is accepted; a rename reaches the files.
        dialog.list()->setCurrentRow(1);  // Bob
        boxes.texts.clear();
        names = {QStringLiteral("Ann"), QStringLiteral("Bobby")};
        dialog.editPlayer();
        QVERIFY(boxes.saw("This player name already exists."));
        QVERIFY(boxes.saw("Player renamed."));
        QCOMPARE(listed(), (QStringList{"Ann", "Bobby", "Cy", "Player 3"}));
        QCOMPARE(recordOf(1, "Bobby").won, 1);
        QCOMPARE(recordOf(1, "Bob").won, 0);
        QCOMPARE(file.readString("Users", "User002", ""), std::string("Bobby"));
        boxes.texts.clear();
        names = {QStringLiteral("Bobby")};
        dialog.editPlayer();
        QVERIFY(!boxes.saw("already exists"));

        // Delete: the current player is refused; another one after the confirmation (Cancel keeps it).
        dialog.list()->setCurrentRow(0);
        dialog.deletePlayer();
        QVERIFY(boxes.saw("It is impossible to delete the selected player."));
        dialog.list()->setCurrentRow(1);  // Bobby
        QVERIFY(dialog.deleteAction()->isEnabled());
        boxes.answers = {1};
        dialog.deletePlayer();
        QCOMPARE(listed().size(), 4);
        dialog.deletePlayer();
        QCOMPARE(listed(), (QStringList{"Ann", "Cy", "Player 3"}));
        QCOMPARE(recordOf(1, "Bobby").won, 0);
        QCOMPARE(file.readString("Users", "User001", ""), std::string("Ann"));
        QCOMPARE(file.readString("Users", "User003", ""), std::string("Player 3"));
        QVERIFY(file.readString("Users", "User004", "").empty());

        // Select another player: the switch runs, the list and UserDefault are written.
        dialog.list()->setCurrentRow(1);  // Cy
        dialog.selectPlayer();
        QCOMPARE(switched, (std::vector<std::string>{"Cy"}));
        QVERIFY(dialog.playerChanged());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(file.readString("Preference", "UserDefault", ""), std::string("Cy"));
        QCOMPARE(storage::readPlayerSlots(file), (std::vector<std::string>{"Ann", "Cy", "Player 3"}));
    }

    void playersDialogRefusesToCloseOnBadStoredName()
    {
        Boxes boxes;
        storage::IniFile file(m_dir.filePath("Cfg.dat").toStdString());
        storage::writePlayerSlots(file, {"Ann", "Bad|Name"});
        PlayersDialog dialog(m_ctx, file);
        dialog.nameEntry = [](const QString&, const QString&) -> std::optional<QString> { return std::nullopt; };
        dialog.show();
        dialog.reject();
        QVERIFY(boxes.saw("Please rename the Player name"));
        QVERIFY(dialog.isVisible());
        dialog.nameEntry = [](const QString&, const QString&) -> std::optional<QString> { return QStringLiteral("Good"); };
        dialog.reject();
        dialog.reject();
        QVERIFY(!dialog.isVisible());
    }

    void clearStatisticsScopes_data()
    {
        QTest::addColumn<int>("playerIndex");  // 0: [All players], 1: Ann, 2: Bob
        QTest::addColumn<int>("gameIndex");    // 0: [All games], 1: Klondike, 3: FreeCell
        QTest::addColumn<int>("annKlondike");
        QTest::addColumn<int>("bobKlondike");
        QTest::addColumn<int>("annFreeCell");
        QTest::addColumn<int>("logLines");
        QTest::newRow("one game, one player") << 1 << 1 << 0 << 1 << 1 << 2;
        QTest::newRow("all games, one player") << 1 << 0 << 0 << 1 << 0 << 1;
        QTest::newRow("one game, all players") << 0 << 1 << 0 << 0 << 1 << 1;
        QTest::newRow("all games, all players") << 0 << 0 << 0 << 0 << 0 << 0;
    }

    void clearStatisticsScopes()
    {
        QFETCH(int, playerIndex);
        QFETCH(int, gameIndex);
        Boxes boxes;
        m_settings.set(storage::col::SessionWon, "0003");
        ClearStatsDialog dialog(m_ctx, m_games, {"Ann", "Bob"}, false);
        QCOMPARE(dialog.playerBox()->itemText(0), QStringLiteral("[All players]"));
        QCOMPARE(dialog.gameBox()->itemText(0), QStringLiteral("[All games]"));
        dialog.playerBox()->setCurrentIndex(playerIndex);
        dialog.gameBox()->setCurrentIndex(gameIndex);
        if (playerIndex == 1 && gameIndex == 1) {
            boxes.answers = {1};  // No: nothing is cleared
            QVERIFY(!dialog.confirmAndClear());
            QCOMPARE(recordOf(1, "Ann").won, 2);
            render(&dialog, "stats_clear_statistics");
        }
        QVERIFY(dialog.confirmAndClear());
        QVERIFY(boxes.saw("Are you sure you want to clear the statistics for player: " +
                          dialog.playerBox()->currentText()));
        QVERIFY(boxes.saw("Statistics have been cleared."));
        QTEST(int(recordOf(1, "Ann").won), "annKlondike");
        QTEST(int(recordOf(1, "Bob").won), "bobKlondike");
        QTEST(int(recordOf(3, "Ann").won), "annFreeCell");
        QTEST(int(stats::readGameLog(m_ctx).size()), "logLines");
        // Every case touches the current game (Klondike) or all of a kind: the session counters start over.
        QCOMPARE(stats::readSessionCounters(m_settings).won, 0);
    }

    void clearHiScoresAndLogAndAll()
    {
        Boxes boxes;
        // Hi-scores of Bob in Klondike.
        ClearStatsDialog hi(m_ctx, m_games, {"Ann", "Bob"}, true);
        QCOMPARE(hi.windowTitle(), QStringLiteral("Clear Hi-Scores"));
        hi.playerBox()->setCurrentIndex(2);
        hi.gameBox()->setCurrentIndex(1);
        QVERIFY(hi.confirmAndClear());
        QVERIFY(boxes.saw("Are you sure you want to clear the Hi-Scores?"));
        QVERIFY(boxes.saw("Hi-Scores have been cleared."));
        const auto entries = stats::readHiScores(m_ctx, stats::HiScoreTable::Games, 1, "01",
                                                 stats::gameDefaultScores(m_catalog, 1));
        bool ann = false, bob = false;
        for (const auto& e : entries) {
            ann |= stats::entryPlayer(e) == "Ann";
            bob |= stats::entryPlayer(e) == "Bob";
        }
        QVERIFY(ann);
        QVERIFY(!bob);
        QCOMPARE(recordOf(1, "Bob").won, 1);  // statistics untouched

        // Log: OK only between 0 and the record count (exclusive); keeps the newest.
        ClearLogDialog log(m_ctx);
        QCOMPARE(log.recordCount(), 5);
        QCOMPARE(log.keepBox()->value(), 5);
        QVERIFY(!log.okButton()->isEnabled());
        log.keepBox()->setValue(0);
        QVERIFY(!log.okButton()->isEnabled());
        log.keepBox()->setValue(2);
        QVERIFY(log.okButton()->isEnabled());
        render(&log, "stats_clear_log");
        QVERIFY(log.trim());
        const auto lines = stats::readGameLog(m_ctx);
        QCOMPARE(int(lines.size()), 2);
        QCOMPARE(lines.back().gameId, 3);
        QVERIFY(boxes.saw("Log Statistics have been cleared."));

        // All values: both confirmations are needed.
        ClearValuesDialog all(m_ctx, m_games, m_players);
        QVERIFY(all.allValues()->isChecked());
        QVERIFY(!all.kindList()->isEnabled());
        render(&all, "stats_clear_values");
        boxes.answers = {0, 1};  // Yes, then No
        all.run();
        QCOMPARE(recordOf(1, "Ann").won, 2);
        boxes.answers = {0, 0};
        all.run();
        QCOMPARE(recordOf(1, "Ann").won, 0);
        QCOMPARE(stats::countLogRecords(m_ctx), 0);
        QVERIFY(stats::readOverallRanking(m_ctx).entries.empty());
        QVERIFY(boxes.saw("Statistics, Hi-Scores, Log, Overall Score and Series have been cleared."));
        all.selectValues()->setChecked(true);
        QVERIFY(all.kindList()->isEnabled());
    }

    void overallRankingAndDetails()
    {
        const auto ranking = stats::readOverallRanking(m_ctx);
        OverallScoreDialog dialog(m_ctx, m_catalog, ranking);
        auto* grid = dialog.grid();
        QCOMPARE(grid->rowCount(), 2);
        // Ann: 52 (Klondike) + 52 (FreeCell); Bob: 60.
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Ann"));
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("104"));
        QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("0:07:00"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Bob"));
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("02"));
        // No code for a web site the product does not have.
        for (auto* b : dialog.findChildren<QPushButton*>())
            QVERIFY(!b->text().contains(QStringLiteral("Publishing")));
        render(&dialog, "stats_overall_score");

        const auto details = stats::readOverallDetails(m_ctx, "Ann", m_catalog);
        OverallDetailsDialog det("Ann", details);
        QCOMPARE(det.windowTitle(), QStringLiteral("Overall score details [Ann]"));
        QCOMPARE(det.grid()->rowCount(), 3);
        QCOMPARE(det.grid()->item(0, 0)->text(), QStringLiteral("FreeCell"));
        QCOMPARE(det.grid()->item(0, 2)->text(), QStringLiteral("Yes"));  // 52 of 52
        render(&det, "stats_overall_details");
        det.notReachedChoice()->setChecked(true);
        QCOMPARE(det.grid()->rowCount(), 2);
        QVERIFY(det.totalsText().contains("104"));

        stats::TotalsDifference d{"Ann", 90, 104};
        OverallDifferenceDialog diff(d);
        QVERIFY(!diff.okButton()->isEnabled());
        diff.yesChoice()->setChecked(true);
        QVERIFY(diff.okButton()->isEnabled());
        render(&diff, "stats_overall_difference");
    }

    void singleGameValuesAndCode()
    {
        record(2, "Ann", false, 0, 30, false);  // a chosen game number: not counted
        SingleGameDialog dialog(m_ctx, m_catalog, m_players);
        QCOMPARE(dialog.playerBox()->currentText(), QStringLiteral("Ann"));
        auto* grid = dialog.grid();
        QCOMPARE(grid->rowCount(), 2);
        QStringList games;
        for (int r = 0; r < grid->rowCount(); ++r) games << grid->item(r, 0)->text() + "=" + grid->item(r, 1)->text();
        QVERIFY(games.contains("Klondike=2"));
        QVERIFY(games.contains("FreeCell=1"));
        for (auto* label : dialog.findChildren<QLabel*>())
            QVERIFY(!label->text().contains(QStringLiteral("Publishing")));
        render(&dialog, "stats_single_game");
        dialog.playerBox()->setCurrentIndex(1);  // Bob
        QCOMPARE(grid->rowCount(), 1);
        dialog.playerBox()->setCurrentIndex(2);  // Player 3: nothing
        QCOMPARE(grid->rowCount(), 0);
    }
};

// The window's statistics commands over a real data folder.
class TestStatsCommands : public QObject {
    Q_OBJECT

private slots:
    void windowOffersTheStatisticsCommands()
    {
        Boxes boxes;  // every box answered OK / Yes
        QTemporaryDir dir;
        AppCore core;
        const std::string data = QDir(dir.path()).absolutePath().toStdString() + "/";
        const QString stop = prepareCore(core, CW_BIN_DIR "/", data);
        QVERIFY2(stop.isEmpty(), qPrintable(stop));
        core.store.set(storage::col::GameId, "0000");
        core.store.set(storage::col::CardsAnimate, "N");
        core.store.set(storage::col::DealAnimation, "N");
        engine::SessionOptions options;
        options.freshGameNumber = [] { return std::string("12345"); };
        TfrmMain window(*core.game, core.library, core.sink.get(), options);
        window.resize(900, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.firstActivation();
        QCoreApplication::processEvents();

        for (const char* name : {"mnuPlayers", "mnuHiScores", "mnuGameInformation", "mnuOverallScore",
                                 "mnuSingleGame", "mnuClearValues"})
            QVERIFY2(window.findChild<QAction*>(QString::fromLatin1(name)), name);
        auto* commands = window.findChild<StatsCommands*>();
        QVERIFY(commands);
        auto* popupEntry = window.findChild<QAction*>(QStringLiteral("popGameInformation"));
        QVERIFY(popupEntry);
        QCOMPARE(popupEntry->text(), QStringLiteral("Game information..."));

        // Game information of the current game, from the definitions file's catalog.
        QString caption;
        {
            ModalWatch watch([&](QWidget* w) { caption = w->windowTitle(); });
            window.findChild<QAction*>(QStringLiteral("mnuGameInformation"))->trigger();
            QVERIFY(watch.seen);
        }
        QCOMPARE(caption.toStdString(), core.store.get(storage::col::GameName));

        // The "Game won" dialog offers the window's next-game commands.
        QStringList buttons;
        {
            ModalWatch watch([&](QWidget* w) {
                for (auto* b : w->findChildren<QPushButton*>())
                    if (b->isVisibleTo(w)) buttons << b->text();
                w->grab().save(artifactsDir() + QStringLiteral("/stats_game_won_window.png"));
            });
            engine::GameEndReport report;
            report.gameId = 0;
            report.gameName = core.store.get(storage::col::GameName);
            report.player = core.store.get(storage::col::Player);
            report.won = true;
            commands->gameWon(report);
            QVERIFY(watch.seen);
        }
        QVERIFY(buttons.contains("New"));
        QVERIFY(buttons.contains("Restart"));
        QVERIFY(buttons.contains("Close"));
        QVERIFY(buttons.contains("Stats"));

        // Without the dialog (the hook answers): the chosen command runs once the end of game has returned.
        std::vector<bool> hookCalls;
        setEndOfGameDialogHook([&](const engine::GameEndReport&, bool newHiScore) {
            hookCalls.push_back(newHiScore);
            return GameWonChoice::Restart;
        });
        bool restarted = false;
        QObject::connect(window.command(QStringLiteral("mnuRestart")), &QAction::triggered, [&] { restarted = true; });
        engine::GameEndReport won;
        won.gameId = 0;
        won.won = true;
        won.hiScoreRank = 0;
        commands->gameEnded(won);
        commands->gameWon(won);
        QVERIFY(!restarted);
        QTest::qWait(50);
        QVERIFY(restarted);
        QCOMPARE(hookCalls, (std::vector<bool>{true, false}));
        setEndOfGameDialogHook({});

        // Players: selecting another player makes them current, with the session counters reset.
        core.store.set(storage::col::SessionWon, "0002");
        const std::string before = core.store.get(storage::col::Player);
        std::string chosen;
        {
            ModalWatch watch([&](QWidget* w) {
                auto* players = qobject_cast<PlayersDialog*>(w);
                QVERIFY(players);
                for (int i = 0; i < players->list()->count(); ++i)
                    if (players->list()->item(i)->text().toStdString() != before) {
                        players->list()->setCurrentRow(i);
                        chosen = players->list()->item(i)->text().toStdString();
                        break;
                    }
                players->selectPlayer();
            });
            window.findChild<QAction*>(QStringLiteral("mnuPlayers"))->trigger();
            QVERIFY(watch.seen);
        }
        QVERIFY(!chosen.empty());
        QCOMPARE(core.store.get(storage::col::Player), chosen);
        QCOMPARE(stats::readSessionCounters(core.store).won, 0);
        QCOMPARE(core.settingsFile->readString("Preference", "UserDefault", ""), chosen);
        QVERIFY(window.windowTitle().contains(QString::fromStdString("[" + chosen + "]")));
        // The chooser opens for the new player.
        {
            ModalWatch watch([](QWidget*) {});
            QTest::qWait(200);
            QVERIFY(watch.seen);
        }
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestStatsDialogs dialogs;
    TestStatsCommands commands;
    int status = QTest::qExec(&dialogs, argc, argv);
    status |= QTest::qExec(&commands, argc, argv);
    return status;
}
#include "test_stats_dialogs.moc"
