// cardwise-cli score: scores one poker hand or one cribbage hand, as the poker squares and cribbage games do.
#include <array>
#include <ostream>
#include <sstream>
#include <vector>

#include "cli/command.h"
#include "engine/families/cribbage_hands.h"
#include "engine/families/poker_hands.h"
#include "engine/freecell_board.h"

namespace {

using namespace cw::cli;
using namespace cw::engine;

constexpr const char* kWho = "cardwise-cli score: ";

// Reads the cards of a hand ("TH JH QH KH AH"); on a problem, one line for the player.
bool parseHand(const std::string& text, std::size_t expected, std::vector<int>& codes, std::string& why)
{
    std::istringstream in(text);
    codes.clear();
    for (std::string word; in >> word;) {
        const int code = freecellCardCode(word);
        if (code < 0) {
            why = "'" + word + "' is not a card (ranks A 2-9 T J Q K, suits C D H S)";
            return false;
        }
        codes.push_back(code);
    }
    if (codes.size() != expected) {
        why = "a hand here is " + std::to_string(expected) + " cards, not " + std::to_string(codes.size());
        return false;
    }
    return true;
}

// The first card given twice, or -1.
int repeatedCard(const std::vector<int>& codes)
{
    for (std::size_t i = 0; i < codes.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (codes[i] == codes[j])
                return codes[i];
    return -1;
}

int scorePoker(const std::string& text, std::ostream& out, std::ostream& err)
{
    std::vector<int> codes;
    std::string why;
    if (!parseHand(text, 5, codes, why)) {
        err << kWho << why << '\n';
        return kExitUsage;
    }
    if (const int twice = repeatedCard(codes); twice > 0) {
        err << kWho << freecellCardText(twice) << " is given twice\n";
        return kExitUsage;
    }
    const PokerHand hand = evaluatePokerHand(std::span<const int, 5>(codes.data(), 5));
    const std::string_view name = pokerHandName(hand);
    out << (name.empty() ? std::string_view("No hand") : name) << ": " << pokerPoints(hand) << " points\n";
    return kExitOk;
}

int scoreCribbage(const std::string& text, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<int> codes;
    std::string why;
    if (!parseHand(text, 4, codes, why)) {
        err << kWho << why << '\n';
        return kExitUsage;
    }
    std::string starterText;
    if (!findOption(args, "--starter", starterText)) {
        err << kWho << "--starter CARD is required (--starter - for a hand without a starter)\n";
        return kExitUsage;
    }
    int starter = kNoCard;
    if (starterText != "-") {
        starter = freecellCardCode(starterText);
        if (starter < 0) {
            err << kWho << "starter '" << starterText << "' is not a card (ranks A 2-9 T J Q K, suits C D H S)\n";
            return kExitUsage;
        }
        codes.push_back(starter);
    }
    if (const int twice = repeatedCard(codes); twice > 0) {
        err << kWho << freecellCardText(twice) << " is given twice\n";
        return kExitUsage;
    }
    const CribbageKind kind = hasFlag(args, "--crib") ? CribbageKind::Crib : CribbageKind::Hand;
    const CribbageScore s = scoreCribbageHand(kind, std::span<const int, 4>(codes.data(), 4), starter);
    out << "Fifteen: " << s.fifteen << "\nPair: " << s.pair << "\nRun: " << s.run << "\nFlush: " << s.flush
        << "\nHis Nobs: " << s.nobs << "\nTotal: " << s.total() << '\n';
    return kExitOk;
}

int runScore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string poker, cribbage;
    const bool isPoker = findOption(args, "--poker", poker);
    const bool isCribbage = findOption(args, "--cribbage", cribbage);
    if (isPoker == isCribbage) {
        err << kWho << "give either --poker \"5 CARDS\" or --cribbage \"4 CARDS\" --starter CARD\n";
        return kExitUsage;
    }
    return isPoker ? scorePoker(poker, out, err) : scoreCribbage(cribbage, args, out, err);
}

} // namespace

CW_CLI_COMMAND("score", "--poker \"TH JH QH KH AH\" | --cribbage \"5H 5D 5C JS\" --starter 5S|- [--crib]", runScore);
