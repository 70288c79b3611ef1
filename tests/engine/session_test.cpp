// The life of a game through the session: start, deal, quit, the records of the end, restart, pause, hold, undo, bookmarks, files, two players.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "session_fixture.h"

namespace cw::test {
namespace {

int indexOf(const std::vector<std::string>& calls, const std::string& line)
{
    const auto it = std::find(calls.begin(), calls.end(), line);
    return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
}

TEST_F(SessionTest, StartGameStoresTheCurrentGameAndDeals)
{
    ASSERT_TRUE(session->startGame(kKlondike, "Bob"));
    EXPECT_EQ(settings.get(col::GameId), "0000");
    EXPECT_EQ(settings.get(col::GameName), "Klondike");
    EXPECT_EQ(settings.get(col::Player), "Bob");
    EXPECT_EQ(ini.readString("Preference", "UserDefault", ""), "Bob");
    EXPECT_EQ(settings.get(col::GameNumber), "1001");
    EXPECT_EQ(settings.get(col::UndoMark), "0");
    EXPECT_EQ(session->state().gameNumber, "1001");
    EXPECT_EQ(settings.get(col::Score), std::to_string(session->score()));
    EXPECT_TRUE(session->flags().dealActive);
    EXPECT_TRUE(session->flags().clockRunning);
    EXPECT_TRUE(session->current().randomNumberDeal);
    EXPECT_EQ(session->current().statisticsEligibility, -1);
    EXPECT_EQ(session->undoDepth(), 0);
    EXPECT_TRUE(host.called("animateDeal"));
    EXPECT_TRUE(host.called("dealStarted"));
    EXPECT_TRUE(sink.records.empty()) << "no game was running";

    // The same game and player again while the deal runs: nothing happens.
    host.calls.clear();
    EXPECT_TRUE(session->startGame(kKlondike, "Bob"));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(session->state().gameNumber, "1001");

    // Another game: asked, the running one recorded as lost, the new one dealt with its rules.
    ASSERT_TRUE(session->startGame(kFreeCell, "Bob"));
    EXPECT_TRUE(host.called("confirm:Quit this game?"));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].gameId, kKlondike);
    EXPECT_FALSE(sink.records[0].won);
    EXPECT_EQ(settings.get(col::GameName), "FreeCell");
    EXPECT_EQ(session->rules().tableauCount(), game.rules.tableauCount());
    EXPECT_EQ(game.rulesGameId, kFreeCell);

    // Recorded as the next start-up game when asked.
    EXPECT_EQ(ini.readString("Preference", "Game", ""), "");
    ASSERT_TRUE(session->startGame(kKlondike, "Bob", NumberMode::Fresh, true));
    EXPECT_EQ(ini.readString("Preference", "Game", ""), "0");
    EXPECT_EQ(ini.readString("Preference", "Game_Name", ""), "Klondike");
    EXPECT_EQ(ini.readString("Preference", "Game_TreeNum", ""), "-30");

    // An unknown game is refused with a beep and changes nothing.
    host.calls.clear();
    EXPECT_FALSE(session->startGame(4321));
    EXPECT_TRUE(host.called("beep"));
    EXPECT_EQ(settings.get(col::GameName), "Klondike");
}

