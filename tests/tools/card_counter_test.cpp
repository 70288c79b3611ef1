// The card counter's model: marks of a hand-built two-deck table per filter, the grid, and marks that follow play.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/built_catalog.h"
#include "engine/card.h"
#include "engine/legal_moves.h"
#include "engine/session.h"
#include "storage/ini_file.h"
#include "storage/settings_store.h"
#include "storage/temp_dir.h"
#include "tools/core/card_counter.h"

namespace cw::tools {
namespace {

using engine::PileRef;
using M = CounterMark;
namespace grid = counter_grid;

constexpr CounterFilter kTableauOnly{true, false};
constexpr CounterFilter kStockOnly{false, true};
constexpr CounterFilter kAll{false, false};

catalog::Rules twoDeckRules(int stockShown)
{
    catalog::Rules r;
    r.set(378, 104);
    r.set(375, 2);
    r.set(374, 2);
    r.set(376, 1);
    r.set(10, stockShown);
    r.set(11, 1);
    return r;
}

// One card in each state, two decks.
engine::Table handBuiltTable()
{
    engine::Table t;
    t.append(PileRef::stock(), 1, false);
    t.append(PileRef::stock(), 54, true); // 2 of hearts, deck 2: the stock shows its cards hidden
    t.append(PileRef::waste(), 3, true);
    t.append(PileRef::waste(), 4, true);
    t.append(PileRef::secondWaste(), 5, false);
    t.append(PileRef::tableau(0), 6, false);
    t.append(PileRef::tableau(0), 7, true);
    t.append(PileRef::tableau(0), 0); // a placeholder is no card
    t.append(PileRef::tableau(1), 104, true);
    t.append(PileRef::foundation(0), 27, true);
    t.append(PileRef::foundation(1), 66, false);
    t.append(PileRef::reserve(0), 8, false); // reserve cards count as seen
    t.append(PileRef::tableau(5), 9, true);  // a pile the game does not use
    return t;                                // card 10 lies nowhere
}

TEST(CardCounter, MarksOfAHandBuiltTwoDeckTable)
{
    struct Row {
        int code;
        M tableauOnly, stockOnly, all;
    };
    // clang-format off
    const Row rows[] = {
        {1,   M::None, M::Down, M::Down},
        {54,  M::None, M::Down, M::Down},
        {3,   M::None, M::Up,   M::Up},
        {4,   M::None, M::Up,   M::Up},
        {5,   M::Down, M::None, M::Down},
        {6,   M::Down, M::None, M::Down},
        {7,   M::Up,   M::None, M::Up},
        {104, M::Up,   M::None, M::Up},
        {27,  M::Up,   M::None, M::Up},
        {66,  M::Down, M::None, M::Down},
        {8,   M::Up,   M::None, M::Up},
        {9,   M::None, M::None, M::None},
        {10,  M::None, M::None, M::None},
    };
    // clang-format on
    const engine::Table table = handBuiltTable();
    CardCounterModel model;
    for (const Row& row : rows) {
        model.refresh(twoDeckRules(1), table, kTableauOnly);
        EXPECT_EQ(model.mark(row.code), row.tableauOnly) << "tableau only, card " << row.code;
        model.refresh(twoDeckRules(1), table, kStockOnly);
        EXPECT_EQ(model.mark(row.code), row.stockOnly) << "stock only, card " << row.code;
        model.refresh(twoDeckRules(1), table, kAll);
        EXPECT_EQ(model.mark(row.code), row.all) << "all piles, card " << row.code;
    }
    EXPECT_EQ(model.rows(), 8);
    // A waste without a shown stock shows its top card only.
    model.refresh(twoDeckRules(0), table, kAll);
    EXPECT_EQ(model.mark(3), M::Down);
    EXPECT_EQ(model.mark(4), M::Up);
    // Cards beyond the cards in play are never counted.
    catalog::Rules oneDeck = twoDeckRules(1);
    oneDeck.set(378, 52);
    model.refresh(oneDeck, table, kAll);
    EXPECT_EQ(model.mark(104), M::None);
    EXPECT_EQ(model.rows(), 4);
    // Switching the filter reports the cells to draw again.
    std::vector<int> changed;
    model.refresh(twoDeckRules(1), table, kTableauOnly);
    model.refresh(twoDeckRules(1), table, kStockOnly, &changed);
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 27, 54, 66, 104}));
}

