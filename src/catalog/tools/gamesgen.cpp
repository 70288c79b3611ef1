// cardwise-gamesgen: compiles the readable catalog source (data/games/*.games) into GAMES.DAT and GAMES_RULES.DAT.
//
// Usage: cardwise-gamesgen DEFS_OUT RULES_OUT SOURCE...
// Fails (exit 1) with one message per problem, each naming the game and the parameter.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "catalog/catalog_source.h"
#include "catalog/definitions.h"
#include "catalog/tools/engine_checks.h"
#include "storage/safe_file.h"

int main(int argc, char** argv)
{
    using namespace cw::catalog;
    if (argc < 4) {
        std::cerr << "usage: cardwise-gamesgen DEFS_OUT RULES_OUT SOURCE...\n";
        return 2;
    }
    std::vector<std::string> sources(argv + 3, argv + argc);
    std::sort(sources.begin(), sources.end()); // file order must not depend on the shell

    std::vector<SourceBlock> blocks;
    for (const std::string& path : sources) {
        auto text = ReadWholeFile(path);
        if (!text) {
            std::cerr << "cardwise-gamesgen: " << text.error() << '\n';
            return 1;
        }
        auto parsed = parseCatalogSource(text.value(), path);
        if (!parsed) {
            std::cerr << "cardwise-gamesgen: " << parsed.error() << '\n';
            return 1;
        }
        for (auto& b : parsed.value())
            blocks.push_back(std::move(b));
    }
    auto games = resolveCatalog(blocks);
    if (!games) {
        std::cerr << "cardwise-gamesgen: " << games.error() << '\n';
        return 1;
    }
    std::vector<std::string> errors = checkCatalog(games.value());
    for (const CatalogGame& g : games.value())
        for (auto& e : tools::checkGameWithEngine(g))
            errors.push_back(std::move(e));
    if (!errors.empty()) {
        for (const auto& e : errors)
            std::cerr << "cardwise-gamesgen: " << e << '\n';
        std::cerr << "cardwise-gamesgen: " << errors.size() << " problem(s); GAMES.DAT not written\n";
        return 1;
    }
    auto defs = writeDefinitions(definitionGames(games.value()), definitionGroups(games.value()));
    if (!defs) {
        std::cerr << "cardwise-gamesgen: " << defs.error() << '\n';
        return 1;
    }
    try {
        cw::storage::writeFileAtomic(argv[1], defs.value());
        cw::storage::writeFileAtomic(argv[2], writeRulesTexts(games.value()));
    } catch (const std::exception& e) {
        std::cerr << "cardwise-gamesgen: " << e.what() << '\n';
        return 1;
    }
    std::cout << "cardwise-gamesgen: " << games.value().size() << " games written\n";
    return 0;
}
