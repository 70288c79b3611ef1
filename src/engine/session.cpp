// The life of a game: start, new deal, confirm quit, end of game and its records, restart, pause, hold, two players.
#include "engine/session.h"

#include <ctime>
#include <memory>

#include "catalog/definitions.h"
#include "engine/autoplay.h"
#include "engine/deal.h"
#include "engine/family.h"
#include "engine/moves.h"
#include "engine/random.h"
#include "engine/shuffle.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace cw::engine {

namespace col = storage::col;

CalendarTime CalendarTime::now()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return CalendarTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

storage::Field soundPreference(std::string_view name)
{
    struct Row {
        std::string_view sound;
        storage::Field field;
    };
    static constexpr Row rows[] = {
        {"Undo", col::SoundsUndo},
        {"Redo", col::SoundsRedo},
        {"Restart", col::SoundsRestart},
        {"Won", col::SoundsGameWon},
        {"New", col::SoundsNewGame},
        {"Shuffle", col::SoundsShuffle},
        {"Stock", col::SoundsStock},
        {"Tableau", col::SoundsTableau},
        {"Foundation", col::SoundsFoundation},
        {"Autoplay", col::SoundsAutoplay},
        {"Face_up", col::SoundsFaceUp},
        {"card_up", col::SoundsCardUp},
        {"card_down", col::SoundsCardDown},
        {"Redeal", col::SoundsRedeal},
        {"Red_no_a", col::SoundsRedealWithoutAnimation},
        {"Pairing", col::SoundsPairing},
    };
    for (const Row& r : rows)
        if (r.sound == name)
            return r.field;
    return storage::Field{0, 0};
}

Session::Session(TMainGame& game, Host& host, GameEndSink* sink, SessionOptions options)
    : game_(game), host_(host), sink_(sink), options_(std::move(options)),
      clock_(options_.timeOfDay ? options_.timeOfDay : TimeSource(localTimeOfDayMs))
{
    if (!options_.calendar)
        options_.calendar = [] { return CalendarTime::now(); };
    if (!options_.freshGameNumber) {
        auto rng = std::make_shared<Random>(Random::fromTimeOfDay());
        options_.freshGameNumber = [rng] { return rng->newGameNumber(); };
    }
    autoplaySwitch_ = game_.autoplayAtStart(game_.currentGameId());
}

// ---- Small helpers ----

Play Session::makePlay(Events* events) { return Play{game_.rules, state_, playOptions_, events, tutorRecord_}; }

HistoryPolicy Session::historyPolicy() const
{
    return HistoryPolicy::forGame(game_.rules, undoOptionFromText(game_.settings.get(col::UndoEnabled)));
}

void Session::playSound(const std::string& name)
{
    if (!game_.settings.flag(col::SoundsEnabled))
        return;
    const storage::Field gate = soundPreference(name);
    if (gate.width > 0 && !game_.settings.flag(gate))
        return;
    host_.playSound(name);
}

void Session::recomputeScore()
{
    std::string code = game_.settings.get(col::ScoringCode);
    if (code.empty())
        code = std::string(kStandardScoring);
    const ScoreInput in{game_.rules, state_, code, state_.score, &history_};
    state_.score = engine::recomputeScore(in);
    storeScore();
}

void Session::storeScore()
{
    game_.settings.set(col::Score, std::to_string(state_.score));
    host_.showScore(state_.score);
}

void Session::refreshClock()
{
    flags_.clockRunning = clock_.running();
    host_.showClock(clock_.label());
}

void Session::setDealCommands(bool active)
{
    const bool undoAllowed = active && game_.rules.undoOff() != 1;
    host_.enableCommand(Command::Pause, active);
    host_.enableCommand(Command::QuitGame, active);
    host_.enableCommand(Command::InsertBookmark, undoAllowed);
    host_.enableCommand(Command::Undo, undoAllowed);
    host_.enableCommand(Command::Redo, undoAllowed);
    host_.enableCommand(Command::Save, undoAllowed);
    host_.enableCommand(Command::HoldAndExit, undoAllowed);
    if (!active)
        host_.enableCommand(Command::GoToBookmark, false);
}

void Session::clearBookmark()
{
    const std::string path = game_.settings.get(col::BookmarkPath);
    if (!path.empty())
        deleteBookmark(path);
    game_.settings.set(col::BookmarkPath, "");
}

std::string Session::freshNumber() { return options_.freshGameNumber(); }

bool Session::recordsStatistics() const
{
    return current_.statisticsEligibility != 0 && !game_.preferences.disableStatistics;
}