TEST(CardCounter, GridPlacesEveryCardAndFindsItAgain)
{
    EXPECT_EQ(grid::rowsInUse(52), 4);
    EXPECT_EQ(grid::rowsInUse(53), 8);
    EXPECT_EQ(grid::rowsInUse(156), 12);
    EXPECT_EQ(grid::rowsInUse(208), 16);
    for (int code = 1; code <= 208; ++code) {
        const int row = grid::rowOf(code);
        const int rank = engine::rank(code);
        ASSERT_EQ(grid::codeAt(row, rank), code);
        // Every pixel of the drawn cell finds the card; the next pixel does not.
        const int x = grid::cellX(rank), y = grid::rowY(row);
        EXPECT_EQ(grid::hitTest(x, y, 208), code);
        EXPECT_EQ(grid::hitTest(x + 13, y + 17, 208), code);
        EXPECT_NE(grid::hitTest(x + 14, y, 208), code);
    }
    struct Point {
        int x, y, cards, code;
    };
    const Point points[] = {
        {16, 3, 52, 27},   // Ace of clubs, row 0
        {15, 3, 52, 0},    // the suit column
        {184, 60, 52, 13}, // King of hearts, row 3
        {198, 3, 52, 0},   // right of the Kings
        {16, 80, 52, 0},   // below the rows in use
        {16, 80, 104, 79}, // Ace of clubs of deck 2
        {16, 2, 52, 0},    // above row 0
    };
    for (const Point& p : points)
        EXPECT_EQ(grid::hitTest(p.x, p.y, p.cards), p.code) << p.x << "," << p.y;
    EXPECT_EQ(grid::headerPicture(0), "card_clubs");
    EXPECT_EQ(grid::headerPicture(7), "card_hearts");
    EXPECT_EQ(grid::cellPicture(27, M::Up, false), "Card_1_Up_black");
    EXPECT_EQ(grid::cellPicture(12, M::Down, false), "Card_12_Down_red");
    EXPECT_EQ(grid::cellPicture(12, M::Down, true), "Card_12_Up_red");
    EXPECT_EQ(grid::cellPicture(12, M::None, true), "Card_None");
}

// A host that keeps a counter up to date the way the window does: the events of every action,
// a fresh read after undo, redo and new deals.
class CountingHost : public engine::QuietHost {
public:
    engine::Session* session = nullptr;
    CardCounterModel model;
    CounterFilter filter = kAll;
    int updates = 0;
    std::string mismatch;

    void animate(const engine::Events& events) override
    {
        std::vector<int> changed;
        model.update(session->rules(), session->state().table, events, changed);
        ++updates;
    }
    void redraw() override { readAll(); }
    void dealStarted() override { readAll(); }

    // Once an action has been shown whole (a family's step may pace its events in groups, each
    // shown against the final table), the marks are those of a fresh read.
    void check()
    {
        CardCounterModel fresh;
        fresh.refresh(session->rules(), session->state().table, filter);
        for (int code = 1; code <= 208 && mismatch.empty(); ++code)
            if (fresh.mark(code) != model.mark(code))
                mismatch = "card " + std::to_string(code);
    }

private:
    void readAll()
    {
        if (session)
            model.refresh(session->rules(), session->state().table, filter);
    }
};

TEST(CardCounter, EventsKeepTheMarksOfEveryGameUpToDate)
{
    const auto catalog = test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    storage::test::TempDir dir;
    storage::SettingsStore settings;
    storage::IniFile ini(dir.file("Cfg.dat"));
    engine::TMainGame game(settings, &ini);
    game.dataFolder = dir.folder();
    game.installFolder = dir.folder();
    game.setCatalog(catalog->text);
    game.preferences.autoPlayAllGames = 3;
    settings.set(storage::col::Player, "Alice");
    settings.set(storage::col::GameId, "-1");
    CountingHost host;
    engine::SessionOptions options;
    options.freshGameNumber = [] { return std::string("4242"); };
    options.bookmarkFolder = dir.folder();
    options.autoplayDelayMs = 0;
    engine::Session session(game, host, nullptr, options);
    host.session = &session;
    std::mt19937 random(26);
    int games = 0;
    for (const auto& entry : catalog->list.entries()) {
        if (!entry.usable || !session.startGame(entry.id) || !session.flags().dealActive)
            continue;
        ++games;
        host.filter = games % 3 == 0 ? kTableauOnly : (games % 3 == 1 ? kStockOnly : kAll);
        host.model.refresh(session.rules(), session.state().table, host.filter);
        for (int step = 0; step < 40 && session.flags().dealActive; ++step) {
            engine::GameState copy = session.state();
            engine::PlayOptions play;
            engine::MoveList moves;
            engine::generateMoves(engine::Play{session.rules(), copy, play}, moves);
            if (moves.empty())
                break;
            session.playMove(moves[static_cast<int>(random() % static_cast<unsigned>(moves.size()))]);
            if (step % 7 == 6)
                session.undo();
            host.check();
            ASSERT_EQ(host.mismatch, "") << entry.name << " (game " << entry.id << ") after step " << step;
        }
    }
    EXPECT_GT(games, 100);
    EXPECT_GT(host.updates, 1000);
}

} // namespace
} // namespace cw::tools