TEST_F(SessionTest, ConfirmQuitAsksOnlyForAnUnfinishedGame)
{
    struct Row {
        const char* confirmPref;
        bool dealActive;
        bool won;
        bool animation;
        bool answer;
        bool expected;
        bool asked;
    } rows[] = {
        {"N", true, false, false, false, true, false},  // switched off: never asks
        {"Y", false, false, false, false, true, false}, // no deal
        {"Y", true, true, false, false, true, false},   // already won
        {"Y", true, false, false, true, true, true},    // OK
        {"Y", true, false, false, false, false, true},  // Cancel
        {"", true, false, false, true, true, true},     // any value other than "N" asks
        {"N", true, false, true, true, false, false},   // the winning animation refuses
    };
    start();
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.confirmPref) + (r.dealActive ? " active" : "") + (r.won ? " won" : ""));
        settings.set(col::ConfirmQuitGame, r.confirmPref);
        TableFlags& f = session->mutableFlags();
        f.dealActive = r.dealActive;
        f.gameWon = r.won;
        f.animationRunning = r.animation;
        host.calls.clear();
        host.confirmAnswers = {r.answer};
        EXPECT_EQ(session->confirmQuit(), r.expected);
        EXPECT_EQ(host.called("confirm:Quit this game?"), r.asked);
    }
    EXPECT_TRUE(session->mutableFlags().dealActive = true);
    session->mutableFlags().animationRunning = false;
    settings.set(col::ConfirmQuitGame, "Y");
    host.confirmAnswers = {false};
    session->confirmQuit("Open the sample game?");
    EXPECT_TRUE(host.called("confirm:Open the sample game?"));
}

TEST_F(SessionTest, SeriesDialogDecidesQuitting)
{
    start();
    session->mutableCurrent().seriesNumber = 3;
    session->mutableCurrent().seriesName = "Weekend";
    const struct {
        SeriesAnswer answer;
        bool expected;
        const char* handOff;
    } rows[] = {{SeriesAnswer::Cancel, false, ""},
                {SeriesAnswer::NextGame, false, "seriesNextGame"},
                {SeriesAnswer::QuitSeries, true, "seriesQuit"}};
    for (const auto& r : rows) {
        host.calls.clear();
        host.seriesAnswers = {r.answer};
        EXPECT_EQ(session->confirmQuit(), r.expected);
        EXPECT_TRUE(host.called("series:Weekend"));
        if (*r.handOff) {
            EXPECT_TRUE(host.called(r.handOff));
        }
    }
}

TEST_F(SessionTest, AbandonedGameIsRecordedAsLostWithItsValues)
{
    start();
    nowMs += 75'000;
    ASSERT_TRUE(playAnyMove());
    const int score = session->score();

    host.confirmAnswers = {false};
    EXPECT_FALSE(session->newGame()) << "Cancel keeps the game";
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(session->state().gameNumber, "1001");

    ASSERT_TRUE(session->newGame());
    ASSERT_EQ(sink.records.size(), 1u);
    const GameEndRecord& r = sink.records[0];
    EXPECT_EQ(r.gameId, kKlondike);
    EXPECT_EQ(r.gameName, "Klondike");
    EXPECT_EQ(r.gameNumber, "1001");
    EXPECT_EQ(r.player, "Alice");
    EXPECT_FALSE(r.won);
    EXPECT_EQ(r.score, score);
    EXPECT_EQ(r.seconds, 75);
    EXPECT_EQ(r.end, (CalendarTime{2026, 12, 10, 9, 30, 15}));
    EXPECT_TRUE(r.randomNumberDeal);
    EXPECT_TRUE(r.eligible);
    EXPECT_EQ(session->state().gameNumber, "1002");
    EXPECT_TRUE(session->flags().dealActive);
    EXPECT_FALSE(host.called("gameWon"));
}

TEST_F(SessionTest, StatisticsEligibility)
{
    struct Row {
        const char* name;
        int tutorMode; // while the move is made
        bool playMove;
        bool disabled;
        bool eligible;
    } rows[] = {
        {"a player's move counts", 0, true, false, true},
        {"no move: undecided still counts", 0, false, false, true},
        {"a move by the demo does not count", 3, true, false, false},
        {"a move by the hint does not count", 1, true, false, false},
        {"statistics disabled", 0, true, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        game.preferences.disableStatistics = r.disabled;
        sink.records.clear();
        session->mutableFlags().dealActive = false;
        start();
        session->mutableState().tutorMode = r.tutorMode;
        if (r.playMove) {
            ASSERT_TRUE(playAnyMove());
        }
        session->mutableState().tutorMode = 0;
        EXPECT_EQ(session->recordsStatistics(), r.eligible);
        ASSERT_TRUE(session->quitGame());
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].eligible, r.eligible);
    }
    // A demo move after a player's move leaves the game counting.
    game.preferences.disableStatistics = false;
    start();
    ASSERT_TRUE(playAnyMove());
    session->mutableState().tutorMode = 3;
    ASSERT_TRUE(playAnyMove());
    EXPECT_TRUE(session->recordsStatistics());
}

