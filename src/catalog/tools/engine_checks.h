// Build-time checks of a catalog game that need the engine: the deal places every card once, the piles fit the window.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "catalog/catalog_source.h"
#include "catalog/layout_codes.h"
#include "catalog/params.h"
#include "engine/deal.h"
#include "engine/layout.h"

namespace cw::catalog::tools {

// Game numbers the check deals: small, large and all-digit numbers.
inline const std::vector<std::string>& dealCheckNumbers()
{
    static const std::vector<std::string> numbers = {"1", "2", "3", "617", "24680", "1234567890123", "9999999999999"};
    return numbers;
}

// Deals the game for each check number and reports what went wrong, naming the game and
// the parameter that decides it: a card on two piles, a card missing (left over), or a deal
// step that ran out of cards.
inline std::vector<std::string> checkGameDeal(const CatalogGame& g)
{
    std::vector<std::string> errors;
    const std::string who = g.file + ":" + std::to_string(g.line) + ": game \"" + g.name + "\" (id " +
                            std::to_string(g.id) + "): ";
    const int pack = packSize(g.rules);
    for (const std::string& number : dealCheckNumbers()) {
        const engine::DealResult dealt = engine::deal(g.rules, number);
        if (dealt.badCardCount) {
            errors.push_back(who + "parameter \"cards\" (378): the shuffle does not know this card count");
            return errors;
        }
        std::vector<int> seen(engine::kLastCard + 1, 0);
        int placed = 0;
        const auto& piles = dealt.state.table.piles();
        auto count = [&](const engine::Pile& p) {
            for (int code : p)
                if (code > 0 && code <= engine::kLastCard) {
                    ++seen[static_cast<std::size_t>(code)];
                    ++placed;
                }
        };
        for (const auto& p : piles.stockGroup)
            count(p);
        for (const auto& p : piles.foundations)
            count(p);
        for (const auto& p : piles.tableau)
            count(p);
        for (const auto& p : piles.reserves)
            count(p);
        for (int code = 1; code <= engine::kLastCard; ++code)
            if (seen[static_cast<std::size_t>(code)] > 1) {
                errors.push_back(who + "game number " + number + ": card " + std::to_string(code) + " lies on " +
                                 std::to_string(seen[static_cast<std::size_t>(code)]) + " piles");
                return errors;
            }
        // Piles the game does not have must stay empty.
        for (int k = std::clamp(g.rules.tableauCount(), 0, kMaxTableaus); k < kMaxTableaus; ++k)
            if (!piles.tableau[static_cast<std::size_t>(k)].empty()) {
                errors.push_back(who + "parameter \"" + paramName(382 + k) + "\": game number " + number +
                                 ": cards on a tableau pile beyond tableau.count");
                return errors;
            }
        for (int k = std::clamp(g.rules.foundationCount(), 0, kMaxFoundations); k < kMaxFoundations; ++k)
            if (!piles.foundations[static_cast<std::size_t>(k)].empty()) {
                errors.push_back(who + "parameter \"" + paramName(103 + k) + "\": game number " + number +
                                 ": cards on a foundation beyond foundation.count");
                return errors;
            }
        if (placed + g.leftover != pack) {
            const std::string what = placed + g.leftover < pack
                                         ? std::to_string(pack - placed) + " of " + std::to_string(pack) +
                                               " cards were not dealt (leftover " + std::to_string(g.leftover) +
                                               " declared)"
                                         : "more cards placed than the pack holds";
            errors.push_back(who + "parameter \"stock.deal\" (379): game number " + number + ": " + what);
            return errors;
        }
    }
    return errors;
}

// Lays the game out as a player would see it: on an 800 x 600 screen with the standard card
// size, or the size the game's screen class forces there; and, unless the game carries the
// large-screen mark (refused below 650 pixels), on a 640 x 480 screen with the size forced
// there. Every pile must be placed inside the window and off the piles of other groups.
inline std::vector<std::string> checkGameLayout(const CatalogGame& g)
{
    std::vector<std::string> errors;
    const std::string who = g.file + ":" + std::to_string(g.line) + ": game \"" + g.name + "\" (id " +
                            std::to_string(g.id) + "): ";
    auto tryScreen = [&](int width, int height, const char* hint) {
        const engine::CardSize size =
            engine::forceCardSizeForScreen(engine::CardSize::B, width, g.rules.screenClass()).size;
        std::string why;
        if (!engine::fitsIn(g.rules, width, height, size, &why))
            errors.push_back(who + "parameter \"layout.table_arrangement\" (366) and the other layout codes: " + why +
                             " (cards " + std::string(1, engine::cardSizeLetter(size)) + ")" + hint);
    };
    tryScreen(kSmallWindowWidth, kSmallWindowHeight, "");
    if (!g.largeScreen)
        tryScreen(kTinyWindowWidth, kTinyWindowHeight,
                  "; give the game \"screen_class = 1\" for smaller cards there, or the large_screen mark");
    return errors;
}

// Every engine check of one game.
inline std::vector<std::string> checkGameWithEngine(const CatalogGame& g)
{
    std::vector<std::string> errors = checkGameDeal(g);
    for (auto& e : checkGameLayout(g))
        errors.push_back(std::move(e));
    return errors;
}

} // namespace cw::catalog::tools
