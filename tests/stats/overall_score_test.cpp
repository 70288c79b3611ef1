// Overall score and single-game values: check numbers, scrambling, best results, tampering and resets.
#include <gtest/gtest.h>

#include "stats/overall_score.h"
#include "stats/section_reader.h"
#include "stats/stat_files.h"
#include "stats/tamper_code.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

TEST(TamperCode, CheckNumbers) {
    struct Case {
        const char* text;
        std::int64_t check;
    };
    // "0": c = 48, i = 1: 48 + 24 + (49 mod 3 = 1) + 1 = 74; the second "0": 48 + 48 + 2 + 2 = 100.
    const Case cases[] = {{"", 0}, {"0", 74}, {"00", 174}, {"A", 65 + 32 + 0 + 1}};
    for (const Case& c : cases) EXPECT_EQ(checkNumber(c.text), c.check) << c.text;
}

TEST(TamperCode, ScramblingWithTheKey) {
    EXPECT_EQ(scramble("0000000000"), "dfbhgdfbhg");
    EXPECT_EQ(unscramble(scramble("0123456789")), "0123456789");
}

TEST(TamperCode, LayoutsPlaceTheDigits) {
    auto zero = [](int) { return 0; };
    EXPECT_EQ(buildScoreLayout(250, "", zero).substr(0, 10), "0000020500");
    EXPECT_EQ(buildTimeLayout(300, "", zero).substr(0, 10), "0000003000");
    EXPECT_EQ(buildTotalScore(123, zero), "0000000000000000000010203000");
    EXPECT_EQ(buildTotalTime(123, zero), "0000000000000000000102030000");
    auto seven = [](int) { return 7; };
    std::string gs = buildScoreLayout(250, "", seven);
    EXPECT_EQ(gs.size(), 16u);
    EXPECT_EQ(readScoreLayout(gs, ""), 250);
    EXPECT_FALSE(readScoreLayout(gs, "GW-0001"));  // the check binds the value to its key
    std::string t01 = buildTotalScore(987654, seven), t02 = buildTotalTime(4321, seven);
    EXPECT_TRUE(totalsCheckOk(t01, t02, buildTotalCheck("4706", t01, t02)));
    EXPECT_TRUE(totalsCheckOk(t01, t02, buildTotalCheck("4605", t01, t02)));  // the stamp is taken as stored
    EXPECT_FALSE(totalsCheckOk(buildTotalScore(987655, seven), t02, buildTotalCheck("4706", t01, t02)));
    EXPECT_TRUE(totalsCheckOk(kMissingValuePlain, kMissingValuePlain, kMissingValuePlain));
    // Values that do not fit are clamped, so that they always read back.
    EXPECT_EQ(readScoreLayout(buildScoreLayout(5000000, "", seven), ""), kMaxGameValue);
}

// Values computed independently of this code (by hand from the layout rules, random digits all 3): a
// player with 250 points in 300 seconds in game 1, and 2 won and 1 lost deals of game 1.
TEST_F(StatsTest, KnownStoredFormsReadBack) {
    dir.write("STAT_GLO.DAT",
              "[Version]\r\nVOvS=0300\r\n\r\n[Ann]\r\n"
              "T01=gibkggfehjdibkggfehjfigkggie\r\nT02=gfehjdibkggfehjdibkjgfehjgie\r\nT03=hmbngdfghlmh\r\n"
              "GS-0001=gfbkgfighjdfcqkg\r\nGT-0001=gibhjdiehgdfcqhg\r\n");
    auto r = readOverallRanking(ctx);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].totalScore, 250);
    EXPECT_EQ(r.entries[0].totalTime, 300);
    EXPECT_TRUE(r.differences.empty());
    EXPECT_TRUE(notices.texts.empty());
    dir.write("Stat_uni.dat", "\r\n[Ann]\r\nGW-0001=gfbkgdibjjdffpnd\r\nGL-0001=gibhjdfehhdffpik\r\n");
    auto v = readSingleGameValues(ctx, 1, "Ann");
    EXPECT_FALSE(v.reset);
    EXPECT_EQ(v.won, 2);
    EXPECT_EQ(v.lost, 1);
}

class OverallTest : public StatsTest {
protected:
    std::int64_t best(int game, const std::string& player) {
        auto pairs = readSectionPairs(ctx.path(kOverallFile), player);
        if (!pairs) return -1;
        for (const auto& [k, v] : *pairs)
            if (k == "GS-" + gameSection(game)) return *readScoreLayout(unscramble(v), "");
        return -1;
    }
    std::int64_t bestTime(int game, const std::string& player) {
        auto pairs = readSectionPairs(ctx.path(kOverallFile), player);
        for (const auto& [k, v] : pairs.value_or(storage::KeyValues{}))
            if (k == "GT-" + gameSection(game)) return *readTimeLayout(unscramble(v), "");
        return -1;
    }
};