bool Session::testWin()
{
    const Play play = makePlay(nullptr);
    const bool won = isWon(play);
    state_.won = won;
    flags_.gameWon = won;
    if (won)
        if (const std::string text = play.family().wonMessage(play); !text.empty())
            host_.message(text);
    return won;
}

// ---- Start game and new deal ----

bool Session::startGame(int gameId, const std::string& player, NumberMode mode, bool startupGame)
{
    const std::string newPlayer = player.empty() ? game_.player() : player;
    const int oldId = game_.currentGameId();
    const bool gameChanged = gameId != oldId;
    const bool playerChanged = newPlayer != game_.player();
    if (!gameChanged && !playerChanged && flags_.dealActive)
        return true;
    if (!game_.knowsGame(gameId)) {
        host_.beep();
        return false;
    }
    if (flags_.dealActive && !confirmQuit())
        return false;
    endGame();

    if (gameChanged || playerChanged) {
        // The session counters count the games of one game and player.
        game_.settings.set(col::SessionWon, "0000");
        game_.settings.set(col::SessionLost, "0000");
    }
    game_.settings.set(col::Player, newPlayer);
    game_.setPreference("UserDefault", newPlayer);
    game_.settings.set(col::GameId, storage::fixedNumber(gameId, 4));
    game_.settings.set(col::GameName, game_.gameName(gameId));
    if (gameChanged || game_.rulesGameId != gameId) {
        auto loaded = game_.loadRules(gameId);
        if (!loaded) {
            game_.rules = GameRules{};
            game_.rulesGameId = -1;
            host_.message(loaded.error());
            return false;
        }
        game_.rules = GameRules(*loaded);
        game_.rulesGameId = gameId;
    }
    if (startupGame) {
        // The next start-up begins with this game (the chooser writes the same keys with its own place).
        game_.setPreference("Game", std::to_string(gameId));
        game_.setPreference("Game_Name", game_.gameName(gameId));
        game_.setPreference("Game_TreeNum", "-30");
        game_.setPreference("Game_TreePos", "-1");
        game_.setPreference("Game_TreeType", "-1");
    }
    setAutoplay(game_.autoplayAtStart(gameId));
    host_.refreshTitle();
    newDeal(true, true, mode, false);
    return true;
}

void Session::newDeal(bool deal, bool animate, NumberMode mode, bool quiet)
{
    // Two-players mode: the turn's player takes the table.
    if (current_.twoPlayersTurn > 0) {
        const int t = current_.twoPlayersTurn;
        const std::string name = current_.twoPlayersNames[static_cast<std::size_t>(t - 1)];
        game_.settings.set(col::Player, name);
        host_.refreshTitle();
        current_.twoPlayersTurn = t == 1 ? 2 : 1;
        if (!name.empty())
            host_.message("Now play: " + name);
    }

    host_.setBusy(true);
    host_.refreshTitle();
    readPlayOptions();
    if (deal && game_.preferences.autoPlayAllGames == 3)
        autoplaySwitch_ = false;

    // The per-deal values start afresh.
    current_.exitRequested = false;
    current_.randomNumberDeal = false;
    current_.statisticsEligibility = -1;
    state_.tutorMode = 0;
    state_.movesMade = 0;
    state_.moveMade = false;
    state_.backMoveGuard = false;
    state_.drag = DragState{};
    state_.selection = SelectionState{};
    state_.won = false;
    history_.clearRedo();
    history_.undoMark = false;
    history_.redoMark = false;
    game_.settings.set(col::UndoMark, "0");
    game_.settings.set(col::RedoMark, "0");
    flags_.dealActive = false;
    paused_ = false;

    bool dealt = true;
    if (deal) {
        history_.clearAll();
        const int gameId = game_.currentGameId();
        if (game_.rules[378] != 0 && game_.rulesGameId == gameId) {
            catalog::RestorePerPileParameters(game_.rules);
        } else {
            auto loaded = game_.loadRules(gameId);
            if (loaded) {
                game_.rules = GameRules(*loaded);
                game_.rulesGameId = gameId;
            } else {
                host_.message(loaded.error());
            }
        }
        clock_.reset();
        refreshClock();
        std::string number = game_.settings.get(col::GameNumber);
        if (mode == NumberMode::Fresh || number.empty()) {
            number = freshNumber();
            current_.randomNumberDeal = true;
            game_.settings.set(col::GameNumber, number);
        }
        game_.settings.set(col::Score, "0");
        DealResult result = engine::deal(game_.rules, number);
        game_.rules = std::move(result.rules);
        state_ = std::move(result.state);
        state_.gameId = gameId;
        state_.gameNumber = number;
        state_.dealNumber = 1;
        state_.score = 0;
        game_.rules.family().startDeal(state_);
        if (result.badCardCount) {
            host_.message(kShuffleErrorMessage);
            dealt = false;
        }
    }

    flags_.dealActive = dealt;
    flags_.gameWon = false;
    flags_.gameFinished = false;
    host_.dealStarted();

    recomputeScore();
    refreshClock();
    if (!quiet) {
        if (animate && game_.settings.get(col::DealAnimation) != "N")
            host_.animateDeal();
        else
            host_.redraw();
    }
    if (!clock_.running()) {
        clock_.start();
        refreshClock();
    }
    state_.dealFinished = true;
    runAutoplayAfterDeal();
    host_.setBusy(false);

    setDealCommands(flags_.dealActive);
    host_.enableCommand(Command::GoToBookmark, !game_.settings.get(col::BookmarkPath).empty());
    const Family& family = game_.rules.family();
    state_.selection.pointAndClick = !game_.preferences.moveCardsDragAndDrop && family.pointAndClickApplies();
    if (family.testsWinAfterDeal() && flags_.dealActive && testWin())
        endGame();
}

