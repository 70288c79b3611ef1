// A statistics test over the built catalog: the game object, the statistics' catalog, the session recorder
// and the options of a session with a hand-driven clock.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "catalog/definitions.h"
#include "engine/session.h"
#include "stats/session_recorder.h"
#include "stats_fixture.h"

namespace cw::stats::test {

class CatalogStatsTest : public StatsTest {
protected:
    // Loads GAMES.DAT from next to the binaries; false when it is not there (the caller skips the test).
    bool loadCatalog()
    {
        const std::filesystem::path defs = CW_BIN_DIR "/GAMES.DAT";
        if (!std::filesystem::exists(defs))
            return false;
        auto text = catalog::ReadWholeFile(defs);
        if (!text.ok())
            return false;
        game.setCatalog(text.value());
        game.dataFolder = dir.folder();
        game.preferences.autoPlayAllGames = 3; // autoplay off
        games = std::make_unique<DefinitionsCatalog>(game.definitionsText, game.gameList,
                                                     std::vector<catalog::CustomGame>{});
        recorder = std::make_unique<SessionRecorder>(ctx, *games);
        return true;
    }

    // The clock runs from nowMs; games end on 10 December 2026; numbers gives the fresh game numbers.
    engine::SessionOptions sessionOptions(std::function<std::string()> numbers)
    {
        engine::SessionOptions options;
        options.timeOfDay = [this] { return nowMs; };
        options.calendar = [] { return engine::CalendarTime{2026, 12, 10, 9, 30, 15}; };
        options.freshGameNumber = std::move(numbers);
        options.bookmarkFolder = dir.folder();
        return options;
    }

    engine::TMainGame game{settings};
    std::unique_ptr<DefinitionsCatalog> games;
    std::unique_ptr<SessionRecorder> recorder;
    std::int64_t nowMs = 8LL * 3600 * 1000;
};

} // namespace cw::stats::test
