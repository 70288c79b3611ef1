// A temporary data folder with a statistics context, a settings store and collected messages.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stats/stat_context.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "storage/temp_dir.h"

namespace cw::stats::test {

class CollectedNotices : public Notices {
public:
    void information(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class StatsTest : public ::testing::Test {
protected:
    StatsTest() {
        ctx.dataFolder = dir.folder();
        ctx.settings = &settings;
        ctx.notices = &notices;
        ctx.randomDigit = [this](int max) { return int(digitCounter++ % unsigned(max + 1)); };
        setCurrent(1, "Player");
        settings.set(storage::col::ScoringCode, "01");
        settings.set(storage::col::SessionWon, "0000");
        settings.set(storage::col::SessionLost, "0000");
    }

    void setCurrent(int gameId, const std::string& player) {
        settings.setNumber(storage::col::GameId, gameId);
        settings.set(storage::col::Player, player);
    }
    std::string read(const std::string& name) const { return dir.read(name); }
    bool exists(const std::string& name) const { return storage::fileExists(dir.file(name)); }

    storage::test::TempDir dir;
    storage::SettingsStore settings;
    CollectedNotices notices;
    StatsContext ctx;
    unsigned digitCounter = 0;
};

// A date and time for tests.
inline DateTime at(int y, int m, int d, int hh = 12, int mm = 0, int ss = 0) { return {y, m, d, hh, mm, ss}; }

}  // namespace cw::stats::test