// The window's intents on the interaction: the hint lives until a stop or three clock ticks, the
// demo's stop keeps a shown hint unless the demo finished, the first activation is taken once.
TEST_F(SessionTest, InteractionIntentsOwnTheTutorModes)
{
    start();
    const Table before = session->state().table;
    TutorRecord record;
    const TutorStep step = session->hint(record);
    ASSERT_TRUE(step.found());
    EXPECT_EQ(session->state().tutorMode, kTutorHint);
    EXPECT_EQ(session->state().table, before) << "a hint shows the move without making it";
    EXPECT_FALSE(session->tickHint());
    EXPECT_FALSE(session->tickHint());
    EXPECT_TRUE(session->tickHint()) << "the third tick ends the hint";
    EXPECT_EQ(session->state().tutorMode, 0);

    session->hint(record);
    GameDemo demo;
    session->stopDemo(demo, false);
    EXPECT_EQ(session->state().tutorMode, kTutorHint) << "stopping the demo leaves a shown move";
    EXPECT_TRUE(session->stopTutor());
    EXPECT_FALSE(session->stopTutor()) << "nothing left to stop";

    session->startDemo(demo);
    EXPECT_EQ(session->state().tutorMode, kTutorDemo);
    session->pauseDemo(demo, true);
    EXPECT_EQ(session->state().tutorMode, 0);
    session->pauseDemo(demo, false);
    session->stopDemo(demo, false);
    EXPECT_EQ(session->state().tutorMode, 0);
    session->setLinePlaying(true);
    EXPECT_FALSE(session->stopTutor()) << "only a forced stop ends the demo's mode";
    EXPECT_TRUE(session->stopTutor(true));
    EXPECT_EQ(session->state().tutorMode, 0);

    EXPECT_TRUE(session->takeFirstActivation());
    EXPECT_FALSE(session->takeFirstActivation());
    EXPECT_EQ(session->pileInfo(PileRef::tableau(0)).count, "1 card") << "Klondike's first pile holds one card";
}

TEST_F(SessionTest, WonGameEndsInTheSpecifiedOrder)
{
    start();
    nowMs += 90'000;
    nearlyWonKlondike();
    ASSERT_TRUE(session->playMove(winningMove()));

    ASSERT_EQ(sink.records.size(), 1u);
    const GameEndRecord& r = sink.records[0];
    EXPECT_TRUE(r.won);
    EXPECT_EQ(r.seconds, 90);
    EXPECT_EQ(r.score, session->score());
    const int record = indexOf(host.calls, "record");
    const int animation = indexOf(host.calls, "winningAnimation");
    const int sound = indexOf(host.calls, "sound:Won");
    const int won = indexOf(host.calls, "gameWon");
    ASSERT_GE(record, 0);
    EXPECT_LT(record, animation);
    EXPECT_LT(animation, sound);
    EXPECT_LT(sound, won);
    ASSERT_EQ(host.wins.size(), 1u);
    EXPECT_EQ(host.wins[0].hiScoreRank, 0);
    EXPECT_EQ(host.wins[0].hiScoreCaption, "caption");
    EXPECT_FALSE(session->flags().dealActive);
    EXPECT_TRUE(session->flags().gameFinished);
    EXPECT_FALSE(session->flags().gameWon);
    EXPECT_FALSE(session->clock().running());

    // Nothing more is recorded for the finished game: a new game does not ask and records nothing.
    host.calls.clear();
    ASSERT_TRUE(session->newGame());
    EXPECT_FALSE(host.called("confirm:Quit this game?"));
    EXPECT_EQ(sink.records.size(), 1u);
}

