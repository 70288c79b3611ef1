// The player's actions on a running game: table presses and releases, clicks, the stock, undo, redo, bookmarks, save and open.
#include <filesystem>

#include "engine/autoplay.h"
#include "engine/moves.h"
#include "engine/pickup.h"
#include "engine/session.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace cw::engine {

namespace col = storage::col;

namespace {

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

} // namespace

// ---- One action ----

bool Session::act(const std::function<void(Play&)>& fn)
{
    if (!flags_.dealActive || paused_ || flags_.animationRunning)
        return false;
    const Table before = state_.table;
    const int dealNumber = state_.dealNumber;
    const std::array<int, 4> counters = state_.gameCounters;
    MoveRecorder recorder(history_, historyPolicy());
    recorder.begin(state_);
    Events events;
    Play play = makePlay(&events);
    fn(play);
    // A family's counters count too: a miss of a memory game may leave the table as it was.
    const bool changed =
        !(state_.table == before) || state_.dealNumber != dealNumber || state_.gameCounters != counters;
    recorder.end(state_, changed);
    if (changed) {
        syncMarks();
        // A move made while the tutor shows or plays does not make the game count.
        int& eligibility = current_.statisticsEligibility;
        if (state_.tutorMode == 0) {
            if (eligibility < 1)
                eligibility = 1;
        } else if (eligibility == -1) {
            eligibility = 0;
        }
        recomputeScore();
    }
    presentEvents(events);
    if (changed) {
        testWin();
        maybeEndAfterWin();
    }
    return changed;
}

namespace {

// The events a family uses to pace its steps: each is played in its place among the others.
bool pacing(const Event& e)
{
    switch (e.type) {
    case EventType::Pause:
    case EventType::Highlight:
    case EventType::Unhighlight:
    case EventType::Announce:
    case EventType::Beep: return true;
    default: return false;
    }
}

} // namespace

void Session::presentEvents(const Events& events)
{
    // The moves between two pacing events are animated together, then their sounds and boxes
    // follow; a pacing event is played where it stands.
    auto present = [&](Events::const_iterator first, Events::const_iterator last) {
        if (first == last)
            return;
        host_.animate(Events(first, last));
        for (auto it = first; it != last; ++it) {
            if (it->type == EventType::Sound)
                playSound(it->text);
            else if (it->type == EventType::Message)
                host_.message(it->text);
        }
    };
    auto start = events.begin();
    for (auto it = events.begin(); it != events.end(); ++it) {
        if (!pacing(*it))
            continue;
        present(start, it);
        start = it + 1;
        switch (it->type) {
        case EventType::Pause: host_.wait(it->amount); break;
        case EventType::Highlight: host_.highlight(it->card, true); break;
        case EventType::Unhighlight: host_.highlight(it->card, false); break;
        case EventType::Announce: host_.announce(it->text); break;
        case EventType::Beep:
            host_.beep();
            if (!it->text.empty())
                host_.explain(it->text);
            break;
        default: break;
        }
    }
    present(start, events.end());
}

void Session::syncMarks()
{
    game_.settings.set(col::UndoMark, history_.undoMark ? "1" : "0");
    game_.settings.set(col::RedoMark, history_.redoMark ? "1" : "0");
}

// ---- Player actions ----

bool Session::press(const Press& p)
{
    return act([&](Play& play) { tablePress(play, p); });
}

void Session::dragMoved() { noteDragMoved(state_); }

bool Session::release(std::span<const PileRef> candidates)
{
    const bool carried = state_.drag.carriedCard != 0;
    const bool changed = act([&](Play& play) { tableRelease(play, candidates); });
    if (!changed && carried) {
        // The carried cards go back where they came from.
        state_.drag = DragState{};
        host_.redraw();
    }
    return changed;
}

bool Session::doubleClick(PileRef pile, int index)
{
    if (pile.kind == PileKind::Stock)
        return false;
    if (!playOptions_.doubleClickToFoundations && !playOptions_.doubleClickToTableaus)
        return false;
    return act([&](Play& play) { clickToPlay(play, pile, index, Gesture::DoubleClick); });
}

