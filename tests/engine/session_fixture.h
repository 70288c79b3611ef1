// A session over the fixture catalog in a temporary data folder, with a quiet host, a hand-driven clock and a recording sink.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog/definitions.h"
#include "engine/card.h"
#include "engine/session.h"
#include "storage/ini_file.h"
#include "storage/settings_store.h"
#include "storage/temp_dir.h"

namespace cw::test {

using namespace cw::engine;
namespace col = storage::col;

// Records every game end, and marks its place among the host's calls.
class RecordingSink : public GameEndSink {
public:
    explicit RecordingSink(QuietHost& host) : host_(host) {}
    GameEndOutcome recordGameEnd(const GameEndRecord& game) override
    {
        host_.calls.push_back("record");
        records.push_back(game);
        return GameEndOutcome{game.eligible, game.won ? 0 : -1, game.won ? "caption" : ""};
    }
    std::vector<GameEndRecord> records;

private:
    QuietHost& host_;
};

// The built catalog: Klondike is game 0 and FreeCell game 1 there.
inline const std::string kCatalogPath = CW_BIN_DIR "/GAMES.DAT";

class SessionTest : public ::testing::Test {
protected:
    static constexpr int kKlondike = 0;
    static constexpr int kFreeCell = 1;

    SessionTest() : ini(dir.file("Cfg.dat")), game(settings, &ini), sink(host)
    {
        game.dataFolder = dir.folder();
        game.installFolder = dir.folder();
        auto text = catalog::ReadWholeFile(kCatalogPath);
        game.setCatalog(text.ok() ? text.value() : std::string());
        game.preferences.autoPlayAllGames = 3; // autoplay off unless a test switches it on
        for (storage::Field f : {col::SoundsEnabled, col::SoundsUndo, col::SoundsRedo, col::SoundsRestart,
                                 col::SoundsGameWon, col::ConfirmQuitGame, col::DealAnimation})
            settings.set(f, "Y");
        settings.set(col::UndoEnabled, "0");
        settings.set(col::ScoringCode, "01");
        settings.set(col::Player, "Alice");
        settings.set(col::GameId, "-1");
        options.timeOfDay = [this] { return nowMs; };
        options.calendar = [] { return CalendarTime{2026, 12, 10, 9, 30, 15}; };
        options.freshGameNumber = [this] { return std::to_string(1000 + ++numbers); };
        options.bookmarkFolder = dir.folder();
        options.autoplayDelayMs = 0;
        session = std::make_unique<Session>(game, host, &sink, options);
    }

    void SetUp() override
    {
        if (!std::filesystem::exists(kCatalogPath))
            GTEST_SKIP() << "no GAMES.DAT next to the binaries (build cw_data)";
    }

    // Starts a game and forgets the host calls made so far.
    void start(int id = kKlondike, const std::string& player = {})
    {
        ASSERT_TRUE(session->startGame(id, player));
        ASSERT_TRUE(session->flags().dealActive);
        host.calls.clear();
    }

    // The legal moves of the current position.
    std::vector<Move> legalMoves()
    {
        GameState copy = session->state();
        PlayOptions opts;
        Play play{session->rules(), copy, opts};
        MoveList list;
        generateMoves(play, list);
        return {list.begin(), list.end()};
    }

    // Plays the first legal move that changes the table; false when none does.
    bool playAnyMove()
    {
        for (const Move& m : legalMoves())
            if (session->playMove(m))
                return true;
        return false;
    }

    // A Klondike table one move from won: every card on its suit's foundation except the king
    // of hearts, which lies face up on tableau pile 1.
    void nearlyWonKlondike()
    {
        Table t;
        for (int s = 0; s < 4; ++s)
            for (int r = 1; r <= 13; ++r)
                if (!(s == 0 && r == 13))
                    t.append(PileRef::foundation(s), cardCode(s, r), true);
        t.append(PileRef::tableau(0), cardCode(0, 13), true);
        session->mutableState().table = t;
    }
    Move winningMove() const { return Move{MoveKind::Transfer, PileRef::tableau(0), 0, PileRef::foundation(0)}; }

    storage::test::TempDir dir;
    storage::SettingsStore settings;
    storage::IniFile ini;
    TMainGame game;
    QuietHost host;
    RecordingSink sink;
    SessionOptions options;
    std::int64_t nowMs = 10LL * 3600 * 1000;
    int numbers = 0;
    std::unique_ptr<Session> session;
};

} // namespace cw::test
