// Pile information texts: building texts, counts and the redeal counter of the stock.
#include <gtest/gtest.h>

#include "engine/pile_info.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

TEST(PileInfo, BuildingTexts)
{
    struct Case {
        int direction, suit;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, "Build up in suit (ex. 2 [h] on Ace [h])"},
        {0, 3, "Build down in alternating colors (ex. 10 [d] on Jack [c][s])"},
        {2, 2, "Build up or down regardless of suit (ex. 10 [c] on any 9 or on any Jack)"},
        {0, 1, "Build down by the same color (ex. 10 [h] on Jack [h][d])"},
        {1, 4, "The top card is available for play to the foundations"},
        {0, 7, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(buildingText(c.direction, c.suit), c.text);
}

TEST(PileInfo, RedealCounterAndEmptyStockTooltip)
{
    cw::engine::GameRules rules = basicRules(7);
    rules.set(11, 1);
    rules.set(24, 1);
    rules.set(16, 3);
    GameState st;
    const PlayOptions opt;
    const Play play{rules, st, opt};
    const char* labels[] = {"0/2", "1/2", "2/2"};
    for (int deal = 1; deal <= 3; ++deal) {
        st.dealNumber = deal;
        const PileInfo info = pileInformation(play, PileRef::stock());
        EXPECT_EQ(info.redealShort, labels[deal - 1]);
        EXPECT_EQ(info.redeal, std::string(labels[deal - 1]) + " redeals");
        EXPECT_EQ(info.description, deal < 3 ? "Click to redeal" : "") << "deal " << deal;
        EXPECT_EQ(info.count, "0 cards");
        EXPECT_EQ(info.panel, "Stock (1)");
    }
    st.table.append(PileRef::stock(), 1);
    EXPECT_EQ(pileInformation(play, PileRef::stock()).description, "Click to turn up one card at a time to the waste");
    EXPECT_EQ(pileInformation(play, PileRef::stock()).count, "1 card");
    rules.set(24, 3);
    EXPECT_EQ(pileInformation(play, PileRef::stock()).description, "Click to turn up 3 cards at a time to the waste");
    rules.set(16, -1);
    EXPECT_EQ(pileInformation(play, PileRef::stock()).redealShort, "Unlimited");
    rules.set(16, 0);
    EXPECT_EQ(pileInformation(play, PileRef::stock()).redeal, "No redeal");
}

TEST(PileInfo, PilesOfTheTable)
{
    cw::engine::GameRules rules = basicRules(7, 4, 2);
    setRange(rules, 215, 7, 3);
    GameState st = stateFromText("Fila2: Kh Qs; Appogg1: 5c");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    const PileInfo t = pileInformation(play, PileRef::tableau(1));
    EXPECT_EQ(t.panel, "Tableau (7)");
    EXPECT_EQ(t.count, "2 cards");
    EXPECT_EQ(t.description, "Build down in alternating colors (ex. 10 [d] on Jack [c][s])");
    rules.set(488, 2);
    EXPECT_EQ(pileInformation(play, PileRef::tableau(1)).description,
              "Build down regardless of suit (ex. 10 [d] on Jack [h][c][d][s])");
    EXPECT_EQ(pileInformation(play, PileRef::foundation(0)).description, "Build up in suit (ex. 2 [h] on Ace [h])");
    EXPECT_EQ(pileInformation(play, PileRef::foundation(0)).panel, "Foundation (4)");
    EXPECT_EQ(pileInformation(play, PileRef::reserve(0)).description,
              "The top card is available for play to the foundations or to the tableau");
    EXPECT_EQ(pileInformation(play, PileRef{}).type, "");
}

} // namespace
