// Series in the game window: the manager and its editor, the series window and situation, the series
// question of an unfinished game, and "Ancient games" played through a restart to its series hi-score.
// The window header first: it brings the engine headers before Qt defines "emit".
#include "ui/game_won_dialog.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/series_commands.h"
#include "ui/series_dialogs.h"
#include "ui/startup.h"
#include "ui/stats_commands.h"
#include "ui/stats_table.h"
#include "window_fixture.h"

#include "stats/hi_scores.h"
#include "stats/series.h"
#include "storage/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace cw;
using namespace cw::ui;

namespace {

// Answers the message boxes (OK / Yes; the hold dialog: hold) and keeps their texts.
struct Boxes {
    QStringList texts;
    Boxes()
    {
        setBoxAnswerHook([this](BoxKind kind, const QString& text) {
            texts << text;
            return kind == BoxKind::Hold ? 1 : 0;
        });
    }
    ~Boxes() { setBoxAnswerHook({}); }
};

// Runs fn on the modal dialog that opens next (then closes it unless fn did).
void onNextModal(std::function<void(QWidget*)> fn)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            fn(w);
            if (w->isVisible())
                w->close();
        }
    });
    timer->start();
}

// The window on a data folder with the application's statistics recorder, without the winning animation.
struct App : testing::WindowFixture {
    App()
    {
        realStatistics = true;
        numbers = [n = 0]() mutable { return std::to_string(7000 + ++n); };
    }
    bool start(const QString& folder)
    {
        if (!open(folder))
            return false;
        TableSettings quiet = window->table()->settings();
        quiet.winningAnimation = QStringLiteral("(None)");
        window->table()->setSettings(quiet);
        return true;
    }
    SeriesCommands* series() { return window->findChild<SeriesCommands*>(); }
    int gameId() { return core.game->currentGameId(); }
    // The game on the table is won with a score; the series deals its next game.
    void win(int score)
    {
        session().mutableState().score = score;
        session().mutableFlags().gameWon = true;
        session().endGame();
        QTest::qWait(30);
    }
};

} // namespace

