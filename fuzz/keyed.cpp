// Fuzz target: the keyed-file readers and writers on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "storage/keyed_file.h"

namespace {
std::string scratchFolder() {
    static const std::string folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("cw_fuzz_keyed_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string() + "/";
    }();
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cw::storage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = scratchFolder() + "Stat.dat";
    const std::string copy = scratchFolder() + "Copy.dat";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    std::ofstream(copy, std::ios::binary | std::ios::trunc) << bytes;

    // Use the first header and the first key of the input, so that the section paths are reached.
    std::string section = "A", key = "k";
    if (auto open = bytes.find('['); open != std::string::npos) {
        auto close = bytes.find(']', open);
        if (close != std::string::npos && close - open < 64) section = bytes.substr(open + 1, close - open - 1);
    }
    if (auto eq = bytes.find('='); eq != std::string::npos && eq < 64) {
        auto start = bytes.rfind('\n', eq);
        std::size_t from = start == std::string::npos ? 0 : start + 1;
        key = bytes.substr(from, eq - from);
    }
    try {
        (void)findSection(path, "[" + section + "]");
        (void)readKeyedValue(path, section, key, "d");
        (void)readKeyedValues(path, section, {key, "Won", "Lost"}, {"", "", ""});
        (void)listSections(path);
        (void)listSectionKeys(path, section);

        FileHandle handle(copy);
        writeKeyedValue(copy, section, key, "0001", &handle);
        writeKeyedValue(copy, section, "NewKey", "1234", &handle);
        (void)readKeyedValue(copy, section, "NewKey", "", &handle);
        overwriteSection(copy, section, {{"Won", "0002"}, {"Lost", "0003"}}, &handle);
        (void)rewriteSection(copy, section, {{"Won", "0004"}}, &handle);
        handle.close();
        (void)replaceAtColumn(copy, 1, "Won", "Wan");
    } catch (const FileError&) {
        // Reported to the player by the callers; not a fault of the engine.
    }
    return 0;
}
