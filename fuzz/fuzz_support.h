// Shared pieces of the file fuzzers: a scratch folder per process and names taken from the input.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace cw::fuzz {

// A folder of this process in memory (/dev/shm) where there is one, else under the temporary folder,
// ending with "/": the file targets write their input at every run, and a disk would slow them down
// to a few dozen runs a second.
inline std::string scratchFolder(const std::string& prefix)
{
    std::error_code ec;
    const auto base = std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                    : std::filesystem::temp_directory_path();
    auto p = base / (prefix + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p.string() + "/";
}

// The input's lines (CR LF or LF), as the program's readers split a file.
inline std::vector<std::string> inputLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t nl = bytes.find('\n', start);
        std::size_t end = nl == std::string::npos ? bytes.size() : nl;
        lines.push_back(bytes.substr(start, end - start - (end > start && bytes[end - 1] == '\r' ? 1 : 0)));
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return lines;
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
