// libFuzzer target: the catalog's read-only files next to the program as arbitrary bytes: the rules
// texts GAMES_RULES.DAT and the chooser's preview lines cwdp.dat.
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog/catalog_source.h"
#include "catalog/chooser.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace cw::catalog;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    (void)readRulesTexts(bytes);
    // cwdp.dat: one scrambled line per game; the chooser deciphers and parses the line of a game.
    for (const std::string& line : cw::fuzz::inputLines(bytes)) {
        const std::string plain = DecodePreviewLine(line);
        const auto pictures = ParsePreviewLine(plain);
        // What parses is written back and reads the same.
        if (plain.size() >= 4) {
            const auto again = ParsePreviewLine(FormatPreviewLine(0, pictures));
            if (again.size() != pictures.size())
                __builtin_trap();
        }
        if (DecodePreviewLine(EncodePreviewLine(plain)) != plain)
            __builtin_trap();
    }
    return 0;
}