TEST_F(SessionTest, WonGameInASeriesGoesToTheSeriesAndSilentWithoutSound)
{
    settings.set(col::SoundsGameWon, "N");
    start();
    session->mutableCurrent().seriesNumber = 2;
    nearlyWonKlondike();
    ASSERT_TRUE(session->playMove(winningMove()));
    EXPECT_TRUE(host.called("seriesGameEnded"));
    EXPECT_FALSE(host.called("gameWon"));
    EXPECT_FALSE(host.called("sound:Won"));
}

TEST_F(SessionTest, CloseAskedDuringTheWinningAnimationClosesInsteadOfTheGameWonWindow)
{
    start();
    nearlyWonKlondike();
    session->mutableCurrent().exitRequested = true; // as the window sets it while animating
    ASSERT_TRUE(session->playMove(winningMove()));
    EXPECT_TRUE(host.called("closeWindow"));
    EXPECT_FALSE(host.called("gameWon"));
}

TEST_F(SessionTest, TargetScoreDecidesTheResult)
{
    // Rule parameter 53: won at the end exactly when the score reaches it, whatever the table shows.
    const struct {
        int target;
        bool won;
    } rows[] = {{-1000, true}, {1000, false}};
    for (const auto& r : rows) {
        sink.records.clear();
        session->mutableFlags().dealActive = false;
        start();
        game.rules.set(53, r.target);
        ASSERT_TRUE(session->quitGame());
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].won, r.won) << r.target;
        game.rulesGameId = -1; // reload the rules for the next row
    }
}

TEST_F(SessionTest, PauseExcludesItsTimeAndSwallowsPlay)
{
    start();
    nowMs += 60'000;
    session->togglePause();
    EXPECT_TRUE(session->paused());
    EXPECT_TRUE(host.called("pause:on"));
    EXPECT_FALSE(session->flags().clockRunning);
    nowMs += 300'000;
    EXPECT_FALSE(playAnyMove()) << "the table is covered";
    session->togglePause();
    EXPECT_TRUE(host.called("pause:off"));
    EXPECT_TRUE(session->flags().clockRunning);
    nowMs += 30'000;
    EXPECT_EQ(session->clock().elapsedSeconds(), 90);
    ASSERT_TRUE(session->quitGame());
    EXPECT_EQ(sink.records.at(0).seconds, 90);
}

TEST_F(SessionTest, RestartBringsBackTheDealtTableAndRecordsTheLoss)
{
    start();
    const Table dealt = session->state().table;
    for (int k = 0; k < 5; ++k)
        playAnyMove();
    ASSERT_NE(session->state().table, dealt);
    nowMs += 40'000;

    host.confirmAnswers = {false};
    EXPECT_FALSE(session->restart());
    EXPECT_TRUE(host.called("confirm:Restart this game?\rGame number: 1001"));
    EXPECT_TRUE(sink.records.empty());

    host.calls.clear();
    ASSERT_TRUE(session->restart());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_FALSE(sink.records[0].won);
    EXPECT_EQ(session->state().table, dealt);
    EXPECT_EQ(session->state().dealNumber, 1);
    EXPECT_EQ(session->undoDepth(), 0);
    EXPECT_EQ(session->clock().elapsedSeconds(), 0);
    EXPECT_TRUE(session->flags().dealActive);
    EXPECT_TRUE(session->clock().running());
    EXPECT_EQ(session->state().gameNumber, "1001");
    EXPECT_TRUE(host.called("sound:Restart"));
    EXPECT_TRUE(host.called("animateDeal"));
}

