// Drawing a random game from the favorites, from all games or from one game type.
#pragma once

#include <functional>
#include <vector>

namespace cw::catalog {

class GameList;

// The random source as stored in "Random_Game_Type": 1 favorites, 2 all games, n <= 0 the type -n.
inline constexpr int kRandomFromFavorites = 1;
inline constexpr int kRandomFromAllGames = 2;
inline constexpr int RandomFromType(int type) { return -type; }

// A uniform draw in 0..n-1 (the engine's generator in the program, a fixed sequence in tests).
using DrawFunction = std::function<int(int n)>;

// The candidates of a source: the favorite games in key order; every usable listed game in list
// order (custom games are never drawn); or the listed games of one type in list order; for the
// type of custom games (800) the custom games `customIds`.
std::vector<int> RandomCandidates(int source, const GameList& list, const std::vector<int>& favoriteIds,
                                  const std::vector<int>& customIds = {});

// One game of the source drawn uniformly, or -1 when the source holds none. Every listed game
// can be drawn, the last row of the list included.
int DrawRandomGame(int source, const GameList& list, const std::vector<int>& favoriteIds, const DrawFunction& draw,
                   const std::vector<int>& customIds = {});

} // namespace cw::catalog
