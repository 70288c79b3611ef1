// The shuffle by game number: frozen deal arrays, the 13-digit form, jokers and reduced packs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "engine/card.h"
#include "engine/shuffle.h"

using namespace cw::engine;

namespace {

std::string joinCodes(const std::vector<int>& cards)
{
    std::string s;
    for (std::size_t i = 0; i < cards.size(); ++i)
        s += (i ? " " : "") + codeText(cards[i]);
    return s;
}

} // namespace

// Each fixture line: "<cards> <number>[ jokers <k> reduced <r>]: <codes>". The numbering of
// deals is a promise to players: these arrays must never change.
TEST(Shuffle, FrozenDealArrays)
{
    std::ifstream in(CW_FIXTURES_DIR "/deals/shuffle.txt");
    ASSERT_TRUE(in) << "missing fixture deals/shuffle.txt";
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        ASSERT_NE(colon, std::string::npos) << line;
        std::istringstream head(line.substr(0, colon));
        ShuffleInput input;
        std::string number, word;
        head >> input.cards >> number;
        while (head >> word) {
            int value = 0;
            head >> value;
            if (word == "jokers") {
                input.jokers = value > 0;
                input.jokerCount = value;
            } else if (word == "reduced") {
                input.reduced = value;
            }
        }
        SCOPED_TRACE(line.substr(0, colon));
        const ShuffleResult r = fnGameNumberCardsArray(number, input);
        EXPECT_FALSE(r.badCardCount);
        EXPECT_EQ(joinCodes(r.cards), line.substr(colon + 2));
        ++checked;
    }
    EXPECT_EQ(checked, 21);
}

TEST(Shuffle, EveryCardOnceForEveryPackSize)
{
    for (int cards : {52, 104, 156, 208})
        for (const char* number : {"0", "1", "31", "4000000000000", "8765432109876", "9999999999999"}) {
            for (int jokers : {0, 1, 4}) {
                SCOPED_TRACE(std::to_string(cards) + " " + number + " jokers " + std::to_string(jokers));
                const auto r = fnGameNumberCardsArray(number, {cards, jokers > 0, jokers, 0});
                std::vector<int> sorted = r.cards;
                std::sort(sorted.begin(), sorted.end());
                std::vector<int> expected(static_cast<std::size_t>(cards));
                for (int i = 0; i < cards; ++i)
                    expected[static_cast<std::size_t>(i)] = i + 1;
                for (int j = 1; j <= jokers; ++j)
                    expected.push_back(kLastDeckCard + j);
                ASSERT_EQ(sorted, expected);
            }
        }
}

TEST(Shuffle, TheThirteenDigitForm)
{
    const ShuffleInput one{52, false, 0, 0};
    const auto a = fnGameNumberCardsArray("1", one).cards;
    EXPECT_EQ(a, fnGameNumberCardsArray("0000000000001", one).cards);
    EXPECT_EQ(a, fnGameNumberCardsArray("1  ", one).cards);         // trailing blanks of the stored field
    EXPECT_EQ(a, fnGameNumberCardsArray("50000000000001", one).cards); // only the rightmost 13 digits count
    EXPECT_NE(a, fnGameNumberCardsArray("2", one).cards);

    const auto d = gameNumberDigits("1234567890123");
    EXPECT_EQ(d[1] * 100 + d[5] * 10 + d[11], 262); // the starting position
    EXPECT_EQ(d[0], 1);                             // step 1 uses step row 1
    EXPECT_EQ(std::count(d.begin(), d.end(), 0), 1); // only step 10 searches forward
    EXPECT_EQ(d[9], 0);
}

TEST(Shuffle, ReducedPacksAndJokers)
{
    struct Row {
        ShuffleInput input;
        std::size_t size;
    };
    const Row rows[] = {
        {{52, false, 0, 1}, 32u},  // ranks 2-6 removed
        {{52, false, 0, 2}, 28u},  // and the kings
        {{104, false, 0, 1}, 64u},
        {{52, true, 2, 1}, 34u},   // jokers survive the reduction
    };
    for (const auto& row : rows) {
        const auto r = fnGameNumberCardsArray("1234567890123", row.input);
        EXPECT_EQ(r.cards.size(), row.size);
        for (int code : r.cards) {
            EXPECT_FALSE(rank(code) >= 2 && rank(code) <= 6) << code;
            if (row.input.reduced == 2) {
                EXPECT_NE(rank(code), 13);
            }
        }
    }
    const auto withJokers = fnGameNumberCardsArray("1234567890123", {52, true, 2, 0}).cards;
    EXPECT_EQ(std::count(withJokers.begin(), withJokers.end(), 209), 1);
    EXPECT_EQ(std::count(withJokers.begin(), withJokers.end(), 210), 1);
    EXPECT_EQ(std::count(withJokers.begin(), withJokers.end(), 211), 0);
}

TEST(Shuffle, UnknownCardCountPlacesOnlyJokers)
{
    const auto r = fnGameNumberCardsArray("42", {60, true, 2, 0});
    EXPECT_TRUE(r.badCardCount);
    ASSERT_EQ(r.cards.size(), 62u);
    EXPECT_EQ(std::count_if(r.cards.begin(), r.cards.end(), [](int c) { return c != 0; }), 2);
    EXPECT_TRUE(fnGameNumberCardsArray("42", {0, false, 0, 0}).badCardCount == false);
    EXPECT_TRUE(fnGameNumberCardsArray("42", {0, false, 0, 0}).cards.empty());
}
