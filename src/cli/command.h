// Sub-commands of cardwise-cli: each file registers its own with CW_CLI_COMMAND.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// Exit statuses shared by every sub-command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    std::string name;
    std::string usage;  // one line: arguments after the name
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)> run;
};

std::vector<Command>& commandRegistry();

struct CommandRegistrar {
    explicit CommandRegistrar(Command c) { commandRegistry().push_back(std::move(c)); }
};

// Reads "--name value" from args; returns false when the flag is absent.
bool findOption(const std::vector<std::string>& args, const std::string& name, std::string& value);
bool hasFlag(const std::vector<std::string>& args, const std::string& name);

} // namespace cw::cli

#define CW_CLI_CONCAT2(a, b) a##b
#define CW_CLI_CONCAT(a, b) CW_CLI_CONCAT2(a, b)
#define CW_CLI_COMMAND(...) \
    static const ::cw::cli::CommandRegistrar CW_CLI_CONCAT(cwCliCommand_, __LINE__){::cw::cli::Command{__VA_ARGS__}}
