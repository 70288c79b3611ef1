// The game catalog built next to the test binaries: read once, then each game's rules on request.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/game_rules.h"

namespace cw::test {

struct BuiltCatalog {
    std::string text;
    catalog::GameList list;

    // Calls f(entry, rules) for every listed game whose rules load (as the engine plays them).
    template <class F>
    void forEachGame(F&& f) const
    {
        for (const auto& entry : list.entries()) {
            if (!entry.usable)
                continue;
            auto rules = catalog::LoadGameRules(text, list, entry.id, {});
            if (rules.ok())
                f(entry, engine::GameRules(rules.value()));
        }
    }
};

// The built GAMES.DAT, or nothing when the data has not been built (the caller skips).
inline std::optional<BuiltCatalog> builtCatalog()
{
    const std::filesystem::path defs = CW_BIN_DIR "/GAMES.DAT";
    if (!std::filesystem::exists(defs))
        return std::nullopt;
    auto text = catalog::ReadWholeFile(defs);
    if (!text.ok())
        return std::nullopt;
    BuiltCatalog c{std::move(text.value()), {}};
    c.list = catalog::BuildGameList(c.text).list;
    return c;
}

} // namespace cw::test