void Session::runAutoplayAfterDeal()
{
    if (!playOptions_.autoplay || !flags_.dealActive)
        return;
    host_.wait(options_.autoplayDelayMs);
    act([](Play& play) { runAutoplay(play); });
}

bool Session::newGame()
{
    if (game_.currentGameId() < 0) {
        host_.beep();
        return false;
    }
    if (!confirmQuit())
        return false;
    endGame();
    playSound("New");
    newDeal(true, true, NumberMode::Fresh, false);
    return true;
}

bool Session::quitGame()
{
    if (!flags_.dealActive || !confirmQuit())
        return false;
    if (!endGame()) {
        state_.table = Table{};
        history_.clearAll();
        host_.redraw();
    }
    return true;
}

void Session::clearCurrentGame()
{
    endGame();
    state_.table = Table{};
    history_.clearAll();
    game_.rulesGameId = -1;
    game_.settings.set(col::GameId, "-001");
    game_.settings.set(col::GameName, "");
    host_.refreshTitle();
    setDealCommands(false);
    host_.redraw();
}

bool Session::requestClose()
{
    if (flags_.animationRunning) {
        current_.exitRequested = true;
        return false;
    }
    return true;
}

void Session::tick()
{
    if (clock_.running())
        host_.showClock(clock_.label());
    // Families with timed steps take the tick as one action of the player's game.
    const Family& family = game_.rules.family();
    if (family.ticks() && clock_.running() && !paused_) {
        const int seconds = clock_.elapsedSeconds();
        act([&](Play& play) { family.tick(play, seconds); });
    }
}

// ---- Confirm quit and end of game ----

bool Session::confirmQuit(const std::string& question)
{
    if (flags_.animationRunning)
        return false;
    const bool unfinished = flags_.dealActive && !flags_.gameWon;
    if (current_.seriesNumber == 0) {
        if (game_.settings.get(col::ConfirmQuitGame) == "N" || !unfinished)
            return true;
        return host_.confirm(question.empty() ? "Quit this game?" : question);
    }
    if (!unfinished)
        return true;
    switch (host_.seriesInProgress(current_.seriesName)) {
    case SeriesAnswer::NextGame: host_.seriesNextGame(); return false;
    case SeriesAnswer::QuitSeries: host_.seriesQuit(); return true;
    case SeriesAnswer::Cancel: return false;
    }
    return false;
}

