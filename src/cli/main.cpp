// cardwise-cli: headless access to the catalog and the engine.
#include <algorithm>
#include <iostream>

#include "cli/command.h"

namespace cw::cli {

std::vector<Command>& commandRegistry()
{
    static std::vector<Command> commands;
    return commands;
}

bool findOption(const std::vector<std::string>& args, const std::string& name, std::string& value)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            value = args[i + 1];
            return true;
        }
    }
    return false;
}

bool hasFlag(const std::vector<std::string>& args, const std::string& name)
{
    return std::find(args.begin(), args.end(), name) != args.end();
}

static void printUsage(std::ostream& out)
{
    out << "usage: cardwise-cli COMMAND [options]\n\ncommands:\n";
    auto commands = commandRegistry();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : commands)
        out << "  " << c.name << ' ' << c.usage << '\n';
}

} // namespace cw::cli

int main(int argc, char* argv[])
{
    using namespace cw::cli;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        printUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    const std::string name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : commandRegistry()) {
        if (c.name == name)
            return c.run(args, std::cout, std::cerr);
    }
    std::cerr << "cardwise-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