class TestSeries : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        setSeriesQuestionHook({});
        // The game's own end-of-game dialogs stay closed; the series hi-scores dialog is watched.
        setEndOfGameDialogHook([](const engine::GameEndReport&, bool) { return GameWonChoice::Close; });
    }
    void cleanup() { setEndOfGameDialogHook({}); }

    void ancientGamesThroughARestartToTheSeriesHiScores()
    {
        Boxes boxes;
        QTemporaryDir dir;
        const auto& ancient = stats::predefinedSeries()[7].games;
        {
            App app;
            QVERIFY(app.start(dir.path()));
            QVERIFY(app.window->findChild<QAction*>("mnuSeriesManager"));
            QVERIFY(!app.window->findChild<QAction*>("mnuSeriesQuit")->isEnabled());
            // The manager: "Ancient games" for a new player, in list order.
            app.core.store.set(storage::col::Player, "Newbie");
            onNextModal([](QWidget* w) {
                auto* m = qobject_cast<SeriesManagerDialog*>(w);
                QVERIFY(m);
                m->selectSeries(8);
                QCOMPARE(m->gamesList()->count(), 6);
                QVERIFY(!m->button("btnEdit")->isEnabled()); // predefined
                m->randomBox()->setChecked(false);
                m->playSelected();
            });
            app.window->findChild<QAction*>("mnuSeriesManager")->trigger();
            QCOMPARE(app.gameId(), ancient[0]);
            QCOMPARE(app.core.game->player(), std::string("Newbie"));
            QVERIFY(app.window->findChild<QAction*>("mnuSeriesQuit")->isEnabled());
            SeriesWindow* sw = app.series()->seriesWindow();
            QVERIFY(sw->isVisible());
            QCOMPARE(sw->windowTitle(), QStringLiteral("Series: Ancient games"));
            QCOMPARE(sw->valueText("lblCount"), QStringLiteral("1/6"));

            app.win(20);
            QCOMPARE(app.gameId(), ancient[1]);
            QCOMPARE(sw->valueText("lblCount"), QStringLiteral("2/6"));
            QVERIFY(sw->valueText("lblResult").startsWith("Won, 20"));
            app.win(30);
            QCOMPARE(app.gameId(), ancient[2]);
            QCOMPARE(sw->valueText("lblScore").trimmed(), QString::number(50 + app.session().score()));
            QVERIFY(app.window->grab().save(QStringLiteral(CW_ARTIFACTS_DIR "/series_window.png")));
            QVERIFY(sw->grab().save(QStringLiteral(CW_ARTIFACTS_DIR "/series_display.png")));
            // Quit with the game held.
            QVERIFY(app.session().holdAndExit());
        }
        QVERIFY(QFile::exists(dir.path() + "/Series_e01.dat"));
        {
            App app;
            QVERIFY(app.start(dir.path()));
            QCOMPARE(app.gameId(), ancient[2]);
            QVERIFY(app.series()->player().inProgress());
            QCOMPARE(app.series()->seriesWindow()->valueText("lblCount"), QStringLiteral("3/6"));
            // The situation so far.
            onNextModal([](QWidget* w) {
                auto* s = qobject_cast<SeriesSituationDialog*>(w);
                QVERIFY(s);
                QCOMPARE(s->windowTitle(), QStringLiteral("Series situation: Ancient games"));
                QCOMPARE(s->table()->cellText(1, 2), QStringLiteral("30"));
                QCOMPARE(s->table()->cellText(1, 5), QStringLiteral("Won"));
                QCOMPARE(s->table()->cellText(2, 2), QString());
            });
            app.window->findChild<QAction*>("mnuSeriesSituation")->trigger();
            QString caption;
            for (int k = 2; k < 6; ++k) {
                if (k == 5)
                    onNextModal([&](QWidget* w) { caption = w->windowTitle(); });
                app.win(10);
            }
            QTest::qWait(100);
            QCOMPARE(caption, QStringLiteral("Your score has made the \"Ancient games\" Series Hi-Scores list!"));
            QVERIFY(!app.series()->player().inProgress());
            QVERIFY(!app.series()->seriesWindow()->isVisible());
            QVERIFY(!QFile::exists(dir.path() + "/Series_e01.dat"));

            // The series hi-scores show the result.
            onNextModal([&](QWidget* w) {
                auto* h = qobject_cast<SeriesHiScoresDialog*>(w);
                QVERIFY(h);
                QCOMPARE(h->windowTitle(), QStringLiteral("Series Hi-Scores [Ancient games]"));
                bool found = false;
                for (int r = 0; r < h->table()->rowCount(); ++r)
                    if (h->table()->cellText(r, 1) == "Newbie") {
                        found = true;
                        QCOMPARE(h->table()->cellText(r, 2), QStringLiteral("90"));
                        QCOMPARE(h->table()->cellText(r, 5), QStringLiteral("Won"));
                    }
                QVERIFY(found);
            });
            app.window->findChild<QAction*>("mnuSeriesHiScores")->trigger();
        }
    }

    void unfinishedGameAsksNextOrQuit()
    {
        Boxes boxes;
        QTemporaryDir dir;
        App app;
        QVERIFY(app.start(dir.path()));
        QVERIFY(app.series()->player().start(5, false, "Ann"));
        QCOMPARE(app.gameId(), 0);
        std::string asked;
        setSeriesQuestionHook([&](const std::string& name) {
            asked = name;
            return engine::SeriesAnswer::NextGame;
        });
        app.window->command("mnuNew")->trigger();
        QCOMPARE(asked, std::string("Klondike variations"));
        QCOMPARE(app.gameId(), 176);
        QCOMPARE(app.series()->player().progress()->played, 2);
        // "&Next game" of the menu moves on too; on the last game it is disabled.
        app.window->findChild<QAction*>("mnuSeriesNext")->trigger();
        app.window->findChild<QAction*>("mnuSeriesNext")->trigger();
        QCOMPARE(app.gameId(), 94);
        QVERIFY(!app.window->findChild<QAction*>("mnuSeriesNext")->isEnabled());
        setSeriesQuestionHook([](const std::string&) { return engine::SeriesAnswer::QuitSeries; });
        app.core.store.set(storage::col::ConfirmEnterHiScores, "N");
        app.window->command("mnuNew")->trigger();
        QVERIFY(!app.series()->player().inProgress());
        QVERIFY(app.session().flags().dealActive);
        QCOMPARE(app.session().current().seriesNumber, 0);
    }

    void managerEditorCreatesEditsAndDeletes()
    {
        Boxes boxes;
        QTemporaryDir dir;
        App app;
        QVERIFY(app.start(dir.path()));
        stats::StatsContext ctx;
        ctx.dataFolder = QDir(dir.path()).absolutePath().toStdString() + "/";
        const auto& games = app.window->findChild<StatsCommands*>()->catalog();
        SeriesManagerDialog manager(ctx, games, {"Ann"}, "Ann", true, 0);
        const int before = boxes.texts.size();
        // New: empty name, then no game, then a good one.
        onNextModal([&](QWidget* w) {
            auto* e = qobject_cast<SeriesEditorDialog*>(w);
            QVERIFY(e);
            QCOMPARE(e->windowTitle(), QStringLiteral("New Series"));
            QVERIFY(!e->save());
            e->nameEdit()->setText("Evening");
            QVERIFY(!e->save());
            e->allGames()->setCurrentRow(0);
            e->allGames()->item(1)->setSelected(true);
            e->addSelected();
            QCOMPARE(e->chosenGames()->count(), 2);
            QVERIFY(e->save());
            e->accept();
        });
        manager.newSeries();
        QCOMPARE(boxes.texts.value(before), QStringLiteral("Please enter at least 1 character."));
        QCOMPARE(boxes.texts.value(before + 1), QStringLiteral("You haven't selected any game."));
        QCOMPARE(manager.selectedSeries(), 5000);
        QCOMPARE(manager.gamesList()->count(), 2);
        QVERIFY(manager.button("btnEdit")->isEnabled());
        QVERIFY(QFile(dir.path() + "/Series.dat").size() > 0);
        // A second series may not take the same name.
        onNextModal([&](QWidget* w) {
            auto* e = qobject_cast<SeriesEditorDialog*>(w);
            e->nameEdit()->setText("EVENING");
            e->allGames()->setCurrentRow(2);
            e->addSelected();
            QVERIFY(!e->save());
            e->reject();
        });
        manager.newSeries();
        QCOMPARE(boxes.texts.last(), QStringLiteral("This Series name already exists."));
        // Delete asks first.
        manager.deleteSelected();
        QVERIFY(boxes.texts.last().startsWith("Are you sure you want to delete this Series:"));
        QVERIFY(boxes.texts.last().contains("Evening"));
        QCOMPARE(manager.selectedSeries(), 1);
        QVERIFY(stats::readUserSeries(ctx, games).empty());
    }

    void damagedProgressFileIsKeptAsideAtStartUp()
    {
        Boxes boxes;
        QTemporaryDir dir;
        QFile f(dir.path() + "/Series_e01.dat");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Series]\r\nNumber=5\r\nPlayer=Ann\r\nNumGames=004\r\nPlayed=-03\r\n");
        f.close();
        App app;
        QVERIFY(app.start(dir.path()));
        QVERIFY(!app.series()->player().inProgress());
        QVERIFY(QFile::exists(dir.path() + "/Series_e01.dat.bad"));
        int messages = 0;
        for (const auto& t : boxes.texts)
            messages += t.contains("Series_e01.dat") ? 1 : 0;
        QCOMPARE(messages, 1);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestSeries series;
    return QTest::qExec(&series, argc, argv);
}

#include "test_series.moc"
