// Runs cardwise-cli as a separate process and captures its exit status, output and errors.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/definitions.h"

namespace cw::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;  // empty when the errors were merged into out
};

inline std::string readFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs `cardwise-cli ARGS`, feeding `input` on standard input when given; with mergeErrors the
// error stream is captured into out, in order with the output.
inline CliRun runCli(const std::string& args, const std::string& input = "", bool mergeErrors = false)
{
    const std::string base = ::testing::TempDir() + "cw_cli_" + std::to_string(::getpid());
    const std::string out = base + ".out", err = base + ".err", in = base + ".in";
    std::string command = std::string(CW_BIN_DIR "/cardwise-cli ") + args + " >" + out +
                          (mergeErrors ? " 2>&1" : " 2>" + err);
    if (!input.empty()) {
        std::ofstream(in, std::ios::binary) << input;
        command += " <" + in;
    } else {
        command += " </dev/null";
    }
    const int raw = std::system(command.c_str());
    CliRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFileText(out);
    if (!mergeErrors)
        r.err = readFileText(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    std::remove(in.c_str());
    return r;
}

inline std::vector<std::string> outputLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);)
        lines.push_back(l);
    return lines;
}

// A fresh temporary folder holding a GAMES.DAT written from `games`; the caller removes it.
inline std::filesystem::path writeCatalogFolder(const std::string& prefix,
                                                const std::vector<catalog::DefinitionGame>& games)
{
    const auto dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto text = catalog::writeDefinitions(games, {});
    EXPECT_TRUE(text.ok()) << text.error();
    if (text.ok())
        std::ofstream(dir / "GAMES.DAT", std::ios::binary) << text.value();
    return dir;
}

} // namespace cw::test