TEST_F(OverallTest, BestResultsAndTotals) {
    ensureStatisticsFiles(ctx, "Ann");
    EXPECT_TRUE(updateOverallScore(ctx, 1, "Ann", 250, 300, false));
    EXPECT_EQ(best(1, "Ann"), 250);
    EXPECT_EQ(bestTime(1, "Ann"), 300);
    EXPECT_TRUE(updateOverallScore(ctx, 1, "Ann", 250, 280, false));  // same score, shorter time
    EXPECT_EQ(bestTime(1, "Ann"), 280);
    EXPECT_FALSE(updateOverallScore(ctx, 1, "Ann", 240, 10, false));
    EXPECT_TRUE(updateOverallScore(ctx, 2, "Ann", 100, 50, false));
    EXPECT_FALSE(updateOverallScore(ctx, 8000, "Ann", 999, 1, false));  // custom games take no part
    auto r = readOverallRanking(ctx);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].totalScore, 350);
    EXPECT_EQ(r.entries[0].totalTime, 330);
    EXPECT_EQ(r.entries[0].publishingCode.size(), 68u);
    EXPECT_TRUE(r.differences.empty());
    EXPECT_TRUE(notices.texts.empty());
    // Removing a game's results lowers the totals by its best score and time.
    EXPECT_TRUE(updateOverallScore(ctx, 1, "Ann", 0, 0, true));
    r = readOverallRanking(ctx);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].totalScore, 100);
    EXPECT_EQ(r.entries[0].totalTime, 50);
}

TEST_F(OverallTest, RankingOrderScoreThenTime) {
    updateOverallScore(ctx, 1, "Ann", 100, 50, false);
    updateOverallScore(ctx, 1, "Bob", 100, 40, false);
    updateOverallScore(ctx, 1, "Cid", 200, 99, false);
    updateOverallScore(ctx, 1, "Dan", 0, 0, false);
    auto r = readOverallRanking(ctx);
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0].player, "Cid");
    EXPECT_EQ(r.entries[1].player, "Bob");
    EXPECT_EQ(r.entries[2].player, "Ann");
}