TEST_F(SessionTest, HoldAndResumeRecordsNothingAndTakesTheFileBack)
{
    start(kKlondike, "Bob");
    for (int k = 0; k < 6; ++k)
        playAnyMove();
    nowMs += 125'000;
    const GameState before = session->state();
    const int depth = session->undoDepth();

    ASSERT_TRUE(session->holdAndExit());
    EXPECT_TRUE(sink.records.empty());
    EXPECT_FALSE(session->flags().dealActive);
    const std::string held = dir.file("Stat_e01.dat");
    ASSERT_TRUE(std::filesystem::exists(held));

    // The next run.
    QuietHost nextHost;
    RecordingSink nextSink(nextHost);
    storage::SettingsStore nextSettings;
    nextSettings.set(col::Player, "Alice");
    TMainGame nextGame(nextSettings, &ini);
    nextGame.preferences.autoPlayAllGames = 3;
    nextGame.dataFolder = game.dataFolder;
    nextGame.setCatalog(game.definitionsText);
    Session next(nextGame, nextHost, &nextSink, options);
    ASSERT_TRUE(next.resumeHeldGame());
    EXPECT_FALSE(std::filesystem::exists(held));
    EXPECT_EQ(next.state().table, before.table);
    EXPECT_EQ(next.score(), before.score);
    EXPECT_EQ(next.state().dealNumber, before.dealNumber);
    EXPECT_EQ(next.undoDepth(), depth);
    EXPECT_EQ(next.clock().elapsedSeconds(), 125);
    EXPECT_TRUE(next.flags().dealActive);
    EXPECT_EQ(nextSettings.get(col::Player), "Bob");
    EXPECT_EQ(nextSettings.get(col::GameName), "Klondike");
    EXPECT_EQ(nextSettings.get(col::GameNumber), "1001");
    EXPECT_TRUE(nextSink.records.empty());
    EXPECT_FALSE(next.resumeHeldGame()) << "the file is gone";
}

TEST_F(SessionTest, UndoAndRedoThroughTheSession)
{
    start();
    const Table dealt = session->state().table;
    EXPECT_FALSE(session->undo()) << "the deal pushes no snapshot";
    EXPECT_TRUE(host.called("beep"));

    ASSERT_TRUE(playAnyMove());
    const Table moved = session->state().table;
    const int movedScore = session->score();
    host.calls.clear();
    ASSERT_TRUE(session->undo());
    EXPECT_TRUE(host.called("sound:Undo"));
    EXPECT_EQ(session->state().table, dealt);
    EXPECT_EQ(settings.get(col::UndoMark), "1");
    EXPECT_FALSE(session->undo());
    ASSERT_TRUE(session->redo());
    EXPECT_TRUE(host.called("sound:Redo"));
    EXPECT_EQ(session->state().table, moved);
    EXPECT_EQ(session->score(), movedScore);
    EXPECT_EQ(settings.get(col::Score), std::to_string(movedScore));

    // A move after an undo empties the redo history.
    ASSERT_TRUE(session->undo());
    ASSERT_TRUE(playAnyMove());
    host.calls.clear();
    EXPECT_FALSE(session->redo());
    EXPECT_TRUE(host.called("beep"));

    // Undo sounds follow their preference.
    settings.set(col::SoundsUndo, "N");
    host.calls.clear();
    ASSERT_TRUE(session->undo());
    EXPECT_FALSE(host.called("sound:Undo"));
}

TEST_F(SessionTest, UndoOptions)
{
    struct Row {
        const char* option;
        bool secondUndo;
        bool firstUndo;
    } rows[] = {{"0", true, true}, {"1", false, true}, {"2", false, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.option);
        settings.set(col::UndoEnabled, r.option);
        session->mutableFlags().dealActive = false;
        start();
        ASSERT_TRUE(playAnyMove());
        ASSERT_TRUE(playAnyMove());
        EXPECT_EQ(session->undo(), r.firstUndo);
        EXPECT_EQ(session->undo(), r.secondUndo);
    }
    // Option "1": undo, redo, undo works.
    settings.set(col::UndoEnabled, "1");
    session->mutableFlags().dealActive = false;
    start();
    ASSERT_TRUE(playAnyMove());
    EXPECT_TRUE(session->undo());
    EXPECT_TRUE(session->redo());
    EXPECT_TRUE(session->undo());
}

