// What the statistics need to know about games: names and the two rule parameters behind scores.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/custom_games.h"
#include "catalog/game_list.h"

namespace cw::stats {

// A game with the rule parameters that decide its default hi-scores and maximum score.
struct CatalogGame {
    int id = 0;
    std::string name;
    int p52 = -1;   // rule parameter 52 (-1: not defined)
    int p378 = 52;  // rule parameter 378: the number of cards
    // The chance of winning: rule parameters 501 (deals won in the game's winning sample) and 502 (deals
    // in the sample); 0 and 0 for a game without one (custom games never have one).
    int chanceWon = 0, chanceDeals = 0;
};

class GameCatalog {
public:
    virtual ~GameCatalog() = default;
    // A built-in or custom game (a custom game has its own name and its base game's parameters).
    virtual std::optional<CatalogGame> game(int gameId) const = 0;
    // Every built-in game in list order.
    virtual std::vector<CatalogGame> catalogGames() const = 0;
};

// The games of the definitions file and the custom games file; the two parameters of every game are
// read once, when it is built.
class DefinitionsCatalog : public GameCatalog {
public:
    DefinitionsCatalog(std::string_view defsText, const catalog::GameList& list,
                       std::vector<catalog::CustomGame> customs);
    // The custom games are looked up in `liveCustoms` at each call (the game object's list, which
    // follows the games the player makes and deletes while the program runs); it must outlive this.
    DefinitionsCatalog(std::string_view defsText, const catalog::GameList& list,
                       const std::vector<catalog::CustomGame>* liveCustoms);
    std::optional<CatalogGame> game(int gameId) const override;
    std::vector<CatalogGame> catalogGames() const override { return m_games; }
    // The message when the parameters could not be read ("" when they could).
    const std::string& error() const { return m_error; }

private:
    std::vector<CatalogGame> m_games;
    std::map<int, std::size_t> m_index;
    std::vector<catalog::CustomGame> m_customs;
    const std::vector<catalog::CustomGame>* m_liveCustoms = nullptr;
    std::string m_error;
};

// A fixed list of games (tests and tools).
class FixedCatalog : public GameCatalog {
public:
    explicit FixedCatalog(std::vector<CatalogGame> games) : m_games(std::move(games)) {}
    std::optional<CatalogGame> game(int gameId) const override {
        for (const auto& g : m_games)
            if (g.id == gameId) return g;
        return std::nullopt;
    }
    std::vector<CatalogGame> catalogGames() const override {
        std::vector<CatalogGame> out;
        for (const auto& g : m_games)
            if (g.id < catalog::kFirstCustomId) out.push_back(g);
        return out;
    }

private:
    std::vector<CatalogGame> m_games;
};

}  // namespace cw::stats
