// The memory families played end to end in a session, the clock driven by hand.
#include <algorithm>
#include <map>

#include "engine/card.h"
#include "engine/family.h"
#include "engine/families/memory_table.h"
#include "engine/tutor.h"
#include "session_fixture.h"

namespace cw::test {
namespace {

constexpr int kAceToKing = 204;
constexpr int kPairs = 201;
constexpr int kConcentration = 195;
constexpr int kForgetMeNot = 202;

struct Place {
    PileRef pile{};
    int index = -1;
};

class MemoryFamilies : public SessionTest {
protected:
    // Where each card of the grid lies.
    std::map<int, Place> places() const
    {
        std::map<int, Place> out;
        const Table& t = session->state().table;
        for (int p = 0; p < session->rules().tableauCount(); ++p)
            for (std::size_t i = 0; i < t.tableau(p).size(); ++i)
                if (t.tableau(p)[i] != 0)
                    out[t.tableau(p)[i]] = Place{PileRef::tableau(p), static_cast<int>(i)};
        return out;
    }
    bool pressCard(int code)
    {
        const Place at = places().at(code);
        return session->press(Press{at.pile, at.index});
    }
    std::string panelLine(const std::string& caption) const
    {
        for (const FamilyPanel& p : session->rules().family().panels(session->rules(), session->state()))
            for (const auto& [c, v] : p.lines)
                if (c == caption)
                    return v;
        return "?";
    }
    bool panelBeforeRecord() const
    {
        const auto panel = std::find(host.calls.begin(), host.calls.end(), "panel:MemoryResult");
        const auto record = std::find(host.calls.begin(), host.calls.end(), "record");
        return panel != host.calls.end() && panel < record;
    }
    int playDemo()
    {
        TutorRecord record;
        int steps = 0;
        while (session->flags().dealActive && steps < 2000) {
            bool found = false;
            session->playStep([&](Play& play) { found = tutorStep(play, record, kTutorDemo).found(); });
            if (!found)
                break;
            ++steps;
        }
        return steps;
    }
};

// Ace to King: a card out of order turns everything down again and costs one; the thirteen in
// order end the game won, with the result page shown before the game is recorded.
TEST_F(MemoryFamilies, AceToKing)
{
    start(kAceToKing);
    std::map<int, int> byRank; // rank -> card
    for (const auto& [code, at] : places())
        byRank[rank(code)] = code;
    ASSERT_EQ(byRank.size(), 13U);
    ASSERT_TRUE(pressCard(byRank[1]));
    ASSERT_TRUE(pressCard(byRank[2]));
    ASSERT_TRUE(pressCard(byRank[5]));
    EXPECT_TRUE(aceToKingRecord(session->state().table, 13).empty());
    EXPECT_EQ(session->state().score, -53);
    // A first card that is not an Ace is a miss at once.
    ASSERT_TRUE(pressCard(byRank[7]));
    EXPECT_EQ(session->state().score, -54);
    for (int r = 1; r <= 13; ++r)
        ASSERT_TRUE(pressCard(byRank[r])) << r;
    EXPECT_FALSE(session->flags().dealActive);
    ASSERT_EQ(sink.records.size(), 1U);
    EXPECT_EQ(sink.records[0].score, 15 * 13 - 52 - 2);
    EXPECT_TRUE(sink.records[0].won);
    EXPECT_TRUE(panelBeforeRecord());
    EXPECT_EQ(panelLine("page"), "Ace-To-King");
    EXPECT_EQ(panelLine("caption"), "Game Won");
    EXPECT_EQ(panelLine("Misses"), "2");
}

// Pairs: twins of the two packs leave as a pair, one undo takes the pair back; anything else is
// a miss. Concentration pairs any two cards of one rank.
TEST_F(MemoryFamilies, PairsAndConcentration)
{
    for (int id : {kPairs, kConcentration}) {
        start(id);
        std::map<int, std::vector<int>> groups; // pairing key -> cards
        for (const auto& [code, at] : places())
            groups[id == kPairs ? (code - 1) % 52 : rank(code)].push_back(code);
        std::vector<std::pair<int, int>> pairs;
        for (auto& [key, codes] : groups)
            for (std::size_t i = 0; i + 1 < codes.size(); i += 2)
                pairs.push_back({codes[i], codes[i + 1]});
        // A miss: two cards of different pairs.
        ASSERT_TRUE(pressCard(pairs[0].first));
        ASSERT_TRUE(pressCard(pairs.back().first));
        EXPECT_TRUE(faceUpTableauPiles(session->state().table, session->rules().tableauCount()).empty()) << id;
        const int perMiss = id == kPairs ? 2 : 1;
        const int perPair = id == kPairs ? 10 : 7;
        EXPECT_EQ(session->state().score, -52 - perMiss) << id;
        ASSERT_TRUE(pressCard(pairs[0].first));
        ASSERT_TRUE(pressCard(pairs[0].second));
        EXPECT_EQ(session->state().table.secondWaste().size(), 2U) << id;
        EXPECT_EQ(session->state().score, perPair - 52 - perMiss) << id;
        ASSERT_TRUE(session->undo());
        EXPECT_EQ(session->state().table.secondWaste().size(), 0U) << id;
        EXPECT_EQ(session->state().score, -52 - perMiss) << id;
        for (const auto& [a, b] : pairs) {
            if (session->state().table.isFaceDown(a)) {
                ASSERT_TRUE(pressCard(a));
            }
            ASSERT_TRUE(pressCard(b));
        }
        EXPECT_FALSE(session->flags().dealActive) << id;
        const int expected = perPair * static_cast<int>(pairs.size()) - 52 - perMiss;
        EXPECT_EQ(sink.records.back().score, expected) << id;
        EXPECT_EQ(sink.records.back().won, expected >= session->rules().targetScore()) << id;
        EXPECT_TRUE(panelBeforeRecord()) << id;
        EXPECT_EQ(panelLine("Matches:"), std::to_string(pairs.size())) << id;
    }
}

// Forget me not: nothing happens for ten seconds of play; then the shown cards go face down and
// their twins come up below; eight right answers of ten reach the winning score.
TEST_F(MemoryFamilies, ForgetMeNotWithADrivenClock)
{
    start(kForgetMeNot);
    const Table& t = session->state().table;
    for (int f = 0; f < 10; ++f)
        ASSERT_TRUE(t.isFaceUp(t.foundation(f).bottom())) << f;
    nowMs += 10 * 1000;
    session->tick();
    EXPECT_TRUE(t.isFaceUp(t.foundation(0).bottom()));
    nowMs += 1000;
    session->tick();
    ASSERT_TRUE(t.isFaceDown(t.foundation(0).bottom()));
    std::map<int, int> twinPile;
    for (int p = 10; p < 20; ++p)
        if (!t.tableau(p).empty())
            twinPile[t.tableau(p).bottom()] = p;
    ASSERT_EQ(twinPile.size(), 10U);
    for (int f = 0; f < 10; ++f)
        ASSERT_TRUE(twinPile.count(t.foundation(f).bottom() + 52)) << f;
    // A later tick changes nothing.
    const Table hidden = t;
    nowMs += 1000;
    session->tick();
    EXPECT_EQ(t, hidden);
    // Answers 1-8 right, 9 and 10 swapped.
    for (int j = 0; j < 10; ++j) {
        const int want = j < 8 ? j : 17 - j;
        const int pile = twinPile.at(t.foundation(want).bottom() + 52);
        ASSERT_TRUE(session->playMove(Move{MoveKind::Transfer, PileRef::tableau(pile), 0, PileRef::tableau(j)})) << j;
    }
    EXPECT_FALSE(session->flags().dealActive);
    ASSERT_EQ(sink.records.size(), 1U);
    EXPECT_EQ(sink.records[0].score, 10 * 8 - 52);
    EXPECT_TRUE(sink.records[0].won);
    EXPECT_TRUE(t.isFaceUp(t.foundation(0).bottom()));
    EXPECT_EQ(panelLine("Matches:"), "8");
    EXPECT_EQ(panelLine("Misses"), "2");
    PileMarks marks;
    session->rules().family().pileMarks(session->rules(), session->state(), marks);
    EXPECT_EQ(marks.size(), 8U);
}

// The demo plays every memory game to its end, remembering the cards it has seen: a miss then
// always turns up two cards never seen before, so there are at most half as many misses as
// cards, and Ace to King (at most one miss per card) is always won.
TEST_F(MemoryFamilies, DemoPlaysWithPerfectMemory)
{
    for (int id : {kAceToKing, kPairs, kConcentration}) {
        start(id);
        const int cards = static_cast<int>(places().size());
        playDemo();
        EXPECT_FALSE(session->flags().dealActive) << id;
        const int misses = std::stoi(panelLine("Misses"));
        EXPECT_LE(misses, id == kAceToKing ? cards : cards / 2) << id;
        if (id == kAceToKing) {
            EXPECT_TRUE(sink.records.back().won) << sink.records.back().score;
        }
    }
    start(kForgetMeNot);
    nowMs += 11 * 1000;
    session->tick();
    playDemo();
    EXPECT_FALSE(session->flags().dealActive);
    EXPECT_EQ(sink.records.back().score, 100 - 52);
}

} // namespace
} // namespace cw::test