TEST_F(SessionTest, BookmarkGoesBackAndIsDeletedAtTheEnd)
{
    start();
    ASSERT_TRUE(playAnyMove());
    host.confirmAnswers = {false};
    EXPECT_FALSE(session->insertBookmark());
    EXPECT_TRUE(settings.get(col::BookmarkPath).empty());

    ASSERT_TRUE(session->insertBookmark());
    EXPECT_TRUE(host.called("confirm:Insert bookmark?"));
    const std::string path = settings.get(col::BookmarkPath);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("~so", 0), 0u);
    const Table marked = session->state().table;
    const int depth = session->undoDepth();
    const int score = session->score();

    for (int k = 0; k < 4; ++k)
        playAnyMove();
    ASSERT_TRUE(session->goToBookmark());
    EXPECT_TRUE(host.called("confirm:Go to bookmark?"));
    EXPECT_EQ(session->state().table, marked);
    EXPECT_EQ(session->undoDepth(), depth);
    EXPECT_EQ(session->score(), score);
    ASSERT_TRUE(session->undo());

    ASSERT_TRUE(session->quitGame());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(settings.get(col::BookmarkPath).empty());
    EXPECT_FALSE(session->goToBookmark());
}

TEST_F(SessionTest, SaveAndOpenContinueTheGame)
{
    start();
    for (int k = 0; k < 8; ++k)
        playAnyMove();
    nowMs += 61 * 60'000;
    const std::string path = dir.file("mine.gam");
    ASSERT_TRUE(session->save(path));
    EXPECT_EQ(ini.readString("Preference", "Dir_Save", ""), dir.folder());
    const GameState saved = session->state();
    const int depth = session->undoDepth();

    ASSERT_TRUE(session->newGame());
    ASSERT_EQ(sink.records.size(), 1u);
    host.calls.clear();
    ASSERT_TRUE(session->open(path));
    EXPECT_TRUE(host.called("confirm:Quit this game?"));
    EXPECT_EQ(sink.records.size(), 2u) << "the running game was recorded";
    EXPECT_EQ(session->state().table, saved.table);
    EXPECT_EQ(session->score(), saved.score);
    EXPECT_EQ(session->undoDepth(), depth);
    EXPECT_EQ(session->clock().label(), "1:01:00");
    EXPECT_EQ(settings.get(col::GameNumber), "1001");
    EXPECT_TRUE(session->flags().dealActive);
    EXPECT_TRUE(std::filesystem::exists(path)) << "a user's file stays";
}

TEST_F(SessionTest, DamagedFileLeavesTheRunningGameAlone)
{
    start();
    ASSERT_TRUE(playAnyMove());
    const Table table = session->state().table;
    const struct {
        const char* name;
        std::string text;
    } rows[] = {
        {"short.gam", "[S-0920]0000\r\n"},
        {"garbage.gam", std::string(60, '\n')},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string path = dir.write(r.name, r.text);
        host.calls.clear();
        EXPECT_FALSE(session->open(path));
        EXPECT_TRUE(host.called("message:Error in reading the file: " + path));
        EXPECT_FALSE(host.called("confirm:Quit this game?"));
    }
    host.calls.clear();
    EXPECT_FALSE(session->open(dir.file("missing.gam")));
    EXPECT_TRUE(host.called("message:File not found: " + dir.file("missing.gam")));
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(session->state().table, table);
    EXPECT_TRUE(session->flags().dealActive);
}

