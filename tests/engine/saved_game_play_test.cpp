// Round trips with real play: random legal moves recorded for undo, saved, opened, undone and redone.
#include <gtest/gtest.h>

#include "engine/built_catalog.h"

#include <filesystem>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "engine/random.h"
#include "engine/saved_game.h"
#include "engine/score.h"
#include "engine/table_text.h"
#include "rules_play_sets.h"
#include "storage/settings_store.h"

using namespace cw::engine;
using Rules = cw::engine::GameRules;

namespace {

struct Values {
    std::vector<std::string> table;
    int dealNumber, stockClicks;
    bool drawUsed;
    bool operator==(const Values&) const = default;
};

Values valuesOf(const GameState& s)
{
    const auto lines = encodeSnapshot(s.table);
    return {{lines.begin(), lines.end()}, s.dealNumber, s.stockClicks, s.drawUsed};
}

// Deals, plays up to `moves` random legal moves (one undo step each), saves and opens the game,
// then checks the opened game and its history. Returns the moves made.
int roundTrip(const Rules& loaded, const std::string& name, const std::string& number, int moves, std::uint32_t seed)
{
    SCOPED_TRACE(name + " deal " + number);
    DealResult dealt = deal(loaded, number);
    if (dealt.badCardCount)
        return 0;
    dealt.state.gameId = 2;
    dealt.state.gameNumber = number;
    const Values atDeal = valuesOf(dealt.state);
    const HistoryPolicy policy = HistoryPolicy::forGame(dealt.rules, UndoOption::Unlimited);
    History history;
    MoveRecorder recorder(history, policy);
    PlayOptions options;
    options.autoplay = seed % 2 == 1;
    Play play{dealt.rules, dealt.state, options};
    Random rng(seed);
    MoveList list;
    std::vector<Values> after{atDeal};
    for (int m = 0; m < moves; ++m) {
        generateMoves(play, list);
        if (list.empty())
            break;
        recorder.begin(play.state);
        const bool changed = applyMove(play, list[rng.next(list.size())]);
        recorder.end(play.state, changed);
        if (changed)
            after.push_back(valuesOf(play.state));
    }
    GameState& s = dealt.state;
    s.score = recomputeScore({dealt.rules, s});
    const int made = static_cast<int>(after.size()) - 1;
    EXPECT_EQ(history.undo.snapshots.size(), static_cast<std::size_t>(made));

    // Save and open.
    cw::storage::SettingsStore settings;
    settings.set(cw::storage::col::ScoringCode, "01");
    const SavedGameRead read = parseSavedGame(encodeSavedGame(captureGame(s, dealt.rules, history.undo, settings, 77)), name);
    if (!read.ok()) {
        ADD_FAILURE() << read.detail;
        return made;
    }
    Rules rules = loaded;
    restoreRules(read.game, rules);
    GameState opened;
    History h;
    restoreGame(read.game, rules, RestoreMode::Open, opened, h);
    EXPECT_EQ(valuesOf(opened).table, after.back().table);
    EXPECT_EQ(opened.dealNumber, s.dealNumber);
    EXPECT_EQ(opened.stockClicks, h.undo.countEvents(kEventMoveCounter));
    EXPECT_EQ(recomputeScore({rules, opened}), s.score);
    EXPECT_EQ(h.undo, history.undo);

    // Undo k and redo k: the same position; every undo passes through the positions played.
    opened.stockClicks = s.stockClicks;
    opened.drawUsed = s.drawUsed;
    const int k = made == 0 ? 0 : 1 + static_cast<int>(rng.next(static_cast<std::uint32_t>(made)));
    for (int i = 1; i <= k; ++i) {
        EXPECT_TRUE(h.undoMove(opened, policy));
        EXPECT_EQ(valuesOf(opened).table, after[static_cast<std::size_t>(made - i)].table) << "undo " << i;
        EXPECT_EQ(opened.dealNumber, after[static_cast<std::size_t>(made - i)].dealNumber) << "undo " << i;
    }
    for (int i = 0; i < k; ++i)
        EXPECT_TRUE(h.redoMove(opened, policy));
    EXPECT_EQ(valuesOf(opened), after.back());
    while (h.undoMove(opened, policy)) {
    }
    EXPECT_EQ(valuesOf(opened).table, atDeal.table) << "undo all: the dealt table";
    EXPECT_EQ(opened.dealNumber, 1);
    return made;
}

} // namespace

TEST(SavedGamePlay, RuleSetsRoundTrip)
{
    using namespace cw::test;
    const std::pair<const char*, Rules (*)()> sets[] = {
        {"Klondike", playKlondike}, {"FreeCell", playFreecell}, {"Spider", playSpider},
        {"Forty Thieves", playFortyThieves}, {"Yukon", playYukon}, {"Canfield", playCanfield},
    };
    for (const auto& [name, make] : sets) {
        int made = 0;
        for (std::uint32_t d = 0; d < 6; ++d)
            made += roundTrip(make(), name, std::to_string(5000 + 7 * d), 100, d);
        EXPECT_GT(made, 0) << name << ": the round trips played no move";
    }
}

// The whole catalog, once the definitions file is built next to the binaries.
TEST(SavedGamePlay, CatalogRoundTrip)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    catalog->forEachGame([](const auto& entry, const auto& rules) {
        roundTrip(rules, entry.name, "123456", 100, static_cast<std::uint32_t>(entry.id));
    });
}
