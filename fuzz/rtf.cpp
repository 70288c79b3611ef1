// Fuzz target: the comments' RTF reader on arbitrary bytes, the writer on what it read, and the pile names file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/core/pile_labels.h"
#include "tools/core/rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace cw::tools;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Small limits reach the stopping paths with small inputs.
    RtfLimits small;
    small.maxTextBytes = 256;
    small.maxRuns = 16;
    small.maxParagraphs = 16;
    small.maxDepth = 8;
    for (const RtfLimits& limits : {RtfLimits{}, small}) {
        const RtfReadResult read = readRtf(bytes, limits);
        // Whatever was read is written and read back the same.
        const RtfReadResult again = readRtf(writeRtf(read.text));
        if (!(again.text == read.text) || !again.complete)
            std::abort();
    }
    (void)PileNames::parse(bytes);
    return 0;
}