TEST_F(SessionTest, TwoPlayersModeAlternatesThePlayers)
{
    start(kKlondike, "Alice");
    session->startTwoPlayersMode({"Ann", "Ben", true, false, true});
    EXPECT_EQ(ini.readString("Preference", "Two_Players_Mode_Player_1", ""), "Ann");
    EXPECT_EQ(ini.readString("Preference", "Two_Players_Mode_Player_2", ""), "Ben");
    EXPECT_EQ(ini.readString("Preference", "Two_Players_Mode_Same_Game_Num", ""), "Y");
    EXPECT_EQ(ini.readString("Preference", "Two_Players_Mode_Show_Situation", ""), "N");
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].player, "Alice") << "the game running before is Alice's";
    EXPECT_TRUE(host.called("message:Now play: Ann"));
    EXPECT_EQ(settings.get(col::Player), "Ann");

    const struct {
        const char* recorded;
        const char* next;
    } turns[] = {{"Ann", "Ben"}, {"Ben", "Ann"}, {"Ann", "Ben"}};
    for (const auto& t : turns) {
        host.calls.clear();
        ASSERT_TRUE(session->newGame());
        EXPECT_EQ(sink.records.back().player, t.recorded);
        EXPECT_TRUE(host.called(std::string("message:Now play: ") + t.next));
        EXPECT_EQ(settings.get(col::Player), t.next);
    }

    host.confirmAnswers = {false};
    EXPECT_FALSE(session->quitTwoPlayersMode());
    EXPECT_NE(session->current().twoPlayersTurn, 0);
    EXPECT_TRUE(session->quitTwoPlayersMode());
    EXPECT_TRUE(host.called("confirm:Quit Two Players Mode?"));
    EXPECT_EQ(session->current().twoPlayersTurn, 0);
    host.calls.clear();
    ASSERT_TRUE(session->newGame());
    EXPECT_FALSE(host.called("message:Now play: Ann"));
}

TEST_F(SessionTest, StockClickAndRedealAreOneUndoStepEach)
{
    start();
    const int stock = static_cast<int>(session->state().table.stock().size());
    ASSERT_GT(stock, 0);
    const Table dealt = session->state().table;
    int clicks = 0;
    // Through the stock to the first redeal (or as far as the rules allow).
    while (clicks < 60 && session->stockClick())
        ++clicks;
    ASSERT_GT(clicks, 0);
    EXPECT_EQ(session->undoDepth(), clicks);
    const int deals = session->state().dealNumber;
    for (int k = 0; k < clicks; ++k)
        ASSERT_TRUE(session->undo()) << k;
    EXPECT_EQ(session->state().table, dealt);
    EXPECT_EQ(session->state().dealNumber, 1);
    for (int k = 0; k < clicks; ++k)
        ASSERT_TRUE(session->redo()) << k;
    EXPECT_EQ(session->state().dealNumber, deals);
}

TEST_F(SessionTest, PointAndClickFollowsThePreference)
{
    game.preferences.moveCardsDragAndDrop = false;
    start();
    EXPECT_TRUE(session->state().selection.pointAndClick);
    game.preferences.moveCardsDragAndDrop = true;
    ASSERT_TRUE(session->newGame());
    EXPECT_FALSE(session->state().selection.pointAndClick);
}

TEST_F(SessionTest, PressAndReleaseMoveCardsAsOneStep)
{
    start();
    // Find a transfer the generator offers and play it through the press and the release.
    for (const Move& m : legalMoves()) {
        if (m.kind != MoveKind::Transfer)
            continue;
        const Table before = session->state().table;
        session->press(Press{m.from, m.index, Button::Left, false});
        if (session->state().drag.carriedCard == 0)
            continue;
        session->dragMoved();
        const PileRef target[] = {m.to};
        ASSERT_TRUE(session->release(target)) << moveText(m);
        EXPECT_NE(session->state().table, before);
        EXPECT_EQ(session->undoDepth(), 1);
        ASSERT_TRUE(session->undo());
        EXPECT_EQ(session->state().table, before);
        return;
    }
    GTEST_SKIP() << "no transfer on this deal";
}

} // namespace
} // namespace cw::test

