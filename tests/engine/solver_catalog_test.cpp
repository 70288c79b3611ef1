// The solver over the catalog: the first ten deals of Klondike, FreeCell and Spider give at least one proven win each.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/solver.h"

namespace {

using namespace cw::engine;

TEST(SolverCatalog, FirstTenDealsOfKlondikeFreeCellAndSpiderHaveAWin)
{
    const std::filesystem::path defs = CW_BIN_DIR "/GAMES.DAT";
    if (!std::filesystem::exists(defs))
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto text = cw::catalog::ReadWholeFile(defs);
    ASSERT_TRUE(text.ok());
    const auto list = cw::catalog::BuildGameList(text.value()).list;
    // Klondike, FreeCell, Spider (four suits).
    for (int id : {0, 1, 18}) {
        SCOPED_TRACE(id);
        auto rules = cw::catalog::LoadGameRules(text.value(), list, id, {});
        ASSERT_TRUE(rules.ok());
        int wins = 0;
        for (int n = 1; n <= 10 && wins == 0; ++n) {
            auto dealt = deal(rules.value(), std::to_string(n));
            SolverLimits limits;
            // A node budget keeps the test independent of machine load; Spider's positions are
            // many more per deal.
            limits.maxStates = id == 18 ? 400'000 : 60'000;
            const SolveResult r = solve(dealt.rules, dealt.state, limits);
            if (r.verdict != Verdict::Winnable)
                continue;
            std::string why;
            EXPECT_TRUE(replayWins(dealt.rules, dealt.state, r.line, &why)) << "deal " << n << ": " << why;
            ++wins;
        }
        EXPECT_GE(wins, 1);
    }
}

} // namespace
