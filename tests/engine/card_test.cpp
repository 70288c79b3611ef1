// Card codes: rank, suit, colour and the card record text.
#include <gtest/gtest.h>

#include "engine/card.h"

using namespace cw::engine;

TEST(Card, RankSuitColourAcrossDecksAndJokers)
{
    struct Row {
        int code, rank, suit;
        bool red, picture, joker;
        int deck;
    };
    const Row rows[] = {
        {0, 0, 0, false, false, false, 0},     // placeholder
        {1, 1, 0, true, false, false, 1},      // ace of hearts
        {14, 1, 1, true, false, false, 1},     // ace of diamonds
        {27, 1, 2, false, false, false, 1},    // ace of clubs
        {52, 13, 3, false, true, false, 1},    // king of spades
        {53, 1, 0, true, false, false, 2},     // ace of hearts, second deck
        {78, 13, 1, true, true, false, 2},
        {79, 1, 2, false, false, false, 2},
        {130, 13, 1, true, true, false, 3},
        {157, 1, 0, true, false, false, 4},
        {182, 13, 1, true, true, false, 4},
        {208, 13, 3, false, true, false, 4},
        {209, 100, -1, false, false, true, 0},
        {210, 100, -1, false, false, true, 0},
        {212, 100, -1, false, false, true, 0},
        {213, -1, -1, false, false, false, 0},
        {-5, -1, -1, false, false, false, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(rank(r.code), r.rank);
        EXPECT_EQ(suit(r.code), r.suit);
        EXPECT_EQ(isRed(r.code), r.red);
        EXPECT_EQ(isPictureCard(r.code), r.picture);
        EXPECT_EQ(isJoker(r.code), r.joker);
        EXPECT_EQ(deckOf(r.code), r.deck);
    }
}

TEST(Card, EveryCodeOfEveryDeckFoldsToItsRankAndSuit)
{
    for (int deck = 1; deck <= 4; ++deck)
        for (int s = 0; s < 4; ++s)
            for (int r = 1; r <= 13; ++r) {
                const int c = cardCode(s, r, deck);
                ASSERT_EQ(rank(c), r) << c;
                ASSERT_EQ(suit(c), s) << c;
                ASSERT_EQ(isRed(c), s < 2) << c;
            }
}

TEST(Card, RecordsAndNames)
{
    EXPECT_EQ(cardRecord(1, true), "CUORI_A        10011");
    EXPECT_EQ(cardRecord(212, true), "JOKER          42121");
    EXPECT_EQ(cardRecord(23, false), "QUADR_10       20230");
    EXPECT_EQ(cardRecord(52 + 52, true), "PICCH_K        41041");
    EXPECT_EQ(cardName(37), "FIORI_J");
    EXPECT_EQ(cardName(0), "");

    int code = 0;
    bool up = true;
    EXPECT_TRUE(parseCardRecord("QUADR_10       20230", code, up));
    EXPECT_EQ(code, 23);
    EXPECT_FALSE(up);
    for (const char* bad : {"QUADR_10       20232", "CUORI_A        10021", "CUORI_A 10011", "CUORI_A        1x011"})
        EXPECT_FALSE(parseCardRecord(bad, code, up)) << bad;
}

TEST(Card, CodeText)
{
    EXPECT_EQ(codeText(0), "000");
    EXPECT_EQ(codeText(7), "007");
    EXPECT_EQ(codeText(212), "212");
    EXPECT_EQ(parseCode("014"), 14);
    EXPECT_EQ(parseCode("213"), -1);
    EXPECT_EQ(parseCode("01"), -1);
    EXPECT_EQ(parseCode("0a1"), -1);
}