namespace cw::test {
namespace {

TEST_F(SessionTest, AutoplaySwitchedOnPlaysAtOnceAsOneStep)
{
    start();
    ASSERT_NE(session->rules().autoplayAvailable(), 0);
    nearlyWonKlondike();
    session->setAutoplay(true);
    EXPECT_TRUE(session->autoplay());
    ASSERT_EQ(sink.records.size(), 1u) << "the completion step finished the game";
    EXPECT_TRUE(sink.records[0].won);
}

TEST_F(SessionTest, AutoplayAfterTheDealIsUndoneToTheDealtTable)
{
    game.preferences.autoPlayAllGames = 1; // the "AutoPlay" preference, default on
    session = std::make_unique<Session>(game, host, &sink, options);
    start();
    EXPECT_TRUE(session->autoplay());
    EXPECT_LE(session->undoDepth(), 1) << "autoplay after the deal is at most one step";
}

TEST_F(SessionTest, QuitGameClearsTheTableUnlessWon)
{
    start();
    ASSERT_TRUE(playAnyMove());
    ASSERT_TRUE(session->quitGame());
    EXPECT_EQ(session->state().table, Table{});
    EXPECT_EQ(session->undoDepth(), 0);
    EXPECT_FALSE(session->flags().dealActive);
    EXPECT_TRUE(host.called("gameEnded:lost"));
    EXPECT_FALSE(session->quitGame()) << "nothing left to quit";
    EXPECT_FALSE(session->undo());
    EXPECT_FALSE(session->restart());
}

TEST_F(SessionTest, ClosingDuringTheWinningAnimationIsDeferred)
{
    start();
    EXPECT_TRUE(session->requestClose());
    session->mutableFlags().animationRunning = true;
    EXPECT_FALSE(session->requestClose());
    EXPECT_TRUE(session->current().exitRequested);
    EXPECT_FALSE(session->confirmQuit());
    EXPECT_FALSE(session->open(dir.file("any.gam")));
}

TEST_F(SessionTest, GamesWithoutUndoCannotBeHeldSavedOrBookmarked)
{
    start();
    game.rules.set(23, 1);
    EXPECT_FALSE(session->canHold());
    EXPECT_FALSE(session->holdAndExit());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Stat_e01.dat")));
    EXPECT_FALSE(session->save(dir.file("x.gam")));
    EXPECT_FALSE(session->insertBookmark());
    ASSERT_TRUE(playAnyMove());
    EXPECT_FALSE(session->undo());
    EXPECT_TRUE(session->flags().dealActive);
}

} // namespace
} // namespace cw::test

namespace cw::test {
namespace {

TEST_F(SessionTest, SoundsFollowTheirPreferenceAndTheMainSwitch)
{
    struct Row {
        const char* sound;
        storage::Field gate;
        const char* gateValue;
        const char* enabled;
        bool played;
    } rows[] = {
        {"Undo", col::SoundsUndo, "Y", "Y", true},
        {"Undo", col::SoundsUndo, "N", "Y", false},
        {"Undo", col::SoundsUndo, "Y", "N", false},
        {"Won", col::SoundsGameWon, "N", "Y", false},
        {"Face_up", col::SoundsFaceUp, "Y", "Y", true},
        {"card_up", col::SoundsCardUp, "N", "Y", false},
        {"Red_no_a", col::SoundsRedealWithoutAnimation, "N", "Y", false},
        {"Reorder", storage::Field{0, 0}, "", "Y", true}, // only the main switch
        {"Reorder", storage::Field{0, 0}, "", "N", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.sound) + " " + r.gateValue + " " + r.enabled);
        if (r.gate.width > 0)
            settings.set(r.gate, r.gateValue);
        settings.set(col::SoundsEnabled, r.enabled);
        EXPECT_EQ(soundPreference(r.sound).column, r.gate.column);
        host.calls.clear();
        session->playSound(r.sound);
        EXPECT_EQ(host.called(std::string("sound:") + r.sound), r.played);
    }
}

} // namespace
} // namespace cw::test
