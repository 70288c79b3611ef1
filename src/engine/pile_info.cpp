// Pile information: the type, count, building and redeal texts shown for the pile under the pointer.
#include "engine/pile_info.h"

#include "engine/family.h"
#include "engine/stock.h"

namespace cw::engine {
namespace {

constexpr const char* kTopCardPlays = "The top card is available for play to the foundations or to the tableau";

std::string countText(int n) { return std::to_string(n) + (n == 1 ? " card" : " cards"); }

} // namespace

std::string buildingText(int direction, int suitRule)
{
    if (suitRule == 4)
        return "The top card is available for play to the foundations";
    if (direction < 0 || direction > 2 || suitRule < 0 || suitRule > 3)
        return {};
    static const char* const kDirection[] = {"down", "up", "up or down"};
    static const char* const kSuit[] = {" in suit", " by the same color", " regardless of suit",
                                        " in alternating colors"};
    // Examples by suit rule, then direction: down, up, up or down.
    static const char* const kExample[4][3] = {
        {"(ex. 10 [s] on Jack [s])", "(ex. 2 [h] on Ace [h])", "(ex. 10 [d] on 9 [d] or on Jack [d])"},
        {"(ex. 10 [h] on Jack [h][d])", "(ex. 2 [h] on Ace [h][d])", "(ex. 10 [d] on 9 [d][h] or on Jack [d][h])"},
        {"(ex. 10 [d] on Jack [h][c][d][s])", "(ex. 2 [h] on Ace [h][c][d][s])",
         "(ex. 10 [c] on any 9 or on any Jack)"},
        {"(ex. 10 [d] on Jack [c][s])", "(ex. 2 [s] on Ace [h][d])", "(ex. 10 [h] on 9 [c][s] or on Jack [c][s])"},
    };
    return std::string("Build ") + kDirection[direction] + kSuit[suitRule] + " " + kExample[suitRule][direction];
}

PileInfo pileInformation(const Play& play, PileRef pile)
{
    PileInfo info;
    if (!pile.valid())
        return info;
    const catalog::Rules& r = play.rules;
    const int cards = play.table().pile(pile).cardCount();
    int number = 1;
    switch (pile.kind) {
    case PileKind::Stock: {
        info.type = "Stock";
        const bool empty = cards == 0;
        if (empty) {
            if (dealsLeft(play))
                info.description = "Click to redeal";
        } else if (r.stockTurnsToWaste() == 1) {
            const int n = r.cardsPerClick();
            info.description = n == 1 ? std::string("Click to turn up") + " one " + "card" + " at a time to the waste"
                                      : std::string("Click to turn up") + " " + std::to_string(n) + " " + "cards" +
                                            " at a time to the waste";
        } else if (r.stockDealsToTableau(0) > 0) {
            info.description = "Click to deal a new row of cards to the tableau";
        } else if (r.stockDealsToReserve(0) > 0) {
            info.description = "Click to deal a new row of cards to the reserve";
        }
        const int deals = r.deals();
        if (deals == -1) {
            info.redeal = "Unlimited redeals";
            info.redealShort = "Unlimited";
        } else if (deals == 0) {
            info.redeal = "No redeal";
            info.redealShort = "none";
        } else {
            info.redealShort = std::to_string(play.state.dealNumber - 1) + "/" + std::to_string(deals - 1);
            info.redeal = info.redealShort + " redeals";
        }
        break;
    }
    case PileKind::Waste:
        info.type = "Waste";
        info.description = kTopCardPlays;
        break;
    case PileKind::SecondWaste: info.type = "Waste"; break;
    case PileKind::Foundation: {
        info.type = "Foundation";
        number = r.foundationCount();
        const int suitRule = r.foundationBuildRule(pile.index);
        info.description = buildingText(r.foundationDirection(pile.index), suitRule);
        break;
    }
    case PileKind::Tableau: {
        info.type = "Tableau";
        number = r.tableauCount();
        const int suitRule = r.tableauBuildRule(pile.index);
        info.description = buildingText(r.tableauDirection(pile.index), suitRule);
        break;
    }
    case PileKind::Reserve:
        info.type = "Reserve";
        number = r.reserveCount();
        info.description = kTopCardPlays;
        break;
    default: return info;
    }
    info.count = countText(cards);
    info.panel = info.type + " (" + std::to_string(number) + ")";
    // Families count and describe some piles their own way (the one-row tableau layouts).
    play.family().describePile(play, pile, info);
    return info;
}

} // namespace cw::engine
