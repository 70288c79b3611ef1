// Every command refuses an option it does not know (exit status 2) instead of running without it.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace cw::test {
namespace {

TEST(CliOptions, UnknownOptionsAndArgumentsAreUsageErrors)
{
    struct Case {
        std::string args, message;
    };
    const Case cases[] = {
        {"list --bogus x", "unknown option '--bogus'"},
        {"list stray", "unexpected argument 'stray'"},
        {"deal --game 0 --number 1 --numbr 2", "unknown option '--numbr'"},
        {"deal --game 0 --number", "option '--number' needs a value"},
        {"moves --game 0 --number 1 -x", "unknown option '-x'"},
        {"play --game 0 --number 1 --random 3 --seed 1 --show-moves --autplay", "unknown option '--autplay'"},
        {"shuffle --cards 52 --number 1 --joker 2", "unknown option '--joker'"},
        {"open game.gam --undoo 3", "unknown option '--undoo'"},
        {"solve --game 0 --number 1 --budget 5", "unknown option '--budget'"},
        {"winrate --game 0 --deals 1 --verbos", "unknown option '--verbos'"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << c.args;
    }
    // The options the usage lines name are all taken, flags and values alike.
    EXPECT_EQ(runCli("list").status, 0);
    EXPECT_EQ(runCli("shuffle --cards 52 --jokers 0 --reduced 0 --number 7").status, 0);
    EXPECT_EQ(runCli("solve --game 0 --number 1 --budget-ms 50 --threads 1 --no-reductions").status, 0);
}

} // namespace
} // namespace cw::test
