// Fuzz target: the settings-file reader and writer on arbitrary bytes, and the lists kept in it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "catalog/favorites.h"
#include "catalog/game_numbers.h"
#include "catalog/last_played.h"
#include "storage/ini_file.h"
#include "storage/players.h"
#include "storage/preferences.h"
#include "storage/safe_file.h"

namespace {
const std::string& scratchFolder() {
    static const std::string folder = cw::fuzz::scratchFolder("cw_fuzz_ini_");
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cw::storage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = scratchFolder() + "Cfg.dat";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    IniFile ini(path);
    auto [section, key] = cw::fuzz::firstSectionAndKey(bytes, "Preference", "Game");
    key = cw::storage::trim(key);
    (void)ini.readString(section, key, "d");
    (void)ini.readInteger(section, key, 7);
    (void)ini.readBool(section, key, true);
    (void)ini.readSectionKeys(section);
    (void)ini.readSectionValues(section);
    (void)ini.readSections();

    SettingsStore store;
    (void)loadPreferences(store, ini);

    // The lists kept in the settings file: favorites, last played games, game numbers, players.
    (void)cw::catalog::ReadFavorites(ini);
    (void)cw::catalog::ReadLastPlayedGames(ini);
    (void)cw::catalog::ReadGameNumberHistory(ini);
    for (const std::string& name : listPlayers(ini)) {
        (void)checkPlayerName(name);
        (void)renamePlayerMessage(name);
    }
    (void)cw::catalog::ConvertOldFavorites(ini, [](std::string_view name) { return int(name.size() % 7) - 1; });
    (void)cw::catalog::AddLastPlayedGame(ini, 12);
    cw::catalog::AddGameNumberToHistory(ini, "1234567");
    renamePlayerInSettings(ini, "Player 1", "Ann");

    ini.writeString(section, key, "value");
    if (ini.readString(section, key, "") != "value" && !cw::storage::trim(key).empty() && key.find(';') != 0 &&
        key.find('[') != 0 && key.find('\n') == std::string::npos && key.find('\r') == std::string::npos &&
        section.find(']') == std::string::npos && section.find('\n') == std::string::npos &&
        section.find('\r') == std::string::npos && key.find('=') == std::string::npos)
        __builtin_trap();  // a value just written must read back
    ini.deleteKey(section, key);
    ini.eraseSection(section);
    return 0;
}