bool Session::rightClick(PileRef pile, int index) { return press(Press{pile, index, Button::Right, false}); }

bool Session::stockClick()
{
    return act([&](Play& play) {
        const Pile& stock = play.table().stock();
        const int top = stock.empty() ? -1 : static_cast<int>(stock.size()) - 1;
        tablePress(play, Press{PileRef::stock(), top, Button::Left, false});
        tableRelease(play, {});
    });
}

bool Session::playMove(const Move& move)
{
    return act([&](Play& play) { applyMove(play, move); });
}

void Session::setAutoplay(bool on)
{
    autoplaySwitch_ = on;
    playOptions_.autoplay = on && game_.rules.autoplayAvailable() != 0;
    if (!flags_.dealActive || game_.rules.autoplayAvailable() == 0)
        return;
    game_.rememberAutoplay(game_.currentGameId(), on);
    if (on)
        act([](Play& play) { runAutoplay(play); });
}

void Session::readPlayOptions()
{
    const auto& s = game_.settings;
    auto yes = [&](storage::Field f, bool def) {
        const std::string v = s.get(f);
        return v.empty() ? def : v == "Y";
    };
    playOptions_.automaticFaceUp = yes(col::AutomaticFaceUp, true);
    playOptions_.rightClickToFoundations = yes(col::RightClickToFoundations, true);
    playOptions_.rightClickToTableaus = yes(col::RightClickToTableaus, true);
    playOptions_.doubleClickToFoundations = yes(col::DoubleClickToFoundations, true);
    playOptions_.doubleClickToTableaus = yes(col::DoubleClickToTableaus, false);
    playOptions_.autoplay = autoplaySwitch_ && game_.rules.autoplayAvailable() != 0;
}

// ---- Undo and redo ----

bool Session::canUndo() const
{
    return flags_.dealActive && game_.rules.undoOff() != 1 && history_.canUndo(historyPolicy());
}

bool Session::canRedo() const
{
    return flags_.dealActive && game_.rules.undoOff() != 1 && history_.canRedo(historyPolicy());
}

bool Session::undo()
{
    if (paused_ || !canUndo()) {
        host_.beep();
        return false;
    }
    playSound("Undo");
    if (!history_.undoMove(state_, historyPolicy())) {
        host_.beep();
        return false;
    }
    state_.drag = DragState{};
    state_.won = false;
    syncMarks();
    host_.redraw();
    recomputeScore();
    return true;
}

bool Session::redo()
{
    if (paused_ || !canRedo()) {
        host_.beep();
        return false;
    }
    playSound("Redo");
    if (!history_.redoMove(state_, historyPolicy())) {
        host_.beep();
        return false;
    }
    state_.drag = DragState{};
    syncMarks();
    host_.redraw();
    recomputeScore();
    testWin();
    maybeEndAfterWin();
    return true;
}

// ---- Bookmarks ----

bool Session::insertBookmark()
{
    if (!flags_.dealActive || game_.rules.undoOff() == 1) {
        host_.beep();
        return false;
    }
    if (!host_.confirm("Insert bookmark?"))
        return false;
    std::string path;
    try {
        path = writeBookmark(capture(), game_.settings.get(col::BookmarkPath),
                             options_.bookmarkFolder.empty() ? bookmarkFolder() : options_.bookmarkFolder);
    } catch (const storage::FileError& e) {
        host_.message(e.what());
        return false;
    }
    if (static_cast<int>(path.size()) > col::BookmarkPath.width) {
        // The settings field cannot hold the name: a bookmark that could not be found again is none.
        deleteBookmark(path);
        game_.settings.set(col::BookmarkPath, "");
        host_.message("The bookmark could not be kept: the path of the temporary folder is too long: " + path);
        return false;
    }
    game_.settings.set(col::BookmarkPath, path);
    host_.enableCommand(Command::GoToBookmark, true);
    return true;
}

