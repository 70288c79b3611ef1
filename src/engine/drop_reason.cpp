// Why a drop is refused: the building test asked about every card of a deck, and the answer put in words.
#include "engine/drop_reason.h"

#include <array>
#include <vector>

#include "engine/card.h"
#include "engine/rules_building.h"

namespace cw::engine {

namespace {

constexpr std::array<const char*, 4> kSuits{"Hearts", "Diamonds", "Clubs", "Spades"};

bool startsWithVowelSound(int rank) { return rank == 1 || rank == 8; }

std::string article(int rank) { return startsWithVowelSound(rank) ? "an " : "a "; }

std::string capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// The cards of one deck that a test accepts, described by what they share: "a red 8", "the 6 of
// Clubs", "a 9 or Jack", "a black card".
std::string describe(const std::vector<int>& codes)
{
    std::array<bool, 14> ranks{};
    std::array<bool, 4> suits{};
    int rankCount = 0;
    for (int c : codes) {
        bool& seen = ranks[static_cast<std::size_t>(rank(c))];
        rankCount += seen ? 0 : 1;
        seen = true;
        suits[static_cast<std::size_t>(suit(c))] = true;
    }
    const int suitCount = suits[0] + suits[1] + suits[2] + suits[3];
    std::string colour;
    if (suitCount == 2 && suits[0] && suits[1])
        colour = "red ";
    else if (suitCount == 2 && suits[2] && suits[3])
        colour = "black ";
    std::string ofSuit;
    if (suitCount == 1)
        for (std::size_t s = 0; s < 4; ++s)
            if (suits[s])
                ofSuit = std::string(" of ") + kSuits[s];
    if (rankCount > 3)
        return colour.empty() && ofSuit.empty() ? "another card"
                                                : "a " + colour + "card" + (ofSuit.empty() ? "" : ofSuit);
    std::string names;
    int first = 0;
    for (int r = 1, seen = 0; r <= 13; ++r) {
        if (!ranks[static_cast<std::size_t>(r)])
            continue;
        if (!first)
            first = r;
        names += (seen++ ? " or " : "") + rankWord(r);
    }
    if (rankCount == 1 && suitCount == 1)
        return "the " + names + ofSuit;
    return (colour.empty() ? article(first) : std::string("a ")) + colour + names + ofSuit;
}

} // namespace

std::string rankWord(int rank)
{
    static constexpr std::array<const char*, 14> kRanks{"",  "Ace", "2", "3",  "4",    "5",     "6",
                                                        "7", "8",   "9", "10", "Jack", "Queen", "King"};
    return rank >= 1 && rank <= 13 ? kRanks[static_cast<std::size_t>(rank)] : "";
}

std::string cardWords(int code, bool definite)
{
    if (isJoker(code))
        return definite ? "the joker" : "a joker";
    const int r = rank(code);
    const int s = suit(code);
    if (r < 1 || r > 13 || s < 0)
        return definite ? "the card" : "a card";
    return (definite ? std::string("the ") : article(r)) + rankWord(r) + " of " + kSuits[static_cast<std::size_t>(s)];
}

std::string dropRefusal(const Play& play, const Carried& carried, PileRef target)
{
    if (!target.valid() || carried.count <= 0 || carried.card == 0 || mayDrop(play, carried, target))
        return {};
    const std::string moving = capitalised(cardWords(carried.card, false));
    const Pile& pile = play.table().pile(target);
    switch (target.kind) {
    case PileKind::Stock: return "No card goes back to the stock";
    case PileKind::Waste:
    case PileKind::SecondWaste: return "No card may be put on the waste";
    case PileKind::Reserve: return pile.empty() ? "This reserve takes no card now" : "A reserve holds one card";
    case PileKind::Foundation:
        if (!carried.single())
            return "One card at a time goes to a foundation";
        break;
    case PileKind::Tableau:
        if (!pile.empty() && play.table().isFaceDown(pile.top()))
            return "Turn up the face-down card first";
        break;
    case PileKind::Unknown: return {};
    }
    auto query = [&](int movingCode, int targetCode) {
        BuildQuery q = target.kind == PileKind::Tableau
                           ? tableauQuery(play, target.index, movingCode, carried.source, carried.single())
                           : foundationQuery(play, target.index, movingCode, carried.source);
        q.target = targetCode;
        return q;
    };
    const bool empty = pile.top() == 0;
    if (empty) {
        // Which cards the empty pile takes.
        std::vector<int> takes;
        for (int code = 1; code <= 52; ++code)
            if (buildingTest(play, query(code, 0)))
                takes.push_back(code);
        const bool foundation = target.kind == PileKind::Foundation;
        if (takes.empty())
            return foundation ? "This foundation takes no card now" : "No card may fill this empty pile";
        if (!buildingTest(play, query(carried.card, 0)) || takes.size() < 52) {
            std::string only = "Only " + describe(takes);
            return only + (foundation ? " starts this foundation" : " fills an empty pile");
        }
        return "These cards cannot move together to an empty pile";
    }
    if (buildingTest(play, query(carried.card, pile.top())))
        return carried.single() ? moving + " cannot go there now"
                                : "These " + std::to_string(carried.count) + " cards cannot move there together";
    // Which cards of a deck the carried card may go on.
    std::vector<int> onto;
    for (int code = 1; code <= 52; ++code)
        if (buildingTest(play, query(carried.card, code)))
            onto.push_back(code);
    if (onto.empty())
        return moving + " cannot go on " + cardWords(pile.top(), true);
    return moving + " goes on " + describe(onto);
}

} // namespace cw::engine