TEST_F(OverallTest, ASectionFollowedByOthersKeepsItsLineEnds) {
    updateOverallScore(ctx, 1, "Ann", 100, 50, false);
    updateOverallScore(ctx, 1, "Bob", 100, 40, false);
    updateSingleGameValues(ctx, 1, "Ann", false, true);
    updateSingleGameValues(ctx, 1, "Bob", false, true);
    // Files edited by hand may have no blank line between sections.
    for (const char* f : {"STAT_GLO.DAT", "Stat_uni.dat"}) {
        std::string text = read(f);
        for (auto at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n"))
            text.erase(at, 2);
        dir.write(f, text);
    }
    updateOverallScore(ctx, 2, "Ann", 10, 50, false);
    updateOverallScore(ctx, 3, "Ann", 10, 50, false);
    updateSingleGameValues(ctx, 2, "Ann", false, true);
    // No value may carry the line end of its line (it would come back as a trailing blank or CR).
    for (const char* f : {"STAT_GLO.DAT", "Stat_uni.dat"}) {
        EXPECT_EQ(read(f).find("\r\r"), std::string::npos) << f;
        EXPECT_EQ(read(f).find(" \r\n"), std::string::npos) << f;
    }
    EXPECT_EQ(readOverallRanking(ctx).entries.at(0).totalScore, 120);
}

TEST_F(OverallTest, AChangedCharacterResetsTheFileWithItsMessage) {
    updateOverallScore(ctx, 1, "Ann", 250, 300, false);
    updateOverallScore(ctx, 1, "Bob", 20, 30, false);
    std::string text = read("STAT_GLO.DAT");
    auto at = text.find("GS-0001=");
    ASSERT_NE(at, std::string::npos);
    std::size_t digit = at + 8 + 2;  // a digit of the value
    text[digit] = text[digit] == 'f' ? 'g' : 'f';
    dir.write("STAT_GLO.DAT", text);
    EXPECT_FALSE(updateOverallScore(ctx, 1, "Ann", 260, 300, false));
    EXPECT_FALSE(exists("STAT_GLO.DAT"));
    ASSERT_EQ(notices.texts.size(), 1u);
    EXPECT_EQ(notices.texts[0], kOverallResetMessage);
    // The values start again from zero with the next recorded game.
    EXPECT_TRUE(updateOverallScore(ctx, 1, "Ann", 10, 1, false));
    EXPECT_EQ(readOverallRanking(ctx).entries.at(0).totalScore, 10);
}

TEST_F(OverallTest, TamperedTotalsAreFoundByTheRanking) {
    updateOverallScore(ctx, 1, "Ann", 250, 300, false);
    std::string text = read("STAT_GLO.DAT");
    auto at = text.find("T01=");
    text[at + 4 + 2] = char(text[at + 4 + 2] + 1);  // total score digit 1 up
    dir.write("STAT_GLO.DAT", text);
    auto r = readOverallRanking(ctx);
    EXPECT_TRUE(r.reset);
    EXPECT_TRUE(r.entries.empty());
    EXPECT_FALSE(exists("STAT_GLO.DAT"));
}

TEST_F(OverallTest, OldFilesWithDifferentTotalsAreReportedOnce) {
    updateOverallScore(ctx, 1, "Ann", 250, 300, false);
    // A file of an older version: totals that disagree with the game values and no "VOvS=0300".
    auto digits = [this](int m) { return ctx.digit(m); };
    std::string t01 = buildTotalScore(999, digits), t02 = buildTotalTime(300, digits);
    std::string text = read("STAT_GLO.DAT");
    text.replace(text.find("VOvS=0300"), 9, "VOvS=0200");
    auto replaceValue = [&](const std::string& key, const std::string& plain) {
        auto a = text.find(key + "=") + key.size() + 1;
        text.replace(a, text.find('\r', a) - a, scramble(plain));
    };
    replaceValue("T01", t01);
    replaceValue("T02", t02);
    replaceValue("T03", buildTotalCheck("4706", t01, t02));
    dir.write("STAT_GLO.DAT", text);
    auto r = readOverallRanking(ctx);
    ASSERT_EQ(r.differences.size(), 1u);
    EXPECT_EQ(r.differences[0].stored, 999);
    EXPECT_EQ(r.differences[0].recomputed, 250);
    EXPECT_EQ(r.entries.at(0).totalScore, 250);
    EXPECT_TRUE(readOverallRanking(ctx).differences.empty());
}

TEST_F(OverallTest, DetailsListEveryCatalogGameByName) {
    FixedCatalog games({{1, "Klondike", -1, 52}, {2, "Aces Up", 52, 52}, {8001, "Mine", -1, 52}});
    updateOverallScore(ctx, 2, "Ann", 52, 40, false);
    auto d = readOverallDetails(ctx, "Ann", games);
    ASSERT_EQ(d.rows.size(), 2u);
    EXPECT_EQ(storage::rtrim(d.rows[0].name), "Aces Up");
    EXPECT_EQ(d.rows[0].maxScore, 52);
    EXPECT_TRUE(d.rows[0].maxReached);
    EXPECT_EQ(d.rows[1].maxScore, 208);
    EXPECT_EQ(d.totalScore, 52);
}

TEST_F(OverallTest, SingleGameValues) {
    EXPECT_TRUE(updateSingleGameValues(ctx, 5, "Ann", false, true));
    EXPECT_TRUE(updateSingleGameValues(ctx, 5, "Ann", false, true));
    EXPECT_TRUE(updateSingleGameValues(ctx, 5, "Ann", false, false));
    EXPECT_FALSE(updateSingleGameValues(ctx, 8005, "Ann", false, true));
    auto v = readSingleGameValues(ctx, 5, "Ann");
    EXPECT_EQ(v.won, 2);
    EXPECT_EQ(v.lost, 1);
    EXPECT_EQ(singleGameWonCounts(ctx, "Ann"), (std::vector<std::pair<int, std::int64_t>>{{5, 2}}));
    std::string code = singleGamePublishingCode(ctx, 5, "Ann");
    ASSERT_EQ(code.size(), 18u + 20u + 8u);
    std::string plain = unscramble(code);
    EXPECT_EQ(plain.substr(0, 3), "054");  // "0", the fourth digit of the id, stamp character 1
    EXPECT_EQ(checkNumber(plain.substr(0, 38)), std::stoll(plain.substr(38)));
    EXPECT_TRUE(updateSingleGameValues(ctx, 5, "Ann", true, false));
    EXPECT_EQ(readSingleGameValues(ctx, 5, "Ann").won, 0);
}

TEST_F(OverallTest, AValueMovedToAnotherKeyResetsTheSingleGameValues) {
    updateSingleGameValues(ctx, 5, "Ann", false, true);
    updateSingleGameValues(ctx, 6, "Ann", false, false);
    std::string text = read("Stat_uni.dat");
    // Swap the won values of games 5 and 6: each is well-formed, but bound to the other key.
    auto value = [&](const std::string& key) {
        auto a = text.find(key + "=") + key.size() + 1;
        return std::pair{a, text.substr(a, 16)};
    };
    auto [a5, v5] = value("GW-0005");
    auto [a6, v6] = value("GW-0006");
    text.replace(a5, 16, v6);
    text.replace(a6, 16, v5);
    dir.write("Stat_uni.dat", text);
    EXPECT_TRUE(readSingleGameValues(ctx, 5, "Ann").reset);
    EXPECT_FALSE(exists("Stat_uni.dat"));
    EXPECT_EQ(notices.texts.at(0), kSingleGameResetMessage);
}

}  // namespace
}  // namespace cw::stats::test
