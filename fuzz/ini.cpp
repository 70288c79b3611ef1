// Fuzz target: the settings-file reader and writer on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "storage/safe_file.h"

namespace {
std::string scratchFolder() {
    static const std::string folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("cw_fuzz_ini_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string() + "/";
    }();
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cw::storage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = scratchFolder() + "Cfg.dat";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    IniFile ini(path);
    // A section and key named after the first header and key of the input reach the interesting paths.
    std::string section = "Preference", key = "Game";
    if (auto open = bytes.find('['); open != std::string::npos) {
        auto close = bytes.find(']', open);
        if (close != std::string::npos && close - open < 64) section = bytes.substr(open + 1, close - open - 1);
    }
    if (auto eq = bytes.find('='); eq != std::string::npos && eq < 64) {
        auto start = bytes.rfind('\n', eq);
        key = bytes.substr(start == std::string::npos ? 0 : start + 1, eq - (start == std::string::npos ? 0 : start + 1));
    }
    key = cw::storage::trim(key);
    (void)ini.readString(section, key, "d");
    (void)ini.readInteger(section, key, 7);
    (void)ini.readBool(section, key, true);
    (void)ini.readSectionKeys(section);
    (void)ini.readSectionValues(section);
    (void)ini.readSections();

    SettingsStore store;
    (void)loadPreferences(store, ini);

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
