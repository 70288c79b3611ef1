// cardwise-cli score: a poker hand and a cribbage hand scored from the command line, and malformed hands refused.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_run.h"

namespace {

using cw::test::CliRun;
using cw::test::runCli;

TEST(ScoreCli, PrintsTheValues)
{
    struct Row {
        const char* args;
        const char* out;
    };
    const Row rows[] = {
        {"--poker \"TH JH QH KH AH\"", "Royal Flush: 100 points\n"},
        {"--poker \"KS AH 2S 3S 4S\"", "No hand: 0 points\n"},
        {"--poker \"ad 10c js qd kh\"", "Straight: 15 points\n"},
        {"--cribbage \"5H 5D 5C JS\" --starter 5S",
         "Fifteen: 16\nPair: 12\nRun: 0\nFlush: 0\nHis Nobs: 1\nTotal: 29\n"},
        {"--cribbage \"2H 4H 6H 8H\" --starter KS --crib",
         "Fifteen: 0\nPair: 0\nRun: 0\nFlush: 0\nHis Nobs: 0\nTotal: 0\n"},
        {"--cribbage \"2H 4H 6H JH\" --starter -", "Fifteen: 0\nPair: 0\nRun: 0\nFlush: 4\nHis Nobs: 0\nTotal: 4\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const CliRun r = runCli(std::string("score ") + row.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, row.out);
    }
}

TEST(ScoreCli, MalformedHandsAreOneLineErrors)
{
    const char* rows[] = {
        "--poker \"TH JH QH KH\"",                 // four cards
        "--poker \"TH JH QH KH AH 2C\"",           // six
        "--poker \"TH JH QH KH TH\"",              // a duplicate
        "--poker \"TH JH QH KH 1H\"",              // an unknown rank
        "--poker \"TH JH QH KH AX\"",              // an unknown suit
        "--cribbage \"5H 5D 5C JS\"",              // no starter
        "--cribbage \"5H 5D 5C JS\" --starter 5H", // the starter is in the hand
        "--cribbage \"5H 5D 5C\" --starter 5S",
        "--cribbage \"5H 5D 5C JS\" --starter ZZ",
        "--poker \"TH JH QH KH AH\" --cribbage \"5H 5D 5C JS\"",
        "",
    };
    for (const char* args : rows) {
        SCOPED_TRACE(args);
        const CliRun r = runCli(std::string("score ") + args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

} // namespace
