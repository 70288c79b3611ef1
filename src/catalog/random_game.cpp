// Random game draws over the candidates of a source.
#include "catalog/random_game.h"

#include "catalog/game_list.h"

namespace cw::catalog {

std::vector<int> RandomCandidates(int source, const GameList& list, const std::vector<int>& favoriteIds,
                                  const std::vector<int>& customIds)
{
    if (source == kRandomFromFavorites) return favoriteIds;
    if (source == RandomFromType(kCustomGameType)) return customIds;
    std::vector<int> ids;
    for (const GameEntry& e : list.entries()) {
        if (!e.usable || e.name.empty()) continue;
        if (source == kRandomFromAllGames || (source <= 0 && e.type == -source)) ids.push_back(e.id);
    }
    return ids;
}

int DrawRandomGame(int source, const GameList& list, const std::vector<int>& favoriteIds, const DrawFunction& draw,
                   const std::vector<int>& customIds)
{
    std::vector<int> ids = RandomCandidates(source, list, favoriteIds, customIds);
    if (ids.empty()) return -1;
    int k = draw(int(ids.size()));
    if (k < 0 || k >= int(ids.size())) k = 0;
    return ids[std::size_t(k)];
}

} // namespace cw::catalog
