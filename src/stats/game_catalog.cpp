// What the statistics need to know about games, read from the definitions and custom games files.
#include "stats/game_catalog.h"

#include <tuple>

#include "catalog/definitions.h"
#include "storage/fixed_width.h"

namespace cw::stats {

DefinitionsCatalog::DefinitionsCatalog(std::string_view defsText, const catalog::GameList& list,
                                       std::vector<catalog::CustomGame> customs)
    : m_customs(std::move(customs)) {
    auto pairs = catalog::ReadParameterPairForAllGames(defsText, list, 52, 378);
    if (!pairs) m_error = pairs.error();
    auto chances = catalog::ReadParameterPairForAllGames(defsText, list, 501, 502);
    if (!chances && m_error.empty())
        m_error = chances.error();
    auto pairAt = [](const auto& result, std::size_t i) -> std::optional<std::pair<int, int>> {
        if (!result || i >= result->size() || (*result)[i].size() < 20)
            return std::nullopt;
        auto a = storage::parseInteger(std::string_view((*result)[i]).substr(0, 10));
        auto b = storage::parseInteger(std::string_view((*result)[i]).substr(10, 10));
        if (!a || !b)
            return std::nullopt;
        return std::pair{int(*a), int(*b)};
    };
    for (std::size_t i = 0; i < list.entries().size(); ++i) {
        const auto& e = list.entries()[i];
        if (!e.usable) continue;
        CatalogGame g{e.id, e.name, -1, 52};
        if (auto p = pairAt(pairs, i))
            std::tie(g.p52, g.p378) = *p;
        // A sample that does not add up (more wins than deals) counts as none.
        if (auto c = pairAt(chances, i); c && c->second > 0 && c->first >= 0 && c->first <= c->second)
            std::tie(g.chanceWon, g.chanceDeals) = *c;
        m_index[g.id] = m_games.size();
        m_games.push_back(std::move(g));
    }
}

DefinitionsCatalog::DefinitionsCatalog(std::string_view defsText, const catalog::GameList& list,
                                       const std::vector<catalog::CustomGame>* liveCustoms)
    : DefinitionsCatalog(defsText, list, std::vector<catalog::CustomGame>{}) {
    m_liveCustoms = liveCustoms;
}

std::optional<CatalogGame> DefinitionsCatalog::game(int gameId) const {
    if (gameId >= catalog::kFirstCustomId) {
        for (const auto& c : m_liveCustoms ? *m_liveCustoms : m_customs) {
            if (c.id != gameId) continue;
            CatalogGame g{gameId, c.name, -1, 52};
            if (auto it = m_index.find(c.baseId); it != m_index.end()) {
                g.p52 = m_games[it->second].p52;
                g.p378 = m_games[it->second].p378;
            }
            return g;
        }
        return std::nullopt;
    }
    auto it = m_index.find(gameId);
    if (it == m_index.end()) return std::nullopt;
    return m_games[it->second];
}

}  // namespace cw::stats
