// Saved game files: exact layout, round trips with undo, damaged files, old versions, bookmarks and held games.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/deal.h"
#include "engine/saved_game.h"
#include "engine/score.h"
#include "storage/settings_store.h"
#include "history_support.h"
#include "rule_sets.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

using namespace cw::engine;
using namespace cw::test;
using Rules = cw::engine::GameRules;
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TempDir {
public:
    TempDir()
    {
        static int n = 0;
        path_ = fs::temp_directory_path() / ("cw_saved_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string folder() const { return path_.string() + "/"; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

// A game in progress: a deal, some hand-made moves and the score of the table.
struct Played {
    Rules rules;
    GameState dealt;
    GameState state;
    History history;
};

Played play(const Rules& rules, const std::string& number, int moves, unsigned seed)
{
    Played p;
    DealResult d = deal(rules, number);
    p.rules = d.rules;
    p.state = d.state;
    p.state.gameId = 2;
    p.state.gameNumber = number;
    p.state.score = standardScore(p.rules, p.state.table, "01");
    p.dealt = p.state;
    std::mt19937 rng(seed);
    const HistoryPolicy policy = HistoryPolicy::forGame(p.rules, UndoOption::Unlimited);
    for (int m = 0; m < moves; ++m)
        randomMove(p.state, p.history, policy, rng);
    p.state.score = standardScore(p.rules, p.state.table, "01");
    return p;
}

SavedGame sampleGame()
{
    SavedGame g;
    g.gameId = 17;
    g.appearance = {"Green felt", -16777216, "Y", "M", "003", 12};
    g.elapsedSeconds = 3725;
    g.scoringCode = "01";
    g.score = -37;
    g.dealNumber = 3;
    g.gameCounter1 = 1111;
    g.gameCounter2 = 7;
    g.player = "Anna";
    g.gameNumber = "9876543210123";
    g.foundationBases = {1, 13, -2, 82, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5};
    g.table = tableOf({{"Mazzo", "00100020"}, {"Fila1", "00000031"}, {"Dest1", "2091"}});
    g.undo.snapshots.push(tableOf({{"Mazzo", "001000200031"}, {"Dest1", "2091"}}));
    g.undo.log = {kEventRedeal};
    return g;
}

std::vector<std::string> linesOf(const std::string& text) { return cw::storage::splitLines(text); }

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

} // namespace

TEST(SavedGame, ExactLayout)
{
    const SavedGame g = sampleGame();
    const std::string text = encodeSavedGame(g);
    const auto lines = linesOf(text);
    ASSERT_EQ(lines.size(), 89u + 71u * 1u);
    EXPECT_EQ(lines[0], "[S-0920]0017Green felt                    -00000016777216Y   M003      0012003725"
                        "01-0003700000311110007");
    EXPECT_EQ(lines[0].size(), 103u);
    EXPECT_EQ(lines[1], std::string("Anna") + std::string(46, ' ') + "9876543210123   " + "0113-282" + std::string(22, '0') + "05");
    EXPECT_EQ(lines[1].size(), 98u);
    for (int i = 2; i < 12; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(lines[12], "00100020");  // stock
    EXPECT_EQ(lines[15], "2091");      // foundation 1
    EXPECT_EQ(lines[31], "00000031");  // tableau 1
    EXPECT_EQ(lines[83], "[UNDO - Stock]");
    EXPECT_EQ(lines[84], "001000200031");
    EXPECT_EQ(lines[87], "[UNDO - Foundations]");
    EXPECT_EQ(lines[88], "2091");
    EXPECT_EQ(lines[104], "[UNDO - Piles]");
    EXPECT_EQ(lines[145], "[UNDO - Reserves]");
    EXPECT_EQ(lines[158], "[UNDO - Log]");
    EXPECT_EQ(lines[159], "003,");
    // Every line ends with CR LF, the last one included.
    std::size_t crlf = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        crlf += text[i] == '\r' && text[i + 1] == '\n';
    EXPECT_EQ(crlf, lines.size());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    const SavedGameRead r = parseSavedGame(text, "x.gam");
    ASSERT_TRUE(r.ok()) << r.detail;
    SavedGame expected = g;
    EXPECT_EQ(r.game, expected) << "face-down cards, placeholders, a joker base and every number survive";
}

TEST(SavedGame, AWrittenFileIsAlwaysReadable)
{
    SavedGame g = sampleGame();
    g.elapsedSeconds = 2'000'000;
    g.score = -150'000;
    g.dealNumber = 1'234'567;
    g.gameCounter1 = -5000;
    g.foundationBases[0] = 100;
    g.player = "Ann\r\n[UNDO - Log]";
    g.scoringCode = "x";
    const SavedGameRead r = parseSavedGame(encodeSavedGame(g), "x.gam");
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.game.elapsedSeconds, 999'999);
    EXPECT_EQ(r.game.score, -99'999);
    EXPECT_EQ(r.game.dealNumber, 999'999);
    EXPECT_EQ(r.game.gameCounter1, -999);
    EXPECT_EQ(r.game.foundationBases[0], 99);
    EXPECT_EQ(r.game.player, "Ann  [UNDO - Log]") << "line breaks in a name become blanks";
    EXPECT_EQ(r.game.scoringCode, "01");
}

TEST(SavedGame, RoundTripKeepsTableScoreAndUndo)
{
    struct Case {
        const char* name;
        Rules rules;
    };
    const std::vector<Case> cases = {{"klondike", klondike()}, {"freecell", freecell()}, {"spider", spider()},
                                     {"canfield", canfield()}};
    TempDir dir;
    for (const Case& c : cases) {
        for (int moves : {0, 1, 100}) {
            SCOPED_TRACE(std::string(c.name) + " after " + std::to_string(moves) + " moves");
            Played p = play(c.rules, "31415", moves, static_cast<unsigned>(moves) + 11);
            cw::storage::SettingsStore settings;
            settings.set(cw::storage::col::Player, "Bo");
            settings.set(cw::storage::col::ScoringCode, "01");
            const SavedGame saved = captureGame(p.state, p.rules, p.history.undo, settings, 125);
            const std::string path = (dir / (std::string(c.name) + ".gam")).string();
            writeSavedGame(path, saved);

            const SavedGameRead r = readSavedGame(path);
            ASSERT_TRUE(r.ok()) << r.detail;
            EXPECT_EQ(r.game.player, "Bo");
            EXPECT_EQ(r.game.elapsedSeconds, 125);
            Rules rules = c.rules; // freshly loaded rules, then the file's bases
            restoreRules(r.game, rules);
            EXPECT_EQ(rules.values(), p.rules.values()) << "bases and derived empty-pile rules";
            GameState s;
            History h;
            h.redo.snapshots.push(p.dealt.table); // opening empties the redo history
            restoreGame(r.game, rules, RestoreMode::Open, s, h);
            EXPECT_TRUE(h.redo.snapshots.empty());
            EXPECT_EQ(snapshotLines(s.table), snapshotLines(p.state.table));
            EXPECT_EQ(recomputeScore({rules, s}), p.state.score);
            EXPECT_EQ(s.score, p.state.score);
            EXPECT_EQ(s.dealNumber, p.state.dealNumber);
            EXPECT_EQ(s.stockClicks, p.state.stockClicks);
            EXPECT_EQ(s.gameNumber, "31415");
            EXPECT_EQ(h.undo, p.history.undo);
            ASSERT_EQ(h.undo.snapshots.size(), static_cast<std::size_t>(moves));

            // Undo a few, redo them: the same position; undo everything: the dealt table.
            const HistoryPolicy policy = HistoryPolicy::forGame(rules, UndoOption::Unlimited);
            const int k = moves / 3;
            for (int i = 0; i < k; ++i)
                ASSERT_TRUE(h.undoMove(s, policy));
            for (int i = 0; i < k; ++i)
                ASSERT_TRUE(h.redoMove(s, policy));
            EXPECT_EQ(snapshotLines(s.table), snapshotLines(p.state.table));
            EXPECT_EQ(s.dealNumber, p.state.dealNumber);
            while (h.undoMove(s, policy)) {
            }
            EXPECT_EQ(snapshotLines(s.table), snapshotLines(p.dealt.table));
            EXPECT_EQ(s.dealNumber, 1);
            EXPECT_EQ(s.stockClicks, 0);
        }
    }
}

TEST(SavedGame, DamagedFilesAreRefused)
{
    const std::string good = encodeSavedGame(sampleGame());
    ASSERT_TRUE(parseSavedGame(good, "g.gam").ok());
    struct Case {
        const char* name;
        std::function<void(std::vector<std::string>&)> damage;
        SavedGameError error;
    };
    auto setLine = [](std::size_t i, std::string text) {
        return [i, text](std::vector<std::string>& l) { l[i] = text; };
    };
    auto patch = [](std::size_t line, std::size_t at, std::string text) {
        return [line, at, text](std::vector<std::string>& l) { l[line].replace(at, text.size(), text); };
    };
    const std::vector<Case> cases = {
        {"49 lines", [](auto& l) { l.resize(49); }, SavedGameError::TooShort},
        {"no file at all", [](auto& l) { l.clear(); }, SavedGameError::TooShort},
        {"header tag", patch(0, 0, "[X-"), SavedGameError::Damaged},
        {"version not digits", patch(0, 3, "09a0"), SavedGameError::Damaged},
        {"game id", patch(0, 8, "00x7"), SavedGameError::Damaged},
        {"elapsed time", patch(0, 75, "12 4 6"), SavedGameError::Damaged},
        {"scoring code", patch(0, 81, "x1"), SavedGameError::Damaged},
        {"score", patch(0, 83, "--0037"), SavedGameError::Damaged},
        {"deal number", patch(0, 89, "0000.3"), SavedGameError::Damaged},
        {"game counter", patch(0, 95, "11?1"), SavedGameError::Damaged},
        {"header cut inside the counters", [](auto& l) { l[0].resize(99); }, SavedGameError::Damaged},
        {"header cut before the deal number", [](auto& l) { l[0].resize(92); }, SavedGameError::Damaged},
        {"game number with letters", patch(1, 50, "98765x3210123"), SavedGameError::Damaged},
        {"game number with a path", patch(1, 50, "../../etc/pas"), SavedGameError::Damaged},
        {"foundation base", patch(1, 68, "zz"), SavedGameError::Damaged},
        {"bases missing", [](auto& l) { l[1].resize(80); }, SavedGameError::Damaged},
        {"pile with a cut group", setLine(12, "0010002"), SavedGameError::Damaged},
        {"unknown card code", setLine(13, "2131"), SavedGameError::Damaged},
        {"bad face flag", setLine(13, "0057"), SavedGameError::Damaged},
        {"letters in a pile", setLine(40, "00a1"), SavedGameError::Damaged},
        {"a card twice", setLine(40, "0031"), SavedGameError::Damaged},
        {"undo list one line short", [](auto& l) { l.erase(l.begin() + 86); }, SavedGameError::Damaged},
        {"undo position with a card twice", setLine(85, "0011"), SavedGameError::Damaged},
        {"undo position with an unknown code", setLine(90, "9991"), SavedGameError::Damaged},
        {"undo log", [](auto& l) { l.back() = "3,"; }, SavedGameError::Damaged},
        {"too short after the version's insertions", [](auto& l) { l.resize(55); l[0].replace(3, 4, "0100"); },
         SavedGameError::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = linesOf(good);
        c.damage(lines);
        const SavedGameRead r = parseSavedGame(joinLines(lines), "/home/u/My game.gam");
        EXPECT_EQ(r.error, c.error) << r.detail;
        EXPECT_EQ(r.message, "Error in reading the file: /home/u/My game.gam");
        EXPECT_EQ(r.game, SavedGame{}) << "nothing half-read is handed out";
    }
    // A selection buffer (foundation 1) names cards that stay on their piles.
    SavedGame selection = sampleGame();
    selection.table.append(PileRef::foundation(0), 3, true);
    EXPECT_TRUE(parseSavedGame(encodeSavedGame(selection), "s.gam").ok());
    selection.table.append(PileRef::foundation(0), 3, true);
    EXPECT_FALSE(parseSavedGame(encodeSavedGame(selection), "s.gam").ok()) << "but not twice in the buffer";
    // A player named like a section header is just a name.
    SavedGame odd = sampleGame();
    odd.player = "[UNDO - Stock]";
    const SavedGameRead oddRead = parseSavedGame(encodeSavedGame(odd), "o.gam");
    ASSERT_TRUE(oddRead.ok()) << oddRead.detail;
    EXPECT_EQ(oddRead.game, odd);
    // Binary garbage and LF-only line ends.
    EXPECT_FALSE(parseSavedGame(std::string(4000, '\0'), "b").ok());
    std::string lf = good;
    std::erase(lf, '\r');
    EXPECT_TRUE(parseSavedGame(lf, "lf.gam").ok()) << "readers accept LF line ends";
}

TEST(SavedGame, OlderVersionsOpenToTheRightPiles)
{
    struct Case {
        const char* file;
        int lastTableau;  // 1-based pile that holds the 5 of hearts
        int lastReserve;  // 1-based reserve that holds the 8 of hearts
    };
    for (const Case& c : std::vector<Case>{{"v0301.gam", 21, 8}, {"v0520.gam", 28, 10}, {"v0530.gam", 40, 10}}) {
        SCOPED_TRACE(c.file);
        const SavedGameRead r = readSavedGame(std::string(CW_FIXTURES_DIR "/saved/") + c.file);
        ASSERT_TRUE(r.ok()) << r.detail;
        const SavedGame& g = r.game;
        EXPECT_EQ(g.gameId, 2);
        EXPECT_EQ(g.elapsedSeconds, 3725);
        EXPECT_EQ(g.score, -37);
        EXPECT_EQ(g.dealNumber, 2);
        EXPECT_EQ(g.player, "Fixture Player");
        EXPECT_EQ(g.gameNumber, "1234567");
        for (int k = 1; k <= kFoundationPiles; ++k) {
            const int want = k == kFoundationPiles ? -2 : 1; // a joker base on the last one
            EXPECT_EQ(g.foundationBases[static_cast<std::size_t>(k - 1)], want) << "foundation " << k;
        }

        Table want = tableOf({{"Mazzo", "01000110"}, {"Mazzo_Vis", "0121"}, {"Dest1", "00110021"},
                              {"Fila1", "00300041"}, {"Fila2", "00000061"}, {"Fila" + std::to_string(c.lastTableau), "0051"},
                              {"Appogg1", "0071"}, {"Appogg" + std::to_string(c.lastReserve), "0081"}});
        EXPECT_EQ(snapshotLines(g.table), snapshotLines(want));

        ASSERT_EQ(g.undo.snapshots.size(), 1u);
        EXPECT_EQ(g.undo.log, EventLog{kEventMoveCounter});
        GameState s;
        History h;
        restoreGame(g, klondike(), RestoreMode::Open, s, h);
        EXPECT_EQ(s.stockClicks, 1);
        ASSERT_TRUE(h.undoMove(s, HistoryPolicy{}));
        want.stock().push(12);
        want.setFace(12, false);
        want.waste().clear();
        EXPECT_EQ(snapshotLines(s.table), snapshotLines(want)) << "the undo lists get the same adjustment";
        EXPECT_EQ(s.stockClicks, 0);
    }
}

TEST(SavedGame, VersionAdjustmentOfTheLines)
{
    // Each line holds its own 0-based number; the empty lines show where the old layouts had none.
    std::vector<std::string> lines;
    for (int i = 0; i < 70; ++i)
        lines.push_back(std::to_string(i));
    std::vector<std::string> v0520 = lines;
    ASSERT_TRUE(adjustSavedGameLines(v0520, "0520"));
    ASSERT_EQ(v0520.size(), 70u + 12u + 2u);
    EXPECT_EQ(v0520[58], "58");
    for (int i = 59; i <= 70; ++i)
        EXPECT_EQ(v0520[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(v0520[71], "59");
    EXPECT_EQ(v0520[80], "68");
    EXPECT_EQ(v0520[81], "");
    EXPECT_EQ(v0520[82], "");
    EXPECT_EQ(v0520[83], "69");

    std::vector<std::string> current = lines;
    ASSERT_TRUE(adjustSavedGameLines(current, "0920"));
    EXPECT_EQ(current, lines);

    std::vector<std::string> old = lines;
    ASSERT_TRUE(adjustSavedGameLines(old, "0200"));
    EXPECT_EQ(old[1], "100000000");
    EXPECT_EQ(old.size(), 70u + 9u + 2u + 2u + 12u + 2u);

    UndoTexts u;
    u.reserves = std::vector<std::string>(20, "x"); // two positions of a 0520 file
    u.tableau = std::vector<std::string>(56, "t");
    adjustUndoLists(u, "0520");
    ASSERT_EQ(u.reserves.size(), 24u);
    EXPECT_EQ(u.reserves[10], "");
    EXPECT_EQ(u.reserves[11], "");
    EXPECT_EQ(u.reserves[12], "x");
    ASSERT_EQ(u.tableau.size(), 80u);
    EXPECT_EQ(u.tableau[28], "");
    EXPECT_EQ(u.tableau[40], "t");
}

// A file without a player (made by cardwise-cli) leaves the current player as it is.
TEST(SavedGame, OpenedValuesKeepTheCurrentPlayerWhenTheFileHasNone)
{
    cw::storage::SettingsStore settings;
    settings.set(cw::storage::col::Player, "Ann");
    SavedGame g = sampleGame();
    g.player = "";
    storeOpenedValues(g, settings);
    EXPECT_EQ(settings.get(cw::storage::col::Player), "Ann");
    EXPECT_EQ(settings.get(cw::storage::col::GameNumber), g.gameNumber);
    g.player = "Bea";
    storeOpenedValues(g, settings);
    EXPECT_EQ(settings.get(cw::storage::col::Player), "Bea");
}

TEST(SavedGame, RestoreRulesSetsBasesAndKingOnlyRule)
{
    SavedGame g;
    g.foundationBases = {};
    g.foundationBases[0] = 5;
    g.foundationBases[15] = -2;
    Rules r = klondike(); // empty piles 91 (king only) on piles 1..7
    restoreRules(g, r);
    EXPECT_EQ(r.foundationBase(0), 5);
    EXPECT_EQ(r.foundationBase(15), -2);
    EXPECT_EQ(r.foundationBase(1), 0);
    EXPECT_EQ(r.tableauEmptyRule(0), 4) << "the rank below foundation 1's base";
    EXPECT_EQ(r.tableauEmptyRule(6), 4);
    g.foundationBases[0] = 1;
    Rules k = klondike();
    restoreRules(g, k);
    EXPECT_EQ(k.tableauEmptyRule(0), 13);
}

TEST(SavedGame, BookmarkKeepsRedoAndTheDrawFlagFollowsTheLog)
{
    Played p = play(klondike(), "2718", 12, 5);
    const SavedGame mark = captureGame(p.state, p.rules, p.history.undo, cw::storage::SettingsStore{}, 40);
    // Play on, undo one move so that something is in the redo history, then go back to the mark.
    std::mt19937 rng(9);
    const HistoryPolicy policy;
    for (int i = 0; i < 5; ++i)
        randomMove(p.state, p.history, policy, rng);
    ASSERT_TRUE(p.history.undoMove(p.state, policy));
    const HistoryList redo = p.history.redo;
    const int gameCounter = p.state.gameCounters[0] = 42;
    restoreGame(mark, p.rules, RestoreMode::Bookmark, p.state, p.history);
    EXPECT_EQ(snapshotLines(p.state.table), snapshotLines(mark.table));
    EXPECT_EQ(p.history.undo, mark.undo);
    EXPECT_EQ(p.history.redo, redo) << "go to bookmark leaves the redo history alone";
    EXPECT_EQ(p.state.gameCounters[0], gameCounter);

    // Every game takes its draw-used flag from the log (an opened game cannot draw twice), and
    // a log without the Draw gives it back.
    SavedGame withDraw = mark;
    withDraw.undo.log.assign(withDraw.undo.snapshots.size(), 0);
    withDraw.undo.log.back() = kEventOneTime;
    for (int family : {66, 71, 73, 12, 0}) {
        Rules r;
        r.set(54, family);
        GameState s;
        History h;
        restoreGame(withDraw, r, RestoreMode::Open, s, h);
        EXPECT_TRUE(s.drawUsed) << family;
        EXPECT_EQ(s.eventCounts[kEventOneTime], 1);
        SavedGame noDraw = withDraw;
        noDraw.undo.log.back() = 0;
        restoreGame(noDraw, r, RestoreMode::Bookmark, s, h);
        EXPECT_FALSE(s.drawUsed) << family;
    }
}

TEST(SavedGame, Files)
{
    TempDir dir;
    const SavedGame g = sampleGame();

    // A missing file, then a file written whole over an older one.
    const std::string path = (dir / "Game.gam").string();
    const SavedGameRead missing = readSavedGame(path);
    EXPECT_EQ(missing.error, SavedGameError::NotFound);
    EXPECT_EQ(missing.message, "File not found: " + path);
    std::ofstream(path) << "old";
    writeSavedGame(path, g);
    EXPECT_EQ(slurp(path), encodeSavedGame(g));
    EXPECT_EQ(readSavedGame((dir / "GAME.GAM").string()).error, SavedGameError::None) << "names match without case";

    // The held game is deleted once read; a damaged one is reported once and kept aside as "*.bad".
    writeSavedGame(dir.folder() + kHeldGameFileName, g);
    EXPECT_TRUE(takeHeldGame(dir.folder()).ok());
    EXPECT_FALSE(fs::exists(dir / kHeldGameFileName));
    std::ofstream(dir / kHeldGameFileName) << "damaged\r\n";
    EXPECT_EQ(takeHeldGame(dir.folder()).error, SavedGameError::TooShort);
    EXPECT_FALSE(fs::exists(dir / kHeldGameFileName));
    EXPECT_EQ(slurp((dir / (std::string(kHeldGameFileName) + ".bad")).string()), "damaged\r\n");
    EXPECT_EQ(takeHeldGame(dir.folder()).error, SavedGameError::NotFound);

    // Bookmarks: unique "~so" files; a new one replaces the old; only such names are deleted.
    const std::string first = writeBookmark(g, "", dir.folder());
    EXPECT_EQ(fs::path(first).filename().string().rfind("~so", 0), 0u);
    EXPECT_EQ(fs::path(first).parent_path(), fs::path(dir.folder()).parent_path());
    EXPECT_EQ(readSavedGame(first).game, g);
    const std::string second = writeBookmark(g, first, dir.folder());
    EXPECT_NE(second, first);
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(deleteBookmark(path)) << "not a bookmark name";
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(deleteBookmark(second));
    EXPECT_FALSE(fs::exists(second));
    EXPECT_TRUE(deleteBookmark(""));

    EXPECT_EQ(sampleGamePath("/opt/cw/", 7), "/opt/cw/Demos/G0007.GAM");
    EXPECT_EQ(defaultSaveName("Klondike"), "Klondike.gam");
    EXPECT_EQ(defaultSaveName("Yukon/Russian"), "Yukon_Russian.gam");
    EXPECT_EQ(defaultSaveName(".."), "game.gam");
}
