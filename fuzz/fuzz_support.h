// Shared pieces of the file fuzzers: a scratch folder per process and names taken from the input.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include <unistd.h>

namespace cw::fuzz {

// A folder of this process under the temporary folder, ending with "/".
inline std::string scratchFolder(const std::string& prefix)
{
    auto p = std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p.string() + "/";
}

// The first section header and the first key of the input (the defaults when there are none), so
// that the section and key paths of the readers are reached.
inline std::pair<std::string, std::string> firstSectionAndKey(const std::string& bytes, std::string section,
                                                              std::string key)
{
    if (auto open = bytes.find('['); open != std::string::npos) {
        auto close = bytes.find(']', open);
        if (close != std::string::npos && close - open < 64)
            section = bytes.substr(open + 1, close - open - 1);
    }
    if (auto eq = bytes.find('='); eq != std::string::npos && eq < 64) {
        auto start = bytes.rfind('\n', eq);
        std::size_t from = start == std::string::npos ? 0 : start + 1;
        key = bytes.substr(from, eq - from);
    }
    return {section, key};
}

} // namespace cw::fuzz