bool Session::endGame()
{
    state_.tutorMode = 0;
    bool won = false;
    if (flags_.dealActive) {
        host_.setBusy(true);
        if (game_.rules.targetScore() != 0)
            flags_.gameWon = state_.score >= game_.rules.targetScore();
        won = flags_.gameWon;
        const CalendarTime end = options_.calendar();
        clock_.stop();
        const int seconds = parseClockLabel(clock_.label());
        setDealCommands(false);
        clearBookmark();

        GameEndRecord record;
        record.gameId = game_.currentGameId();
        record.gameName = game_.settings.get(col::GameName);
        record.gameNumber = game_.settings.get(col::GameNumber);
        record.player = game_.player();
        record.won = won;
        record.score = state_.score;
        record.scoringCode = game_.settings.get(col::ScoringCode);
        if (record.scoringCode.empty())
            record.scoringCode = std::string(kStandardScoring);
        record.seconds = seconds;
        record.end = end;
        record.randomNumberDeal = current_.randomNumberDeal;
        record.eligible = recordsStatistics();
        GameEndOutcome outcome;
        if (sink_)
            outcome = sink_->recordGameEnd(record);
        const GameEndReport report{record.gameId, record.gameName, record.gameNumber,   record.player,         won,
                                   record.score,  record.seconds,  outcome.hiScoreRank, outcome.hiScoreCaption};
        host_.gameEnded(report);

        state_.drag = DragState{};
        state_.selection.selectedCard = 0;
        refreshClock();
        flags_.gameWon = false;
        flags_.dealActive = false;
        flags_.gameFinished = true;
        flags_.clockRunning = false;
        host_.setBusy(false);

        if (won) {
            host_.wait(200);
            flags_.animationRunning = true;
            host_.winningAnimation();
            flags_.animationRunning = false;
            playSound("Won");
        }
        if (current_.exitRequested) {
            current_.exitRequested = false;
            host_.closeWindow();
        } else if (won && !flags_.dealActive) {
            if (current_.seriesNumber == 0)
                host_.gameWon(report);
            else
                host_.seriesGameEnded(report);
        }
    }
    return won;
}

void Session::maybeEndAfterWin()
{
    if (flags_.dealActive && flags_.gameWon)
        endGame();
}

// ---- Restart, pause, hold, two players ----

bool Session::restart()
{
    if (!flags_.dealActive || flags_.animationRunning)
        return false;
    if (!flags_.gameWon && !host_.confirm("Restart this game?\rGame number: " + game_.settings.get(col::GameNumber)))
        return false;
    host_.redraw();
    const bool won = endGame();
    if (!won) {
        history_.restoreFirst(state_.table, historyPolicy());
        history_.undo.clear();
        clock_.reset();
        refreshClock();
        state_.dealNumber = 1;
        state_.gameCounters = {};
        game_.rules.family().startDeal(state_);
        // What the play of the deal changed besides the table goes back with it.
        state_.stockClicks = 0;
        state_.drawUsed = false;
        state_.redealArmed = false;
        state_.ascendingColumns = 0;
        state_.eventCounts = {};
        state_.score = 0;
        recomputeScore();
        playSound("Restart");
    }
    newDeal(false, true, NumberMode::Keep, false);
    return true;
}

void Session::pause()
{
    if (paused_ || !flags_.dealActive)
        return;
    paused_ = true;
    clock_.pause();
    flags_.clockRunning = false;
    host_.showPause(true);
}

void Session::resume()
{
    if (!paused_)
        return;
    paused_ = false;
    host_.showPause(false);
    host_.redraw();
    clock_.resume();
    refreshClock();
}

void Session::togglePause()
{
    if (paused_)
        resume();
    else
        pause();
}

bool Session::canHold() const { return flags_.dealActive && game_.rules.undoOff() != 1; }

bool Session::holdAndExit()
{
    if (!canHold())
        return false;
    try {
        writeSavedGame(heldGamePath(game_.dataFolder), capture());
    } catch (const storage::FileError& e) {
        host_.message(e.what());
        return false;
    }
    flags_.dealActive = false;
    clearBookmark();
    endGame();
    return true;
}

void Session::startTwoPlayersMode(const TwoPlayersSetup& setup)
{
    auto yn = [](bool b) { return std::string(b ? "Y" : "N"); };
    game_.setPreference("Two_Players_Mode_Player_1", setup.player1);
    game_.setPreference("Two_Players_Mode_Player_2", setup.player2);
    game_.setPreference("Two_Players_Mode_Same_Game_Num", yn(setup.sameGameNumber));
    game_.setPreference("Two_Players_Mode_Show_Situation", yn(setup.showSituation));
    game_.setPreference("Two_Players_Mode_Confirm_New_Game", yn(setup.confirmNewGame));
    current_.twoPlayersNames = {setup.player1, setup.player2};
    current_.twoPlayersTurn = 1;
    if (flags_.dealActive) {
        newGame();
    } else if (game_.currentGameId() >= 0) {
        newDeal(true, true, NumberMode::Fresh, false);
    }
}

bool Session::quitTwoPlayersMode()
{
    if (!host_.confirm("Quit Two Players Mode?"))
        return false;
    current_.twoPlayersTurn = 0;
    return true;
}

void Session::setSeries(int number, std::string name)
{
    current_.seriesNumber = number;
    current_.seriesName = number == 0 ? std::string() : std::move(name);
}

} // namespace cw::engine