bool Session::goToBookmark()
{
    const std::string path = game_.settings.get(col::BookmarkPath);
    std::error_code ec;
    if (!flags_.dealActive || path.empty() || !std::filesystem::exists(path, ec))
        return false;
    if (!host_.confirm("Go to bookmark?"))
        return false;
    host_.setBusy(true);
    const SavedGameRead read = readSavedGame(path);
    host_.setBusy(false);
    if (!read.ok()) {
        host_.message(read.message);
        return false;
    }
    game_.settings.set(col::ScoringCode, read.game.scoringCode);
    game_.settings.set(col::Score, std::to_string(read.game.score));
    restoreGame(read.game, game_.rules, RestoreMode::Bookmark, state_, history_);
    state_.drag = DragState{};
    state_.won = false;
    host_.redraw();
    recomputeScore();
    return true;
}

// ---- Saved games ----

SavedGame Session::capture() const
{
    return captureGame(state_, game_.rules, history_.undo, game_.settings, clock_.elapsedSeconds());
}

bool Session::save(const std::string& path)
{
    if (!flags_.dealActive || game_.rules.undoOff() == 1) {
        host_.beep();
        return false;
    }
    try {
        writeSavedGame(path, capture());
    } catch (const storage::FileError& e) {
        host_.message(e.what());
        return false;
    }
    game_.setPreference("Dir_Save", folderOf(path));
    return true;
}

bool Session::open(const std::string& path) { return openFile(path, false, true); }

bool Session::openSample() { return openFile(sampleGamePath(game_.installFolder, game_.currentGameId()), true, false); }

bool Session::openFile(const std::string& path, bool quiet, bool userFile)
{
    if (flags_.animationRunning)
        return false;
    // The file is read before the running game is given up: a damaged file costs nothing.
    const SavedGameRead read = readSavedGame(path);
    if (!read.ok()) {
        host_.message(read.message);
        return false;
    }
    if (!game_.knowsGame(read.game.gameId))
        return false;
    if (const auto loaded = game_.loadRules(read.game.gameId); loaded && !savedTableFits(read.game, *loaded)) {
        host_.message("Error in reading the file: " + path);
        return false;
    }
    if (flags_.dealActive && !confirmQuit())
        return false;
    endGame();
    if (!restoreOpened(read.game, quiet))
        return false;
    if (userFile)
        game_.setPreference("Dir_Save", folderOf(path));
    return true;
}

bool Session::resumeHeldGame()
{
    std::error_code ec;
    if (game_.dataFolder.empty() || !std::filesystem::exists(heldGamePath(game_.dataFolder), ec))
        return false;
    const SavedGameRead read = takeHeldGame(game_.dataFolder);
    if (!read.ok()) {
        host_.message(read.message);
        return false;
    }
    if (!game_.knowsGame(read.game.gameId))
        return false;
    endGame();
    return restoreOpened(read.game, false);
}

bool Session::restoreOpened(const SavedGame& saved, bool quiet)
{
    auto loaded = game_.loadRules(saved.gameId);
    if (!loaded) {
        host_.message(loaded.error());
        return false;
    }
    if (saved.gameId != game_.currentGameId()) {
        game_.settings.set(col::SessionWon, "0000");
        game_.settings.set(col::SessionLost, "0000");
    }
    game_.settings.set(col::GameId, storage::fixedNumber(saved.gameId, 4));
    game_.settings.set(col::GameName, game_.gameName(saved.gameId));
    const std::string showTime = game_.preference("Time");
    game_.settings.set(col::ShowTime, showTime.empty() ? "Y" : showTime);
    storeOpenedValues(saved, game_.settings);

    game_.rules = GameRules(*loaded);
    restoreRules(saved, game_.rules);
    game_.rulesGameId = saved.gameId;
    state_ = GameState{};
    history_.clearAll();
    restoreGame(saved, game_.rules, RestoreMode::Open, state_, history_);
    clock_.restore(saved.elapsedSeconds);
    autoplaySwitch_ = game_.autoplayAtStart(saved.gameId);
    host_.refreshTitle();
    newDeal(false, false, NumberMode::Keep, quiet);
    return true;
}

} // namespace cw::engine
