// Fuzz target: the keyed-file readers and writers on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "storage/keyed_file.h"

namespace {
const std::string& scratchFolder() {
    static const std::string folder = cw::fuzz::scratchFolder("cw_fuzz_keyed_");
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

    auto [section, key] = cw::fuzz::firstSectionAndKey(bytes, "A", "k");
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
